// The Settings menu without the window: enabling and check mark, restoring a backup chosen from
// the list, saving and loading profiles through the file dialogs. What the operator is shown is
// kept in transcripts under tests/data/window/.
#include <gtest/gtest.h>

#include <regex>

#include "coordinator/coordinator_harness.h"
#include "params/parameter_ids.h"
#include "support/golden.h"
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
    // What the operator was shown and answered; a time of day in the local time zone as such.
    std::string Shown() const {
        static const std::regex localTime("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d");
        return std::regex_replace(
            WithoutFolder(Transcript(h.ui) + Answers(h.ui) + "\n", h.dir.path()), localTime,
            "<local time>");
    }

    CoordinatorHarness h;
    SettingsMenuModel model{h.coordinator};
    std::vector<BackupListEntry> offered;
    std::vector<int> changed;
};

// Which items a loaded modem enables is shown in the window's menus (tests/gui).
TEST(SettingsMenu, TheCheckMarkIsStored) {
    Menu m;
    EXPECT_TRUE(m.model.State().verifyChecked);
    m.model.ToggleVerifyAfterProgramming();
    CCoordinator restarted;
    restarted.Init(3, 1);
    EXPECT_FALSE(SettingsMenuModel(restarted).State().verifyChecked);
}

// No backups yet: said, with the folder. Two backups: the chosen one restored and the pages told;
// a damaged one refused and nothing changed.
TEST(SettingsMenu, RestoresTheChosenBackupAndRefusesADamagedOne) {
    Menu m;
    ASSERT_EQ(m.h.Load(), rc::kOk);
    m.model.RestoreFromBackup();
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
    EXPECT_TRUE(m.h.coordinator.IsModified());

    m.h.dir.Write("backups/01427259/29991231T235959Z.img", "VXLBACKUP garbage");
    m.changed.clear();
    m.model.RestoreFromBackup();
    EXPECT_EQ(m.h.Text(pid::kOwner), "Quarry");
    EXPECT_TRUE(m.changed.empty());
    EXPECT_TRUE(MatchesGolden("window/settings_menu_restore.txt", m.Shown()));
}

// Save Profile suggests a name with the serial number. Load Profile lists what it would change
// and asks first: No leaves the pages as they were, Yes shows the profile's settings; once the
// pages show it, loading it again changes nothing and asks nothing.
TEST(SettingsMenu, SavesAndLoadsProfilesThroughTheFileDialogs) {
    Menu m;
    ASSERT_EQ(m.h.Load(), rc::kOk);
    ASSERT_EQ(m.h.coordinator.Settings().SetText(pid::kOwner, "Fleet"), rc::kOk);
    const std::string saved = m.h.dir.File("fleet.ini");
    const std::string mixed = m.h.dir.Write("mixed.ini", "[VXL]\nOwner=Fleet\nColour=blue\n");
    m.h.ui.ScriptFiles({saved, mixed, mixed, mixed});
    m.model.SaveProfile();
    EXPECT_TRUE(m.h.ui.fileDialogs[0].save);
    EXPECT_EQ(m.h.ui.fileDialogs[0].startDir, "profile-01427259.ini");
    EXPECT_NE(TempDir::Read(saved).find("Owner=Fleet\n"), std::string::npos);

    ASSERT_EQ(m.h.coordinator.Settings().SetText(pid::kOwner, "Other"), rc::kOk);
    m.h.ui.ScriptAnswers({MsgAnswer::No, MsgAnswer::Yes});
    for (const char* owner : {"Other", "Fleet", "Fleet"}) {
        m.changed.clear();
        m.model.LoadProfile();
        EXPECT_EQ(m.h.Text(pid::kOwner), owner);
        EXPECT_EQ(m.changed, m.h.ui.messages.back().answer == MsgAnswer::Yes
                                 ? std::vector<int>{pid::kOwner}
                                 : std::vector<int>{});
    }
    EXPECT_EQ(m.h.ui.fileDialogs[1].startDir, m.h.dir.path());
    EXPECT_TRUE(MatchesGolden("window/settings_menu_profiles.txt", m.Shown()));
}

}  // namespace
}  // namespace vxl::test
