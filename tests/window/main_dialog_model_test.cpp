// The main window's behaviour without a window: every workflow with its questions, messages and
// retry loops, the title, the enabling pass with its default-button handoff and the menu, driven
// against a fake modem through the recording operator. What the operator is shown is kept in
// transcripts under tests/data/window/.
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

#include "coordinator/coordinator_harness.h"
#include "link/port_table.h"
#include "params/model_tables.h"
#include "params/parameter_ids.h"
#include "support/fake_serial_link.h"
#include "support/golden.h"
#include "util/format.h"
#include "window/control_ids.h"
#include "window/main_dialog_model.h"

namespace vxl::test {
namespace {

class WindowView : public RecordingView, public MainDialogView {
  public:
    void MarkPageChanged(SheetPage page) override { marked.push_back(static_cast<int>(page)); }
    void ClearPageMarks() override { calls.push_back("ClearPageMarks"); }
    void ShowMemoryMapPage() override { ++memoryMapShown; }

    std::vector<int> marked;
    int memoryMapShown = 0;
};

// A model byte of the older family: a row of its model table.
uint8_t QmxRow() {
    for (int row = 1; row < kQmxModelRows; ++row)
        if (std::string(QmxModel(row).name).rfind("QMX", 0) == 0) return static_cast<uint8_t>(row);
    return 0;
}

struct Dialog {
    explicit Dialog(uint8_t modelByte = 0xD2, int revision = 220, bool keepOpen = false)
        : h(modelByte, revision) {
        h.coordinator.SetView(&view);
        Open(keepOpen);
    }
    // A model of its own, as a window opened now makes it.
    void Open(bool keepOpen = false) {
        model.reset();
        model = std::make_unique<MainDialogModel>(
            h.coordinator, MainDialogSettings{keepOpen, "Norvale Corporation", "Build 69",
                                              "/opt/vxl/vxlconf.ini", "Norvale Corporation"});
        model->SetView(&view);
    }
    int Reads() const {
        int reads = 0;
        for (const auto& p : h.ui.progress) reads += p->title == "Reading Modem" ? 1 : 0;
        return reads;
    }
    // The modem's device goes away while the first `reads` reads run.
    void LoseDeviceWhileReading(int reads) {
        h.ui.onOpenProgress = [this, reads, count = 0](const std::string& title) mutable {
            if (title != "Reading Modem") return;
            h.lastLink->lostError = count++ < reads ? ENODEV : 0;
        };
    }
    // A step of a transcript: what the operator was shown since the last one and answered,
    // then `state`.
    void Note(std::string& log, const std::string& step, const std::string& state) {
        log += "## " + step + "\n" + Transcript(h.ui);
        if (!h.ui.messages.empty()) log += "answered " + Answers(h.ui) + "\n";
        log += "-> " + state + "\n";
        h.ui.messages.clear();
    }
    std::string State() const {
        return Format("loaded %d, attached %d, modified %d, resets %d, writes %d",
                      h.coordinator.IsLoaded(), h.coordinator.IsAttached(),
                      h.coordinator.IsModified(), h.modem.Count(0x1D), h.modem.Count(0x1E));
    }

