// Capture of one modem: soft break over the rate list, power-on capture with its countdown and
// cancel, and the automatic method; and locating a modem on any of 8 ports by either method.
#include <algorithm>
#include <memory>

#include "protocol_fixture.h"

namespace vxl::test {
namespace {

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
            if (noiseAtMs >= 0 && clock.NowMs() >= noiseAtMs) {
                link.Deliver({0x55}, 1);
                noiseAtMs = -1;
            }
            answer(bytes);
        };
    }
    std::vector<int> escapeRates;
    int captureCommands = 0;
    int64_t noiseAtMs = -1;  // one byte of line noise arrives after the first write from then on
};

// The port's own rate first, then 38400, 19200, 9600 and 1200 without repeats; the port stays
// at the rate that answered, or at the last one tried.
TEST_F(CaptureTest, SoftBreakTriesThePortRateThenTheRateList) {
    const struct {
        int portBaud;
        int modemBaud;  // 0: no modem answers
        std::vector<int> tried;
        int expected;
        int finalBaud;
    } cases[] = {
        {9600, 0, {9600, 38400, 19200, 1200}, rc::kTimeout, 1200},
        {4800, 0, {4800, 38400, 19200, 9600, 1200}, rc::kTimeout, 1200},
        {9600, 19200, {9600, 38400, 19200}, rc::kOk, 19200},
        {9600, 9600, {9600}, rc::kOk, 9600},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.portBaud);
        escapeRates.clear();
        link.SetBaud(c.portBaud);
        modem.commandMode = false;
        modem.answersEscape = c.modemBaud != 0;
        modem.serialBaud = c.modemBaud;
        EXPECT_EQ(device.Capture(status, 1, true), c.expected);
        EXPECT_EQ(escapeRates, c.tried);
        EXPECT_EQ(link.Baud(), c.finalBaud);
        EXPECT_EQ(status, c.expected ? "CModem::ReadMemoryLocation->" : "");
        EXPECT_EQ(captureCommands, 0);
    }
    // The window of the 4800-baud run names each rate of the list as it is tried.
    const RecordedProgress& window = *ui.progress[1];
    EXPECT_EQ(window.title, "Capturing Modem");
    EXPECT_EQ(window.lines[0], "Attempting to capture modem by soft-break");
    EXPECT_EQ(window.lines[2], "/dev/ttyFAKE");
    EXPECT_EQ(window.lineHistory, (std::vector<std::string>{"at 38400 baud.", "at 19200 baud.",
                                                            "at 9600 baud.", "at 1200 baud."}));
    EXPECT_TRUE(window.closed);
    device.Capture(status, 1, false);
    EXPECT_EQ(ui.progress.size(), 4u) << "no window without dialogs";
}

TEST_F(CaptureTest, AutomaticCaptureSettlesOnSoftBreakAndOtherMethodsDoNothing) {
    modem.answersEscape = false;
    EXPECT_EQ(device.Capture(status, 0, true), rc::kTimeout);
    EXPECT_EQ(device.GetCaptureMethod(), 0) << "a failure settles nothing";
    modem.answersEscape = true;
    EXPECT_EQ(device.Capture(status, 0, true), rc::kOk);
    EXPECT_EQ(device.GetCaptureMethod(), 1);
    // The next automatic capture goes straight to soft break.
    modem.commandMode = false;
    link.writes.clear();
    EXPECT_EQ(device.Capture(status, 0, true), rc::kOk);
    EXPECT_EQ(link.writes.front(), kEscape);
    EXPECT_EQ(captureCommands, 0);

    link.writes.clear();
    status = "stale";
    EXPECT_EQ(device.Capture(status, 2, true), rc::kOk);
    EXPECT_EQ(status, "");
    EXPECT_TRUE(link.writes.empty());
    // A method of 0 or below keeps the remembered one.
    EXPECT_EQ(device.Capture(status, -1, true), rc::kOk);
    EXPECT_EQ(device.GetCaptureMethod(), 2);
}

