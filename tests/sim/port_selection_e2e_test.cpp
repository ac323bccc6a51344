// The first run without a stored port, end to end: the port dialog lists three pinned ports,
// Locate Modem finds the simulated modem on the second by either capture method, and the port
// is stored.
#include <gtest/gtest.h>

#include "coordinator/coordinator.h"
#include "e2e_fixture.h"
#include "link/test_pty.h"
#include "ports/select_serial_port.h"
#include "util/preferences.h"

namespace vxl::sim::test {
namespace {

TEST_F(EndToEnd, TheFirstRunLocatesTheModemOnTheSecondOfThreePortsAndStoresIt) {
    for (int method : {1, 3}) {
        SCOPED_TRACE(method == 1 ? "soft break" : "power-on capture");
        SimOptions options;
        options.profile.baud = 38400;  // the soft-break search's first rate
        options.operatorPowerCycleSeconds = 0.2;
        StartModem(options);
        vxl::test::TestPty first(false), third(false);
        ASSERT_TRUE(first.ok() && third.ok());
        PreferenceStore prefs(dir.File(Format("prefs%d.conf", method)));
        ScopedPrefs scopedPrefs(prefs);
        prefs.SetText(kPortsSection, "COM1", first.slavePath());
        prefs.SetText(kPortsSection, "COM2", sim->LinkPath());
        prefs.SetText(kPortsSection, "COM3", third.slavePath());
        PortTable::Instance().BuildFrom(ReadPinnedPorts(prefs.Path()), {});
        CCoordinator coordinator;
        coordinator.Init(-1, method);

        std::vector<std::string> statuses;
        FirstRunPortSelection(
            coordinator,
            [&statuses](PortSelectionModel& model) {
                for (const PortRow& row : model.Rows()) statuses.push_back(row.status);
                return model.LocateModem();
            },
            nullptr);
        EXPECT_EQ(statuses, std::vector<std::string>(3, "Available"));
        EXPECT_EQ(coordinator.Session().GetPort(), 2);
        EXPECT_EQ(prefs.GetInt(kPrefComPortNum, -1), 2);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].caption, "Modem Found");
        EXPECT_EQ(ui.messages[0].text, "A Norvale modem was located on serial port 2 (" +
                                           sim->LinkPath() +
                                           ").\nThis port will now be selected for use.");
        if (method == 3) {
            EXPECT_TRUE(
                sim->WaitFor([](const SimStatus& s) { return s.mode == ModemMode::kData; }, 3000))
                << "the found modem was not reset";
        }
        ui.messages.clear();
        sim->Stop();
    }
}

}  // namespace
}  // namespace vxl::sim::test
