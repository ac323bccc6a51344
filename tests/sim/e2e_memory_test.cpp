// Reading and programming a simulated modem's memory through the real serial port and protocol
// code, with the faults that can interrupt it. Each test shares one capture between its steps.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "e2e_fixture.h"
#include "line_harness.h"
#include "params/modem_memory_image.h"

namespace vxl::sim::test {
namespace {

// One capture of a VXL whose memory is kept in an image file that Program saves: identify,
// a read that loses a reply, a full read, a program, a hang-up mid-read, and a reset.
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

    const MemoryBytes before = sim->StoredMemory();
    sim->SetFaults(Plan({{&FaultPlan::noReplyTo, 120}}));
    EXPECT_EQ(modem->ReadMemoryImage(status, false), vxl::rc::kCannotReadImage);
    EXPECT_EQ(status.rfind("CModem::ReadMemoryLocation->", 0), 0u) << status;
    EXPECT_EQ(sim->Status().commandCount, 120) << "reading stops at the lost reply";
    EXPECT_FALSE(sim->Status().unlocked);
    EXPECT_EQ(sim->StoredMemory(), before);
    EXPECT_TRUE(modem->GetImage() == nullptr || !modem->GetImage()->IsLoaded());

    sim->SetFaults(FaultPlan());
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

    sim->SetFaults(Plan({{&FaultPlan::hangUpAfter, 40}}));
    EXPECT_EQ(modem->ReadMemoryImage(status, false), vxl::rc::kCannotReadImage);
    EXPECT_EQ(port.LostError(), EIO);
    struct stat link {};
    EXPECT_NE(lstat(sim->LinkPath().c_str(), &link), 0) << "an unplugged adapter's device is gone";
    modem.reset();
    port.Close();
    EXPECT_FALSE(port.IsOpen());

    // Plugged in again, the same port number opens and works.
    sim->SetFaults(FaultPlan());
    sim->PowerCycle();
    OpenPort();
    EXPECT_EQ(modem->Capture(status, 3, false), vxl::rc::kOk) << status;

    ASSERT_EQ(modem->Reset(status), vxl::rc::kOk) << status;
    EXPECT_EQ(sim->Status().mode, ModemMode::kData);
    uint8_t value = 0;
    EXPECT_EQ(modem->ReadMemoryLocation(status, value, 0x10A, 100), vxl::rc::kTimeout)
        << "a modem in data mode does not answer";
}

}  // namespace
}  // namespace vxl::sim::test
