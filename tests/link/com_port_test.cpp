#include "link/com_port.h"

#include <gtest/gtest.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <future>

#include "link/port_error.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "test_pty.h"

namespace vxl::test {
namespace {

constexpr int kCoordinatorBufferSize = 100000;
constexpr uint32_t kEvents = kEventReceivedChar | kEventCtsChange;

// Opens `port` on port `number` at `baud`, 8N1, the way the coordinator does.
bool Open(CComPort& port, int number, int baud = 9600, int transmitBufferSize = 100,
          bool bufferReceived = true) {
    return port.Open(bufferReceived, number, baud, kParityNone, 8, kStopBitsOne, kEvents,
                     transmitBufferSize);
}

class ComPortTest : public ::testing::Test {
  protected:
    bool OpenPort(int baud = 9600, int transmitBufferSize = kCoordinatorBufferSize,
                  bool bufferReceived = true) {
        return Open(port, pty.portNumber(), baud, transmitBufferSize, bufferReceived);
    }
    void OpenAndStart(bool bufferReceived = true) {
        ASSERT_TRUE(OpenPort(9600, kCoordinatorBufferSize, bufferReceived));
        ASSERT_TRUE(port.StartMonitor());
    }
    void WriteBytes(const std::vector<uint8_t>& bytes) {
        port.Write(bytes.data(), static_cast<int>(bytes.size()));
    }
    std::vector<uint8_t> TakeAll() {
        std::vector<uint8_t> bytes(kReceiveBufferSize);
        int length = -1;
        port.TakeReceived(bytes.data(), &length);
        bytes.resize(length < 0 ? 0 : length);
        return bytes;
    }
    // Sends `bytes` from the far end and waits until the port holds `held` bytes.
    void Receive(const std::vector<uint8_t>& bytes, int held) {
        ASSERT_TRUE(pty.Send(bytes));
        ASSERT_TRUE(WaitUntil([&] { return port.ReceivedCount() == held; }));
    }

