#include "link/port_table.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "link/port_enumeration.h"
#include "support/temp_dir.h"
#include "util/preferences.h"

namespace vxl {
namespace {

std::vector<std::pair<int, std::string>> NumbersAndDevices(const PortTable& table) {
    std::vector<std::pair<int, std::string>> out;
    for (const PortEntry& entry : table.Entries()) out.emplace_back(entry.number, entry.device);
    return out;
}

PortEntry Entry(int number, const std::string& device, const std::string& description = "") {
    PortEntry entry;
    entry.number = number;
    entry.device = device;
    entry.description = description;
    return entry;
}

TEST(PortTable, PinnedPortsKeepTheirNumbersAndDetectedOnesFillTheGaps) {
    PortTable table;
    table.BuildFrom({Entry(3, "/dev/ttyUSB0"), Entry(1, "/dev/ttyS4"), Entry(0, "/dev/zero0"),
                     Entry(5, ""), Entry(3, "/dev/ttyACM9")},
                    {Entry(0, "/dev/ttyACM0", "Modem cable"),
                     Entry(0, "/dev/ttyUSB0", "FT232R, FTDI"), Entry(0, "/dev/ttyS0", "On-board")});
    const std::vector<std::pair<int, std::string>> expected = {
        {1, "/dev/ttyS4"}, {2, "/dev/ttyACM0"}, {3, "/dev/ttyUSB0"}, {4, "/dev/ttyS0"}};
    EXPECT_EQ(NumbersAndDevices(table), expected);
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
    table.BuildFrom({Entry(2, device), Entry(4, "/dev/ttyS1")}, {});
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
    ASSERT_EQ(pinned.size(), 1u);
    EXPECT_EQ(pinned[0].number, 2);
    EXPECT_EQ(pinned[0].device, "/dev/Pinned-Adapter");

    PortTable table;
    table.Build(prefs);
    EXPECT_EQ(table.DevicePath(2), "/dev/Pinned-Adapter");
    std::vector<int> numbers;
    for (const PortEntry& entry : table.Entries()) numbers.push_back(entry.number);
    for (size_t i = 0; i < numbers.size(); ++i) {
        EXPECT_EQ(numbers[i], static_cast<int>(i) + 1) << "detected ports leave no gaps";
    }
}

TEST(PortEnumeration, AdaptersComeFirstByStableNameThenOnBoardPortsInNumberOrder) {
    auto port = [](const char* device, const char* stable, PortKind kind) {
        DetectedPort p;
        p.device = device;
        p.stableName = stable;
        p.kind = kind;
        return p;
    };
    const std::vector<PortEntry> ordered = OrderDetectedPorts({
        port("/dev/ttyS10", "", PortKind::OnBoard),
        port("/dev/rfcomm0", "", PortKind::Other),
        port("/dev/ttyUSB0", "/dev/serial/by-id/usb-Zeta_Cable-if00", PortKind::Usb),
        port("/dev/ttyS2", "", PortKind::OnBoard),
        port("/dev/ttyACM3", "", PortKind::Usb),
        port("/dev/ttyUSB1", "/dev/serial/by-id/usb-Alpha_Cable-if00", PortKind::Usb),
    });
    const std::vector<std::string> expected = {"/dev/serial/by-id/usb-Alpha_Cable-if00",
                                               "/dev/serial/by-id/usb-Zeta_Cable-if00",
                                               "/dev/ttyACM3",
                                               "/dev/ttyS2",
                                               "/dev/ttyS10",
                                               "/dev/rfcomm0"};
    std::vector<std::string> devices;
    for (const PortEntry& entry : ordered) devices.push_back(entry.device);
    EXPECT_EQ(devices, expected);
}

TEST(PortEnumeration, DescriptionsNameProductMakerAndSerialNumber) {
    const struct {
        PortKind kind;
        const char* product;
        const char* manufacturer;
        const char* serial;
        const char* system;
        const char* expected;
    } cases[] = {
        {PortKind::Usb, "FT232R USB UART", "FTDI", "A50285BI", "x",
         "FT232R USB UART, FTDI, S/N A50285BI"},
        {PortKind::Usb, "CP2102", "", "", "x", "CP2102"},
        {PortKind::Usb, "", "Prolific", "0001", "x", "Prolific, S/N 0001"},
        {PortKind::OnBoard, "", "", "", "ttyS0", "On-board serial port"},
        {PortKind::Other, "", "", "", "rfcomm0", "rfcomm0"},
    };
    for (const auto& c : cases) {
        DetectedPort port;
        port.kind = c.kind;
        port.product = c.product;
        port.manufacturer = c.manufacturer;
        port.serialNumber = c.serial;
        port.systemDescription = c.system;
        EXPECT_EQ(DescribePort(port), c.expected);
    }
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
    char* real0 = realpath(usb0.c_str(), nullptr);
    char* real1 = realpath(usb1.c_str(), nullptr);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names.at(real0), byId + "/usb-A-if00");
    EXPECT_EQ(names.at(real1), byId + "/usb-C-if00");
    free(real0);
    free(real1);
    EXPECT_TRUE(StableNamesIn(dir.File("no-such-folder")).empty());
}

}  // namespace
}  // namespace vxl
