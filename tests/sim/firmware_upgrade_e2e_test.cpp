// A firmware upgrade of a simulated modem through the real serial port, protocol and
// coordinator, from an upgrade file made of S-records that an independent tool wrote.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "coordinator/coordinator.h"
#include "coordinator/firmware_upgrade.h"
#include "e2e_fixture.h"
#include "support/golden.h"
#include "util/preferences.h"

namespace vxl::sim::test {
namespace {

constexpr int kIdentityBlock = 0x8400;
constexpr int kFirmwareBytes = 256;

bool HaveSrecCat() {
    return std::system("command -v srec_cat >/dev/null 2>&1") == 0;
}

class FirmwareUpgradeEndToEnd : public EndToEnd {
  protected:
    void SetUp() override {
        if (!HaveSrecCat()) GTEST_SKIP() << "srec_cat (Debian package srecord) is not installed";
        SimOptions options;
        options.tracePath = dir.File("trace.txt");
        options.captureWindowSeconds = 0.5;
        StartModem(options);
        ASSERT_EQ(coordinator_.Init(portNumber, 3), 0);
    }
    void TearDown() override {
        coordinator_.Detach(status, false);
        EndToEnd::TearDown();
    }

    // Captures the modem by power cycle, as a load does.
    int Attach() {
        const int result = During([this] { sim->PowerCycle(); },
                                  [this] { return coordinator_.Attach(status, false); });
        if (result != 0)
            ADD_FAILURE() << status << "\n" << vxl::test::TempDir::Read(dir.File("trace.txt"));
        return result;
    }

    std::string Revision() {
        return Format("%3.2f", coordinator_.Session().GetModem()->GetFirmwareRevision());
    }

    vxl::PreferenceStore prefs_{dir.File("prefs.conf")};
    vxl::ScopedPrefs scopedPrefs_{prefs_};
    CCoordinator coordinator_;
};

// The loader's failures and the failure box are covered by the loader, coordinator and
// simulator unit tests; this run is the whole path, with the dealers' tool on srec_cat output.
TEST_F(FirmwareUpgradeEndToEnd, PacksSrecCatOutputUpgradesAndANewLoadShowsTheNewRevision) {
    // 256 bytes of firmware at the identity block, revision 3.55, and the reset vector 0x9000.
    const MemoryBytes before = sim->Memory();
    std::string firmware(kFirmwareBytes, '\0');
    for (int i = 0; i < kFirmwareBytes; ++i)
        firmware[i] = static_cast<char>(i < 7 ? before[kIdentityBlock + i] : i * 7);
    firmware[2] = 35;
    firmware[3] = 5;
    dir.Write("fw.bin", firmware);
    dir.Write("vector.bin", std::string("\x90\x00", 2));
    std::string output;
    ASSERT_EQ(
        RunCommand("cd " + dir.path() +
                       " && srec_cat fw.bin -binary -offset 0x8400 vector.bin -binary -offset "
                       "0xFFFE -o fw.s19 -motorola -address-length=2 -crlf "
                       "-disable=data-count -execution-start-address=0x9000 && tr -d '\\r' "
                       "<fw.s19 >lf.s19 && srec_cat fw.bin -binary -offset 0x8400 -o "
                       "nos9.s19 -motorola -address-length=2 -disable=data-count -crlf",
                   &output),
        0)
        << output;
    // Each run of the dealers' tool, its output and exit status (tests/data).
    std::string runs;
    for (const char* arguments :
         {"pack fw.s19 new.fw", "check new.fw", "unpack new.fw back.s19", "pack lf.s19 lf.fw",
          "pack --fix-line-ends lf.s19 lf.fw", "pack nos9.s19 nos9.fw",
          "pack --add-end-record nos9.s19 nos9.fw", "check fw.s19", "check absent.fw", "check"}) {
        output.clear();
        const int exitStatus = RunCommand(
            "cd " + dir.path() + " && " VXL_BINARY_DIR "/src/vxlfw " + arguments, &output);
        runs += Format("$ vxlfw %s\n%sexit %d\n", arguments, output.c_str(), exitStatus);
    }
    EXPECT_TRUE(vxl::test::MatchesGolden("sim/vxlfw_runs.txt", runs));
    EXPECT_EQ(vxl::test::TempDir::Read(dir.File("back.s19")),
              vxl::test::TempDir::Read(dir.File("fw.s19")));
    EXPECT_EQ(vxl::test::TempDir::Read(dir.File("lf.fw")),
              vxl::test::TempDir::Read(dir.File("new.fw")));

    ASSERT_EQ(Attach(), 0);
    EXPECT_EQ(Revision(), "2.20");
    // From the window: the operator picks the packed file and confirms.
    ui.ScriptFiles({dir.File("new.fw")});
    std::string folder;
    ASSERT_EQ(UpgradeFirmwareFromWindow(coordinator_, folder, status).result, 0) << status;
    EXPECT_EQ(folder, dir.path());
    EXPECT_FALSE(coordinator_.IsAttached());
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[1].text, "Firmware revision 3.55 written to modem.");
    const MemoryBytes stored = sim->StoredMemory();
    for (int i = 0; i < kFirmwareBytes; ++i)
        ASSERT_EQ(stored[kIdentityBlock + i], static_cast<uint8_t>(firmware[i])) << i;

    // The new firmware runs; the operator power-cycles the modem and loads it again.
    ASSERT_TRUE(sim->WaitFor([](const SimStatus& s) { return s.mode == ModemMode::kData; }, 5000));
    ASSERT_EQ(Attach(), 0);
    EXPECT_EQ(Revision(), "3.55");
}

}  // namespace
}  // namespace vxl::sim::test
