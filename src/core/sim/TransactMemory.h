#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>

namespace mardo {

// The memory the transacts of every simulation in the process take, and the most they may take.
// A model whose stop rule is never met may pile up transacts without end; the system would
// rather end the process, or the machine, than refuse an allocation, so the simulation stops
// itself once its transacts reach a share of the machine's memory that the program sets (the
// platform knows the machine). Simulations running side by side share the one account.
//
// Only what grows with the number of transacts is counted (the lists' buffers, the ropes'
// chunks, the regathering blocks' groups), and only when it grows or shrinks by a step, never
// per transact.
class CTransactMemory {
public:
    // Thrown when taking more would pass the limit; a failed allocation, as the simulation
    // sees it.
    class COverLimit : public std::bad_alloc {
    public:
        const char* what() const noexcept override { return "transact memory limit reached"; }
    };

    // The most the transacts may take, in bytes (initially no limit).
    static void SetLimit(std::size_t nBytes);
    static std::size_t GetLimit();
    // What they take now, in bytes.
    static std::size_t GetTaken();

    // Counts nBytes more, or throws COverLimit (counting nothing) when that would pass the limit.
    static void Take(std::size_t nBytes);
    static void Give(std::size_t nBytes) noexcept;

    // What one owner took, given back when it goes. A copy has taken nothing: what it owns was
    // copied outside any simulation, when the owner holds no transacts.
    class CShare {
    public:
        CShare() = default;
        CShare(const CShare&) noexcept {}
        CShare& operator=(const CShare&) noexcept { return *this; }
        ~CShare() { Give(m_nBytes); }

        std::size_t GetBytes() const { return m_nBytes; }
        // Takes nBytes more for this owner (see Take).
        void Grow(std::size_t nBytes) {
            Take(nBytes);
            m_nBytes += nBytes;
        }
        void Clear() noexcept {
            Give(m_nBytes);
            m_nBytes = 0;
        }

    private:
        std::size_t m_nBytes = 0;
    };

    // Deletes what MakeCounted made and gives its bytes back.
    template <typename T>
    struct SDelete {
        std::size_t nBytes = 0;
        void operator()(std::remove_extent_t<T>* p) const noexcept {
            if constexpr (std::is_array_v<T>) {
                delete[] p;
            } else {
                delete p;
            }
            Give(nBytes);
        }
    };
    template <typename T>
    using TPtr = std::unique_ptr<T, SDelete<T>>;

    // An object, or an array of n (left uninitialised where T allows), whose bytes are counted
    // while it lives.
    template <typename T>
    static TPtr<T> MakeCounted() {
        Take(sizeof(T));
        try {
            return TPtr<T>(new T(), SDelete<T>{sizeof(T)});
        } catch (...) {
            Give(sizeof(T));
            throw;
        }
    }
    template <typename TArray>
    static TPtr<TArray> MakeCountedArray(std::size_t n) {
        using T = std::remove_extent_t<TArray>;
        if (n > SIZE_MAX / sizeof(T)) {
            throw COverLimit();
        }
        const std::size_t nBytes = n * sizeof(T);
        Take(nBytes);
        try {
            return TPtr<TArray>(new T[n], SDelete<TArray>{nBytes});
        } catch (...) {
            Give(nBytes);
            throw;
        }
    }
};

}  // namespace mardo
