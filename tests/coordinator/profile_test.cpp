// Settings profiles: written from one modem (tests/data), applied to another through the edit
// operations, and what the Settings menu says about a profile it cannot use. The entries a modem
// refuses are the settings run's table.
#include <gtest/gtest.h>

#include "coordinator/profile_apply.h"
#include "coordinator/safety_commands.h"
#include "coordinator_harness.h"
#include "params/parameter_ids.h"
#include "support/golden.h"

namespace vxl::test {
namespace {

std::string ProfileOf(CoordinatorHarness& h) {
    std::string text;
    EXPECT_TRUE(BuildProfile(h.coordinator, text));
    return text;
}

// A profile (tests/data) applied to another modem gives it the same profile, but for the first
// line, which names the modem.
TEST(Profile, ConfiguresAnotherModemAlikeAndLeavesItsIdentity) {
    CoordinatorHarness a;
    ASSERT_EQ(a.Load(), rc::kOk);
    WorkingSettings& s = a.coordinator.Settings();
    for (auto [id, value] : {std::pair{pid::kProtocolMode, 1},
                             {pid::kEOTCharacter, 13},
                             {pid::kLocalAddress, 12},
                             {pid::kDigisquelch, 3},
                             {pid::kBaudRate, 3}})
        ASSERT_EQ(s.SetInt(id, value), rc::kOk) << id;
    ASSERT_EQ(s.SetReal(pid::kTxAckTimeout, 2.5), rc::kOk);
    ASSERT_EQ(s.SetBool(pid::kScrambling, false), rc::kOk);
    ASSERT_EQ(s.SetText(pid::kOwner, "Site #9 = north"), rc::kOk);
    ASSERT_EQ(s.SetText(pid::kCallSign, "KD7XYZ"), rc::kOk);
    ASSERT_EQ(s.SetReal(pid::RxChannelId(3), 461.025), rc::kOk);
    ASSERT_EQ(s.SetReal(pid::TxChannelId(3), 466.025), rc::kOk);
    ASSERT_EQ(s.SetInt(pid::kCurrentChannel, 3), rc::kOk);
    ASSERT_EQ(s.SetReal(pid::RxChannelId(0), 0.0), rc::kOk);  // no longer current
    const std::string text = ProfileOf(a);
    EXPECT_TRUE(MatchesGolden("profile.ini", text));

    CoordinatorHarness b;
    b.modem.Poke(0x106, {0x00, 0x15, 0xC7, 0x40});  // serial number 1427264
    ASSERT_EQ(b.Load(), rc::kOk);
    ASSERT_NE(ProfileOf(b), text);
    Profile profile;
    std::string reason;
    ASSERT_EQ(ParseProfile(text, profile, reason), rc::kOk) << reason;
    std::vector<RefusedEntry> refused;
    ASSERT_EQ(ApplyProfile(b.coordinator, profile, refused), rc::kOk);
    EXPECT_TRUE(refused.empty()) << RefusedEntriesText(refused);
    EXPECT_EQ(Replaced(ProfileOf(b), "01427264", "01427259"), text) << "but its first line";
    EXPECT_EQ(b.Text(pid::kSerialNumber), "01427264");
    EXPECT_TRUE(b.coordinator.IsModified());
    EXPECT_TRUE(b.modem.commands.size() > 0 && b.modem.Count(0x20) == 0) << "nothing programmed";
}

// What Load Profile and Save Profile say (tests/data): a file that is no profile changes nothing.
TEST(Profile, TheMenuSaysWhyAProfileCannotBeUsedOrWritten) {
    const std::string files[] = {std::string("\x7f"
                                             "ELF\0\0",
                                             6),
                                 "Owner=x\n",
                                 "[VXL]\nOwner=x\n[QMX]\nOwner=y\n",
                                 "[VXL]\nOwner=x\nBaudRa",
                                 "[VXL]\n; nothing\n",
                                 ""};
    CoordinatorHarness h;
    ASSERT_EQ(h.Load(), rc::kOk);
    SafetyCommands commands(h.coordinator);
    const std::string path = h.dir.File("profile.ini");
    for (const std::string& file : files) {
        h.dir.Write("profile.ini", file);
        EXPECT_NE(commands.LoadProfile(path), rc::kOk);
        EXPECT_FALSE(h.coordinator.IsModified());
    }
    EXPECT_EQ(commands.SaveProfile(h.dir.File("profile.ini/inside")), rc::kFileBadPath);
    EXPECT_EQ(commands.SaveProfile(path), rc::kOk);
    EXPECT_TRUE(MatchesGolden("profile_menu_messages.txt",
                              Replaced(Transcript(h.ui), h.dir.path(), "DIR")));
}

}  // namespace
}  // namespace vxl::test
