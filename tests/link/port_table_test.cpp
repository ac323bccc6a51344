#include "link/port_table.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "link/port_enumeration.h"
#include "support/temp_dir.h"
#include "util/preferences.h"

namespace vxl {
namespace {

using Numbered = std::vector<std::pair<int, std::string>>;

Numbered NumbersAndDevices(const std::vector<PortEntry>& entries) {
    Numbered out;
    for (const PortEntry& entry : entries) out.emplace_back(entry.number, entry.device);
    return out;
}

TEST(PortTable, PinnedPortsKeepTheirNumbersAndDetectedOnesFillTheGaps) {
    PortTable table;
    table.BuildFrom({{3, "/dev/ttyUSB0", ""},
                     {1, "/dev/ttyS4", ""},
                     {0, "/dev/zero0", ""},
                     {5, "", ""},
                     {3, "/dev/ttyACM9", ""}},
                    {{0, "/dev/ttyACM0", "Modem cable"},
                     {0, "/dev/ttyUSB0", "FT232R, FTDI"},
                     {0, "/dev/ttyS0", "On-board"}});
    EXPECT_EQ(
        NumbersAndDevices(table.Entries()),
        (Numbered{{1, "/dev/ttyS4"}, {2, "/dev/ttyACM0"}, {3, "/dev/ttyUSB0"}, {4, "/dev/ttyS0"}}));
    EXPECT_EQ(table.Entries()[2].description, "FT232R, FTDI") << "pinned takes the description";
    EXPECT_EQ(table.DevicePath(3), "/dev/ttyUSB0");
    for (int unknown : {0, -1, 5, 256}) EXPECT_EQ(table.DevicePath(unknown), "") << unknown;

    table.BuildFrom({}, {});
    EXPECT_TRUE(table.Entries().empty()) << "a rebuild replaces the table";
}

TEST(PortTable, AssignDeviceReusesTheListedNumberOrTakesTheLowestFree) {
    test::TempDir dir;
    const std::string device = dir.Write("ttyFake", "");
    const std::string link = dir.File("by-id-link");
    ASSERT_EQ(symlink(device.c_str(), link.c_str()), 0);

    PortTable table;
    table.BuildFrom({{2, device, ""}, {4, "/dev/ttyS1", ""}}, {});
    const struct {
        std::string path;
        int number;
    } steps[] = {
        {device, 2},              // already listed
        {link, 2},                // another name of the same device
        {"/dev/pts/77", 1},       // lowest free
        {"/dev/Serial-Case", 3},  // next gap
        {"/dev/pts/77", 1},       // now listed
        {"/dev/serial-case", 5},  // letter case matters in paths
        {"", -1},
    };
    for (const auto& step : steps)
        EXPECT_EQ(table.AssignDevice(step.path), step.number) << step.path;
    EXPECT_EQ(table.DevicePath(3), "/dev/Serial-Case");
}

TEST(PortTable, BuildTakesThePinnedPortsFromThePreferenceStore) {
    test::TempDir dir;
    PreferenceStore prefs(dir.Write("prefs.conf",
                                    "[Settings]\nComPortNum=2\n"
                                    "[Ports]\nCOM2 = /dev/Pinned-Adapter \nCOM1=\nCOM0=/dev/x\n"
                                    "COM300=/dev/y\nPort7=/dev/z\n"));
    const std::vector<PortEntry> pinned = ReadPinnedPorts(prefs.Path());
    EXPECT_EQ(NumbersAndDevices(pinned), (Numbered{{2, "/dev/Pinned-Adapter"}}));

    PortTable table;
    table.Build(prefs);
    EXPECT_EQ(table.DevicePath(2), "/dev/Pinned-Adapter");
    for (size_t i = 0; i < table.Entries().size(); ++i) {
        EXPECT_EQ(table.Entries()[i].number, static_cast<int>(i) + 1)
            << "detected ports leave no gaps";
    }
}

TEST(PortEnumeration, AdaptersComeFirstByStableNameThenOnBoardPortsInNumberOrder) {
    const std::string alpha = "/dev/serial/by-id/usb-Alpha_Cable-if00";
    const std::string zeta = "/dev/serial/by-id/usb-Zeta_Cable-if00";
    const auto port = [](const std::string& device, const std::string& stable, PortKind kind) {
        return DetectedPort{device, stable, kind, "", "", "", ""};
    };
    const std::vector<PortEntry> ordered = OrderDetectedPorts(
        {port("/dev/ttyS10", "", PortKind::OnBoard), port("/dev/rfcomm0", "", PortKind::Other),
         port("/dev/ttyUSB0", zeta, PortKind::Usb), port("/dev/ttyS2", "", PortKind::OnBoard),
         port("/dev/ttyACM3", "", PortKind::Usb), port("/dev/ttyUSB1", alpha, PortKind::Usb)});
    const std::vector<std::string> expected = {alpha,        zeta,          "/dev/ttyACM3",
                                               "/dev/ttyS2", "/dev/ttyS10", "/dev/rfcomm0"};
    std::vector<std::string> devices;
    for (const PortEntry& entry : ordered) devices.push_back(entry.device);
    EXPECT_EQ(devices, expected);
}

TEST(PortEnumeration, DescriptionsNameProductMakerAndSerialNumber) {
    const struct {
        DetectedPort port;
        const char* expected;
    } cases[] = {
        {{"", "", PortKind::Usb, "FT232R USB UART", "FTDI", "A50285BI", "x"},
         "FT232R USB UART, FTDI, S/N A50285BI"},
        {{"", "", PortKind::OnBoard, "", "", "", "ttyS0"}, "On-board serial port"},
    };
    for (const auto& c : cases) EXPECT_EQ(DescribePort(c.port), c.expected);
}

TEST(PortEnumeration, StableNamesMapDevicesToTheirLinks) {
    test::TempDir dir;
    const std::string usb0 = dir.Write("ttyUSB0", "");
    const std::string usb1 = dir.Write("ttyUSB1", "");
    const std::string byId = dir.File("by-id");
    ASSERT_EQ(mkdir(byId.c_str(), 0700), 0);
    ASSERT_EQ(symlink(usb0.c_str(), (byId + "/usb-B-if00").c_str()), 0);
    ASSERT_EQ(symlink(usb0.c_str(), (byId + "/usb-A-if00").c_str()), 0);
    ASSERT_EQ(symlink(usb1.c_str(), (byId + "/usb-C-if00").c_str()), 0);
    ASSERT_EQ(symlink(dir.File("missing").c_str(), (byId + "/usb-D-if00").c_str()), 0);

    const std::map<std::string, std::string> names = StableNamesIn(byId);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names.at(std::filesystem::canonical(usb0)), byId + "/usb-A-if00");
    EXPECT_EQ(names.at(std::filesystem::canonical(usb1)), byId + "/usb-C-if00");
    EXPECT_TRUE(StableNamesIn(dir.File("no-such-folder")).empty());
}

}  // namespace
}  // namespace vxl
