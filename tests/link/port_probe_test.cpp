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
TEST(PortProbe, ListsUsableAndBusyPortsAndLeavesNoneOpen) {
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
    // The statuses of the rows are checked through the port selection (ports tests).
    const std::vector<ProbedPort> probed = ProbeAllPorts();
    ASSERT_EQ(probed.size(), 4u);
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(probed[i].listed, i < 2) << probed[i].status;
    EXPECT_TRUE(probed[0].opened && !probed[1].opened);
    EXPECT_EQ(probed[2].number, missing);
    CComPort again;
    EXPECT_TRUE(again.Open(true, free.portNumber(), 9600, 0, 8, 0, 9, 100))
        << "the probe left the port open";
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace vxl::test
