// The Settings menu without the window: its enabling and check mark, restoring a backup through
// the list, and saving and loading profiles through the file dialogs, with every message.
#include <gtest/gtest.h>

#include "app/settings_menu_model.h"
#include "backup/backup_store.h"
#include "coordinator/coordinator_harness.h"
#include "params/parameter_ids.h"

namespace vxl::test {
namespace {

struct Menu {
    Menu() {
        model.SetBackupChooser([this](const std::vector<BackupListEntry>& backups) {
            offered = backups;
            return choice;
        });
        model.SetChangedParameters([this](const std::vector<int>& ids) { changed = ids; });
    }
    bool Changed(int id) const {
        return std::find(changed.begin(), changed.end(), id) != changed.end();
    }
    const RecordedMessage& Last() const { return h.ui.messages.back(); }

    CoordinatorHarness h;
    SettingsMenuModel model{h.coordinator};
    int choice = 0;
    std::vector<BackupListEntry> offered;
    std::vector<int> changed;
};

TEST(SettingsMenu, ItemsFollowTheLoadedModemAndTheCheckMarkIsStored) {
    Menu m;
    SettingsMenuState state = m.model.State();
    EXPECT_TRUE(state.verifyChecked);
    EXPECT_FALSE(state.restoreEnabled || state.saveProfileEnabled || state.loadProfileEnabled);
    // Commands of disabled items (a key that arrives late) do nothing.
    m.model.RestoreFromBackup();
    m.model.LoadProfile();
    EXPECT_TRUE(m.h.ui.messages.empty() && m.h.ui.fileDialogs.empty());

    ASSERT_EQ(m.h.Load(), rc::kOk);
    state = m.model.State();
    EXPECT_TRUE(state.restoreEnabled && state.saveProfileEnabled && state.loadProfileEnabled);
    m.model.ToggleVerifyAfterProgramming();
    EXPECT_FALSE(m.model.State().verifyChecked);
    CCoordinator restarted;
    restarted.Init(3, 1);
    EXPECT_FALSE(SettingsMenuModel(restarted).State().verifyChecked);
    m.model.ToggleVerifyAfterProgramming();
    EXPECT_TRUE(m.model.State().verifyChecked);
}

TEST(SettingsMenu, RestoresTheChosenBackupAndMarksWhatChanged) {
    Menu m;
    ASSERT_EQ(m.h.Load(), rc::kOk);
    m.model.RestoreFromBackup();
    ASSERT_EQ(m.h.ui.messages.size(), 1u);
    EXPECT_NE(m.Last().text.find("no backups of the modem with serial number 01427259"),
              std::string::npos)
        << m.Last().text;
    EXPECT_NE(m.Last().text.find(m.h.dir.File("backups/01427259")), std::string::npos);
    EXPECT_TRUE(m.offered.empty());

    // Programmed twice: the newest backup holds "Quarry", the older the empty owner.
    ASSERT_EQ(m.h.coordinator.SetTextParameter(pid::kOwner, "Quarry"), rc::kOk);
    ASSERT_EQ(m.h.coordinator.Program(m.h.response), rc::kOk);
    ASSERT_EQ(m.h.coordinator.SetTextParameter(pid::kOwner, "Pit 4"), rc::kOk);
    ASSERT_EQ(m.h.coordinator.Program(m.h.response), rc::kOk);
    m.choice = -1;  // cancelled
    m.model.RestoreFromBackup();
    ASSERT_EQ(m.offered.size(), 2u);
    EXPECT_EQ(m.h.ui.messages.size(), 1u);
    EXPECT_EQ(m.h.Text(pid::kOwner), "Pit 4");

    m.choice = 0;
    m.model.RestoreFromBackup();
    EXPECT_EQ(m.h.Text(pid::kOwner), "Quarry");
    EXPECT_EQ(m.changed, std::vector<int>{pid::kOwner});
    EXPECT_TRUE(m.h.coordinator.IsModified());  // Program is the operator's
    EXPECT_NE(m.Last().text.find("Press Program"), std::string::npos) << m.Last().text;

    // A damaged backup is refused with its reason and changes nothing.
    m.h.dir.Write("backups/01427259/29991231T235959Z.img", "VXLBACKUP garbage");
    m.changed.clear();
    m.model.RestoreFromBackup();
    ASSERT_EQ(m.offered.size(), 3u);
    EXPECT_NE(m.offered[0].problem, "");
    EXPECT_EQ(m.Last().icon, MsgIcon::Stop);
    EXPECT_NE(m.Last().text.find("cannot be restored"), std::string::npos) << m.Last().text;
    EXPECT_EQ(m.h.Text(pid::kOwner), "Quarry");
    EXPECT_TRUE(m.changed.empty());
}

TEST(SettingsMenu, SavesAndLoadsProfilesThroughTheFileDialogs) {
    Menu m;
    ASSERT_EQ(m.h.Load(), rc::kOk);
    ASSERT_EQ(m.h.coordinator.SetTextParameter(pid::kOwner, "Fleet"), rc::kOk);
    const std::string saved = m.h.dir.File("fleet.ini");
    m.h.ui.ScriptFiles({saved, ""});
    m.model.SaveProfile();
    ASSERT_EQ(m.h.ui.fileDialogs.size(), 1u);
    EXPECT_TRUE(m.h.ui.fileDialogs[0].save);
    EXPECT_EQ(m.h.ui.fileDialogs[0].startDir, "profile-01427259.ini");
    EXPECT_NE(TempDir::Read(saved).find("Owner=Fleet\n"), std::string::npos);
    EXPECT_NE(m.Last().text.find(saved), std::string::npos);
    m.model.LoadProfile();  // cancelled: nothing said
    EXPECT_EQ(m.h.ui.fileDialogs[1].startDir, m.h.dir.path());
    EXPECT_EQ(m.h.ui.messages.size(), 1u);

    ASSERT_EQ(m.h.coordinator.SetTextParameter(pid::kOwner, "Other"), rc::kOk);
    m.h.ui.ScriptFiles(
        {m.h.dir.Write("mixed.ini", "[VXL]\nOwner=Fleet\nColour=blue\nBaudRate=4800000\n")});
    m.model.LoadProfile();
    EXPECT_EQ(m.h.Text(pid::kOwner), "Fleet");
    EXPECT_TRUE(m.Changed(pid::kOwner));
    EXPECT_FALSE(m.Changed(pid::kBaudRate));
    EXPECT_EQ(m.Last().icon, MsgIcon::Exclamation);
    for (const char* refused : {"Colour=blue: ", "BaudRate=4800000: "})
        EXPECT_NE(m.Last().text.find(refused), std::string::npos) << m.Last().text;
}

TEST(SettingsMenu, BackupDifferencesAreNamedThenCounted) {
    BackupListEntry entry;
    EXPECT_EQ(BackupDifferenceText(entry), "same as the loaded settings");
    entry.differences = {"Owner", "BaudRate", "Parity"};
    EXPECT_EQ(BackupDifferenceText(entry, 3), "Owner, BaudRate, Parity");
    EXPECT_EQ(BackupDifferenceText(entry, 1), "Owner and 2 more");
    entry.problem = "damaged: no header";
    EXPECT_EQ(BackupDifferenceText(entry), "cannot be restored: damaged: no header");
}

}  // namespace
}  // namespace vxl::test