    CoordinatorHarness h;
    WindowView view;
    std::unique_ptr<MainDialogModel> model;
};

TEST(MainDialogLoad, EachOutcomeShowsItsMessagesAndLeavesTheModemAsItSays) {
    const struct {
        const char* name;
        uint8_t modelByte;
        int revision;
        std::function<void(Dialog&)> setUp;
        std::vector<MsgAnswer> answers;
    } cases[] = {
        // clang-format off
        {"a VXL modem loads", 0xD2, 220, [](Dialog&) {}, {}},
        {"no port configured", 0xD2, 220, [](Dialog& d) { d.h.coordinator.Init(0, 1); }, {}},
        {"nothing answers the capture", 0xD2, 220,
         [](Dialog& d) { d.h.modem.answersEscape = false; }, {}},
        // The box says which device and what to do, as a headless run does.
        {"the port is busy", 0xD2, 220,
         [](Dialog& d) {
             d.h.openError = EBUSY;
             PortTable::Instance().BuildFrom({{3, "/dev/ttyFAKE", ""}}, {});
         }, {}},
        {"the operator cancels the power-on capture: nothing to report", 0xD2, 220,
         [](Dialog& d) {
             d.h.coordinator.Init(3, 3);
             d.h.ui.CancelAfterChecks(2);
         }, {}},
        // A model byte of 0 also names a model this program does not keep.
        {"model ID missing: told, read, released", 0x00, 220, [](Dialog&) {}, {}},
        {"reading stops: the load ends", 0xD2, 220,
         [](Dialog& d) { d.h.modem.faultAddress = 0x150; }, {}},
        {"a failed read retried succeeds", 0xD2, 220, [](Dialog& d) { d.LoseDeviceWhileReading(1); },
         {MsgAnswer::Retry}},
        {"a failed read cancelled releases the modem", 0xD2, 220,
         [](Dialog& d) { d.LoseDeviceWhileReading(5); }, {MsgAnswer::Retry, MsgAnswer::Cancel}},
        {"another model of the family is released", 0x92, 220, [](Dialog&) {}, {}},
        // The older family has no definitions of its own; that is no lost connection.
        {"an older-family modem is released", QmxRow(), 341, [](Dialog&) {}, {}},
        // clang-format on
    };
    std::string log;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Dialog d(c.modelByte, c.revision);
        c.setUp(d);
        for (MsgAnswer a : c.answers) d.h.ui.ScriptAnswers({a});
        d.model->Load();
        d.Note(log, c.name, d.State() + Format(", reads %d", d.Reads()));
        EXPECT_EQ(d.h.coordinator.IsAttached(), d.h.coordinator.IsLoaded());
        EXPECT_EQ(d.model->Menu().upgradeEnabled, d.h.coordinator.IsLoaded());
        EXPECT_EQ(d.h.ui.waitCursorDepth, 0);
        EXPECT_FALSE(d.model->Busy());
    }
    EXPECT_TRUE(MatchesGolden("window/main_dialog_load.txt", log));
}

TEST(MainDialogLoad, ReloadsOnlyAfterAProgramWithNothingChanged) {
    Dialog d;
    d.model->Load();
    d.model->Load();
    EXPECT_EQ(d.Reads(), 1) << "loaded, not programmed: Load does nothing";
    d.h.coordinator.Settings().SetText(pid::kOwner, "Pier 9");
    d.model->Program();
    d.model->Load();
    EXPECT_EQ(d.Reads(), 2);
    EXPECT_EQ(d.h.linksOpened, 1) << "a reload reads without a new capture";
}

// Program asks first; a write the modem does not answer is retried or cancelled (its read-back
// meets the same silent byte); a byte the modem keeps wrong fails the verification; a Program
// that holds clears the page marks.
TEST(MainDialogProgram, AsksFirstRetriesABrokenWriteAndClearsThePageMarks) {
    Dialog d;
    std::string log;
    d.model->Program();
    d.Note(log, "nothing to program", d.State());
    d.model->Load();
    d.h.coordinator.Settings().SetText(pid::kOwner, "Pier 9");
    d.h.ui.ScriptAnswers({MsgAnswer::No});
    d.model->Program();
    d.Note(log, "not confirmed", d.State());

    d.h.modem.faultAddress = 0x16D;  // writes of this byte get no answer
    d.h.ui.ScriptAnswers({MsgAnswer::Yes, MsgAnswer::Retry, MsgAnswer::Cancel});
    d.model->Program();
    d.Note(log, "a silent byte, retried, cancelled", d.State());
    EXPECT_FALSE(d.view.Saw("ClearPageMarks"));

    d.h.modem.faultAddress = -1;
    d.h.modem.wrongStoreAddress = 0x16B;
    d.h.ui.ScriptAnswers({MsgAnswer::Yes, MsgAnswer::Cancel});
    d.model->Program();
    d.Note(log, "a byte kept wrong", d.State());
    EXPECT_FALSE(d.view.Saw("ClearPageMarks"));

    d.h.modem.wrongStoreAddress = -1;
    d.model->Program();
    d.Note(log, "programmed", d.State());
    EXPECT_TRUE(d.view.Saw("ClearPageMarks"));
    EXPECT_TRUE(MatchesGolden("window/main_dialog_program.txt", log));
}

// Close and Exit ask about changes not programmed; Exit resets the modem even with keepopen.
TEST(MainDialogCloseAndExit, AskAboutUnprogrammedChangesAndExitAlwaysResets) {
    std::string log;
    for (bool keepOpen : {false, true}) {
        Dialog d(0xD2, 220, keepOpen);
        const std::string kept = keepOpen ? "keepopen: " : "";
        d.model->Load();
        d.h.coordinator.Settings().SetText(pid::kOwner, "Pier 9");
        d.h.ui.ScriptAnswers({MsgAnswer::No, MsgAnswer::No});
        d.model->Close();
        EXPECT_FALSE(d.model->Exit());
        d.Note(log, kept + "Close and Exit answered No", d.State());
        d.model->Close();
        d.Note(log, kept + "Close answered Yes", d.State());
        EXPECT_TRUE(d.model->Menu().selectPortEnabled && !d.model->Menu().upgradeEnabled);
        d.model->Load();
        EXPECT_TRUE(d.model->Exit());
        d.Note(log, kept + "Exit with nothing changed", d.State());
    }
    EXPECT_TRUE(MatchesGolden("window/main_dialog_close_exit.txt", log));
}

TEST(MainDialogEnabling, FollowsTheStateAndHandsTheDefaultButtonOn) {
    Dialog d;
    auto pass = [&d] {
        ButtonState s = d.model->UpdatePass();
        std::string flags = std::string(s.undoChanges ? "U" : "-") + (s.program ? "P" : "-") +
                            (s.load ? "L" : "-") + (s.close ? "C" : "-") + (s.print ? "R" : "-") +
                            (s.factoryDefaults ? "F" : "-");
        return flags + " " + std::to_string(static_cast<int>(s.makeDefault)) +
               (s.focusDefault ? "*" : "");
    };
    EXPECT_EQ(pass(), "--L--- 1008*");
    EXPECT_EQ(pass(), "--L--- 0");
    d.model->Load();
    EXPECT_EQ(pass(), "---CRF 1009*");
    d.h.coordinator.Settings().SetText(pid::kOwner, "Pier 9");
    EXPECT_EQ(pass(), "UP-CRF 1003");
    EXPECT_EQ(pass(), "UP-CRF 0");
    d.h.coordinator.Settings().WriteByte(0x8E, 20);  // CurrentChannel
    EXPECT_EQ(pass(), "U--CRF 0") << "a channel outside the table is never programmed";
    d.model->UndoChanges();
    EXPECT_EQ(pass(), "---CRF 1009*");
    d.h.coordinator.Settings().SetText(pid::kOwner, "Pier 9");
    pass();
    d.model->Program();
    EXPECT_EQ(pass(), "--LCRF 1009*");
    d.model->Close();
    EXPECT_EQ(pass(), "--L--- 1008*");
    d.h.coordinator.Init(-1, 1);
    EXPECT_EQ(pass(), "------ 0");

    Dialog missing(0x00);  // a modem without its model ID is never programmed
    EXPECT_EQ(missing.h.Load(), rc::kOk);
    missing.h.coordinator.Settings().SetText(pid::kOwner, "Pier 9");
    EXPECT_TRUE(missing.h.coordinator.IsModified());
    EXPECT_FALSE(missing.model->UpdatePass().program);
}

// Alt+D twice, Factory Defaults, Undo Changes, Print without and with a printer, Ctrl+F6 and the
// Memory Map page's Print.
TEST(MainDialogCommands, DemoDefaultsUndoPrintAndMemoryMap) {
    Dialog d;
    d.model->StartDemo();
    EXPECT_TRUE(d.h.coordinator.IsLoaded());
    d.model->StartDemo();
    d.model->FactoryDefaults();
    EXPECT_EQ(d.view.marked, (std::vector<int>{1, 2}));
    d.view.calls.clear();
    d.model->UndoChanges();
    EXPECT_EQ(d.view.calls.front(), "ClearPageMarks");

    d.model->Print();
    int printed = 0;
    d.model->SetConfigurationReportPrinter([&printed] { ++printed; });
    d.model->Print();
    EXPECT_EQ(printed, 1);
    EXPECT_EQ(d.model->UpdatePass().makeDefault, DialogButton::Close);

    d.model->ShowMemoryMap();
    EXPECT_EQ(d.view.memoryMapShown, 1);
    d.model->PageButton(SheetPage::MemoryMap, control::kPrintMemoryMap);
    d.model->SetMemoryMapPrinter([&printed] { ++printed; });
    d.model->PageButton(SheetPage::MemoryMap, control::kPrintMemoryMap);
    EXPECT_EQ(printed, 2);
    EXPECT_TRUE(MatchesGolden("window/main_dialog_commands.txt", Transcript(d.h.ui)));
}

// The pages' buttons reach their commands; a button of another page with the same id does not.
TEST(MainDialogCommands, PageButtonsReachTheirCommands) {
    Dialog d;
    d.model->StartDemo();
    int exports = 0;
    d.model->SetChannelTableExportDialog([&exports](const std::string&, ChannelTableExportChoice&) {
        ++exports;
        return false;
    });
    d.h.coordinator.Settings().SetText(pid::kOwner, "Pier 9");
    d.h.coordinator.Settings().SetText(pid::kCallSign, "KD7XYZ");
    d.model->PageButton(SheetPage::RadioLink, control::kClearUserFields);
    d.model->PageButton(SheetPage::Frequencies, control::kFactoryTestSettings);
    EXPECT_EQ(exports, 1) << "1099 on the Frequencies page is the export";
    EXPECT_EQ(d.h.Text(pid::kOwner), "Pier 9");
    d.model->PageButton(SheetPage::Factory, control::kClearUserFields);
    EXPECT_EQ(d.h.Text(pid::kOwner) + d.h.Text(pid::kCallSign), "");
    d.h.ui.ScriptAnswers({MsgAnswer::No});
    d.model->PageButton(SheetPage::Frequencies, control::kClearChannelTable);
    d.model->PageButton(SheetPage::RadioLink, control::kImportChannelTable);
    EXPECT_EQ(Captions(d.h.ui), std::vector<std::string>{"Clear Channels"});
    ASSERT_EQ(d.h.ui.fileDialogs.size(), 1u);
    EXPECT_EQ(d.h.ui.fileDialogs[0].title, "Import Channel Table From File");
    EXPECT_FALSE(d.model->Busy());
}

TEST(MainDialogMenu, CommandsActOnlyWhenTheyApply) {
    Dialog d;
    int chosen = 0, upgrades = 0, abouts = 0;
    d.model->SetPortChooser([&chosen](bool firstRun) {
        ++chosen;
        return firstRun ? 4 : 6;
    });
    d.model->SetFirmwareUpgrade([&upgrades, &d] {
        ++upgrades;
        d.h.coordinator.Detach(d.h.response, false);  // as a successful upgrade does
        FirmwareUpgradeOutcome outcome;
        outcome.loadBecomesDefault = true;
        return outcome;
    });
    d.model->SetAbout([&abouts] { ++abouts; });

    d.model->FirstRunPortMessage();
    EXPECT_EQ(chosen, 0) << "a port is configured";
    d.model->MenuCommand(menu::kSoftBreak + 3);  // the low four bits do not matter
    EXPECT_EQ(d.h.coordinator.Session().GetCaptureMethod(), 1);
    EXPECT_EQ(d.model->Menu().checkedCaptureCommand, menu::kSoftBreak);
    d.model->MenuCommand(menu::kPowerOnCapture);
    EXPECT_EQ(d.h.prefs.GetInt(kPrefCaptureMethod, -1), 3);
    EXPECT_EQ(d.model->Menu().checkedCaptureCommand, menu::kPowerOnCapture);

    d.model->MenuCommand(menu::kUpgradeFirmware);
    EXPECT_EQ(upgrades, 0) << "no modem attached";
    d.model->MenuCommand(menu::kSelectPort);
    EXPECT_EQ(d.h.coordinator.Session().GetPort(), 6);
    EXPECT_EQ(d.h.prefs.GetInt(kPrefComPortNum, -1), 6);
    d.model->MenuCommand(menu::kAbout);
    EXPECT_EQ(abouts, 1);

    d.h.coordinator.Init(3, 1);
    d.model->Load();
    EXPECT_TRUE(d.model->RefreshMenu().upgradeEnabled);
    EXPECT_FALSE(d.model->Menu().selectPortEnabled);
    d.model->UpdatePass();
    d.model->MenuCommand(menu::kUpgradeFirmware);
    EXPECT_EQ(upgrades, 1);
    EXPECT_TRUE(d.model->Menu().selectPortEnabled);
    EXPECT_EQ(d.model->UpdatePass().makeDefault, DialogButton::Load);
}

TEST(MainDialogDevice, ADeviceGoneWhileIdleIsReportedOnceAndTheModemReleased) {
    Dialog d;
    EXPECT_FALSE(d.model->CheckDevice()) << "no modem";
    d.model->StartDemo();
    EXPECT_FALSE(d.model->CheckDevice()) << "the demo modem has no device";
    d.model->Exit();
    d.model->Load();
    d.model->UpdatePass();
    EXPECT_FALSE(d.model->CheckDevice());
    d.h.coordinator.Settings().SetText(pid::kOwner, "Pier 9");
    d.h.lastLink->lostError = ENODEV;
    const int resets = d.h.modem.Count(0x1D);
    d.view.calls.clear();
    d.h.ui.messages.clear();
    EXPECT_TRUE(d.model->CheckDevice());
    EXPECT_FALSE(d.model->CheckDevice()) << "reported once";
    EXPECT_TRUE(MatchesGolden("window/main_dialog_device_lost.txt", Transcript(d.h.ui)));
    EXPECT_FALSE(d.h.coordinator.IsAttached());
    EXPECT_EQ(d.h.modem.Count(0x1D), resets) << "nothing is sent to a device that is gone";
    EXPECT_EQ(d.view.calls.back(), "State");
    EXPECT_EQ(d.model->UpdatePass().makeDefault, DialogButton::Load);
    EXPECT_TRUE(d.model->Menu().selectPortEnabled && !d.model->Menu().upgradeEnabled);
}

}  // namespace
}  // namespace vxl::test
