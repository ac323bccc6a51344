// Capturing and identifying a simulated modem through the real serial port and protocol code.
#include <gtest/gtest.h>

#include "e2e_fixture.h"

namespace vxl::sim::test {
namespace {

TEST_F(EndToEnd, SoftBreakFindsA19200ModemPastALateReplyFromAnEarlierRate) {
    SimOptions options;
    options.profile.baud = 19200;
    // After each change of the port's rate, an answer sent at the previous rate arrives as
    // garbage in the guard time before the next escape.
    options.faults.lateReplyMs = 600;
    options.tracePath = dir.File("trace.txt");
    StartModem(options, true);
    OpenPort(9600);
    EXPECT_EQ(modem->Capture(status, 1, false), vxl::rc::kOk) << status;
    EXPECT_EQ(port.GetBaud(), 19200) << "the search tried 9600 and 38400 first";
    EXPECT_EQ(sim->Status().mode, ModemMode::kCommand);
    uint8_t value = 0;
    EXPECT_EQ(modem->ReadMemoryLocation(status, value, 0x10A, 1000), vxl::rc::kOk);
    EXPECT_EQ(value, 0xD2);
    sim->Stop();
    const std::string trace = vxl::test::TempDir::Read(dir.File("trace.txt"));
    EXPECT_NE(trace.find("the program set its line to 38400 baud"), std::string::npos);
    EXPECT_NE(trace.find("modem> @38400"), std::string::npos) << "no late reply was seen";
}

// The VXL itself is identified in the memory tests, in the same run as its image read.
TEST_F(EndToEnd, PowerOnCaptureThenTypeRevisionAndSizeOfEachKind) {
    const struct {
        const char* name;
        int qmxRow;
        const char* firmware;
        bool modelByteZero;
        int result, type, configSize;
    } cases[] = {
        {"QMX 3.40", 24, "3.40", false, 0, 1, 176},
        {"QMX 3.41", 24, "3.41", false, 0, 2, 192},
        {"QMXRXO", 90, "3.50", false, 0, 3, 192},
        {"model byte zero", 0, "2.20", true, 90, 4, 246},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimOptions options;
        options.profile.qmxRow = c.qmxRow;
        options.profile.modelByteZero = c.modelByteZero;
        ASSERT_TRUE(
            ParseRevision(c.firmware, &options.profile.revisionHigh, &options.profile.revisionLow));
        StartModem(options);
        OpenPort();
        ASSERT_EQ(PowerOnCapture(), vxl::rc::kOk) << status;
        EXPECT_EQ(modem->Identify(status), c.result) << status;
        EXPECT_EQ(modem->GetModemType(), c.type);
        EXPECT_EQ(Format("%3.2f", modem->GetFirmwareRevision()), c.firmware);
        EXPECT_EQ(modem->GetConfigurationSize(), c.configSize);
        EXPECT_EQ(modem->IsModelIdMissing(), c.modelByteZero);
        TearDown();
    }
}

TEST_F(EndToEnd, NoiseDuringPowerOnCaptureGives108) {
    StartModem();
    OpenPort();
    FastWallClock clock(10);  // the 10-second capture window lasts one second
    vxl::ScopedClock scopedClock(clock);
    EXPECT_EQ(PowerOnCapture([this] { sim->InjectNoise({0x55}); }), vxl::rc::kIncorrectResponse);
    EXPECT_EQ(status, "Capture->U");
    EXPECT_EQ(sim->Status().mode, ModemMode::kData) << "the modem was never powered up";
}

TEST_F(EndToEnd, TheSimulatedOperatorPowerCyclesAModemThatIsWaitedFor) {
    SimOptions options;
    options.operatorPowerCycleSeconds = 0.2;
    StartModem(options);
    OpenPort();
    EXPECT_EQ(modem->Capture(status, 3, false), vxl::rc::kOk) << status;
    EXPECT_EQ(sim->Status().powerCycles, 1);
    EXPECT_EQ(sim->Status().mode, ModemMode::kCommand);
}

}  // namespace
}  // namespace vxl::sim::test
