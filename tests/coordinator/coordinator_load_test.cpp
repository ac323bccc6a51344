// Attach, read, detach, demo mode and the firmware fix-up, against a fake modem on a fake link.
#include <gtest/gtest.h>

#include "coordinator_harness.h"
#include "modem/modem_base.h"
#include "params/parameter_ids.h"
#include "support/golden.h"
#include "util/format.h"

namespace vxl::test {
namespace {

// The view is told every value after a read, and the state at each step of the road; the modem
// is forgotten after a detach.
TEST(CoordinatorState, WalksFromDetachedThroughLoadedModifiedProgrammedAndBack) {
    CoordinatorHarness h;
    CCoordinator& c = h.coordinator;
    c.SetView(&h.view);
    auto state = [&c] {
        return std::string(c.IsAttached() ? "A" : "-") + (c.IsLoaded() ? "L" : "-") +
               (c.IsModified() ? "M" : "-") + (c.IsProgrammed() ? "P" : "-");
    };
    ASSERT_EQ(c.Attach(h.response, false), rc::kOk);
    EXPECT_EQ(state(), "A---");
    EXPECT_EQ(c.GetModel(), -1);
    ASSERT_EQ(c.Read(h.response, false), rc::kOk);
    EXPECT_EQ(state(), "AL--");
    EXPECT_EQ(h.view.calls, (std::vector<std::string>{"State", "Values *", "State"}));
    EXPECT_EQ(c.GetModel(), 5);
    ASSERT_EQ(c.Settings().SetText(pid::kOwner, "Harbour crane 4"), rc::kOk);
    EXPECT_EQ(state(), "ALM-");
    ASSERT_EQ(c.Program(h.response), rc::kOk);
    EXPECT_EQ(state(), "AL-P");
    ASSERT_EQ(c.Undo(), rc::kOk);  // programmed: nothing to undo
    EXPECT_EQ(state(), "AL-P");
    EXPECT_EQ(h.Text(pid::kOwner), "Harbour crane 4");
    ASSERT_EQ(c.Read(h.response, false), rc::kOk);
    EXPECT_EQ(state(), "AL--");
    EXPECT_EQ(h.Text(pid::kOwner), "Harbour crane 4");
    h.view.calls.clear();
    EXPECT_EQ(c.Detach(h.response, false), rc::kOk);
    EXPECT_EQ(state(), "----");
    EXPECT_EQ(c.Session().GetLink(), nullptr);
    EXPECT_EQ(c.Settings().Image(), nullptr);
    EXPECT_EQ(h.view.calls, std::vector<std::string>{"State"});
}

// Settings that fail their checksum twice: the window asks (Cancel fails the read with 73 and
// loads nothing); without a window they load and the caller is told (tests/data).
TEST(CoordinatorRead, DamagedSettingsAreOfferedToTheOperator) {
    const std::pair<bool, MsgAnswer> cases[] = {
        {true, MsgAnswer::Continue}, {true, MsgAnswer::Cancel}, {false, MsgAnswer::Cancel}};
    std::string outcomes;
    for (const auto& [interactive, answer] : cases) {
        CoordinatorHarness h;
        h.modem.damagedReadAddress = 0x150;
        h.ui.ScriptAnswers({answer});
        ASSERT_EQ(h.coordinator.Attach(h.response, false), rc::kOk);
        const int result = h.coordinator.Read(h.response, interactive);
        outcomes +=
            Format("## interactive %d: %d, damaged %d, loaded %d, at %s\n", interactive, result,
                   h.coordinator.Session().IsChecksumMismatch(), h.coordinator.IsLoaded(),
                   h.coordinator.Session().GetDiagnosticLocation().c_str()) +
            Transcript(h.ui) + Answers(h.ui) + "\n";
    }
    EXPECT_TRUE(MatchesGolden("damaged_settings_read.txt", outcomes));
}

// Twice in a row is the main window's test.
TEST(CoordinatorDemo, StartsWithoutAPortAndNotWhileAModemIsAttached) {
    CoordinatorHarness h;
    EXPECT_EQ(h.coordinator.StartDemo(), rc::kOk);
    EXPECT_TRUE(h.coordinator.IsLoaded());
    EXPECT_EQ(h.coordinator.Session().GetLink(), nullptr);
    EXPECT_EQ(h.coordinator.Session().GetModem()->GetPortNumber(), 99);
    CoordinatorHarness real;
    ASSERT_EQ(real.coordinator.Attach(real.response, false), rc::kOk);
    EXPECT_EQ(real.coordinator.StartDemo(), rc::kAlreadyDemo);
    EXPECT_EQ(real.coordinator.Session().GetModem()->GetPortNumber(), 3);
}

// After an upgrade the settings of the modem last upgraded (serial number and revision in the
// preferences) are adjusted once to the new revision's layout and programmed.
TEST(CoordinatorFixUp, AdjustsTheSettingsOnceAndClearsThePreferences) {
    const int extension = 0x100 + 246;  // modem address of the first extension byte
    const std::vector<uint8_t> before = {0x11, 0x22, 0x33, 0x44, 0x05, 0x12, 0x34, 0x56, 0x78};
    const struct {
        const char* name;
        int modemRevision;  // hundredths
        const char* lastRevision;
        bool sameSerial;
        std::vector<uint8_t> after;  // extension bytes afterwards ({}: unchanged, not programmed)
    } cases[] = {
        // clang-format off
        // ModemEnable (bit 7 of 0x8005) and DataSecurityCode (0x8006..9) take their defaults.
        {"security fields appear at 1.04", 104, "1.00", true,
         {0x11, 0x22, 0x33, 0x44, 0x85, 0x00, 0x00, 0x00, 0x00}},
        // The extension window moves down: every byte comes from one address further on.
        {"back from 2.10 to 1.50", 150, "2.10", true,
         {0x22, 0x33, 0x44, 0x05, 0x12, 0x34, 0x56, 0x78, 0x00}},
        // Up: the last main byte (the checksum, 0x2C) moves in, ModemEnable is zeroed and then
        // takes its default.
        {"up from 1.50 to 2.20", 220, "1.50", true,
         {0x2C, 0x11, 0x22, 0x33, 0x80, 0x05, 0x12, 0x34, 0x56}},
        {"another modem is left alone", 104, "1.00", false, {}},
        {"the same revision is left alone", 220, "2.20", true, {}},
        {"no stored revision is left alone", 220, "", true, {}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CoordinatorHarness h(0xD2, c.modemRevision);
        for (size_t i = 0; i < before.size(); ++i) h.modem.memory[extension + i] = before[i];
        h.prefs.SetInt(kPrefLastSerialNumber, c.sameSerial ? 1427259 : 1234);
        h.prefs.SetText(kPrefLastFWRev, c.lastRevision);
        EXPECT_EQ(h.coordinator.FirmwareFixUp(h.response), rc::kOk);
        EXPECT_EQ(h.prefs.GetText(kPrefLastFWRev, "x"), c.lastRevision) << "nothing loaded yet";
        ASSERT_EQ(h.Load(), rc::kOk);

        EXPECT_EQ(h.coordinator.FirmwareFixUp(h.response), rc::kOk);
        EXPECT_EQ(h.modem.Count(0x1E), c.after.empty() ? 0 : 1);
        EXPECT_FALSE(h.coordinator.IsModified());
        EXPECT_EQ(std::vector<uint8_t>(h.modem.memory.begin() + extension,
                                       h.modem.memory.begin() + extension + 9),
                  c.after.empty() ? before : c.after);
        EXPECT_EQ(h.prefs.GetInt(kPrefLastSerialNumber, 7), -1);
        EXPECT_EQ(h.prefs.GetText(kPrefLastFWRev, "x"), "");
    }
}

}  // namespace
}  // namespace vxl::test
