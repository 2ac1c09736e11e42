#include "core/persist/ModelFile.h"

#include <new>
#include <unordered_map>

#include "core/model/Model.h"
#include "core/persist/Crc32.h"
#include "core/persist/Error.h"
#include "core/persist/FileModel.h"

namespace mardo {

namespace {

// The fewest bytes a block entry can take: a terminator with an empty name.
constexpr std::size_t kSmallestEntry = 20;
constexpr std::size_t kTrailerSize = 8;
constexpr std::size_t kLongestFile = INT32_MAX;

std::uint32_t ReadLittleEndian(const std::vector<std::uint8_t>& bytes, std::size_t nAt) {
    std::uint32_t n = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        n |= std::uint32_t{bytes[nAt + i]} << (8 * i);
    }
    return n;
}

// The references an entry holds until every block exists.
struct SHeldLinks {
    std::vector<std::int32_t> references;  // the blocks it names besides its links
    std::vector<std::int32_t> outputs;     // output k's destination at index k
};

void ReadReference(CFileModel& file, std::int32_t nBlockCount, std::int32_t& nReference) {
    file.ReadIntInRange(nReference, -1, nBlockCount - 1);
}

void ReadExperiment(CFileModel& file, CModel& model) {
    CExperimentParams& experiment = model.m_experiment;
    file.ReadIntInRange(experiment.nStopRule, CExperimentParams::kByTime,
                        CExperimentParams::kByCount)
        .ReadIntInRange(experiment.nStopValue, 0, CExperimentParams::kMaxValue)
        .ReadIntInRange(experiment.nRuns, 0, CExperimentParams::kMaxValue);
}

SHeldLinks ReadBlockEntry(CFileModel& file, CModel& model, std::int32_t nBlockCount,
                          FCreateBlock create) {
    std::int32_t nKind = 0;
    file.ReadIntInRange(nKind, 0, kBlockKindCount - 1);
    // In the list at once, so that a later fault finds it there.
    CBlockDlg& block = model.AddBlock(create(nKind));
    block.Load(file);
    SHeldLinks held;
    held.references.resize(block.GetReferences().size());
    for (std::int32_t& nReference : held.references) {
        ReadReference(file, nBlockCount, nReference);
    }
    std::int32_t nOutputs = 0;
    file.ReadInt(nOutputs);
    if (nOutputs != block.GetOutputCount()) {
        throw CError();
    }
    held.outputs.resize(static_cast<std::size_t>(nOutputs));
    for (std::size_t k = held.outputs.size(); k-- > 0;) {
        ReadReference(file, nBlockCount, held.outputs[k]);
    }
    return held;
}

void ResolveLinks(CModel& model, const std::vector<SHeldLinks>& held) {
    for (std::size_t i = 0; i < held.size(); ++i) {
        CBlockDlg& block = *model.BlockAt(static_cast<std::int32_t>(i));
        for (std::size_t c = 0; c < held[i].references.size(); ++c) {
            block.SetReference(c, model.BlockAt(held[i].references[c]));
        }
    }
    for (std::size_t i = 0; i < held.size(); ++i) {
        CBlockDlg& block = *model.BlockAt(static_cast<std::int32_t>(i));
        for (std::size_t k = held[i].outputs.size(); k-- > 0;) {
            block.SetOutLink(static_cast<std::int32_t>(k), model.BlockAt(held[i].outputs[k]));
        }
    }
}

std::string OutOfMemoryText(const std::string& strFile) {
    return "Недостаточно памяти для чтения файла \"" + strFile + "\".";
}

// Every block's position in the list, so that writing a link does not search the list.
class CBlockNumbers {
public:
    explicit CBlockNumbers(const CModel& model) {
        m_numbers.reserve(model.GetBlockCount());
        for (const auto& pBlock : model.GetBlocks()) {
            m_numbers.emplace(pBlock.get(), static_cast<std::int32_t>(m_numbers.size()));
        }
    }
    // As CModel::IndexOfBlock: -1 for no block or one not in the list.
    std::int32_t Of(const CBlockDlg* pBlock) const {
        const auto it = m_numbers.find(pBlock);
        return it != m_numbers.end() ? it->second : -1;
    }

private:
    std::unordered_map<const CBlockDlg*, std::int32_t> m_numbers;
};

}  // namespace

