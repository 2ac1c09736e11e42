#include "core/sim/RandomContext.h"

namespace mardo {

const char* GeneratorName(EGenerator generator) {
    return generator == EGenerator::kExact ? "exact" : "streams";
}

std::optional<EGenerator> ParseGenerator(std::string_view text) {
    if (text == "exact") {
        return EGenerator::kExact;
    }
    if (text == "streams") {
        return EGenerator::kStreams;
    }
    return std::nullopt;
}

void CRandomContext::Start() {
    m_sources.clear();
    if (m_generator == EGenerator::kExact) {
        SeedRand(m_nSeed);
    }
}

CRandomSource& CRandomContext::Source(std::string_view strBlock, ERole role) {
    if (m_generator == EGenerator::kExact) {
        return CRandomSource::Exact();
    }
    return m_sources.emplace_back(StreamKey(m_nSeed, strBlock, role), m_nReplication);
}

std::uint64_t CRandomContext::CountStreamDraws() const {
    std::uint64_t nDraws = 0;
    for (const CRandomSource& source : m_sources) {
        nDraws += source.GetDraws();
    }
    return nDraws;
}

std::uint64_t CRandomContext::StreamKey(std::uint32_t nSeed, std::string_view strBlock,
                                        ERole role) {
    // Any two distinct keys give unrelated streams, so the hash needs only to tell them apart;
    // it is written out so that a model's streams are the same on every platform and build.
    constexpr std::uint64_t kOffset = 14695981039346656037u;
    constexpr std::uint64_t kPrime = 1099511628211u;
    std::uint64_t nHash = kOffset;
    const auto add = [&nHash](unsigned char byte) { nHash = (nHash ^ byte) * kPrime; };
    for (int nShift = 0; nShift < 32; nShift += 8) {
        add(static_cast<unsigned char>(nSeed >> nShift));
    }
    add(static_cast<unsigned char>(role));
    for (const char c : strBlock) {
        add(static_cast<unsigned char>(c));
    }
    return nHash;
}

}  // namespace mardo
