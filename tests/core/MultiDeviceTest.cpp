// The multichannel device: one channel is the service device, several serve one waiting line.
#include <gtest/gtest.h>

#include "RandomModel.h"
#include "TestSupport.h"
#include "core/experiment/ParamTargets.h"
#include "core/model/Statistics.h"

namespace mardo {
namespace {

using test::AddNamed;
using test::Link;

// The figures of a model as the report and the data outputs give them, with the title of the
// one-channel blocks' kind read as the device's and without the channels' own rows.
std::string AsDeviceFigures(CModel& model) {
    std::string strFigures = test::Simulate(model, true);
    strFigures.resize(strFigures.rfind("channels\n"));
    const std::string strTitle = "Многоканальное устройство";
    for (std::size_t n = strFigures.find(strTitle); n != std::string::npos;
         n = strFigures.find(strTitle, n)) {
        strFigures.replace(n, strTitle.size(), "Устройство обслуживания");
    }
    return strFigures;
}

TEST(MultiDeviceTest, OneChannelIsTheServiceDeviceOnRandomModels) {
    int nWithDevice = 0;
    for (unsigned nSeed = 1; nSeed <= 600; ++nSeed) {
        CModel devices;
        test::CRandomModel(nSeed).Build(devices);
        CModel channels;
        test::CRandomModel(nSeed, true).Build(channels);
        const bool bHasDevice = std::any_of(
            devices.GetBlocks().begin(), devices.GetBlocks().end(),
            [](const auto& pBlock) { return pBlock->GetKind() == EBlockKind::kDevice; });
        nWithDevice += bHasDevice ? 1 : 0;
        ASSERT_TRUE(std::none_of(
            channels.GetBlocks().begin(), channels.GetBlocks().end(),
            [](const auto& pBlock) { return pBlock->GetKind() == EBlockKind::kDevice; }));
        ASSERT_EQ(AsDeviceFigures(channels), AsDeviceFigures(devices)) << "seed " << nSeed;
    }
    EXPECT_GT(nWithDevice, 300);
}

// G (one transact every tick) → Q → M (service 3, c channels) → T, stopped by time.
struct SChannelsModel {
    CModel model;
    CGenerateDlg& generator = AddNamed<CGenerateDlg>(model, "G");
    CQueueDlg& queue = AddNamed<CQueueDlg>(model, "Q");
    CMultiDeviceDlg& device = AddNamed<CMultiDeviceDlg>(model, "M");
    CTerminateDlg& terminator = AddNamed<CTerminateDlg>(model, "T");

    SChannelsModel(std::int32_t nChannels, std::int32_t nTicks) {
        generator.m_law = CFlowLaw(CFlowLaw::kDeterministic, 1, 1);
        device.m_law = CFlowLaw(CFlowLaw::kDeterministic, 3, 3);
        device.m_nChannels = nChannels;
        Link(generator, queue);
        Link(queue, device);
        Link(device, terminator);
        model.m_experiment = {CExperimentParams::kByTime, nTicks, 1};
        test::Simulate(model, true);
    }
};

TEST(MultiDeviceTest, ThreeChannelsKeepUpWithAnArrivalEveryTick) {
    // Channel k takes the arrival of tick k and is busy from tick k + 1 on; each service ends
    // in the tick whose arrival the channel then takes, so nobody waits across a tick.
    const SChannelsModel m(3, 300);
    const SQueueFigures queue = *m.queue.GetQueueFigures();
    EXPECT_EQ(queue.nZeroEntries, queue.nEntered);
    EXPECT_EQ(queue.dAvgContent, 0.0);
    EXPECT_EQ(m.device.GetDeviceFigures()->dUtilization, ReportQuotient(3 * 300 - 6, 3 * 300));
    EXPECT_DOUBLE_EQ(m.device.GetChannelFigures()->dMeanBusy, (3.0 * 300 - 6) / 300);
    EXPECT_EQ(m.device.GetRemaining(), 3u);  // one in service on each channel
    EXPECT_FALSE(m.device.IsFree());
}

TEST(MultiDeviceTest, TwoChannelsFallBehindByOneEveryThreeTicks) {
    // Two services per three ticks against three arrivals: the line grows by one every three
    // ticks, and both channels are busy from ticks 2 and 3 on.
    const SChannelsModel shorter(2, 300);
    const SChannelsModel longer(2, 600);
    EXPECT_EQ(longer.queue.GetRemaining() - shorter.queue.GetRemaining(), 100u);
    EXPECT_EQ(longer.device.GetDeviceFigures()->dUtilization, ReportQuotient(2 * 600 - 3, 2 * 600));
    EXPECT_EQ(longer.device.GetLeft(), 2u * 600 / 3 - 2);
    EXPECT_FALSE(longer.device.IsFree());
}

TEST(MultiDeviceTest, ChannelsAreAParameterOfExperiments) {
    CModel model;
    AddNamed<CMultiDeviceDlg>(model, "D");
    EXPECT_EQ(ApplySetting(model, {"D.channels", "3"}), "");
    EXPECT_EQ(static_cast<CMultiDeviceDlg&>(*model.FindBlock("D")).m_nChannels, 3);
    EXPECT_NE(ApplySetting(model, {"D.channels", "0"}), "");
    EXPECT_NE(ApplySetting(model, {"D.channels", "1001"}), "");
    EXPECT_EQ(ApplySetting(model, {"D.service", "2..5"}), "");
}

}  // namespace
}  // namespace mardo
