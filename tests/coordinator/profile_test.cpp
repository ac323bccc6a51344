// Settings profiles: saved from one modem, applied to another through the edit operations, with
// every entry that is not applied reported.
#include <gtest/gtest.h>

#include <sstream>

#include "coordinator/profile_apply.h"
#include "coordinator/safety_commands.h"
#include "coordinator_harness.h"
#include "params/parameter_ids.h"
#include "reports/xml_export.h"

namespace vxl::test {
namespace {

// The XML export without the lines that identify the modem.
std::string ExportWithoutIdentity(CoordinatorHarness& h) {
    std::istringstream in(BuildXmlDocument(*h.Set(), 4, "station", "date"));
    std::string kept;
    for (std::string line; std::getline(in, line);)
        if (line.find("<serial-number>") == std::string::npos) kept += line + "\n";
    return kept;
}

Profile Parsed(const std::string& text) {
    Profile profile;
    std::string reason;
    EXPECT_EQ(ParseProfile(text, profile, reason), rc::kOk) << reason;
    return profile;
}

TEST(Profile, ConfiguresAnotherModemAlikeAndLeavesItsIdentity) {
    CoordinatorHarness a;
    ASSERT_EQ(a.Load(), rc::kOk);
    CCoordinator& c = a.coordinator;
    ASSERT_EQ(c.Settings().SetInt(pid::kProtocolMode, 1), rc::kOk);  // EOT character shown
    ASSERT_EQ(c.Settings().SetInt(pid::kEOTCharacter, 13), rc::kOk);
    ASSERT_EQ(c.Settings().SetInt(pid::kLocalAddress, 12), rc::kOk);
    ASSERT_EQ(c.Settings().SetInt(pid::kDigisquelch, 3), rc::kOk);
    ASSERT_EQ(c.Settings().SetInt(pid::kBaudRate, 3), rc::kOk);
    ASSERT_EQ(c.Settings().SetReal(pid::kTxAckTimeout, 2.5), rc::kOk);
    ASSERT_EQ(c.Settings().SetBool(pid::kScrambling, false), rc::kOk);
    ASSERT_EQ(c.Settings().SetText(pid::kOwner, "Site #9 = north"), rc::kOk);
    ASSERT_EQ(c.Settings().SetText(pid::kCallSign, "KD7XYZ"), rc::kOk);
    ASSERT_EQ(c.Settings().SetReal(pid::RxChannelId(3), 461.025), rc::kOk);
    ASSERT_EQ(c.Settings().SetReal(pid::TxChannelId(3), 466.025), rc::kOk);
    ASSERT_EQ(c.Settings().SetInt(pid::kCurrentChannel, 3), rc::kOk);
    ASSERT_EQ(c.Settings().SetReal(pid::RxChannelId(0), 0.0), rc::kOk);  // no longer current
    std::string text;
    ASSERT_TRUE(BuildProfile(c, text));
    for (const char* line : {"[VXL]\n", "ProtocolMode=Transparent w/EOT Character\n",
                             "EOTCharacter=CR\n", "Owner=Site #9 = north\n", "RXChannel_0=\n",
                             "TXChannel_3=466.0250\n", "CurrentChannel=3\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << text;
    for (const char* key : {"SerialNumber=", "Model=", "Frequency=", "Power=", "Firmware",
                            "EOTCount=", "SynthesizerType="})
        EXPECT_EQ(text.find(std::string("\n") + key), std::string::npos) << key;

    CoordinatorHarness b;
    b.modem.Poke(0x106, {0x00, 0x15, 0xC7, 0x40});  // serial number 1427264
    ASSERT_EQ(b.Load(), rc::kOk);
    ASSERT_NE(ExportWithoutIdentity(a), ExportWithoutIdentity(b));
    std::vector<RefusedEntry> refused;
    ASSERT_EQ(ApplyProfile(b.coordinator, Parsed(text), refused), rc::kOk);
    EXPECT_TRUE(refused.empty()) << RefusedEntriesText(refused);
    EXPECT_EQ(ExportWithoutIdentity(a), ExportWithoutIdentity(b));
    EXPECT_EQ(b.Text(pid::kSerialNumber), "01427264");
    EXPECT_TRUE(b.coordinator.IsModified());
    EXPECT_TRUE(b.modem.commands.size() > 0 && b.modem.Count(0x20) == 0) << "nothing programmed";
}

// A profile carries the end-of-transmission setting the Serial Interface page shows for the
// mode, and none for the modes that use none.
TEST(Profile, CarriesTheEndOfTransmissionSettingOfItsMode) {
    CoordinatorHarness h;
    ASSERT_EQ(h.Load(), rc::kOk);
    const char* const carried[] = {"EOTCount", "EOTCharacter", "",        "",
                                   "EOTCount", "EOTCount",     "EOTCount"};
    for (int mode = 0; mode < 7; ++mode) {
        ASSERT_EQ(h.coordinator.Settings().SetInt(pid::kProtocolMode, mode), rc::kOk);
        std::string text;
        ASSERT_TRUE(BuildProfile(h.coordinator, text));
        std::string keys;
        for (const char* key : {"EOTCharacter", "EOTCount", "EOTTimeout"})
            if (text.find(std::string("\n") + key + "=") != std::string::npos) keys += key;
        EXPECT_EQ(keys, carried[mode]) << mode;
    }
}

TEST(Profile, EntriesThatCannotBeAppliedAreReportedAndTheRestApplied) {
    CoordinatorHarness h;
    ASSERT_EQ(h.Load(), rc::kOk);
    const std::string text =
        "; written by hand\n[VXL]\nOwner=Applied\nBogus=1\nSerialNumber=12345678\n"
        "SynthesizerType=2\nBaudRate=12345\nLocalAddress=300\nScrambling=maybe\n"
        "LinkRate=19200\nRXChannel_0=\nTxAckTimeout=99999\nDigisquelch=Low # as shipped\n";
    std::vector<RefusedEntry> refused;
    ASSERT_EQ(ApplyProfile(h.coordinator, Parsed(text), refused), rc::kOk);
    EXPECT_EQ(h.Text(pid::kOwner), "Applied");
    EXPECT_EQ(h.Int(pid::kDigisquelch), 2);
    EXPECT_EQ(RefusedEntriesText(refused),
              "Bogus=1: this is not a setting this program knows\n"
              "SerialNumber=12345678: this identifies the modem; a profile never changes it\n"
              "SynthesizerType=2: this is not a setting of the End User pages\n"
              "BaudRate=12345: the value is not one of this modem's choices (19200, 9600, 4800, "
              "2400, 1200, 38400)\n"
              "LocalAddress=300: the value is not a whole number from 0 to 255\n"
              "Scrambling=maybe: the value is neither yes nor no\n"
              "LinkRate=19200: the value is not allowed together with this modem's other "
              "settings\n"
              "RXChannel_0=: the current channel cannot be left without a frequency\n"
              "TxAckTimeout=99999: the value is not a number from 0.1 to 6553.6\n");
    EXPECT_NEAR(h.Real(pid::RxChannelId(0)), 455.0, 0.001);

    // A value that a later entry's rule overrides is not applied either.
    refused.clear();
    ASSERT_EQ(ApplyProfile(h.coordinator,
                           Parsed("[VXL]\nModulationType=4-Level-FSK\nLinkRate=4800\n"), refused),
              rc::kOk);
    EXPECT_EQ(RefusedEntriesText(refused),
              "ModulationType=4-Level-FSK: another setting's rule changed it to \"GMSK\"\n");
}

TEST(Profile, ADamagedProfileIsRefusedWithItsReasonAndChangesNothing) {
    const struct {
        const char* name;
        std::string text;
        int result;
        const char* reason;
    } cases[] = {
        {"binary",
         std::string("\x7f"
                     "ELF\0\0",
                     6),
         rc::kProfileDamaged, "it is not a text file"},
        {"no section", "Owner=x\n", rc::kProfileDamaged,
         "line 1 is not a setting of a profile section"},
        {"two sections", "[VXL]\nOwner=x\n[QMX]\nOwner=y\n", rc::kProfileDamaged,
         "line 3 starts a second section"},
        {"a line cut short", "[VXL]\nOwner=x\nBaudRa", rc::kProfileDamaged,
         "line 3 is not a setting of a profile section"},
        {"no settings", "[VXL]\n; nothing\n", rc::kProfileDamaged, "it holds no settings"},
        {"empty", "", rc::kFileEndOfFile, "is empty"},
    };
    CoordinatorHarness h;
    ASSERT_EQ(h.Load(), rc::kOk);
    SafetyCommands commands(h.coordinator);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        h.ui.messages.clear();
        const std::string path = h.dir.Write("profile.ini", c.text);
        EXPECT_EQ(commands.LoadProfile(path), c.result);
        ASSERT_EQ(h.ui.messages.size(), 1u);
        EXPECT_EQ(h.ui.messages[0].text,
                  "The profile " + path + " cannot be used: " + std::string(c.reason));
        EXPECT_EQ(h.ui.messages[0].caption, "Load Profile");
        EXPECT_FALSE(h.coordinator.IsModified());
    }
    EXPECT_EQ(commands.SaveProfile(h.dir.File("profile.ini/inside")), rc::kFileBadPath);
    EXPECT_EQ(h.ui.messages.back().text, "The profile could not be written: The path is invalid. " +
                                             h.dir.File("profile.ini/inside") +
                                             ": a part of the path is not a folder");
    EXPECT_EQ(commands.SaveProfile(h.dir.File("good.ini")), rc::kOk);
    EXPECT_EQ(h.ui.messages.back().text, "Settings profile written to " + h.dir.File("good.ini"));
}

}  // namespace
}  // namespace vxl::test
