// Capturing, reading and programming a simulated modem through the real serial port and protocol
// code, with the faults that can interrupt them. The kinds of modem are identified in the
// simulator's and the protocol's own tests; a VXL is identified here in the run of its image read.
#include <gtest/gtest.h>

#include "e2e_fixture.h"
#include "params/modem_memory_image.h"

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

// One capture of a VXL whose memory is kept in an image file that Program saves: identify, a
// full read, a program and a reset. A device lost mid-read is the line faults' test.
TEST_F(EndToEnd, IdentifyReadProgramHangUpAndResetAVxl) {
    std::string error;
    SimOptions options;
    options.imagePath = dir.File("modem.bin");
    ASSERT_TRUE(SaveMemoryFile(options.imagePath, BuildMemory(ModemProfile()), &error));
    options.saveOnProgram = true;
    StartModem(options);
    OpenPort();
    ASSERT_EQ(PowerOnCapture(), vxl::rc::kOk) << status;
    ASSERT_EQ(modem->Identify(status), vxl::rc::kOk) << status;
    EXPECT_EQ(modem->GetModemType(), 4);
    EXPECT_EQ(modem->GetConfigurationSize(), 246);
    EXPECT_DOUBLE_EQ(modem->GetFirmwareRevision(), 2.2);
    EXPECT_EQ(modem->GetIdentityWord(), 0x03AA);

    ASSERT_EQ(modem->ReadMemoryImage(status, false), vxl::rc::kOk) << status;
    const auto image = modem->GetImage();
    ASSERT_NE(image, nullptr);
    const MemoryBytes memory = sim->Memory();
    const int n = image->GetMainSize();
    ASSERT_EQ(n, 246);
    ASSERT_EQ(image->GetExtensionSize(), 9);
    for (int i = 0; i < n + 9; ++i) {
        uint8_t byte = 0;
        ASSERT_EQ(image->ReadBytes(i < n ? 0x100 + i : 0x8001 + i - n, 1, &byte), 0);
        // The image shows the running rate and protocol bytes in place of the stored ones; the
        // extension follows the main block in the modem.
        const int address = i == 0x8B ? 0xEE8B : i == 0x90 ? 0xEE90 : 0x100 + i;
        EXPECT_EQ(byte, memory[address]) << "byte " << i;
    }

    ASSERT_EQ(modem->Unlock(status), vxl::rc::kOk) << status;
    EXPECT_TRUE(sim->Status().unlocked);
    ASSERT_EQ(modem->WriteMemoryLocation(status, 'Q', 0x16B), vxl::rc::kOk) << status;
    ASSERT_EQ(modem->WriteMemoryLocation(status, 0x3C, 0x1F5), vxl::rc::kOk) << status;
    EXPECT_EQ(sim->Memory()[0x16B], 'Q');
    EXPECT_NE(sim->StoredMemory()[0x16B], 'Q') << "stored only by Program";
    ASSERT_EQ(modem->Program(status), vxl::rc::kOk) << status;
    EXPECT_EQ(sim->StoredMemory()[0x16B], 'Q');
    EXPECT_EQ(sim->StoredMemory()[0x1F5], 0x3C);
    MemoryBytes saved;
    ASSERT_TRUE(LoadMemoryFile(dir.File("modem.bin"), &saved, &error)) << error;
    EXPECT_EQ(saved[0x16B], 'Q');

    ASSERT_EQ(modem->Reset(status), vxl::rc::kOk) << status;
    EXPECT_EQ(sim->Status().mode, ModemMode::kData);
    uint8_t value = 0;
    EXPECT_EQ(modem->ReadMemoryLocation(status, value, 0x10A, 100), vxl::rc::kTimeout)
        << "a modem in data mode does not answer";
}

}  // namespace
}  // namespace vxl::sim::test
