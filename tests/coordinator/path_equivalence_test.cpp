// One list of changes, three roads to the modem: typed on the pages (with a window), applied
// as a profile by a headless run (no window), and restored from a backup that holds the values
// as stored, without the rules' settling. All three give the same image.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backup/backup_file.h"
#include "coordinator/profile_apply.h"
#include "coordinator_harness.h"
#include "params/parameter_ids.h"
#include "util/format.h"

namespace vxl::test {
namespace {

struct Change {
    int id;
    std::string text;  // as a profile writes it
};

// A 12.5 kHz 4-Level-FSK modem at 9600 goes TrimMark: the mode makes it GMSK, and at 12.5 kHz
// GMSK runs at 4800, which only the settling sets.
const std::vector<Change> kChanges = {
    {pid::kProtocolMode, "TrimMark II/IIe"},
    {pid::kModulationType, "GMSK"},
    {pid::kBaudRate, "4800"},
    {pid::kOwner, "Quay 7"},
    {pid::RxChannelId(3), "460.5000"},
    {pid::TxChannelId(3), "461.0000"},
    {pid::kCurrentChannel, "3"},
};

struct Loaded : CoordinatorHarness {
    Loaded() {
        modem.Poke(0x100, {0x11});  // 2 W, 12.5 kHz
        modem.Poke(0x18F, {3});     // 9600
        modem.Poke(0x190, {2});     // Packet Switched
        modem.Poke(0x1A6, {1});     // 4-Level-FSK
        modem.SetConfigChecksum();
        EXPECT_EQ(Load(), rc::kOk);
        EXPECT_EQ(Int(pid::kLinkRate), 3);
    }
    std::vector<uint8_t> Bytes() const {
        return coordinator.Settings().Image()->ConfigurationBytes();
    }
};

// Stores a change as the pages hand it on (through `settings`), or as it is, without the rules.
int Store(ModemParameterSet& set, WorkingSettings* settings, const Change& change) {
    ModemParameter& parameter = *set.Get(change.id);
    if (parameter.GetKind() == kKindText)
        return settings ? settings->SetText(change.id, change.text)
                        : set.SetText(change.id, change.text);
    if (pid::IsChannelId(change.id)) {
        const double mhz = std::stod(change.text);
        return settings ? settings->SetReal(change.id, mhz) : set.SetReal(change.id, mhz);
    }
    int value = 0;
    EXPECT_EQ(parameter.ParseInt(change.text, value), rc::kOk) << change.text;
    return settings ? settings->SetInt(change.id, value) : set.SetInt(change.id, value);
}

TEST(PathEquivalence, PagesHeadlessProfileAndRestoreGiveTheSameImage) {
    Loaded pages;
    pages.coordinator.SetView(&pages.view);
    for (const Change& change : kChanges)
        ASSERT_EQ(Store(*pages.Set(), &pages.coordinator.Settings(), change), rc::kOk) << change.id;
    EXPECT_EQ(pages.Int(pid::kLinkRate), 2);

    Loaded headless;
    Profile profile;
    for (const Change& change : kChanges)
        profile.entries.emplace_back(ProfileKey(change.id), change.text);
    std::vector<RefusedEntry> refused;
    ASSERT_EQ(ApplyProfile(headless.coordinator, profile, refused), rc::kOk);
    EXPECT_TRUE(refused.empty()) << refused.front().key << ": " << refused.front().why;
    EXPECT_EQ(headless.Bytes(), pages.Bytes());

    // The backup holds the same values stored one by one, the link rate still at 9600.
    Loaded restored;
    for (const Change& change : kChanges)
        ASSERT_EQ(Store(*restored.Set(), nullptr, change), rc::kOk) << change.id;
    BackupImage backup;
    ASSERT_TRUE(restored.coordinator.Programming().MakeBackup(backup));
    backup.bytes = restored.Bytes();
    EXPECT_EQ(restored.Int(pid::kLinkRate), 3);
    std::string reason;
    ASSERT_EQ(restored.coordinator.Programming().RestoreBackup(backup, false, reason), rc::kOk)
        << reason;
    EXPECT_EQ(restored.Bytes(), pages.Bytes());
}

}  // namespace
}  // namespace vxl::test