std::optional<std::vector<std::uint8_t>> WriteModelBytes(const CModel& model) {
    const CBlockNumbers numbers(model);
    CFileModel file;
    const CExperimentParams& experiment = model.m_experiment;
    file.WriteInt(experiment.nStopRule).WriteInt(experiment.nStopValue).WriteInt(experiment.nRuns);
    file.WriteInt(static_cast<std::int32_t>(model.GetBlockCount()));
    for (const auto& pBlock : model.GetBlocks()) {
        pBlock->Save(file);
        for (const CBlockDlg* pReference : pBlock->GetReferences()) {
            file.WriteInt(numbers.Of(pReference));
        }
        file.WriteInt(pBlock->GetOutputCount());
        for (std::int32_t k = pBlock->GetOutputCount() - 1; k >= 0; --k) {
            file.WriteInt(numbers.Of(pBlock->GetOutLink(k)));
        }
    }
    if (file.HasFailed()) {
        return std::nullopt;
    }
    const auto nLength = static_cast<std::int32_t>(file.GetBytes().size());
    file.WriteInt(nLength + static_cast<std::int32_t>(kTrailerSize));
    const std::vector<std::uint8_t>& bytes = file.GetBytes();
    file.WriteInt(static_cast<std::int32_t>(ComputeChecksum(bytes.data(), bytes.size())));
    return std::move(file.GetBytes());
}

bool CopyModel(const CModel& model, CModel& copy) {
    const std::optional<std::vector<std::uint8_t>> bytes = WriteModelBytes(model);
    if (!bytes) {
        return false;
    }
    try {
        ReadModelBytes(copy, *bytes);
    } catch (const CError&) {
        return false;
    }
    return true;
}

std::unique_ptr<CBlockDlg> CreateBlockOfKind(std::int32_t nKindCode) {
    return CreateBlock(nKindCode);
}

void ReadModelBytes(CModel& model, const std::vector<std::uint8_t>& bytes, FCreateBlock create) {
    const std::size_t nSize = bytes.size();
    if (nSize < kTrailerSize || ReadLittleEndian(bytes, nSize - kTrailerSize) != nSize) {
        throw CError();
    }
    const std::uint32_t nStored = ReadLittleEndian(bytes, nSize - 4);
    if (ComputeChecksum(bytes.data(), nSize - 4) != nStored) {
        throw CError();
    }
    CFileModel file(bytes);
    ReadExperiment(file, model);
    std::int32_t nBlockCount = 0;
    file.ReadInt(nBlockCount);
    if (nBlockCount <= 0) {
        return;
    }
    file.RequireRecords(nBlockCount, kSmallestEntry);
    std::vector<SHeldLinks> held;
    held.reserve(static_cast<std::size_t>(nBlockCount));
    for (std::int32_t i = 0; i < nBlockCount; ++i) {
        held.push_back(ReadBlockEntry(file, model, nBlockCount, create));
    }
    ResolveLinks(model, held);
}

bool SaveModel(const CModel& model, const std::filesystem::path& path, CFileSystem& fileSystem) {
    const std::optional<std::vector<std::uint8_t>> bytes = WriteModelBytes(model);
    // A file that Open would refuse loses the model as surely as a failed write: it never
    // replaces the previous one.
    const auto opens = [](const std::vector<std::uint8_t>& written) {
        CModel scratch;
        try {
            ReadModelBytes(scratch, written);
        } catch (const CError&) {
            return false;
        } catch (const std::bad_alloc&) {
            return false;
        }
        return true;
    };
    return bytes && ReplaceFile(path, *bytes, fileSystem, opens);
}

SLoadResult LoadModel(CModel& model, const std::filesystem::path& path, CFileSystem& fileSystem) {
    model.Clear();
    // The trailer states the length in 32 bits, so no longer file can be a model; it is not
    // read at all (it could take all the memory there is, and a device need never end).
    const std::optional<std::uintmax_t> nSize = fileSystem.FileSize(path);
    if (nSize && *nSize > kLongestFile) {
        return {SLoadResult::kFormatError, CError().GetMessageText()};
    }
    const std::string strFile = path.string();
    std::optional<std::vector<std::uint8_t>> bytes;
    try {
        bytes = fileSystem.ReadAll(path, kLongestFile);
    } catch (const std::bad_alloc&) {
        return {SLoadResult::kFileError, OutOfMemoryText(strFile)};
    }
    if (!bytes) {
        const bool bExists = fileSystem.Exists(path);
        return {SLoadResult::kFileError,
                (bExists ? "Ошибка при чтении файла \"" : "Не удается открыть файл \"") + strFile +
                    "\"."};
    }
    if (bytes->size() < kTrailerSize) {
        return {SLoadResult::kFileError, "Ошибка при чтении файла \"" + strFile + "\"."};
    }
    if (bytes->size() > kLongestFile) {
        return {SLoadResult::kFormatError, CError().GetMessageText()};
    }
    try {
        ReadModelBytes(model, *bytes);
    } catch (const CError& error) {
        model.Clear();
        return {SLoadResult::kFormatError, error.GetMessageText()};
    } catch (const std::bad_alloc&) {
        // A well-formed file may describe more blocks than the memory holds.
        model.Clear();
        return {SLoadResult::kFileError, OutOfMemoryText(strFile)};
    }
    return {};
}

}  // namespace mardo
