// The Settings menu without the window: enabling and check mark, restoring a backup chosen from
// the list, saving and loading profiles through the file dialogs.
#include <gtest/gtest.h>

#include "coordinator/coordinator_harness.h"
#include "params/parameter_ids.h"
#include "window/settings_menu_model.h"

namespace vxl::test {
namespace {

struct Menu {
    Menu() {
        model.SetBackupChooser([this](const std::vector<BackupListEntry>& list) {
            offered = list;
            return 0;
        });
        model.SetChangedParameters([this](const std::vector<int>& ids) { changed = ids; });
    }
    const RecordedMessage& Last() const { return h.ui.messages.back(); }
    bool Says(const std::string& part) const { return Last().text.find(part) != std::string::npos; }

    CoordinatorHarness h;
    SettingsMenuModel model{h.coordinator};
    std::vector<BackupListEntry> offered;
    std::vector<int> changed;
};

TEST(SettingsMenu, ItemsFollowTheLoadedModemAndTheCheckMarkIsStored) {
    Menu m;
    EXPECT_TRUE(m.model.State().verifyChecked);
    EXPECT_FALSE(m.model.State().restoreEnabled || m.model.State().loadProfileEnabled);
    ASSERT_EQ(m.h.Load(), rc::kOk);
    EXPECT_TRUE(m.model.State().restoreEnabled && m.model.State().saveProfileEnabled);
    m.model.ToggleVerifyAfterProgramming();
    CCoordinator restarted;
    restarted.Init(3, 1);
    EXPECT_FALSE(SettingsMenuModel(restarted).State().verifyChecked);
}

TEST(SettingsMenu, RestoresTheChosenBackupAndRefusesADamagedOne) {
    Menu m;
    ASSERT_EQ(m.h.Load(), rc::kOk);
    m.model.RestoreFromBackup();
    EXPECT_TRUE(m.Says("no backups of the modem with serial number 01427259")) << m.Last().text;
    EXPECT_TRUE(m.Says(m.h.dir.File("backups/01427259")));

    ASSERT_EQ(m.h.coordinator.Settings().SetText(pid::kOwner, "Quarry"), rc::kOk);
    ASSERT_EQ(m.h.coordinator.Program(m.h.response), rc::kOk);  // backup: no owner
    ASSERT_EQ(m.h.coordinator.Settings().SetText(pid::kOwner, "Pit 4"), rc::kOk);
    ASSERT_EQ(m.h.coordinator.Program(m.h.response), rc::kOk);  // backup: "Quarry"
    m.model.RestoreFromBackup();
    ASSERT_EQ(m.offered.size(), 2u);
    EXPECT_EQ(BackupDifferenceText(m.offered[1], 3), "Owner");
    EXPECT_EQ(BackupDifferenceText(m.offered[1]), "Owner: Pit 4 -> (empty)\n");
    EXPECT_EQ(m.h.Text(pid::kOwner), "Quarry");
    EXPECT_EQ(m.changed, std::vector<int>{pid::kOwner});
    EXPECT_TRUE(m.h.coordinator.IsModified() && m.Says("Press Program"));

    m.h.dir.Write("backups/01427259/29991231T235959Z.img", "VXLBACKUP garbage");
    m.changed.clear();
    m.model.RestoreFromBackup();
    EXPECT_EQ(m.Last().icon, MsgIcon::Stop);
    EXPECT_TRUE(m.Says("cannot be restored")) << m.Last().text;
    EXPECT_EQ(m.h.Text(pid::kOwner), "Quarry");
    EXPECT_TRUE(m.changed.empty());
}

TEST(SettingsMenu, SavesAndLoadsProfilesThroughTheFileDialogs) {
    Menu m;
    ASSERT_EQ(m.h.Load(), rc::kOk);
    ASSERT_EQ(m.h.coordinator.Settings().SetText(pid::kOwner, "Fleet"), rc::kOk);
    const std::string saved = m.h.dir.File("fleet.ini");
    m.h.ui.ScriptFiles({saved, m.h.dir.Write("mixed.ini", "[VXL]\nOwner=Fleet\nColour=blue\n")});
    m.model.SaveProfile();
    EXPECT_TRUE(m.h.ui.fileDialogs[0].save);
    EXPECT_EQ(m.h.ui.fileDialogs[0].startDir, "profile-01427259.ini");
    EXPECT_NE(TempDir::Read(saved).find("Owner=Fleet\n"), std::string::npos);

    // Load Profile lists what it would change and asks first: No leaves the pages as they
    // were, Yes shows the profile's settings.
    ASSERT_EQ(m.h.coordinator.Settings().SetText(pid::kOwner, "Other"), rc::kOk);
    const std::string mixed = m.h.dir.File("mixed.ini");
    m.h.ui.ScriptFiles({mixed});
    m.h.ui.ScriptAnswers({MsgAnswer::No, MsgAnswer::Yes});
    for (const char* owner : {"Other", "Fleet"}) {
        m.changed.clear();
        m.model.LoadProfile();
        EXPECT_EQ(m.Last().buttons, MsgButtons::YesNo);
        EXPECT_TRUE(m.Says("Colour=blue: ")) << m.Last().text;
        EXPECT_TRUE(m.Says("changes these settings:\n\nOwner: Other -> Fleet\n")) << m.Last().text;
        EXPECT_EQ(m.h.Text(pid::kOwner), owner);
        EXPECT_EQ(m.changed, m.h.Text(pid::kOwner) == "Fleet" ? std::vector<int>{pid::kOwner}
                                                              : std::vector<int>{});
    }
    EXPECT_EQ(m.h.ui.fileDialogs[1].startDir, m.h.dir.path());
    // Once the pages show the profile, loading it again changes nothing and asks nothing.
    m.h.ui.ScriptFiles({mixed});
    m.model.LoadProfile();
    EXPECT_EQ(m.Last().buttons, MsgButtons::Ok);
    EXPECT_TRUE(m.Says("nothing changes")) << m.Last().text;
}

}  // namespace
}  // namespace vxl::test
