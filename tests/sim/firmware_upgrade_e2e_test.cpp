// A firmware upgrade of a simulated modem through the real serial port, protocol and
// coordinator, from an upgrade file made of S-records that an independent tool wrote.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "coordinator/coordinator.h"
#include "coordinator/firmware_upgrade.h"
#include "e2e_fixture.h"
#include "modem/firmware_file.h"
#include "modem/modem_base.h"
#include "util/format.h"
#include "util/preferences.h"
#include "util/result_codes.h"

namespace vxl::sim::test {
namespace {

constexpr int kIdentityBlock = 0x8400;
constexpr int kFirmwareBytes = 256;

class FirmwareUpgradeEndToEnd : public EndToEnd {
  protected:
    void SetUp() override {
        if (std::system("command -v srec_cat >/dev/null 2>&1") != 0) {
            GTEST_SKIP() << "srec_cat (Debian package srecord) is not installed";
        }
        SimOptions options;
        options.tracePath = dir.File("trace.txt");
        options.captureWindowSeconds = 0.5;
        options.faults = faults_;
        StartModem(options);
        prefs_ = std::make_unique<vxl::PreferenceStore>(dir.File("prefs.conf"));
        scopedPrefs_ = std::make_unique<vxl::ScopedPrefs>(*prefs_);
        ASSERT_EQ(coordinator_.Init(portNumber, 3), 0);
    }
    void TearDown() override {
        std::string response;
        coordinator_.Detach(response, false);
        EndToEnd::TearDown();
    }

    // Captures the modem by power cycle, as a load does.
    int Attach(CCoordinator& coordinator) {
        std::thread powerCycle([this] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            sim->PowerCycle();
        });
        std::string response;
        const int result = coordinator.Attach(response, false);
        powerCycle.join();
        if (result != 0)
            ADD_FAILURE() << response << "\n" << vxl::test::TempDir::Read(dir.File("trace.txt"));
        return result;
    }

    // A file with 256 bytes of firmware at the identity block, revision 3.55.
    std::string UpgradeFile(std::string& firmware) {
        const MemoryBytes before = sim->Memory();
        firmware.assign(kFirmwareBytes, '\0');
        for (int i = 0; i < kFirmwareBytes; ++i) {
            firmware[i] = static_cast<char>(i < 7 ? before[kIdentityBlock + i] : i * 7);
        }
        firmware[2] = 35;
        firmware[3] = 5;
        // What "vxlfw pack" does with the dealer's S-record file.
        CFirmwareFile packed;
        packed.SetText(SrecordsFromSrecCat(firmware));
        EXPECT_EQ(packed.Parse(), 0) << packed.GetProblem();
        EXPECT_EQ(packed.DownloadProblem(), "");
        EXPECT_EQ(Format("%3.2f", packed.GetRevision()), "3.55");
        EXPECT_EQ(packed.GetStartAddress(), 0x9000);
        const std::string path = dir.File("new.fw");
        EXPECT_EQ(packed.WriteUpgradeFile(path), 0);
        return path;
    }

    // S-record text from srec_cat: the firmware bytes at the identity block and the reset
    // vector 0x9000 at 0xFFFE.
    std::string SrecordsFromSrecCat(const std::string& firmware) {
        const std::string bin = dir.Write("fw.bin", firmware);
        const std::string vector = dir.Write("vector.bin", std::string("\x90\x00", 2));
        const std::string s19 = dir.File("fw.s19");
        const std::string command = Format(
            "srec_cat %s -binary -offset 0x8400 %s -binary -offset 0xFFFE -o %s -motorola "
            "-address-length=2 -crlf -disable=data-count -execution-start-address=0x9000",
            bin.c_str(), vector.c_str(), s19.c_str());
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return vxl::test::TempDir::Read(s19);
    }

    FaultPlan faults_;
    std::unique_ptr<vxl::PreferenceStore> prefs_;
    std::unique_ptr<vxl::ScopedPrefs> scopedPrefs_;
    CCoordinator coordinator_;
};

TEST_F(FirmwareUpgradeEndToEnd, NewLoadShowsTheRevisionOfTheUpgradeFile) {
    std::string firmware;
    const std::string upgradeFile = UpgradeFile(firmware);
    ASSERT_EQ(Attach(coordinator_), 0);
    EXPECT_EQ(Format("%3.2f", coordinator_.GetModem()->GetFirmwareRevision()), "2.20");

    std::string response;
    ASSERT_EQ(UpgradeModemFirmware(coordinator_, upgradeFile, false, response), 0) << response;
    EXPECT_FALSE(coordinator_.IsAttached());
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "Firmware revision 3.55 written to modem.");
    EXPECT_EQ(prefs_->GetText(vxl::kPrefLastFWRev, ""), "2.20");
    const MemoryBytes stored = sim->StoredMemory();
    for (int i = 0; i < kFirmwareBytes; ++i) {
        ASSERT_EQ(stored[kIdentityBlock + i], static_cast<uint8_t>(firmware[i])) << i;
    }

