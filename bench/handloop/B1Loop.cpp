// B1 written by hand: the single-channel model of bench/models/b1-single-channel.mrd (arrivals
// uniform 1..10 ticks, a FIFO queue, service uniform 1..8 ticks, 1000 runs of 30 000 ticks) as
// one loop over every tick that keeps a ring of transact numbers and a few counters, checks
// nothing and calls nothing virtually. It draws the same random numbers in the same order as the
// simulation, so it prints the same figures as the report; bench/pair times it against the batch runner.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

std::uint32_t g_nState = 1;

int Rand() {
    g_nState = g_nState * 214013u + 2531011u;
    return static_cast<int>((g_nState >> 16) & 32767u);
}

int Uniform(int nLow, int nHigh) { return nLow + Rand() % (nHigh - nLow + 1); }

// A ring of transact numbers whose size is a power of two.
class CRing {
public:
    bool IsEmpty() const { return m_nHead == m_nTail; }
    std::uint32_t Size() const { return m_nTail - m_nHead; }
    void Push(std::uint32_t n) {
        if (Size() == m_items.size()) {
            Grow();
        }
        m_items[m_nTail++ & (m_items.size() - 1)] = n;
    }
    std::uint32_t Pop() { return m_items[m_nHead++ & (m_items.size() - 1)]; }

private:
    void Grow() {
        std::vector<std::uint32_t> items(m_items.size() * 2);
        for (std::uint32_t i = 0; i < Size(); ++i) {
            items[i] = m_items[(m_nHead + i) & (m_items.size() - 1)];
        }
        m_nTail = Size();
        m_nHead = 0;
        m_items.swap(items);
    }

    std::vector<std::uint32_t> m_items = std::vector<std::uint32_t>(64);
    std::uint32_t m_nHead = 0;
    std::uint32_t m_nTail = 0;
};

}  // namespace

int main() {
    constexpr int kRuns = 1000;
    constexpr int kTicks = 30000;
    const auto start = std::chrono::steady_clock::now();
    CRing queue;
    std::uint32_t nNumber = 0;
    std::uint64_t nContentTime = 0;
    std::uint64_t nBusyTime = 0;
    std::uint32_t nDeparted = 0;
    int nCountdown = Uniform(1, 10);
    int nRemaining = 0;
    bool bFree = true;
    for (int nRun = 0; nRun < kRuns; ++nRun) {
        for (int t = 0; t < kTicks; ++t) {
            nContentTime += queue.Size();
            if (--nCountdown == 0) {
                nCountdown = Uniform(1, 10);
                queue.Push(nNumber++);
            }
            if (bFree) {
                if (!queue.IsEmpty()) {
                    queue.Pop();
                    nRemaining = Uniform(1, 8);
                    bFree = false;
                }
            } else {
                ++nBusyTime;
                if (--nRemaining == 0) {
                    ++nDeparted;
                    if (!queue.IsEmpty()) {
                        queue.Pop();
                        nRemaining = Uniform(1, 8);
                    } else {
                        bFree = true;
                    }
                }
            }
        }
    }
    const double dSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double dTicks = double{kRuns} * kTicks;
    // The report's quotients are less 0.0005 (see core/model/Statistics.h).
    std::printf("departed %u\nutilization %.17g\navgContent %.17g\nseconds %.3f\n", nDeparted,
                static_cast<double>(nBusyTime) / dTicks - 0.0005,
                static_cast<double>(nContentTime) / dTicks - 0.0005, dSeconds);
    return 0;
}
