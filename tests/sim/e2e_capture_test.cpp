// Capturing and identifying a simulated modem through the real serial port and protocol code.
#include <gtest/gtest.h>

#include <ostream>

#include <thread>

#include "e2e_fixture.h"
#include "util/result_codes.h"

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
    std::string status;
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

TEST_F(EndToEnd, PowerOnCaptureAnswersAfterAPowerCycle) {
    StartModem(SimOptions(), true);
    OpenPort();
    EXPECT_EQ(PowerOnCapture(), vxl::rc::kOk);
    EXPECT_EQ(sim->Status().mode, ModemMode::kCommand);
    ASSERT_FALSE(ui.progress.empty());
    EXPECT_EQ(ui.progress[0]->title, "Capturing Modem");
    std::string status;
    EXPECT_EQ(modem->Identify(status), vxl::rc::kOk) << status;
    EXPECT_EQ(modem->GetModemType(), 4);
    EXPECT_EQ(modem->GetConfigurationSize(), 246);
    EXPECT_DOUBLE_EQ(modem->GetFirmwareRevision(), 2.2);
    EXPECT_EQ(modem->GetIdentityWord(), 0x03AA);
}

struct IdentifyCase {
    const char* name;
    int qmxRow;
    const char* firmware;
    bool modelByteZero;
    int result;
    int type;
    int configSize;
};

// Test names and failure messages show the case by its name.
void PrintTo(const IdentifyCase& c, std::ostream* os) {
    *os << c.name;
}

class IdentifyKinds : public EndToEnd, public ::testing::WithParamInterface<IdentifyCase> {};

TEST_P(IdentifyKinds, ReportsTypeRevisionAndSize) {
    const IdentifyCase& c = GetParam();
    SimOptions options;
    options.profile.qmxRow = c.qmxRow;
    options.profile.modelByteZero = c.modelByteZero;
    ASSERT_TRUE(
        ParseRevision(c.firmware, &options.profile.revisionHigh, &options.profile.revisionLow));
    StartModem(options);
    OpenPort();
    ASSERT_EQ(PowerOnCapture(), vxl::rc::kOk);
    std::string status;
    EXPECT_EQ(modem->Identify(status), c.result) << status;
    EXPECT_EQ(modem->GetModemType(), c.type);
    EXPECT_EQ(modem->GetConfigurationSize(), c.configSize);
    EXPECT_EQ(modem->IsModelIdMissing(), c.modelByteZero);
}

INSTANTIATE_TEST_SUITE_P(Sim, IdentifyKinds,
                         ::testing::Values(IdentifyCase{"qmx_3_40", 24, "3.40", false, 0, 1, 176},
                                           IdentifyCase{"qmx_3_41", 24, "3.41", false, 0, 2, 192},
                                           IdentifyCase{"qmxrxo", 90, "3.50", false, 0, 3, 192},
                                           IdentifyCase{"vxl", 0, "2.20", false, 0, 4, 246},
                                           IdentifyCase{"model_byte_zero", 0, "2.20", true, 90, 4,
                                                        246}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EndToEnd, NoiseDuringPowerOnCaptureGives108) {
    StartModem();
    OpenPort();
    FastWallClock clock(10);  // the 10-second capture window lasts one second
    vxl::ScopedClock scopedClock(clock);
    std::thread noise([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        sim->InjectNoise({0x55});
    });
    std::string status;
    const int result = modem->Capture(status, 3, false);
    noise.join();
    EXPECT_EQ(result, vxl::rc::kIncorrectResponse);
    EXPECT_EQ(status, "Capture->U");
    EXPECT_EQ(sim->Status().mode, ModemMode::kData) << "the modem was never powered up";
}

}  // namespace
}  // namespace vxl::sim::test
