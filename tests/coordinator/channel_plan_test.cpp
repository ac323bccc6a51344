// Channel plans (CSV) through the working settings, on the demo modem (synthesizer type 4,
// 450-470 MHz, 12.5 kHz steps): every row passes the checks of a typed frequency or the file
// changes nothing.
#include <gtest/gtest.h>

#include <vector>

#include "coordinator_harness.h"
#include "params/channel_plan_csv.h"
#include "params/parameter_ids.h"

namespace vxl::test {
namespace {

const std::string kExample = std::string(VXL_TEST_DATA_DIR) + "/channel_plan.csv";

std::vector<double> Channels(const CoordinatorHarness& h) {
    std::vector<double> values;
    for (int id = pid::kFirstChannelId; id <= pid::kLastChannelId; ++id)
        values.push_back(h.Real(id));
    return values;
}

TEST(ChannelPlan, ARowThatDoesNotSuitTheModemRefusesTheWholeFile) {
    CoordinatorHarness h;
    h.coordinator.SetView(&h.view);
    ASSERT_EQ(h.coordinator.StartDemo(), rc::kOk);
    const int current = h.Int(pid::kCurrentChannel);
    ASSERT_EQ(current, 0);
    ChannelPlan good;
    std::string problem;
    ASSERT_EQ(ReadChannelPlanFile(kExample, good, problem), rc::kOk) << problem;
    const struct {
        const char* name;
        int channel;
        double rx, tx;
        const char* problem;
    } cases[] = {
        {"above the band", 3, 470.0125, 0.0,
         "row 5 (channel 3): the receive frequency 470.0125 MHz is outside this modem's band "
         "(450.0000 to 470.0000 MHz)"},
        {"below the band", 9, 455.0, 449.9875,
         "row 11 (channel 9): the transmit frequency 449.9875 MHz is outside this modem's band"},
        {"between two steps", 4, 455.0063, 455.0,
         "row 6 (channel 4): the receive frequency 455.0063 MHz is not on the synthesizer's 12.5 "
         "kHz step (the nearest are 455.0000 and 455.0125 MHz)"},
        {"the channel in use emptied", 0, 455.0, 0.0,
         "row 2 (channel 0): channel 0 is the channel in use and keeps its transmit frequency; "
         "choose another current channel first"},
    };
    const std::vector<double> before = Channels(h);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ChannelPlan plan = good;
        plan.rx[c.channel] = c.rx;
        plan.tx[c.channel] = c.tx;
        EXPECT_EQ(h.coordinator.Settings().ApplyChannelPlan(plan, &problem),
                  rc::kChannelPlanRefused);
        EXPECT_EQ(problem.rfind(c.problem, 0), 0u) << problem;
        EXPECT_EQ(Channels(h), before);
        EXPECT_FALSE(h.coordinator.IsModified());
    }

    // The whole plan, once it suits the modem; exported again it is the same file.
    ASSERT_EQ(h.coordinator.Settings().ImportChannelCsv(kExample, &problem), rc::kOk) << problem;
    EXPECT_TRUE(h.coordinator.IsModified());
    EXPECT_DOUBLE_EQ(h.Real(pid::RxChannelId(7)), 469.9875);
    EXPECT_EQ(h.Real(pid::TxChannelId(2)), 0.0);
    EXPECT_EQ(h.view.calls.back(), "Values *") << "the pages show every channel again";
    ASSERT_EQ(h.coordinator.Settings().ExportChannelCsv(h.dir.File("again.csv"), &problem),
              rc::kOk);
    EXPECT_EQ(TempDir::Read(h.dir.File("again.csv")), TempDir::Read(kExample));
}

}  // namespace
}  // namespace vxl::test
