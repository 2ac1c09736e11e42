// The simulation's thread: its stack against the deepest chains, and the models it refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>

#include "ChainModels.h"
#include "core/model/Model.h"
#include "core/sim/MessageLog.h"
#include "core/sim/PassShape.h"
#include "core/sim/RunSignals.h"
#include "core/sim/SimulationLoop.h"
#include "platform/LargeStackThread.h"
#include "platform/SimulationThread.h"

namespace mardo::platform {
namespace {

class CSilentLog : public IMessageLog {
public:
    void AddMessage(const std::string&, int, bool) override {}
};

// The end of a chain: remembers how deep in the stack the passes reached it.
class CStackProbe final : public CBlockDlg {
public:
    CStackProbe() : CBlockDlg(EBlockKind::kGather, "Зонд", SBlockTraits{}, 0, {}) {}
    std::unique_ptr<CBlockDlg> Clone() const override { return nullptr; }
    bool EditProperties(IBlockEditor&, const CBlockList&) override { return false; }
    void ArrivalPass(CTransactList* pIn, std::uint32_t) override { Reached(pIn); }
    void ServicePass(CTransactList* pIn, std::uint32_t) override { Reached(pIn); }
    void FinalPass(CTransactList* pIn, std::uint32_t) override { Reached(pIn); }

    std::uintptr_t m_nLowest = UINTPTR_MAX;

private:
    void Reached(CTransactList* pIn) {
        m_nLowest =
            std::min(m_nLowest, reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0)));
        if (pIn != nullptr) {
            pIn->DeleteAll();
        }
    }
};

// The stack that one tick of a chain of nBlocks blocks of a kind takes, from the thread's start.
std::uintptr_t StackForChain(EBlockKind nKind, std::size_t nBlocks) {
    CModel model;
    CBlockDlg& last = test::AddChain(model, nBlocks, {nKind});
    auto& probe = static_cast<CStackProbe&>(model.AddBlock(std::make_unique<CStackProbe>()));
    probe.SetName("P");
    last.SetOutLink(0, &probe);
    model.m_experiment = {CExperimentParams::kByTime, 3, 1};
    CSilentLog log;
    CRunSignals signals;
    CSimulationLoop loop(model, log, signals);
    std::uintptr_t nTop = 0;
    CLargeStackThread thread;
    EXPECT_TRUE(thread.Start(
        [&] {
            nTop = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
            loop.Run();
        },
        std::size_t{256} << 20));
    thread.Join();
    EXPECT_NE(probe.m_nLowest, UINTPTR_MAX);
    return nTop - probe.m_nLowest;
}

TEST(SimulationThreadTest, EveryKindOfBlockFitsTheStackAllowedPerLevel) {
    for (const EBlockKind nKind : test::kKindsWithOutputs) {
        const std::uintptr_t nShort = StackForChain(nKind, 1000);
        const std::uintptr_t nLong = StackForChain(nKind, 3000);
        const double dPerLevel = static_cast<double>(nLong - nShort) / 2000.0;
        std::printf("kind %d: %.1f bytes per level, %zu allowed\n", static_cast<int>(nKind),
                    dPerLevel, CSimulationThread::kBytesPerLevel);
        EXPECT_LE(dPerLevel, static_cast<double>(CSimulationThread::kBytesPerLevel))
            << "kind " << static_cast<int>(nKind);
        // What the chain needs below its first level fits the base allowance.
        EXPECT_LE(nShort,
                  CSimulationThread::kBaseBytes / 2 + 1000 * CSimulationThread::kBytesPerLevel);
    }
}

TEST(SimulationThreadTest, ModelsThatCannotBeSimulatedSafelyAreRefusedWithAReason) {
    // More chain than half the machine's memory could hold as stack.
    const std::size_t nHuge = SIZE_MAX / CSimulationThread::kBytesPerLevel;
    EXPECT_FALSE(CSimulationThread::StackBytesFor(nHuge).has_value());
    EXPECT_EQ(CSimulationThread::Refusal(SPassShape{nHuge, 1}),
              "Моделирование не запущено - не удалось выделить стек для цепочки из " +
                  std::to_string(nHuge) + " блоков");
    EXPECT_EQ(*CSimulationThread::StackBytesFor(100000),
              CSimulationThread::kBaseBytes + 100000 * CSimulationThread::kBytesPerLevel);

    // Outputs that fan out and meet again: the calls of one pass grow beyond any tick.
    EXPECT_FALSE(CSimulationThread::Refusal(SPassShape{10, SPassShape::kMostCallsPerPass}));
    EXPECT_EQ(CSimulationThread::Refusal(SPassShape{10, SPassShape::kMostCallsPerPass + 1}),
              "Моделирование не запущено - выходы коммутирующих и копирующих блоков образуют "
              "слишком много путей");
}

TEST(SimulationThreadTest, AThreadTheSystemCannotGiveIsAnAnswerNotACrash) {
    CLargeStackThread thread;
    EXPECT_FALSE(thread.Start([] {}, SIZE_MAX / 2));
    EXPECT_FALSE(thread.IsJoinable());
    thread.Join();  // nothing to wait for

    // The same object starts a thread afterwards, and the waiting tells when it has ended.
    std::atomic<bool> bRelease = false;
    ASSERT_TRUE(thread.Start(
        [&] {
            while (!bRelease) {
            }
        },
        std::size_t{1} << 20));
    EXPECT_FALSE(thread.WaitFor(std::chrono::milliseconds(20)));
    bRelease = true;
    EXPECT_TRUE(thread.WaitFor(std::chrono::seconds(60)));
    thread.Join();
    EXPECT_FALSE(thread.IsJoinable());
}

}  // namespace
}  // namespace mardo::platform