    RecordingOperator ui;
    ScopedUi scopedUi{ui};
    TestPty pty;
    CComPort port;
};

// Runs `action` on another thread; false when it did not finish within `ms`.
bool FinishesWithin(int ms, const std::function<void()>& action) {
    auto done = std::async(std::launch::async, action);
    return done.wait_for(std::chrono::milliseconds(ms)) == std::future_status::ready;
}

double ProcessCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

TEST_F(ComPortTest, OpensConfiguresReopensAndReleasesTheDevice) {
    ASSERT_TRUE(OpenPort(4800));
    EXPECT_EQ(port.GetLastError(), 0);
    EXPECT_EQ(port.DevicePath(), pty.slavePath());
    EXPECT_EQ(port.GetPortNumber(), pty.portNumber());
    EXPECT_EQ(pty.PortSpeed(), B4800);

    // Opening an open port stops its monitor and starts clean.
    ASSERT_TRUE(port.StartMonitor());
    Receive({1, 2, 3}, 3);
    ASSERT_TRUE(OpenPort(2400));
    EXPECT_EQ(port.ReceivedCount(), 0);
    EXPECT_EQ(pty.PortSpeed(), B2400);
    ASSERT_TRUE(port.StartMonitor());
    WriteBytes({5});
    EXPECT_EQ(pty.Receive(1, 1000), std::vector<uint8_t>{5});

    port.Close();
    EXPECT_FALSE(port.IsOpen());
    CComPort next;
    EXPECT_TRUE(Open(next, pty.portNumber())) << "the first port still holds the device";
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ComPortTest, OpenFailuresKeepTheSystemErrorAndShowNoBox) {
    TempDir dir;
    ASSERT_TRUE(OpenPort());
    const struct {
        const char* name;
        int number;
        int error;
    } cases[] = {
        {"number not in the table", 9999, ENOENT},
        {"device missing", PortTable::Instance().AssignDevice(dir.File("gone")), ENOENT},
        {"not a terminal", PortTable::Instance().AssignDevice(dir.Write("file", "x")), ENOTTY},
        // Root passes the terminal's exclusive mode and meets the lock.
        {"in use by another port", pty.portNumber(), geteuid() == 0 ? EWOULDBLOCK : EBUSY},
    };
    for (const auto& c : cases) {
        CComPort failing;
        EXPECT_FALSE(Open(failing, c.number)) << c.name;
        EXPECT_EQ(failing.GetLastError(), c.error) << c.name;
        EXPECT_FALSE(failing.IsOpen()) << c.name;
        EXPECT_FALSE(failing.StartMonitor()) << c.name;
    }
    EXPECT_TRUE(port.IsOpen());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ComPortTest, WritesReachTheFarEndUnlessTooLongStalledOrWithoutAMonitor) {
    ASSERT_TRUE(OpenPort(9600, 16));
    WriteBytes(CountingBytes(4));
    EXPECT_TRUE(pty.Receive(1, 50).empty()) << "written without a monitor thread";
    ASSERT_TRUE(port.StartMonitor());
    WriteBytes(CountingBytes(17));
    EXPECT_TRUE(pty.Receive(1, 50).empty()) << "a write beyond the transmit buffer went out";
    EXPECT_EQ(port.GetLastError(), EMSGSIZE);
    WriteBytes(CountingBytes(16));
    EXPECT_EQ(pty.Receive(16, 1000), CountingBytes(16));

    OpenAndStart();  // a write larger than the line takes at once goes out whole
    WriteBytes(CountingBytes(5000));
    EXPECT_EQ(pty.Receive(5000, 2000), CountingBytes(5000));
    EXPECT_TRUE(ui.messages.empty());

    // Nobody reads the far end now, so the line fills up after some kilobytes: the write
    // times out with one box instead of hanging.
    PortTimeouts quick = port.GetTimeouts();
    quick.writeConstant = 100;
    quick.writeMultiplier = 0;
    port.SetTimeouts(quick);
    EXPECT_TRUE(FinishesWithin(3000, [&] { WriteBytes(CountingBytes(kCoordinatorBufferSize)); }));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("WriteFile()"), std::string::npos);
    EXPECT_NE(ui.messages[0].text.find(SystemErrorText(ETIMEDOUT)), std::string::npos);
    EXPECT_FALSE(port.DeviceLost());
}

TEST_F(ComPortTest, ReceivedBytesAreBufferedUntilTakenOrPurgedAndTheExcessDropped) {
    OpenAndStart();
    Receive({1, 2, 3}, 3);
    uint8_t two[2];
    int length = 0;
    port.TakeReceived(two, 2, &length);
    EXPECT_EQ(length, 2);
    EXPECT_EQ(two[1], 2);
    EXPECT_EQ(port.ReceivedCount(), 1);
    port.Purge();
    EXPECT_EQ(port.ReceivedCount(), 0);
    Receive({9}, 1);
    EXPECT_EQ(TakeAll(), std::vector<uint8_t>{9});

    // Bytes beyond the receive buffer, or for an unbuffered port, are dropped.
    const std::vector<uint8_t> flood = CountingBytes(1500);
    ASSERT_TRUE(pty.Send(flood));
    ASSERT_TRUE(WaitUntil([&] { return port.ReceivedCount() + port.DroppedCount() == 1500; }));
    EXPECT_EQ(TakeAll(), std::vector<uint8_t>(flood.begin(), flood.begin() + kReceiveBufferSize));
    EXPECT_EQ(port.DroppedCount(), 500);

    OpenAndStart(false);
    ASSERT_TRUE(pty.Send(CountingBytes(20)));
    ASSERT_TRUE(WaitUntil([&] { return port.DroppedCount() == 20; }));
    EXPECT_EQ(port.ReceivedCount(), 0);
}

// Noticed by the monitor while idle; a write that notices first is the end-to-end unplug test's.
TEST_F(ComPortTest, AVanishingDeviceIsMarkedLostShowsNoBoxAndHangsNoCaller) {
    OpenAndStart();
    Receive({1, 2, 3}, 3);
    pty.CloseMaster();
    ASSERT_TRUE(WaitUntil([&] { return port.DeviceLost(); }));
    const std::vector<uint8_t> frame = CountingBytes(64);
    EXPECT_TRUE(FinishesWithin(2000, [&] {
        for (int i = 0; i < 3; ++i) port.Write(frame.data(), 64);
        port.Purge();
    }));

    const double cpuBefore = ProcessCpuMs();
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_LT(ProcessCpuMs() - cpuBefore, 60.0) << "the monitor spins";

    EXPECT_EQ(port.GetBaud(), 0);
    EXPECT_FALSE(port.SetBaud(2400));
    EXPECT_EQ(port.ReceivedCount(), 0);
    EXPECT_TRUE(FinishesWithin(2000, [&] { port.Close(); }));
    // The caller names the device that went away; the port shows no box of its own.
    EXPECT_TRUE(ui.messages.empty()) << ui.messages[0].text;
    EXPECT_EQ(port.LostError(), EIO);
    EXPECT_EQ(port.GetLastError(), EIO);
}

TEST_F(ComPortTest, SuspendedMonitorServesNothingUntilResumedAndStillCloses) {
    OpenAndStart();
    EXPECT_TRUE(port.SuspendMonitor());
    ASSERT_TRUE(pty.Send({7, 7}));
    WriteBytes({1, 2});
    EXPECT_TRUE(pty.Receive(1, 50).empty()) << "a suspended monitor wrote";
    EXPECT_EQ(port.ReceivedCount(), 0);

    EXPECT_TRUE(port.ResumeMonitor());
    EXPECT_TRUE(WaitUntil([&] { return port.ReceivedCount() == 2; }));
    WriteBytes({1, 2});
    EXPECT_EQ(pty.Receive(2, 1000), (std::vector<uint8_t>{1, 2}));

    EXPECT_TRUE(port.SuspendMonitor());
    EXPECT_TRUE(FinishesWithin(2000, [&] { port.Close(); }));
    EXPECT_FALSE(port.IsOpen());
}

}  // namespace
}  // namespace vxl::test
