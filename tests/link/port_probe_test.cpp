#include "link/port_probe.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "link/com_port.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "test_pty.h"

namespace vxl::test {
namespace {

TEST(PortStatus, OpenedIsAvailableInUseOrForbiddenIsUnavailableTheRestUnlisted) {
    const struct {
        bool opened;
        int error;
        const char* status;
    } cases[] = {{true, 0, "Available"},
                 {false, EWOULDBLOCK, "Unavailable"},
                 {false, EBUSY, "Unavailable"},
                 {false, EACCES, "Unavailable"},
                 {false, EPERM, "Unavailable"},
                 {false, ENOENT, ""},
                 {false, ENOTTY, ""},
                 {true, EINVAL, ""},
                 {false, 0, ""}};
    for (const auto& c : cases)
        EXPECT_EQ(PortStatusText(c.opened, c.error), c.status) << c.opened << " " << c.error;
}

// The process's port table holds only this test's ports: a free and a busy terminal, a device
// that is gone and a file that is not a terminal.
TEST(PortProbe, OpensEachElementAsItsPortNumberAndListsUsableAndBusyPorts) {
    RecordingOperator ui;
    ScopedUi scopedUi{ui};
    TempDir dir;
    PortTable::Instance().BuildFrom({}, {});
    TestPty free, busy;
    ASSERT_TRUE(free.ok() && busy.ok());
    const int missing = PortTable::Instance().AssignDevice(dir.File("unplugged"));
    PortTable::Instance().AssignDevice(dir.Write("plain", ""));
    CComPort holder;
    ASSERT_TRUE(holder.Open(true, busy.portNumber(), 9600, 0, 8, 0, 9, 100));
    {
        CComPort ports[8];
        EXPECT_EQ(ProbePorts(ports, 8), 1);
        for (int i = 0; i < 8; ++i) EXPECT_EQ(ports[i].GetPortNumber(), i + 1);
        CComPort& opened = ports[free.portNumber() - 1];
        EXPECT_TRUE(opened.IsOpen());
        EXPECT_EQ(opened.GetLastError(), 0);
        EXPECT_EQ(opened.GetTransmitBufferSize(), kProbeTransmitBufferSize);
        EXPECT_EQ(opened.GetEventMask(), kProbeEventMask);
        EXPECT_EQ(opened.GetBaud(), 9600);
        EXPECT_EQ(ports[busy.portNumber() - 1].GetLastError(), EWOULDBLOCK);
        EXPECT_EQ(ports[missing - 1].GetLastError(), ENOENT);
        EXPECT_EQ(ports[7].GetLastError(), ENOENT) << "number 8 is not in the table";
        EXPECT_EQ(ProbePorts(nullptr, 8), 0);
    }
    const std::vector<ProbedPort> listed = ProbeAllPorts();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].number, free.portNumber());
    EXPECT_EQ(listed[0].device, free.slavePath());
    EXPECT_EQ(listed[0].status, "Available");
    EXPECT_EQ(listed[1].number, busy.portNumber());
    EXPECT_EQ(listed[1].status, "Unavailable");
    CComPort again;
    EXPECT_TRUE(again.Open(true, free.portNumber(), 9600, 0, 8, 0, 9, 100))
        << "the probe left the port open";
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace vxl::test
