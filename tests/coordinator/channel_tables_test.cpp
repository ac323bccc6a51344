// Channel tables through the working settings, on the demo modem (synthesizer type 4, 450-470
// MHz, 12.5 kHz steps, serial number 1427259): the channel-table file written from the settings,
// the checks every imported frequency passes (a file or a plan that does not suit the modem
// changes nothing). What each file does in a run is the settings run's table.
#include <gtest/gtest.h>

#include <vector>

#include "coordinator_harness.h"
#include "params/channel_plan_csv.h"
#include "params/frequency.h"
#include "params/parameter_ids.h"
#include "support/golden.h"
#include "util/format.h"

namespace vxl::test {
namespace {

const std::string kExample = std::string(VXL_TEST_DATA_DIR) + "/channel_plan.csv";

struct Demo : CoordinatorHarness {
    Demo() {
        coordinator.SetView(&view);
        EXPECT_EQ(coordinator.StartDemo(), rc::kOk);
    }
    void SetChannel(int k, double rx, double tx) {
        ASSERT_EQ(coordinator.Settings().SetReal(pid::RxChannelId(k), rx), rc::kOk);
        ASSERT_EQ(coordinator.Settings().SetReal(pid::TxChannelId(k), tx), rc::kOk);
    }
    std::vector<double> Channels() const {
        std::vector<double> values;
        for (int id = pid::kFirstChannelId; id <= pid::kLastChannelId; ++id)
            values.push_back(Real(id));
        return values;
    }
};

// The files under tests/data were written by an implementation of the format of its own: the
// record, the frequency words and the scrambling are the format's, byte for byte.
TEST(ChannelTables, AnExportedFileIsTheOneTheFormatDescribes) {
    Demo h;
    ASSERT_EQ(h.coordinator.Settings().ClearChannelTable(), rc::kOk);
    h.SetChannel(1, 451.0125, 461.0125);
    const std::string path = h.dir.File("table.upg");
    ASSERT_EQ(h.coordinator.Settings().ExportChannelTable(path, 1427260), rc::kOk);
    EXPECT_EQ(TempDir::Read(path), Golden("channel_table_modem_1427260.upg"));
    h.SetChannel(7, 469.9875, 450.0);
    ASSERT_EQ(h.coordinator.Settings().ExportChannelTable(path, 0), rc::kOk);
    EXPECT_EQ(TempDir::Read(path), Golden("channel_table.upg"));
}

// Every frequency of a plan or a file passes the checks of a typed one before any is set
// (tests/data); a frequency the channel holds already is no change, whatever it is. A file's empty
// field leaves its channel as it is.
TEST(ChannelTables, WhatDoesNotSuitTheModemChangesNothing) {
    ChannelPlan good;
    std::string problem;
    ASSERT_EQ(ReadChannelPlanFile(kExample, good, problem), rc::kOk) << problem;
    const struct {
        const char* name;
        const char* file;  // a channel-table file of tests/data, or nullptr for the plan
        int channel;
        double rx, tx;
    } cases[] = {
        {"above the band", nullptr, 3, 470.0125, 0.0},
        {"below the band", nullptr, 9, 455.0, 449.9875},
        {"between two steps", nullptr, 4, 455.0063, 455.0},
        {"the channel in use emptied", nullptr, 0, 455.0, 0.0},
        {"a file for another band", "channel_table_other_band.upg", 0, 0, 0},
        {"another modem's file", "channel_table_modem_1427260.upg", 0, 0, 0},
    };
    Demo h;
    const std::vector<double> before = h.Channels();
    std::string outcomes;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ChannelPlan plan = good;
        plan.rx[c.channel] = c.rx;
        plan.tx[c.channel] = c.tx;
        const int result = c.file ? h.coordinator.Settings().ImportChannelTable(
                                        h.dir.Write("t.upg", Golden(c.file)), &problem)
                                  : h.coordinator.Settings().ApplyChannelPlan(plan, &problem);
        outcomes += Format("%s: %d: %s\n", c.name, result, problem.c_str());
        EXPECT_EQ(h.Channels(), before);
        EXPECT_FALSE(h.coordinator.IsModified());
    }
    EXPECT_TRUE(MatchesGolden("channel_tables_refused.txt", outcomes));

    // A channel held outside the band, which the file leaves empty, stays as it is.
    uint8_t word[3];
    EncodeFrequency(4, 47.95, word, true);
    ASSERT_EQ(h.Set()->WriteParameterBytes(pid::RxChannelId(5), word), rc::kOk);
    ASSERT_EQ(h.coordinator.Settings().ImportChannelTable(
                  h.dir.Write("t.upg", Golden("channel_table.upg")), &problem),
              rc::kOk)
        << problem;
    EXPECT_NEAR(h.Real(pid::RxChannelId(5)), 47.95, 1e-9);
    EXPECT_NEAR(h.Real(pid::RxChannelId(0)), before[0], 1e-9);
    EXPECT_NEAR(h.Real(pid::TxChannelId(7)), 450.0, 1e-9);

    // The whole plan, once it suits the modem. (Exported again it is the same file: the fleet
    // run's test.)
    h.view.calls.clear();
    ASSERT_EQ(h.coordinator.Settings().ImportChannelCsv(kExample, &problem), rc::kOk) << problem;
    EXPECT_DOUBLE_EQ(h.Real(pid::RxChannelId(7)), 469.9875);
    EXPECT_EQ(h.view.calls, std::vector<std::string>{"Values *"});
}

}  // namespace
}  // namespace vxl::test
