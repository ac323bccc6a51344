#include "link/com_port.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <future>

#include "link/port_error.h"
#include "link/port_table.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "test_pty.h"

namespace vxl::test {
namespace {

constexpr int kCoordinatorBufferSize = 100000;

class ComPortTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(pty.ok()); }

    bool OpenPort(bool bufferReceived = true, int baud = 9600,
                  int transmitBufferSize = kCoordinatorBufferSize) {
        return port.Open(bufferReceived, pty.portNumber(), baud, kParityNone, 8, kStopBitsOne,
                         kEventReceivedChar | kEventCtsChange, transmitBufferSize);
    }
    void OpenAndStart(bool bufferReceived = true, int transmitBufferSize = kCoordinatorBufferSize) {
        ASSERT_TRUE(OpenPort(bufferReceived, 9600, transmitBufferSize));
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

TEST_F(ComPortTest, OpensConfiguresAndReleasesTheDevice) {
    ASSERT_TRUE(OpenPort(true, 4800));
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(port.GetLastError(), 0);
    EXPECT_EQ(port.DevicePath(), pty.slavePath());
    EXPECT_EQ(port.GetPortNumber(), pty.portNumber());
    EXPECT_EQ(port.GetEventMask(), kEventReceivedChar | kEventCtsChange);
    EXPECT_EQ(port.GetTransmitBufferSize(), kCoordinatorBufferSize);
    EXPECT_EQ(pty.PortSpeed(), B4800);
    LineSettings settings;
    port.GetLineSettings(&settings);
    EXPECT_EQ(settings.baud, 4800);
    EXPECT_EQ(settings.dataBits, 8);

    port.Close();
    EXPECT_FALSE(port.IsOpen());
    CComPort next;
    EXPECT_TRUE(next.Open(true, pty.portNumber(), 9600, kParityNone, 8, kStopBitsOne, 9, 16))
        << "the first port still holds the device after Close";
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ComPortTest, OpenFailuresKeepTheSystemErrorAndShowNothing) {
    TempDir dir;
    const std::string plainFile = dir.Write("not-a-tty", "x");
    struct Case {
        const char* name;
        int number;
        int error;
    } cases[] = {
        {"number not in the table", 9999, ENOENT},
        {"device missing", PortTable::Instance().AssignDevice(dir.File("gone")), ENOENT},
        {"not a terminal", PortTable::Instance().AssignDevice(plainFile), ENOTTY},
    };
    for (const Case& c : cases) {
        CComPort failing;
        EXPECT_FALSE(failing.Open(true, c.number, 9600, kParityNone, 8, kStopBitsOne, 9, 100))
            << c.name;
        EXPECT_EQ(failing.GetLastError(), c.error) << c.name;
        EXPECT_FALSE(failing.IsOpen()) << c.name;
        EXPECT_FALSE(failing.StartMonitor()) << c.name;
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ComPortTest, APortInUseIsRefusedToASecondOpener) {
    ASSERT_TRUE(OpenPort());
    CComPort second;
    EXPECT_FALSE(second.Open(true, pty.portNumber(), 9600, kParityNone, 8, kStopBitsOne, 9, 100));
    EXPECT_TRUE(second.GetLastError() == EWOULDBLOCK || second.GetLastError() == EBUSY)
        << second.GetLastError();
    EXPECT_TRUE(port.IsOpen());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ComPortTest, UnusableLineSettingsShowOneErrorBoxAndKeepTheDeviceOpen) {
    struct Case {
        const char* name;
        int baud;
        uint8_t parity;
        uint8_t dataBits;
        uint8_t stopBits;
    } cases[] = {
        {"nine data bits", 9600, kParityNone, 9, kStopBitsOne},
        {"rate without a speed", 12345, kParityNone, 8, kStopBitsOne},
        {"unknown parity", 9600, 7, 8, kStopBitsOne},
        {"one and a half stop bits with 8 data bits", 9600, kParityNone, 8, kStopBitsOneAndHalf},
    };
    for (const Case& c : cases) {
        RecordingOperator caseUi;
        ScopedUi scoped(caseUi);
        CComPort bad;
        EXPECT_FALSE(
            bad.Open(true, pty.portNumber(), c.baud, c.parity, c.dataBits, c.stopBits, 9, 100))
            << c.name;
        EXPECT_TRUE(bad.IsOpen()) << c.name;
        EXPECT_EQ(bad.GetLastError(), EINVAL) << c.name;
        ASSERT_EQ(caseUi.messages.size(), 1u) << c.name;
        EXPECT_EQ(caseUi.messages[0].caption, "Application Error");
        EXPECT_EQ(caseUi.messages[0].icon, MsgIcon::Stop);
        EXPECT_EQ(caseUi.messages[0].text,
                  "WARNING:  SetCommState() Failed with the following error: \n" +
                      SystemErrorText(EINVAL) + "\nPort: " + std::to_string(pty.portNumber()) +
                      "\n");
        bad.Close();
    }
}

TEST_F(ComPortTest, WrittenBytesReachTheFarEnd) {
    OpenAndStart();
    const std::vector<uint8_t> frame = {0x02, 0x55, 0x00, 0xFF, 0xAA};
    WriteBytes(frame);
    EXPECT_EQ(pty.Receive(frame.size(), 1000), frame);
    const std::vector<uint8_t> big = CountingBytes(5000);
    WriteBytes(big);
    EXPECT_EQ(pty.Receive(big.size(), 2000), big);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ComPortTest, ReceivedBytesAreBufferedUntilTaken) {
    OpenAndStart();
    const std::vector<uint8_t> reply = {0x10, 0x20, 0x30, 0x40};
    ASSERT_TRUE(pty.Send(reply));
    ASSERT_TRUE(WaitUntil([&] { return port.ReceivedCount() == 4; }));
    EXPECT_EQ(TakeAll(), reply);
    EXPECT_EQ(port.ReceivedCount(), 0);

    ASSERT_TRUE(pty.Send({1, 2, 3}));
    ASSERT_TRUE(WaitUntil([&] { return port.ReceivedCount() == 3; }));
    uint8_t two[2];
    int length = 0;
    port.TakeReceived(two, 2, &length);
    EXPECT_EQ(length, 2);
    EXPECT_EQ(two[1], 2);
    EXPECT_EQ(TakeAll(), std::vector<uint8_t>{3});
}

TEST_F(ComPortTest, PurgeEmptiesTheReceiveBuffer) {
    OpenAndStart();
    ASSERT_TRUE(pty.Send({1, 2, 3, 4, 5}));
    ASSERT_TRUE(WaitUntil([&] { return port.ReceivedCount() == 5; }));
    port.Purge();
    EXPECT_EQ(port.ReceivedCount(), 0);
    ASSERT_TRUE(pty.Send({9}));
    ASSERT_TRUE(WaitUntil([&] { return port.ReceivedCount() == 1; }));
    EXPECT_EQ(TakeAll(), std::vector<uint8_t>{9});
}

TEST_F(ComPortTest, BytesBeyondTheReceiveBufferAreDropped) {
    OpenAndStart();
    const std::vector<uint8_t> flood = CountingBytes(1500);
    ASSERT_TRUE(pty.Send(flood));
    ASSERT_TRUE(WaitUntil([&] { return port.ReceivedCount() + port.DroppedCount() == 1500; }));
    EXPECT_EQ(port.ReceivedCount(), kReceiveBufferSize);
    EXPECT_EQ(TakeAll(), std::vector<uint8_t>(flood.begin(), flood.begin() + kReceiveBufferSize));
    EXPECT_EQ(port.DroppedCount(), 500);
}

TEST_F(ComPortTest, UnbufferedPortConsumesAndDropsReceivedBytes) {
    OpenAndStart(false);
    ASSERT_TRUE(pty.Send(CountingBytes(20)));
    ASSERT_TRUE(WaitUntil([&] { return port.DroppedCount() == 20; }));
    EXPECT_EQ(port.ReceivedCount(), 0);
}

TEST_F(ComPortTest, WritesAreRefusedWhenTooLongOrWithoutAMonitor) {
    ASSERT_TRUE(OpenPort(true, 9600, 16));
    WriteBytes(CountingBytes(4));
    EXPECT_TRUE(pty.Receive(1, 50).empty()) << "written without a monitor thread";

    ASSERT_TRUE(port.StartMonitor());
    WriteBytes(CountingBytes(17));
    EXPECT_TRUE(pty.Receive(1, 50).empty()) << "a write beyond the transmit buffer went out";
    EXPECT_EQ(port.GetLastError(), EMSGSIZE);
    WriteBytes(CountingBytes(16));
    EXPECT_EQ(pty.Receive(16, 1000), CountingBytes(16));
}

TEST_F(ComPortTest, BaudRatesGoThroughTheBaudTable) {
    ASSERT_TRUE(OpenPort(true, 57600));
    EXPECT_EQ(pty.PortSpeed(), B57600) << "Open sets the rate as given";
    EXPECT_EQ(port.GetBaud(), 9600);
    struct Case {
        int requested;
        int expected;
        speed_t speed;
    } cases[] = {
        {300, 300, B300},    {600, 600, B600},       {1200, 1200, B1200},    {2400, 2400, B2400},
        {4800, 4800, B4800}, {19200, 19200, B19200}, {38400, 38400, B38400}, {57600, 9600, B9600},
        {2400, 2400, B2400}, {115200, 9600, B9600},  {0, 9600, B9600},       {-1200, 9600, B9600},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(port.SetBaud(c.requested)) << c.requested;
        EXPECT_EQ(pty.PortSpeed(), c.speed) << c.requested;
        EXPECT_EQ(port.GetBaud(), c.expected) << c.requested;
        LineSettings settings;
        port.GetLineSettings(&settings);
        EXPECT_EQ(settings.baud, c.expected) << c.requested;
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ComPortTest, BaudOfAClosedPortFailsWithTheGetCommStateBox) {
    EXPECT_EQ(port.GetBaud(), 0);
    EXPECT_FALSE(port.SetBaud(9600));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_NE(ui.messages[0].text.find("GetCommState()"), std::string::npos);
    EXPECT_EQ(port.GetLastError(), EBADF);
}

TEST_F(ComPortTest, AVanishingDeviceIsReportedOnceAndHangsNoCaller) {
    struct Case {
        const char* name;
        bool waitForMonitorToNotice;
    } cases[] = {{"noticed while idle", true}, {"noticed by a write", false}};
    for (const Case& c : cases) {
        RecordingOperator caseUi;
        ScopedUi scoped(caseUi);
        TestPty line;
        ASSERT_TRUE(line.ok());
        CComPort vanishing;
        ASSERT_TRUE(vanishing.Open(true, line.portNumber(), 9600, kParityNone, 8, kStopBitsOne, 9,
                                   kCoordinatorBufferSize));
        ASSERT_TRUE(vanishing.StartMonitor());
        ASSERT_TRUE(line.Send({1, 2, 3}));
        ASSERT_TRUE(WaitUntil([&] { return vanishing.ReceivedCount() == 3; })) << c.name;
        line.CloseMaster();
        if (c.waitForMonitorToNotice) {
            ASSERT_TRUE(WaitUntil([&] { return vanishing.DeviceLost(); })) << c.name;
        }
        const std::vector<uint8_t> frame = CountingBytes(64);
        EXPECT_TRUE(FinishesWithin(2000, [&] {
            for (int i = 0; i < 3; ++i) vanishing.Write(frame.data(), 64);
            vanishing.Purge();
        })) << c.name;
        ASSERT_TRUE(WaitUntil([&] { return vanishing.DeviceLost(); })) << c.name;

        const double cpuBefore = ProcessCpuMs();
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        EXPECT_LT(ProcessCpuMs() - cpuBefore, 60.0) << c.name << ": the monitor spins";

        EXPECT_EQ(vanishing.GetBaud(), 0);
        EXPECT_FALSE(vanishing.SetBaud(2400));
        EXPECT_EQ(vanishing.ReceivedCount(), 0);
        EXPECT_TRUE(FinishesWithin(2000, [&] { vanishing.Close(); })) << c.name;
        ASSERT_EQ(caseUi.messages.size(), 1u) << c.name;
        EXPECT_NE(caseUi.messages[0].text.find(SystemErrorText(EIO)), std::string::npos)
            << caseUi.messages[0].text;
        EXPECT_EQ(vanishing.GetLastError(), EIO);
    }
}

TEST_F(ComPortTest, AStalledWriteEndsWithAnErrorInsteadOfHanging) {
    OpenAndStart();
    PortTimeouts quick = port.GetTimeouts();
    quick.writeConstant = 100;
    quick.writeMultiplier = 0;
    port.SetTimeouts(quick);
    // Nobody reads the far end, so the line fills up after some kilobytes.
    const std::vector<uint8_t> block = CountingBytes(kCoordinatorBufferSize);
    EXPECT_TRUE(FinishesWithin(3000, [&] { WriteBytes(block); }));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("WriteFile()"), std::string::npos);
    EXPECT_NE(ui.messages[0].text.find(SystemErrorText(ETIMEDOUT)), std::string::npos);
    EXPECT_FALSE(port.DeviceLost());
}

TEST_F(ComPortTest, SuspendedMonitorServesNothingUntilResumedAndStillCloses) {
    OpenAndStart();
    EXPECT_TRUE(port.SuspendMonitor());
    EXPECT_TRUE(port.SuspendMonitor());
    ASSERT_TRUE(pty.Send({7, 7}));
    WriteBytes({1, 2});
    EXPECT_TRUE(pty.Receive(1, 50).empty()) << "a suspended monitor wrote";
    EXPECT_EQ(port.ReceivedCount(), 0);

    EXPECT_TRUE(port.ResumeMonitor());
    EXPECT_TRUE(pty.Receive(1, 50).empty()) << "one resume of two suspends resumed";
    EXPECT_TRUE(port.ResumeMonitor());
    EXPECT_TRUE(WaitUntil([&] { return port.ReceivedCount() == 2; }));
    WriteBytes({1, 2});
    EXPECT_EQ(pty.Receive(2, 1000), (std::vector<uint8_t>{1, 2}));

    EXPECT_TRUE(port.SuspendMonitor());
    EXPECT_TRUE(FinishesWithin(2000, [&] { port.Close(); }));
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(ComPortTest, ReopeningAnOpenPortStopsTheOldMonitorAndStartsClean) {
    OpenAndStart();
    ASSERT_TRUE(pty.Send({1, 2, 3}));
    ASSERT_TRUE(WaitUntil([&] { return port.ReceivedCount() == 3; }));
    ASSERT_TRUE(OpenPort(true, 2400));
    EXPECT_EQ(port.ReceivedCount(), 0);
    EXPECT_EQ(pty.PortSpeed(), B2400);
    ASSERT_TRUE(port.StartMonitor());
    WriteBytes({5});
    EXPECT_EQ(pty.Receive(1, 1000), std::vector<uint8_t>{5});
}

}  // namespace
}  // namespace vxl::test
