// Capture of one modem: soft break over the rate list, power-on capture with its countdown and
// cancel, and the automatic method.
#include <gtest/gtest.h>

#include "fake_modem.h"
#include "modem/modem.h"
#include "protocol_fixture.h"
#include "util/result_codes.h"

namespace vxl::test {
namespace {

using Bytes = std::vector<uint8_t>;
const Bytes kEscape{'+', '+', '+'};
const Bytes kCaptureCommand{0x01, 0x22, 0x00, 0xDD};
const Bytes kSyncFrame{0x01, 0x02, 0xFD};

class CaptureTest : public ProtocolTest {
  protected:
    CaptureTest() {
        // Watch the line without disturbing the modem that answers on it.
        auto answer = link.onWrite;
        link.onWrite = [this, answer](const Bytes& bytes) {
            if (bytes == kEscape) escapeRates.push_back(link.Baud());
            if (bytes == kCaptureCommand) ++captureCommands;
            writeTimes.push_back(clock.NowMs());
            answer(bytes);
        };
    }
    int Capture(int method, std::string& status, bool dialogs = true) {
        return device.Capture(status, method, dialogs);
    }

    FakeModem modem{link, clock};
    CModem device{&link};
    std::vector<int> escapeRates;
    int captureCommands = 0;
    std::vector<int64_t> writeTimes;
};

TEST_F(CaptureTest, SoftBreakTriesThePortRateThenTheRateList) {
    struct Case {
        int portBaud;
        int modemBaud;  // 0: no modem answers
        std::vector<int> tried;
        int expected;
        int finalBaud;
    };
    const Case cases[] = {
        {9600, 0, {9600, 38400, 19200, 1200}, rc::kTimeout, 1200},
        {4800, 0, {4800, 38400, 19200, 9600, 1200}, rc::kTimeout, 1200},
        {38400, 0, {38400, 19200, 9600, 1200}, rc::kTimeout, 1200},
        {9600, 19200, {9600, 38400, 19200}, rc::kOk, 19200},
        {9600, 9600, {9600}, rc::kOk, 9600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.portBaud);
        escapeRates.clear();
        link.SetBaud(c.portBaud);
        modem.commandMode = false;
        modem.answersEscape = c.modemBaud != 0;
        modem.serialBaud = c.modemBaud;
        std::string status;
        EXPECT_EQ(Capture(1, status), c.expected);
        EXPECT_EQ(escapeRates, c.tried);
        EXPECT_EQ(link.Baud(), c.finalBaud);
        EXPECT_EQ(status, c.expected ? "CModem::ReadMemoryLocation->" : "");
        EXPECT_EQ(captureCommands, 0);
    }
}

TEST_F(CaptureTest, SoftBreakWindowShowsEachRate) {
    link.SetBaud(4800);
    modem.answersEscape = false;
    std::string status;
    Capture(1, status);
    ASSERT_EQ(ui.progress.size(), 1u);
    const RecordedProgress& window = *ui.progress[0];
    EXPECT_EQ(window.title, "Capturing Modem");
    EXPECT_EQ(window.lines[0], "Attempting to capture modem by soft-break");
    EXPECT_EQ(window.lines[2], "COM 3");
    EXPECT_EQ(window.lineHistory, (std::vector<std::string>{"at 38400 baud.", "at 19200 baud.",
                                                            "at 9600 baud.", "at 1200 baud."}));
    EXPECT_TRUE(window.closed);

    Capture(1, status, false);
    EXPECT_EQ(ui.progress.size(), 1u) << "no window without dialogs";
}

TEST_F(CaptureTest, EscapeIsFramedByGuardTimes) {
    std::string status;
    ASSERT_EQ(Capture(1, status), rc::kOk);
    // purge, 1200 ms, "+++" (a 10 ms write), 1200 ms, purge, sync (a 10 ms write).
    ASSERT_GE(writeTimes.size(), 2u);
    EXPECT_EQ(writeTimes[0], 1200 + 10);
    EXPECT_EQ(writeTimes[1] - writeTimes[0], 1200 + 10);
    EXPECT_EQ(link.writes[1], kSyncFrame);
}

TEST_F(CaptureTest, AutomaticCaptureSettlesOnSoftBreak) {
    std::string status;
    EXPECT_EQ(device.GetCaptureMethod(), 0);
    EXPECT_EQ(Capture(0, status), rc::kOk);
    EXPECT_EQ(device.GetCaptureMethod(), 1);
    // The next automatic capture goes straight to soft break.
    modem.commandMode = false;
    link.writes.clear();
    EXPECT_EQ(Capture(0, status), rc::kOk);
    EXPECT_EQ(link.writes.front(), kEscape);
    EXPECT_EQ(captureCommands, 0);
    EXPECT_EQ(device.GetCaptureMethod(), 1);
}

TEST_F(CaptureTest, AutomaticCaptureReturnsTheSoftBreakFailure) {
    modem.answersEscape = false;
    std::string status;
    EXPECT_EQ(Capture(0, status), rc::kTimeout);
    EXPECT_EQ(device.GetCaptureMethod(), 0);
    EXPECT_EQ(captureCommands, 0);
}

TEST_F(CaptureTest, UnknownMethodsDoNothing) {
    std::string status = "stale";
    EXPECT_EQ(Capture(2, status), rc::kOk);
    EXPECT_EQ(status, "");
    EXPECT_TRUE(link.writes.empty());
    // A method of 0 or below keeps the remembered one.
    EXPECT_EQ(Capture(-1, status), rc::kOk);
    EXPECT_EQ(device.GetCaptureMethod(), 2);
}

class PowerOnTest : public CaptureTest {
  protected:
    // Runs a power-on capture and returns its result; `elapsedMs` the time it took.
    int Run(std::string& status) {
        int64_t start = clock.NowMs();
        int result = Capture(3, status);
        elapsedMs = clock.NowMs() - start;
        return result;
    }
    int64_t elapsedMs = 0;
};

TEST_F(PowerOnTest, CapturesTheModemWhenItStartsUp) {
    modem.powerOnAtMs = 3000;
    std::string status;
    EXPECT_EQ(Run(status), rc::kOk);
    EXPECT_EQ(status, "");
    EXPECT_GE(elapsedMs, 3000);
    EXPECT_LT(elapsedMs, 3200);
    EXPECT_EQ(link.writes.back(), kSyncFrame);
    EXPECT_EQ(device.GetCaptureMethod(), 3);
    // The command goes out continuously: about one send per 10 ms write.
    EXPECT_GE(captureCommands, 290);

    ASSERT_EQ(ui.progress.size(), 1u);
    const RecordedProgress& window = *ui.progress[0];
    EXPECT_EQ(window.title, "Capturing Modem");
    EXPECT_TRUE(window.cancellable);
    EXPECT_EQ(window.lines[0], "COM 3");
    EXPECT_EQ(window.lines[1], "Please power cycle your VXL modem now");
    EXPECT_EQ(window.lines[2], "to allow the VXL Configuration Software to capture it.");
    EXPECT_EQ(window.lines[3], "Time remaining: 0 sec.");
    EXPECT_EQ(window.lineHistory.front(), "Time remaining: 10 sec.");
    EXPECT_TRUE(window.closed);
}

TEST_F(PowerOnTest, CountdownRunsOutAfterTenSeconds) {
    std::string status;
    EXPECT_EQ(Run(status), rc::kNothingReceived);
    EXPECT_GE(elapsedMs, 10000);
    EXPECT_LE(elapsedMs, 11100);
    const std::vector<std::string>& history = ui.progress[0]->lineHistory;
    for (int seconds = 10; seconds >= 0; --seconds)
        EXPECT_NE(std::find(history.begin(), history.end(),
                            "Time remaining: " + std::to_string(seconds) + " sec."),
                  history.end())
            << seconds;
    EXPECT_NE(std::find(history.begin(), history.end(), "  "), history.end());
}

TEST_F(PowerOnTest, LineNoiseGivesAnIncorrectResponseAtTheEnd) {
    bool noiseSent = false;
    auto answer = link.onWrite;
    link.onWrite = [&, answer](const Bytes& bytes) {
        answer(bytes);
        if (!noiseSent && clock.NowMs() >= 2000) {
            noiseSent = true;
            link.Deliver({0x55}, 1);
        }
    };
    std::string status;
    EXPECT_EQ(Run(status), rc::kIncorrectResponse);
    EXPECT_EQ(status, "Capture->U");
    EXPECT_GE(elapsedMs, 10000);
}

TEST_F(PowerOnTest, CancelKeepsSendingUntilTheDeadline) {
    ui.CancelAfterChecks(5);
    std::string status;
    EXPECT_EQ(Run(status), rc::kPowerOnCancelled);
    EXPECT_GE(elapsedMs, 10000);
    EXPECT_GE(captureCommands, 900);
}

TEST_F(PowerOnTest, ACorrectReplyAfterACancelStillCaptures) {
    ui.CancelAfterChecks(5);
    modem.powerOnAtMs = 5000;
    std::string status;
    EXPECT_EQ(Run(status), rc::kOk);
    EXPECT_LT(elapsedMs, 5200);
}

TEST_F(PowerOnTest, APortAtAnotherRateIsSetTo9600First) {
    link.SetBaud(19200);
    modem.serialBaud = 19200;
    modem.commandMode = true;  // still captured from an earlier soft break
    std::string status;
    link.writes.clear();
    Run(status);
    ASSERT_FALSE(link.writes.empty());
    EXPECT_EQ(link.writes[0], (Bytes{0x01, 0x01, 0x01, 0xFD}));
    EXPECT_EQ(link.Baud(), 9600);
}

TEST_F(PowerOnTest, APortWhoseWritesReturnAtOnceIsStillPaced) {
    link.writeCostMs = 0;  // as when the device has gone away
    std::string status;
    EXPECT_EQ(Run(status), rc::kNothingReceived);
    EXPECT_GE(captureCommands, 1000);
    EXPECT_LE(captureCommands, 1110) << "about one send per 10 ms";
}

}  // namespace
}  // namespace vxl::test
