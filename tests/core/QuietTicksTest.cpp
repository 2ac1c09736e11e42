// Skipping ticks in which nothing would happen must not change a single figure. Random models
// of every kind of block are simulated with and without the skipping and compared in full.
#include <gtest/gtest.h>

#include "RandomModel.h"
#include "core/sim/SimulationLoop.h"

namespace mardo {
namespace {

using test::CRandomModel;
using test::Simulate;

TEST(QuietTicksTest, SkippingChangesNoFigureOfRandomModels) {
    for (unsigned nSeed = 1; nSeed <= 400; ++nSeed) {
        CModel model;
        CRandomModel(nSeed).Build(model);
        const std::string strPlain = Simulate(model, false);
        const std::string strSkipping = Simulate(model, true);
        ASSERT_EQ(strSkipping, strPlain) << "seed " << nSeed;
    }
}

TEST(QuietTicksTest, SparseModelsSkipAlmostEveryTick) {
    // One arrival every 1000 ticks (the first in tick 1000) served for 300: the last one
    // arrives in the very last tick and has had no service yet.
    CModel model;
    auto& generator = test::AddNamed<CGenerateDlg>(model, "G");
    generator.m_law = CFlowLaw(CFlowLaw::kDeterministic, 1000, 1000);
    auto& queue = test::AddNamed<CQueueDlg>(model, "Q");
    auto& device = test::AddNamed<CDeviceDlg>(model, "D");
    device.m_law = CFlowLaw(CFlowLaw::kDeterministic, 300, 300);
    test::Link(generator, queue);
    test::Link(queue, device);
    test::Link(device, test::AddNamed<CTerminateDlg>(model, "T"));
    model.m_experiment = {CExperimentParams::kByTime, 30000, 3000};
    test::CRecordingLog log;
    CRunSignals signals;
    CSimulationLoop loop(model, log, signals);
    loop.Run();
    EXPECT_EQ(loop.GetModelTime(), 90000000u);
    EXPECT_EQ(loop.GetDeparted(), 89999u);
    EXPECT_DOUBLE_EQ(device.GetUtilization(), 89999.0 * 300 / 90000000 - 0.0005);
    EXPECT_DOUBLE_EQ(device.GetAvgTime(), 300 - 0.0005);
    EXPECT_EQ(queue.GetZeroEntries(), 90000u);
}

}  // namespace
}  // namespace mardo
