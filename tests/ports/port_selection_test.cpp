// The port-selection rules on pseudo-terminals: the rows and their statuses, clicks and OK, the
// messages of the selection, the first-run flow, Rescan, and a search that finds nothing.
#include "ports/select_serial_port.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <regex>

#include "coordinator/coordinator.h"
#include "link/com_port.h"
#include "link/test_pty.h"
#include "support/fake_clock.h"
#include "support/golden.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "util/format.h"
#include "util/preferences.h"

namespace vxl::test {
namespace {

bool OpensElsewhere(int portNumber) {
    CComPort port;
    return port.Open(true, portNumber, 9600, 0, 8, 0, 9, 100);
}

class PortSelection : public ::testing::Test {
  protected:
    void SetUp() override { PortTable::Instance().BuildFrom({}, {}); }
    // A dialog that records what it was shown and clicks `row` (none for -1), then answers.
    PortDialog Dialog(int row, bool ok) {
        return [this, row, ok](PortSelectionModel& model) {
            ++dialogs;
            firstRun = model.FirstRun();
            model.ClickRow(row);
            return ok;
        };
    }

    RecordingOperator ui;
    ScopedUi scopedUi{ui};
    FakeClock clock;
    ScopedClock scopedClock{clock};
    TempDir dir;
    PreferenceStore prefs{dir.File("prefs.conf")};
    ScopedPrefs scopedPrefs{prefs};
    int dialogs = 0;
    bool firstRun = false;
};

TEST_F(PortSelection, ABusyPortIsListedWithItsReasonAndCannotBeSelected) {
    TestPty com1, com2, com3;
    ASSERT_TRUE(com1.ok() && com2.ok() && com3.ok());
    PortTable::Instance().AssignDevice(dir.File("unplugged"));  // not listed
    CComPort other;                                             // another program's hold on COM2
    ASSERT_TRUE(other.Open(true, com2.portNumber(), 9600, 0, 8, 0, 9, 100));
    {
        PortSelectionModel model(3, 1, false, nullptr);
        EXPECT_EQ(model.Probe(), 2);
        ASSERT_EQ(model.Rows().size(), 3u);
        EXPECT_EQ(model.CellText(1, 1).rfind("Unavailable: in use by ", 0), 0u);
        EXPECT_EQ(model.CellText(1, 0), "2");
        EXPECT_EQ(model.CellText(1, 2), com2.slavePath());
        EXPECT_EQ(model.SelectedPort(), 3) << "the current port is preselected";
        EXPECT_TRUE(model.OkEnabled());

        model.ClickRow(1);
        EXPECT_EQ(model.SelectedRow(), -1);
        EXPECT_FALSE(model.OkEnabled());
        EXPECT_NE(model.Hint().find(com2.slavePath() + " is in use by"), std::string::npos);
        model.ClickRow(-1);
        EXPECT_EQ(model.SelectedRow(), -1) << "a click outside the rows changes nothing";
        model.ClickRow(0);
        EXPECT_EQ(model.SelectedPort(), 1);
        EXPECT_TRUE(model.OkEnabled());
        EXPECT_EQ(model.Hint().rfind("Choose the port your modem is connected to", 0), 0u);
        EXPECT_FALSE(OpensElsewhere(com1.portNumber())) << "the model holds the ports it probed";
    }
    EXPECT_TRUE(OpensElsewhere(com1.portNumber())) << "and closes them when it goes";
    EXPECT_TRUE(ui.messages.empty());
}

// What the selection returns and says, with the devices and the holder's process number written
// as such.
TEST_F(PortSelection, SelectionOutcomesAndTheirMessages) {
    const struct {
        const char* name;
        int ports;    // ptys in the table
        bool busy;    // the first is held by another program
        int current;  // the configured port
        int click;    // row the operator clicks
        bool ok;      // OK (else Cancel)
    } cases[] = {
        {"no port at all", 0, false, 4, -1, true},
        {"only a busy port", 1, true, -1, 0, true},
        {"cancel without a port", 2, false, -1, 1, false},
        {"cancel with a port", 2, false, 2, 0, false},
        {"OK on a chosen port", 2, false, 1, 1, true},
        {"OK after clicking a busy row", 2, true, -1, 0, true},
    };
    std::string log;
    for (const auto& c : cases) {
        PortTable::Instance().BuildFrom({}, {});
        ui.messages.clear();
        dialogs = 0;
        std::vector<std::unique_ptr<TestPty>> ptys;
        for (int i = 0; i < c.ports; ++i) ptys.push_back(std::make_unique<TestPty>());
        CComPort other;
        ASSERT_TRUE(!c.busy || other.Open(true, 1, 9600, 0, 8, 0, 9, 100));
        CCoordinator coordinator;
        coordinator.Init(c.current, 1);
        const int port = SelectSerialPort(&coordinator, false, Dialog(c.click, c.ok), nullptr);
        log += Format("## %s: port %d, %d dialogs\n", c.name, port, dialogs) + Transcript(ui);
    }
    log = std::regex_replace(log, std::regex("/dev/pts/[0-9]+"), "<pty>");
    EXPECT_TRUE(MatchesGolden("ports/selection_outcomes.txt",
                              std::regex_replace(log, std::regex("PID [0-9]+"), "PID <pid>")));
    EXPECT_EQ(SelectSerialPort(nullptr, false, Dialog(0, true)), -1);
}

TEST_F(PortSelection, TheFirstRunAsksOnlyWithoutAPortAndStoresTheChoice) {
    TestPty com1;
    ASSERT_TRUE(com1.ok());
    CCoordinator coordinator;
    coordinator.Init(-1, 3);
    FirstRunPortSelection(coordinator, Dialog(-1, false), nullptr);
    EXPECT_EQ(coordinator.Session().GetPort(), -1);
    EXPECT_EQ(prefs.GetInt(kPrefComPortNum, -7), -7) << "nothing stored";
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "No Serial Port Selected");

