// Reading and programming a simulated modem's memory through the real serial port and protocol
// code, with the faults that can interrupt it.
#include <gtest/gtest.h>

#include "e2e_fixture.h"
#include "params/modem_memory_image.h"
#include "util/result_codes.h"

namespace vxl::sim::test {
namespace {

class EndToEndMemory : public EndToEnd {
  protected:
    void SetUp() override {
        StartModem();
        OpenPort();
        ASSERT_EQ(PowerOnCapture(), vxl::rc::kOk);
        std::string status;
        ASSERT_EQ(modem->Identify(status), vxl::rc::kOk) << status;
    }
};

TEST_F(EndToEndMemory, ImageReadMatchesTheModemByteForByte) {
    std::string status;
    ASSERT_EQ(modem->ReadMemoryImage(status, false), vxl::rc::kOk) << status;
    const auto image = modem->GetImage();
    ASSERT_NE(image, nullptr);
    const MemoryBytes memory = sim->Memory();
    const int n = image->GetMainSize();
    const int e = image->GetExtensionSize();
    ASSERT_EQ(n, 246);
    ASSERT_EQ(e, 9);
    for (int i = 0; i < n; ++i) {
        uint8_t byte = 0;
        ASSERT_EQ(image->ReadBytes(0x100 + i, 1, &byte), 0);
        // The image shows the running rate and protocol bytes in place of the stored ones.
        const int address = i == 0x8B ? 0xEE8B : i == 0x90 ? 0xEE90 : 0x100 + i;
        EXPECT_EQ(byte, memory[address]) << "address 0x" << std::hex << 0x100 + i;
    }
    for (int i = 0; i < e; ++i) {
        uint8_t byte = 0;
        ASSERT_EQ(image->ReadBytes(0x8001 + i, 1, &byte), 0);
        EXPECT_EQ(byte, memory[0x100 + n + i]) << "extension byte " << i;
    }
}

TEST_F(EndToEndMemory, UnlockWriteAndProgramChangeTheModem) {
    std::string status;
    ASSERT_EQ(modem->Unlock(status), vxl::rc::kOk) << status;
    EXPECT_TRUE(sim->Status().unlocked);
    ASSERT_EQ(modem->WriteMemoryLocation(status, 'Q', 0x16B), vxl::rc::kOk) << status;
    ASSERT_EQ(modem->WriteMemoryLocation(status, 0x3C, 0x1F5), vxl::rc::kOk) << status;
    EXPECT_EQ(sim->Memory()[0x16B], 'Q');
    EXPECT_NE(sim->StoredMemory()[0x16B], 'Q') << "stored only by Program";
    ASSERT_EQ(modem->Program(status), vxl::rc::kOk) << status;
    EXPECT_EQ(sim->StoredMemory()[0x16B], 'Q');
    EXPECT_EQ(sim->StoredMemory()[0x1F5], 0x3C);
}

TEST_F(EndToEndMemory, ResetReturnsTheModemToDataMode) {
    std::string status;
    ASSERT_EQ(modem->Reset(status), vxl::rc::kOk) << status;
    EXPECT_EQ(sim->Status().mode, ModemMode::kData);
    uint8_t value = 0;
    EXPECT_EQ(modem->ReadMemoryLocation(status, value, 0x10A, 100), vxl::rc::kTimeout)
        << "a modem in data mode does not answer";
}

TEST_F(EndToEndMemory, AReplyLostHalfWayFailsTheLoadAndWritesNothing) {
    const MemoryBytes before = sim->StoredMemory();
    FaultPlan plan;
    plan.noReplyTo = 120;
    sim->SetFaults(plan);
    std::string status;
    EXPECT_EQ(modem->ReadMemoryImage(status, false), vxl::rc::kCannotReadImage);
    EXPECT_EQ(status.rfind("CModem::ReadMemoryLocation->", 0), 0u) << status;
    EXPECT_EQ(sim->Status().commandCount, 120) << "reading stops at the lost reply";
    EXPECT_FALSE(sim->Status().unlocked);
    EXPECT_EQ(sim->StoredMemory(), before);
    const auto image = modem->GetImage();
    EXPECT_TRUE(image == nullptr || !image->IsLoaded());
}

TEST_F(EndToEndMemory, HangUpMidReadEndsCleanlyAndReleasesThePort) {
    FaultPlan plan;
    plan.hangUpAfter = 40;
    sim->SetFaults(plan);
    std::string status;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(modem->ReadMemoryImage(status, false), vxl::rc::kCannotReadImage);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_TRUE(sim->Status().hungUp);
    EXPECT_TRUE(port.DeviceLost());
    modem.reset();
    port.Close();
    EXPECT_FALSE(port.IsOpen());

    // Plugged in again, the same port number opens and works.
    sim->SetFaults(FaultPlan());
    sim->PowerCycle();
    CComPort again;
    ASSERT_TRUE(again.Open(true, portNumber, 9600, 0, 8, 0, 9, 100000)) << again.GetLastError();
    ASSERT_TRUE(again.StartMonitor());
    CModem fresh(&again);
    EXPECT_EQ(fresh.Capture(status, 3, false), vxl::rc::kOk) << status;
    again.Close();
}

}  // namespace
}  // namespace vxl::sim::test
