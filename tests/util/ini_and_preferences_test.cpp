#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "support/temp_dir.h"
#include "util/ini_file.h"
#include "util/preferences.h"

namespace vxl {
namespace {

using test::TempDir;

TEST(ProfileReading, SectionAndKeyIgnoreCaseAndValuesAreTrimmed) {
    TempDir dir;
    std::string path = dir.Write("a.ini",
                                 "junk line without equals\n"
                                 "[General]\r\n"
                                 "  VendorName =  Acme Radio  \r\n"
                                 "Empty=\n"
                                 "Eq=a=b\n"
                                 "[Other]\n"
                                 "VendorName=Wrong\n");
    struct Case {
        const char* section;
        const char* key;
        int buffer;
        const char* expected;
    } cases[] = {
        {"general", "vendorname", 64, "Acme Radio"},
        {"GENERAL", "VENDORNAME", 5, "Acme"},  // at most buffer - 1 characters
        {"General", "Eq", 64, "a=b"},          // the value is what follows the first '='
        {"Nowhere", "VendorName", 64, "dflt"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadProfileString(path, c.section, c.key, "dflt", c.buffer), c.expected)
            << c.section << "/" << c.key;
    }

    // A file edited between two reads is read again.
    dir.Write("a.ini", "[General]\nVendorName=Other Dealer\n");
    EXPECT_EQ(ReadProfileString(path, "General", "VendorName", "", 64), "Other Dealer");
}

// Editors elsewhere save UTF-16 (either byte order, with or without a mark), a UTF-8 mark, or
// lines ended by CR alone: all read alike.
TEST(ProfileReading, EncodingsAndLineEndsOfOtherEditorsReadAlike) {
    const std::string text = "; dealer\n[General]\nVendorName=Acme\n[VXL]\nBaudRate=4\n";
    auto utf16 = [&](bool bigEndian, const std::string& mark) {
        std::string out = mark;
        for (char c : text) out += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
        return out;
    };
    std::string crOnly = text;
    for (char& c : crOnly) c = c == '\n' ? '\r' : c;
    const std::pair<const char*, std::string> files[] = {
        {"UTF-16 LE", utf16(false, "\xFF\xFE")},
        {"UTF-16 BE", utf16(true, "\xFE\xFF")},
        {"UTF-16 LE without a mark", utf16(false, "")},
        {"UTF-8 mark", "\xEF\xBB\xBF" + text},
        {"CR line ends", crOnly},
    };
    TempDir dir;
    for (const auto& [name, content] : files) {
        const std::string path = dir.Write(std::string(name) + ".ini", content);
        EXPECT_EQ(ReadProfileString(path, "General", "VendorName", "?", 64), "Acme") << name;
        EXPECT_EQ(ReadProfileString(path, "VXL", "BaudRate", "?", 64), "4") << name;
        EXPECT_TRUE(ProfileHasSections(path)) << name;
    }
    EXPECT_FALSE(ProfileHasSections(dir.Write("binary.ini", std::string("\x00\x01\xFF", 3))));
}

TEST(Preferences, DefaultsRoundTripAndAtomicRewrite) {
    TempDir dir;
    PreferenceStore store(dir.File("Norvale Corporation/vxlconf.conf"));
    EXPECT_EQ(store.GetInt(kPrefComPortNum, -1), -1);
    EXPECT_EQ(store.GetInt(kPrefCaptureMethod, 3), 3);
    EXPECT_EQ(store.GetText(kPrefLastFWRev, ""), "");

    ASSERT_TRUE(store.SetInt(kPrefComPortNum, 4));
    ASSERT_TRUE(store.SetText(kPrefLastFWRev, "1.04"));
    ASSERT_TRUE(store.SetInt(kPrefComPortNum, 5));  // rewrites, never duplicates
    EXPECT_EQ(store.GetInt(kPrefComPortNum, -1), 5);
    EXPECT_EQ(store.GetText(kPrefLastFWRev, ""), "1.04");
    EXPECT_EQ(TempDir::Read(store.Path()), "[Settings]\nComPortNum=5\nLastFWRev=1.04\n");
}

// A file that cannot be used is set aside as <name>.bad with one message naming it and why; the
// defaults are used from then on, also when it cannot be moved.
TEST(Preferences, AnUnusableFileIsSetAsideAndTheDefaultsAreUsed) {
    TempDir dir;
    const struct {
        std::string path;
        std::string why;  // empty: the file is used
    } cases[] = {
        {dir.Write("good.conf", "; mine\n[Settings]\nComPortNum=7\n"), ""},
        {dir.Write("empty.conf", ""), ""},
        {dir.File("absent.conf"), ""},
        {dir.Write("random.conf", std::string("\x8f\x03[Settings]\nComPortNum=7\n")),
         "is not a text file (byte 1)"},
        {dir.Write("headless.conf", "ComPortNum=7\n[Settings]\n"),
         "line 1 comes before any [section]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        PreferenceStore store(c.path);
        const std::string said = store.SetAsideIfUnusable();
        struct stat st {};
        EXPECT_EQ(::lstat((c.path + ".bad").c_str(), &st) == 0, !c.why.empty());
        if (c.why.empty()) {
            EXPECT_EQ(said, "");
            continue;
        }
        EXPECT_EQ(said, "The preferences file " + c.path + " cannot be used (" + c.why +
                            "); it was renamed to " + c.path +
                            ".bad and the default settings "
                            "are used.");
        EXPECT_EQ(store.GetInt(kPrefComPortNum, -1), -1);
        EXPECT_EQ(store.SetAsideIfUnusable(), "") << "said once";
    }
    PreferenceStore immovable("/proc/self/status");
    EXPECT_NE(immovable.SetAsideIfUnusable().find("could not be renamed"), std::string::npos);
    EXPECT_FALSE(immovable.Usable());
}

TEST(Preferences, DefaultPathFollowsXdgConfigHome) {
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    std::string keep = saved ? saved : "";
    ::setenv("XDG_CONFIG_HOME", "/x/cfg", 1);
    EXPECT_EQ(PreferenceStore::DefaultPath(), "/x/cfg/Norvale Corporation/vxlconf.conf");
    ::unsetenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    EXPECT_EQ(PreferenceStore::DefaultPath("C", "p"),
              std::string(home ? home : ".") + "/.config/C/p.conf");
    if (saved) ::setenv("XDG_CONFIG_HOME", keep.c_str(), 1);
}

}  // namespace
}  // namespace vxl
