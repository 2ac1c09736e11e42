#include "core/sim/ModelCheck.h"

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/model/DeviceDlg.h"
#include "core/model/GenerateDlg.h"
#include "core/model/QueueDlg.h"
#include "core/model/TerminateDlg.h"
#include "core/model/TransferDlg.h"

namespace mardo {
namespace {

using test::AddNamed;
using test::CRecordingLog;
using test::Link;
using test::SLogLine;

SLogLine Error(const std::string& strText) { return {strText, IMessageLog::kError, false}; }

TEST(ModelCheckTest, ModelWideFindingsStopAtTheFirst) {
    CModel model;
    CRecordingLog log;
    EXPECT_FALSE(CheckModel(model, log));
    EXPECT_EQ(log.m_lines, (std::vector<SLogLine>{Error("В модели не существует блоков!")}));

    model.Add<CTerminateDlg>();
    log.m_lines.clear();
    EXPECT_FALSE(CheckModel(model, log));
    EXPECT_EQ(log.Texts(), (std::vector<std::string>{"В модели нет генератора!"}));

    CModel noTerminator;
    noTerminator.Add<CGenerateDlg>();
    log.m_lines.clear();
    EXPECT_FALSE(CheckModel(noTerminator, log));
    EXPECT_EQ(log.Texts(), (std::vector<std::string>{"В модели нет терминатора!"}));

    model.Add<CGenerateDlg>();
    log.m_lines.clear();
    EXPECT_FALSE(CheckModel(model, log));
    EXPECT_EQ(log.Texts(), (std::vector<std::string>{"В модели нет зарегистрированных блоков!"}));
}

TEST(ModelCheckTest, UnnamedGeneratorLeavesTheNamedTerminatorUnfed) {
    CModel model;
    auto& generator = model.Add<CGenerateDlg>();
    auto& terminator = AddNamed<CTerminateDlg>(model, "T");
    Link(generator, terminator);
    CRecordingLog log;
    EXPECT_FALSE(CheckModel(model, log));
    EXPECT_EQ(log.m_lines,
              (std::vector<SLogLine>{Error("Терминатор \"T\" - вход не связан с блоком!")}));
}

TEST(ModelCheckTest, ReportsEveryBadSwitchingBlock) {
    CModel model;
    auto& generator = AddNamed<CGenerateDlg>(model, "G");
    auto& k1 = AddNamed<CTransferDlg>(model, "K1");
    auto& k2 = AddNamed<CTransferDlg>(model, "K2");
    auto& terminator = AddNamed<CTerminateDlg>(model, "T");
    Link(generator, k1);
    Link(k1, k2, 0);
    Link(k1, terminator, 1);
    Link(k2, terminator, 0);
    Link(k2, terminator, 1);
    for (CTransferDlg* pBlock : {&k1, &k2}) {
        pBlock->m_rule.m_nKind = CTransferRule::kByProbability;
        pBlock->m_rule.m_probabilities = {600, 300};
    }
    CRecordingLog log;
    EXPECT_FALSE(CheckModel(model, log));
    EXPECT_EQ(log.Texts(),
              (std::vector<std::string>{"Коммутирующий блок \"K1\" - неправильное значение выходов!",
                                        "Коммутирующий блок \"K2\" - неправильное значение выходов!"}));
    k1.m_rule.m_probabilities = {600, 400};
    k2.m_rule.m_probabilities = {1000, 0};
    log.m_lines.clear();
    EXPECT_FALSE(CheckModel(model, log));
    EXPECT_EQ(log.m_lines.size(), 1u);
    k2.m_rule.m_probabilities = {500, 500};
    log.m_lines.clear();
    EXPECT_TRUE(CheckModel(model, log));
    EXPECT_TRUE(log.m_lines.empty());
}

TEST(ModelCheckTest, UnlinkedOutputsAreNumberedWithTwoDigits) {
    CModel model;
    auto& generator = AddNamed<CGenerateDlg>(model, "G");
    auto& block = AddNamed<CTransferDlg>(model, "K");
    auto& queue = AddNamed<CQueueDlg>(model, "Q");
    auto& terminator = AddNamed<CTerminateDlg>(model, "T");
    block.SetOutputCount(12);
    block.m_rule.SetOutputCount(12);
    Link(generator, block);
    for (std::int32_t k = 0; k < 12; ++k) {
        if (k != 2 && k != 10) {
            Link(block, terminator, k);
        }
    }
    Link(block, queue, 10 - 10);  // output 1 feeds the queue, whose own output is open
    CRecordingLog log;
    EXPECT_FALSE(CheckModel(model, log));
    EXPECT_EQ(log.Texts(),
              (std::vector<std::string>{"Коммутирующий блок \"K\" - выход №03 не связан с блоком!",
                                        "Коммутирующий блок \"K\" - выход №11 не связан с блоком!",
                                        "Очередь \"Q\" - выход не связан с блоком!"}));
}

TEST(ModelCheckTest, SelfLinkIsNoInputButALoopWhenFed) {
    CModel model;
    auto& generator = AddNamed<CGenerateDlg>(model, "G");
    auto& terminator = AddNamed<CTerminateDlg>(model, "T");
    auto& queue = AddNamed<CQueueDlg>(model, "Q");
    Link(generator, terminator);
    Link(queue, queue);
    CRecordingLog log;
    EXPECT_FALSE(CheckModel(model, log));
    EXPECT_EQ(log.Texts(), (std::vector<std::string>{"Очередь \"Q\" - вход не связан с блоком!"}));

    auto& feeder = AddNamed<CGenerateDlg>(model, "G2");
    Link(feeder, queue);
    log.m_lines.clear();
    EXPECT_FALSE(CheckModel(model, log));
    EXPECT_EQ(log.Texts(), (std::vector<std::string>{"Очередь \"Q\" - зациклен!"}));
}

TEST(ModelCheckTest, LoopMessagesNameTheCircleInPathOrder) {
    CModel model;
    auto& generator = AddNamed<CGenerateDlg>(model, "G");
    auto& queue = AddNamed<CQueueDlg>(model, "Q1");
    auto& device = AddNamed<CDeviceDlg>(model, "D1");
    auto& block = AddNamed<CTransferDlg>(model, "K1");
    auto& terminator = AddNamed<CTerminateDlg>(model, "T");
    Link(generator, queue);
    Link(queue, device);
    Link(device, block);
    Link(block, terminator, 0);
    Link(block, queue, 1);
    CRecordingLog log;
    EXPECT_FALSE(CheckModel(model, log));
    EXPECT_EQ(log.m_lines, (std::vector<SLogLine>{Error("Очередь \"Q1\" - зациклен!"),
                                                  Error("Устройство обслуживания \"D1\" - зациклен!"),
                                                  Error("Коммутирующий блок \"K1\" - зациклен!")}));
}

TEST(ModelCheckTest, PathsThatMeetAgainAreNoLoop) {
    // Diamonds in series: many paths, all ending at the terminator.
    CModel model;
    auto& generator = AddNamed<CGenerateDlg>(model, "G");
    CBlockDlg* pPrevious = &generator;
    for (int i = 0; i < 40; ++i) {
        auto& fork = AddNamed<CTransferDlg>(model, "K" + std::to_string(i));
        auto& join = AddNamed<CQueueDlg>(model, "Q" + std::to_string(i));
        Link(*pPrevious, fork, 0);
        Link(fork, join, 0);
        Link(fork, join, 1);
        pPrevious = &join;
    }
    auto& terminator = AddNamed<CTerminateDlg>(model, "T");
    Link(*pPrevious, terminator);
    model.Add<CDeviceDlg>();  // unnamed: only warned about
    CRecordingLog log;
    EXPECT_TRUE(CheckModel(model, log));
    EXPECT_EQ(log.m_lines, (std::vector<SLogLine>{{"Устройство обслуживания - без имени!",
                                                   IMessageLog::kWarning, false}}));
}

TEST(ModelCheckTest, LongChainsAreSearchedWithoutDeepRecursion) {
    CModel model;
    auto& generator = AddNamed<CGenerateDlg>(model, "G");
    CBlockDlg* pPrevious = &generator;
    for (int i = 0; i < 100000; ++i) {
        auto& queue = AddNamed<CQueueDlg>(model, "Q" + std::to_string(i));
        Link(*pPrevious, queue);
        pPrevious = &queue;
    }
    auto& last = AddNamed<CTransferDlg>(model, "K");
    auto& terminator = AddNamed<CTerminateDlg>(model, "T");
    Link(*pPrevious, last);
    Link(last, terminator, 0);
    Link(last, terminator, 1);
    CRecordingLog log;
    EXPECT_TRUE(CheckModel(model, log));
    // Closing the chain on its middle makes the second half a circle.
    Link(last, *model.BlockAt(50001), 1);
    log.m_lines.clear();
    EXPECT_FALSE(CheckModel(model, log));
    ASSERT_EQ(log.m_lines.size(), 50001u);
    EXPECT_EQ(log.m_lines.front().strText, "Очередь \"Q50000\" - зациклен!");
    EXPECT_EQ(log.m_lines.back().strText, "Коммутирующий блок \"K\" - зациклен!");
}

}  // namespace
}  // namespace mardo
