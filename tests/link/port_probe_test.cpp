#include "link/port_probe.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "link/com_port.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "test_pty.h"

namespace vxl::test {
namespace {

TEST(PortStatus, OpenedInUseOrForbiddenPortsAreListedTheRestNot) {
    const struct {
        bool opened;
        int error;
        bool listed;
    } cases[] = {{true, 0, true},        {false, EWOULDBLOCK, true}, {false, EBUSY, true},
                 {false, EACCES, true},  {false, EPERM, true},       {false, ENOENT, false},
                 {false, ENOTTY, false}, {true, EINVAL, false},      {false, 0, false}};
    for (const auto& c : cases)
        EXPECT_EQ(IsListedPort(c.opened, c.error), c.listed) << c.opened << " " << c.error;
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
    // The statuses of the rows are checked through the port selection (ports tests).
    const std::vector<ProbedPort> probed = ProbeAllPorts();
    ASSERT_EQ(probed.size(), 4u);
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(probed[i].listed, i < 2) << probed[i].status;
    CComPort again;
    EXPECT_TRUE(again.Open(true, free.portNumber(), 9600, 0, 8, 0, 9, 100))
        << "the probe left the port open";
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace vxl::test
