// The warm-up chosen from a model's own start-up: after a queue has filled to its limit, and
// never for a queue that keeps growing.
#include <gtest/gtest.h>

#include "ExampleModels.h"
#include "TestSupport.h"
#include "core/experiment/ParamTargets.h"
#include "core/experiment/Warmup.h"

namespace mardo {
namespace {

const auto kNewThread = [] { return std::make_unique<test::CPlainThread>(); };

void BuildShipped(CModel& model, const std::string& strFile) {
    for (const tools::SShippedModel& shipped : tools::ShippedModels()) {
        if (shipped.strFile == strFile) {
            shipped.build(model);
            return;
        }
    }
    FAIL() << strFile;
}

std::optional<SWarmupChoice> Chosen(const CModel& model) {
    SExperimentPlan plan;
    plan.nReplications = 20;
    plan.nJobs = 2;
    SExperimentResult failure;
    return ChooseWarmup(model, plan, kNewThread, failure);
}

TEST(WarmupChoiceTest, TheWarmupEndsOnceAQueueHasFilledAndARunThatNeverSettlesIsNamed) {
    // Arrivals every 5.5 ticks on average, service 7: the queue grows by about one transact in
    // 26 ticks until it reaches its limit, and stays there.
    for (const int nLimit : {40, 100}) {
        CModel model;
        BuildShipped(model, "single-channel.mrd");
        ASSERT_EQ(ApplySetting(model, {"D1.service", "6..8"}), "");
        ASSERT_EQ(ApplySetting(model, {"Q1.limit", std::to_string(nLimit)}), "");
        const std::optional<SWarmupChoice> choice = Chosen(model);
        ASSERT_TRUE(choice);
        const double dFilled = nLimit / (1.0 / 5.5 - 1.0 / 7.0);
        EXPECT_GE(choice->nTicks, dFilled) << nLimit;
        EXPECT_LE(choice->nTicks, 2 * dFilled) << nLimit;
        EXPECT_EQ(choice->strSeries, "Q1");
        EXPECT_TRUE(choice->bSteady) << choice->strUnsettled;
        // The chart's series covers the run, in intervals of the length given.
        const std::size_t nCovered = choice->averaged.size() * choice->nInterval;
        EXPECT_LE(nCovered, 10000u);
        EXPECT_GT(nCovered + choice->nInterval, 10000u);
    }
    // Arrivals as fast as the device serves: the queue grows through the whole run.
    CModel critical;
    BuildShipped(critical, "priorities.mrd");
    const std::optional<SWarmupChoice> choice = Chosen(critical);
    ASSERT_TRUE(choice);
    EXPECT_FALSE(choice->bSteady);
    EXPECT_EQ(choice->strUnsettled, "Q1");
    // A model that does not start gives no choice, and says why.
    SExperimentResult failure;
    EXPECT_FALSE(ChooseWarmup(CModel{}, SExperimentPlan{}, kNewThread, failure));
    EXPECT_TRUE(failure.notStarted);
}

TEST(WarmupChoiceTest, TheTextNamesTheTicksTheBlockAndARunThatNeverSettled) {
    SWarmupChoice choice;
    choice.nTicks = 1350;
    choice.strSeries = "Q1";
    EXPECT_EQ(WarmupText(choice), "Разогрев: 1 350 тактов (по очереди Q1)");
    choice.nTicks = 1234561;
    choice.seriesKind = EBlockKind::kMultiDevice;
    choice.strSeries = "M";
    EXPECT_EQ(WarmupText(choice), "Разогрев: 1 234 561 такт (по многоканальному устройству M)");
    choice.nTicks = 22;
    choice.seriesKind = EBlockKind::kDevice;
    choice.bSteady = false;
    choice.strUnsettled = "D1";
    choice.unsettledKind = EBlockKind::kDevice;
    EXPECT_EQ(WarmupText(choice),
              "Разогрев: 22 такта (по устройству M)\n"
              "Стационарный режим не достигнут: загрузка устройства D1 не установилась за время "
              "прогона; средние за прогон описывают этот прогон, а не систему.");
}

}  // namespace
}  // namespace mardo
