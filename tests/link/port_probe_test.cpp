#include "link/port_probe.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "link/com_port.h"
#include "link/port_table.h"
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
    } cases[] = {
        {true, 0, "Available"},
        {false, EWOULDBLOCK, "Unavailable"},
        {false, EBUSY, "Unavailable"},
        {false, EACCES, "Unavailable"},
        {false, EPERM, "Unavailable"},
        {false, ENOENT, ""},
        {false, ENOTTY, ""},
        {true, EINVAL, ""},
        {false, 0, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PortStatusText(c.opened, c.error), c.status) << c.opened << " " << c.error;
    }
}

// The process's port table holds only this test's ports.
class PortProbeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PortTable::Instance().BuildFrom({}, {});
        free = std::make_unique<TestPty>();
        busy = std::make_unique<TestPty>();
        ASSERT_TRUE(free->ok() && busy->ok());
        missing = PortTable::Instance().AssignDevice(dir.File("unplugged"));
        notTty = PortTable::Instance().AssignDevice(dir.Write("plain", ""));
        ASSERT_TRUE(holder.Open(true, busy->portNumber(), 9600, 0, 8, 0, 9, 100));
    }

    RecordingOperator ui;
    ScopedUi scopedUi{ui};
    TempDir dir;
    std::unique_ptr<TestPty> free;
    std::unique_ptr<TestPty> busy;
    int missing = 0;
    int notTty = 0;
    CComPort holder;
};

TEST_F(PortProbeTest, ProbePortsOpensEachElementAsItsPortNumber) {
    CComPort ports[8];
    EXPECT_EQ(ProbePorts(ports, 8), 1);
    const int freeIndex = free->portNumber() - 1;
    ASSERT_GE(freeIndex, 0);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(ports[i].GetPortNumber(), i + 1);
    EXPECT_TRUE(ports[freeIndex].IsOpen());
    EXPECT_EQ(ports[freeIndex].GetLastError(), 0);
    EXPECT_EQ(ports[freeIndex].GetTransmitBufferSize(), kProbeTransmitBufferSize);
    EXPECT_EQ(ports[freeIndex].GetEventMask(), kProbeEventMask);
    EXPECT_EQ(ports[freeIndex].GetBaud(), 9600);
    EXPECT_EQ(ports[busy->portNumber() - 1].GetLastError(), EWOULDBLOCK);
    EXPECT_EQ(ports[missing - 1].GetLastError(), ENOENT);
    EXPECT_EQ(ports[7].GetLastError(), ENOENT) << "number 8 is not in the table";
    EXPECT_EQ(ProbePorts(nullptr, 8), 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PortProbeTest, ProbeAllPortsListsUsableAndBusyPortsAndClosesThem) {
    const std::vector<ProbedPort> listed = ProbeAllPorts();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].number, free->portNumber());
    EXPECT_EQ(listed[0].device, free->slavePath());
    EXPECT_EQ(listed[0].status, "Available");
    EXPECT_EQ(listed[1].number, busy->portNumber());
    EXPECT_EQ(listed[1].status, "Unavailable");

    CComPort again;
    EXPECT_TRUE(again.Open(true, free->portNumber(), 9600, 0, 8, 0, 9, 100))
        << "the probe left the port open";
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace vxl::test