// The capture command goes out about every 10 ms for 10 s, even after a cancel (whose window
// closes at once) or while writes return at once; a correct reply ends it, anything else is judged
// at the deadline.
TEST_F(CaptureTest, PowerOnCaptureRunsItsTenSecondWindow) {
    const struct {
        const char* name;
        int64_t powerOnAtMs, noiseAtMs;
        int cancelAfterChecks, writeCostMs, expected;
        std::string status;
        int64_t minMs, maxMs;
        int minCommands, maxCommands;
    } cases[] = {
        // clang-format off
        {"modem starts up", 3000, -1, -1, 10, rc::kOk, "", 3000, 3200, 290, 320},
        {"nothing answers", -1, -1, -1, 10, rc::kNothingReceived, "", 10000, 11100, 900, 1110},
        {"line noise", -1, 2000, -1, 10, rc::kIncorrectResponse, "Capture->U", 10000, 11100, 900, 1110},
        {"cancelled", -1, -1, 5, 10, rc::kPowerOnCancelled, "", 10000, 11100, 900, 1110},
        {"reply after a cancel", 5000, -1, 5, 10, rc::kOk, "", 5000, 5200, 450, 520},
        {"writes return at once", -1, -1, -1, 0, rc::kNothingReceived, "", 10000, 11100, 1000, 1110},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        modem.commandMode = false;
        modem.powerOnAtMs = c.powerOnAtMs >= 0 ? clock.NowMs() + c.powerOnAtMs : -1;
        noiseAtMs = c.noiseAtMs >= 0 ? clock.NowMs() + c.noiseAtMs : -1;
        ui.CancelAfterChecks(c.cancelAfterChecks);
        link.writeCostMs = c.writeCostMs;
        captureCommands = 0;
        status = "stale";
        const int64_t start = clock.NowMs();
        EXPECT_EQ(device.Capture(status, 3, true), c.expected);
        EXPECT_EQ(status, c.status);
        EXPECT_GE(clock.NowMs() - start, c.minMs);
        EXPECT_LE(clock.NowMs() - start, c.maxMs);
        EXPECT_GE(captureCommands, c.minCommands);
        EXPECT_LE(captureCommands, c.maxCommands);
        EXPECT_TRUE(c.expected != rc::kOk || link.writes.back() == kSyncFrame);
        // The operator's cancel closes the countdown at once, while the capture runs on.
        const int64_t shownMs = ui.progress.back()->closedAtMs - start;
        EXPECT_LE(shownMs, c.cancelAfterChecks >= 0 ? 100 : c.maxMs);
    }
    EXPECT_EQ(device.GetCaptureMethod(), 3);
    // The window of the run that got no answer starts its countdown at 10 seconds.
    const RecordedProgress& window = *ui.progress[1];
    EXPECT_EQ(window.title, "Capturing Modem");
    EXPECT_TRUE(window.cancellable);
    EXPECT_EQ(std::vector<std::string>(window.lines.begin(), window.lines.begin() + 3),
              (std::vector<std::string>{"/dev/ttyFAKE", "Please power cycle your VXL modem now",
                                        "to allow the VXL Configuration Software to capture it."}));
    EXPECT_EQ(window.lineHistory.front(), "Time remaining: 10 sec.");
    EXPECT_TRUE(window.closed);
}

TEST_F(CaptureTest, PowerOnCaptureSetsAPortAtAnotherRateTo9600First) {
    link.SetBaud(19200);
    modem.serialBaud = 19200;
    modem.commandMode = true;  // still captured from an earlier soft break
    device.Capture(status, 3, true);
    EXPECT_EQ(link.writes.at(0), (Bytes{0x01, 0x01, 0x01, 0xFD}));
    EXPECT_EQ(link.Baud(), 9600);
}

// ---- locating a modem on any of 8 ports ----

// Ports of index 0..7: index 0 absent, index 7 closed, the others open at 9600 with an
// optional modem.
class LocateTest : public ProtocolTest {
  protected:
    LocateTest() {
        for (int i = 1; i < 8; ++i) {
            links[i] = std::make_unique<FakeSerialLink>(i + 1, 9600);
            ports[i] = links[i].get();
        }
        links[7]->open = false;
    }
    FakeModem& AddModem(int index) {
        modems[index] = std::make_unique<FakeModem>(*links[index], clock);
        return *modems[index];
    }
    std::unique_ptr<FakeSerialLink> links[8];
    std::unique_ptr<FakeModem> modems[8];
    ISerialLink* ports[8] = {};
    int found = -1;
};

TEST_F(LocateTest, PowerOnFindsResetsAndRestores) {
    links[3]->SetBaud(19200);
    AddModem(4).powerOnAtMs = 2500;
    EXPECT_EQ(CModem::LocateByPowerOn(status, ports, found), rc::kOk);
    EXPECT_EQ(found, 4);
    EXPECT_LT(clock.NowMs(), 4000);
    EXPECT_EQ(links[4]->writes.back(), (Bytes{0x01, 0x1D, 0x00, 0xE2}));
    EXPECT_FALSE(modems[4]->commandMode);
    EXPECT_EQ(links[3]->Baud(), 19200);
    for (int i = 1; i < 7; ++i) EXPECT_EQ(links[i]->log.back(), "suspend") << i;
    ASSERT_EQ(ui.progress.size(), 1u);
    EXPECT_EQ(ui.progress[0]->lines,
              (std::vector<std::string>{
                  "Searching all ports...", "If there is a Norvale modem on any serial port",
                  "please power cycle it to allow the VXL Software to capture it.",
                  "Time remaining: 8 sec."}));
}

TEST_F(LocateTest, PowerOnStopsAtAWrongReply) {
    links[2]->onWrite = [&](const Bytes&) {
        if (clock.NowMs() >= 1000) links[2]->Deliver({0x01, 0x99}, 1);
    };
    EXPECT_EQ(CModem::LocateByPowerOn(status, ports, found), rc::kIncorrectResponse);
    EXPECT_EQ(status, "Capture->\x01\x99");
    EXPECT_EQ(found, -1);
    EXPECT_LT(clock.NowMs(), 1200);
    EXPECT_TRUE(ui.progress[0]->closed);
}

}  // namespace
}  // namespace vxl::test