    FirstRunPortSelection(coordinator, Dialog(0, true), nullptr);
    EXPECT_TRUE(firstRun);
    FirstRunPortSelection(coordinator, Dialog(0, true), nullptr);
    EXPECT_EQ(dialogs, 2) << "a configured port is not asked for again";
    ChooseSerialPort(coordinator, Dialog(0, true), nullptr);
    EXPECT_EQ(dialogs, 3);
    EXPECT_FALSE(firstRun);
}

TEST_F(PortSelection, RescanFindsNewAdaptersFreedAndUnpluggedPortsAndKeepsTheNumbers) {
    TestPty com1, com2(false), plugged(false);
    ASSERT_TRUE(com1.ok() && com2.ok() && plugged.ok());
    // COM2 is listed by a link of its own: once unplugged it is gone for good, whereas its pty
    // number is free at once for a pty another test opens meanwhile.
    const std::string com2Link = dir.File("ttyUSB-com2");
    ASSERT_EQ(::symlink(com2.slavePath().c_str(), com2Link.c_str()), 0);
    ASSERT_EQ(PortTable::Instance().AssignDevice(com2Link), 2);
    std::vector<PortEntry> detected;
    CComPort other;
    ASSERT_TRUE(other.Open(true, 1, 9600, 0, 8, 0, 9, 100));
    PortSelectionModel model(2, 1, false, [&detected] { return detected; });
    EXPECT_EQ(model.Probe(), 1);

    other.Close();
    detected.push_back({0, plugged.slavePath(), "USB-Serial Controller, Prolific"});
    EXPECT_EQ(model.Rescan(), 3);
    ASSERT_EQ(model.Rows().size(), 3u);
    EXPECT_EQ(model.Rows()[0].status, "Available");
    EXPECT_EQ(model.Rows()[2].number, 3);
    EXPECT_EQ(model.CellText(2, 3), "USB-Serial Controller, Prolific");
    EXPECT_EQ(model.SelectedPort(), 2);

    com2.CloseMaster();  // unplugged: the adapter's device goes with it
    ASSERT_EQ(::unlink(com2Link.c_str()), 0);
    EXPECT_EQ(model.Rescan(), 2);
    EXPECT_EQ(model.SelectedPort(), -1);
    ASSERT_EQ(model.Rows().size(), 2u);
    EXPECT_EQ(model.Rows()[1].number, 3) << "numbers stay with their devices";
}

TEST_F(PortSelection, ASearchThatFindsNoModemChangesNothing) {
    TestPty com1, com2;
    ASSERT_TRUE(com1.ok() && com2.ok());
    for (int method : {1, 3}) {
        SCOPED_TRACE(method);
        PortSelectionModel model(2, method, false, nullptr);
        model.Probe();
        EXPECT_TRUE(model.LocateEnabled());
        EXPECT_FALSE(model.LocateModem());
        EXPECT_EQ(model.SelectedPort(), 2);
        EXPECT_EQ(model.Hint().rfind("No modem answered on the available ports.", 0), 0u);
        ASSERT_FALSE(ui.progress.empty());
        EXPECT_EQ(ui.progress.back()->title, "Capturing Modem");
        EXPECT_TRUE(ui.progress.back()->closed);
        EXPECT_GT(com1.Receive(3, 100).size(), 0u) << "the search went out on every port";
    }
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace vxl::test