    // The new firmware runs; the operator power-cycles the modem and loads it again.
    ASSERT_TRUE(sim->WaitFor([](const SimStatus& s) { return s.mode == ModemMode::kData; }, 5000));
    ASSERT_EQ(Attach(coordinator_), 0);
    EXPECT_EQ(Format("%3.2f", coordinator_.GetModem()->GetFirmwareRevision()), "3.55");
}

class FirmwareUpgradeMemoryCheckFails : public FirmwareUpgradeEndToEnd {
  protected:
    void SetUp() override {
        faults_.loaderMemoryCheckFails = true;
        FirmwareUpgradeEndToEnd::SetUp();
    }
};

TEST_F(FirmwareUpgradeMemoryCheckFails, LoaderBannerWithoutPassStopsTheUpgrade) {
    std::string firmware;
    const std::string upgradeFile = UpgradeFile(firmware);
    ASSERT_EQ(Attach(coordinator_), 0);
    std::string response;
    EXPECT_EQ(UpgradeModemFirmware(coordinator_, upgradeFile, false, response),
              vxl::rc::kLoaderMemoryCheck);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Attempt to upgrade modem firmware failed.");
    EXPECT_EQ(ui.messages[0].text.rfind("Loader reports memory check failed\nResponse: "
                                        "StartBootloader->",
                                        0),
              0u)
        << ui.messages[0].text;
    EXPECT_TRUE(coordinator_.IsAttached());
    EXPECT_EQ(sim->StoredMemory()[kIdentityBlock + 2], 22) << "the old firmware stays";
}

// The dealers' tool on srec_cat output: pack, check and unpack, and what it refuses.
TEST(VxlfwProgram, PacksChecksAndUnpacksWhatSrecCatWrites) {
    const std::string tool = std::string(VXL_BINARY_DIR) + "/src/vxlfw";
    if (std::system("command -v srec_cat >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "srec_cat (Debian package srecord) is not installed";
    }
    if (std::system(("test -x " + tool).c_str()) != 0) GTEST_SKIP() << tool << " is not built";
    vxl::test::TempDir dir;
    std::string firmware(100, 'x');
    firmware[2] = 21;
    firmware[3] = 4;
    dir.Write("fw.bin", firmware);
    const std::string srec = Format(
        "cd %s && srec_cat fw.bin -binary -offset 0x8400 -o fw.s19 -motorola -address-length=2 "
        "-disable=data-count -execution-start-address=0x9000 -crlf && tr -d '\\r' <fw.s19 "
        ">lf.s19 && srec_cat fw.bin -binary -offset 0x8400 -o nos9.s19 -motorola "
        "-address-length=2 -disable=data-count -crlf",
        dir.path().c_str());
    ASSERT_EQ(std::system(srec.c_str()), 0);

    const struct {
        std::string arguments;
        int exitStatus;
        std::string output;  // start of standard output and error together
    } runs[] = {
        {"pack fw.s19 fw.fw", 0, "fw.fw: 6 records, firmware revision 2.14, start address 0x0000"},
        {"check fw.fw", 0, "fw.fw: valid\nfw.fw: 6 records, firmware revision 2.14"},
        {"unpack fw.fw back.s19", 0, "back.s19: 6 records"},
        {"pack lf.s19 lf.fw", 1, "vxlfw: lf.s19: not valid S-record text: line 1 ends (LF)"},
        {"pack --fix-line-ends lf.s19 lf.fw", 0, "lf.fw: 6 records"},
        {"pack nos9.s19 nos9.fw", 1,
         "vxlfw: nos9.s19: cannot upgrade a modem: the file does not end with an S9 record"},
        {"pack --add-end-record nos9.s19 nos9.fw", 0, "nos9.fw: 6 records"},
        {"check fw.s19", 1, "vxlfw: fw.s19: invalid upgrade file: line 1"},
        {"check absent.fw", 1, "vxlfw: absent.fw: The file was not found."},
        {"check", 2, "usage: vxlfw pack"},
        {"--help", 0, "usage: vxlfw pack [--fix-line-ends] [--add-end-record] IN.s19 OUT.fw"},
    };
    for (const auto& run : runs) {
        const std::string command =
            Format("cd %s && %s %s 2>&1", dir.path().c_str(), tool.c_str(), run.arguments.c_str());
        std::FILE* pipe = ::popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string output;
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
        const int status = ::pclose(pipe);
        EXPECT_EQ(WEXITSTATUS(status), run.exitStatus) << run.arguments << "\n" << output;
        EXPECT_EQ(output.rfind(run.output, 0), 0u) << run.arguments << "\n" << output;
    }
    EXPECT_EQ(vxl::test::TempDir::Read(dir.File("back.s19")),
              vxl::test::TempDir::Read(dir.File("fw.s19")));
    EXPECT_EQ(vxl::test::TempDir::Read(dir.File("lf.fw")),
              vxl::test::TempDir::Read(dir.File("fw.fw")));
}

}  // namespace
}  // namespace vxl::sim::test
