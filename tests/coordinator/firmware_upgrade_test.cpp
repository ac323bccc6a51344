// The upgrade workflow against the fake modem's boot loader: which modems can be upgraded, the
// backup first, what each outcome tells the operator, the preferences the next load reads, and
// the window's command (the check before the file dialog, a cancel, a No). A whole upgrade from
// the window is the window workflow's and the simulator's test.
#include "coordinator/firmware_upgrade.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "backup/backup_store.h"
#include "coordinator_harness.h"
#include "modem/firmware_file.h"
#include "support/golden.h"
#include "util/format.h"

namespace vxl::test {
namespace {

// Firmware 3.55 starting at 0x9000.
const std::string kFirmware =
    FormatSrecord('0', 0, "FW") + FormatSrecord('1', 0x8400, std::string("\0\0\x23\x05", 4)) +
    FormatSrecord('1', 0xFFFE, std::string("\x90\0", 2)) + FormatSrecord('9', 0x9000, "");

enum class Modem { None, Attached, Loaded, Demo };
enum class Via { Run, Confirmed, Window, WindowCancelled, WindowNo };

TEST(FirmwareUpgrade, EachOutcomeAndWhatTheOperatorIsTold) {
    using Fault = std::function<void(CoordinatorHarness&)>;
    const Fault none = [](CoordinatorHarness&) {};
    const struct {
        const char* name;
        int revision;  // hundredths
        Modem modem;
        Via via;
        Fault fault;
        std::string file;  // S-record text; empty: no file at all
    } cases[] = {
        // clang-format off
        {"firmware 1.00, the first that can be upgraded", 100, Modem::Attached, Via::Confirmed, none, kFirmware},
        {"a loaded modem", 213, Modem::Loaded, Via::Run,
         [](CoordinatorHarness& h) { h.modem.Poke(0x106, {0x00, 0x0F, 0x42, 0x3F}); }, kFirmware},
        {"no backup", 220, Modem::Attached, Via::Run, [](CoordinatorHarness& h) {
             h.coordinator.Programming().SetBackupRoot(h.dir.Write("plain", "x") + "/backups"); },
         kFirmware},
        {"firmware 0.99", 99, Modem::Attached, Via::Confirmed, none, kFirmware},
        {"the demo modem", 220, Modem::Demo, Via::Confirmed, none, kFirmware},
        {"no modem", 220, Modem::None, Via::Confirmed, none, kFirmware},
        {"memory check", 221, Modem::Loaded, Via::Run,
         [](CoordinatorHarness& h) { h.modem.loader.banner = "KTR F/W Loader FAIL?"; }, kFirmware},
        {"wrong banner", 221, Modem::Loaded, Via::Run,
         [](CoordinatorHarness& h) { h.modem.loader.banner = "Hi?"; }, kFirmware},
        {"load refused", 221, Modem::Loaded, Via::Run,
         [](CoordinatorHarness& h) { h.modem.loader.loadReply = "\r\nNO!\r\n"; }, kFirmware},
        {"corrupt file", 221, Modem::Loaded, Via::Run, none, "S1038400\n"},
        {"missing file", 221, Modem::Loaded, Via::Run, none, ""},
        {"window: cannot be upgraded", 99, Modem::Attached, Via::Window, none, kFirmware},
        {"window: file dialog cancelled", 220, Modem::Attached, Via::WindowCancelled, none, kFirmware},
        {"window: not confirmed", 220, Modem::Attached, Via::WindowNo, none, kFirmware},
        // clang-format on
    };
    std::string outcomes;
    for (const auto& c : cases) {
        CoordinatorHarness h(0xD2, c.revision);
        c.fault(h);
        int ready = rc::kOk;
        if (c.modem == Modem::Demo) ready = h.coordinator.StartDemo();
        if (c.modem == Modem::Attached) ready = h.coordinator.Attach(h.response, false);
        if (c.modem == Modem::Loaded) ready = h.Load();
        ASSERT_EQ(ready, rc::kOk) << c.name;
        const std::string path = h.dir.File(c.file.empty() ? "absent.fw" : "fw/new.fw");
        std::filesystem::create_directories(h.dir.File("fw"));
        CFirmwareFile file;
        file.SetText(c.file);
        ASSERT_TRUE(c.file.empty() || file.WriteUpgradeFile(path) == 0);
        std::string response, folder = "/srv/firmware", result;
        if (c.via == Via::Run || c.via == Via::Confirmed) {
            result = Format("result %d", UpgradeModemFirmware(h.coordinator, path,
                                                              c.via == Via::Confirmed, response));
        } else {
            h.ui.ScriptFiles({c.via == Via::WindowCancelled ? "" : path});
            h.ui.ScriptAnswers({c.via == Via::WindowNo ? MsgAnswer::No : MsgAnswer::Yes});
            const FirmwareUpgradeOutcome o =
                UpgradeFirmwareFromWindow(h.coordinator, folder, response);
            result = Format(
                "result %d, %zu file dialogs, folder %s, load default %d, upgrade %d, "
                "port choice %d",
                o.result, h.ui.fileDialogs.size(), folder.c_str(), o.loadBecomesDefault,
                o.upgradeEnabled, o.selectPortEnabled);
        }
        const std::string transcript =
            Replaced(Replaced(Transcript(h.ui), path, "FILE"), h.dir.path(), "DIR");
        outcomes += Format(
                        "== %s\n%s; attached %d; loader started %d, reset %d; stored %d %s; "
                        "%zu backups\n",
                        c.name, result.c_str(), h.coordinator.IsAttached(), h.modem.Count(0x1C),
                        h.modem.Count(0x1D), h.prefs.GetInt(kPrefLastSerialNumber, -1),
                        h.prefs.GetText(kPrefLastFWRev, "-").c_str(),
                        ListBackupFiles(h.dir.File("backups"), "01427259").size()) +
                    transcript;
        EXPECT_EQ(h.ui.waitCursorDepth, 0) << c.name;
    }
    EXPECT_TRUE(MatchesGolden("firmware_upgrade_outcomes.txt", outcomes));
}

}  // namespace
}  // namespace vxl::test
