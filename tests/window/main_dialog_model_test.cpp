// The main window's behaviour without a window: every workflow with its questions, messages and
// retry loops, the title, the enabling pass with its default-button handoff and the menu, driven
// against a fake modem through the recording operator.
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

#include "coordinator/coordinator_harness.h"
#include "link/port_table.h"
#include "params/model_tables.h"
#include "params/parameter_ids.h"
#include "support/fake_serial_link.h"
#include "window/control_ids.h"
#include "window/main_dialog_model.h"
#include "window/update_rules.h"

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
        MainDialogSettings settings;
        settings.keepOpen = keepOpen;
        settings.vendorName = "Norvale Corporation";
        settings.companyName = "Norvale Corporation";
        settings.buildText = "Build 69";
        settings.installIniPath = "/opt/vxl/vxlconf.ini";
        model = std::make_unique<MainDialogModel>(h.coordinator, settings);
        model->SetView(&view);
    }
    std::vector<std::string> Captions() const {
        std::vector<std::string> captions;
        for (const RecordedMessage& m : h.ui.messages) captions.push_back(m.caption);
        return captions;
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
            auto* link = h.lastLink;
            link->lostError = count++ < reads ? ENODEV : 0;
        };
    }

    CoordinatorHarness h;
    WindowView view;
    std::unique_ptr<MainDialogModel> model;
};

TEST(MainDialogTitle, NamesAVendorOtherThanTheMakerAndAppendsBuildAndPathOnce) {
    const struct {
        const char* vendor;
        const char* title;
    } cases[] = {
        {"Norvale Corporation", "VXL Configuration Program - End User"},
        {"Acme Radio", "VXL Configuration Program for Acme Radio - End User"},
        {"", "VXL Configuration Program - End User"},
    };
    for (const auto& c : cases) {
        CoordinatorHarness h;
        MainDialogModel model(h.coordinator, {false, c.vendor, "Build 69", "/opt/vxlconf.ini",
                                              "Norvale Corporation"});
        EXPECT_EQ(model.Title(), c.title);
        model.AppendBuildText();
        model.AppendBuildText();
        model.AppendIniPath();
        model.AppendIniPath();
        EXPECT_EQ(model.Title(), std::string(c.title) + " (Build 69)     /opt/vxlconf.ini");
    }
}

TEST(MainDialogLoad, EachOutcomeShowsItsMessagesAndLeavesTheModemAsItSays) {
    const struct {
        const char* name;
        uint8_t modelByte;
        int revision;
        std::function<void(Dialog&)> setUp;
        std::vector<MsgAnswer> answers;
        std::vector<std::string> captions;
        const char* firstText;  // prefix of the first message
        bool loaded;
        int reads;
    } cases[] = {
        // clang-format off
        {"a VXL modem loads", 0xD2, 220, [](Dialog&) {}, {}, {}, "", true, 1},
        {"no port configured", 0xD2, 220, [](Dialog& d) { d.h.coordinator.Init(0, 1); }, {}, {},
         "", false, 0},
        {"nothing answers the capture", 0xD2, 220,
         [](Dialog& d) { d.h.modem.answersEscape = false; }, {}, {"Attach Failed"},
         "No modem answered a soft break on serial port 3 at 9600, 38400, 19200 or 1200 baud.",
         false, 0},
        // The box says which device and what to do, as a headless run does.
        {"the port is busy", 0xD2, 220,
         [](Dialog& d) {
             d.h.openError = EBUSY;
             PortTable::Instance().BuildFrom({{3, "/dev/ttyFAKE", ""}}, {});
         },
         {}, {"Attach Failed"}, "/dev/ttyFAKE is in use by another program. Close it", false, 0},
        {"the operator cancels the power-on capture: nothing to report", 0xD2, 220,
         [](Dialog& d) {
             d.h.coordinator.Init(3, 3);
             d.h.ui.CancelAfterChecks(2);
         },
         {}, {}, "", false, 0},
        // A model byte of 0 also names a model this program does not keep.
        {"model ID missing: told, read, released", 0x00, 220, [](Dialog&) {}, {},
         {"Missing Modem Model ID", "Unsupported Modem"},
         "The model ID for this modem is missing or corrupt.", false, 1},
        {"reading stops: the load ends", 0xD2, 220,
         [](Dialog& d) { d.h.modem.faultAddress = 0x150; }, {}, {"Error Occured"},
         "Cannot Read Memory Map.", false, 1},
        {"a failed read retried succeeds", 0xD2, 220, [](Dialog& d) { d.LoseDeviceWhileReading(1); },
         {MsgAnswer::Retry}, {"Load Failed"},
         "Connection lost during load. Please check your connection and retry.\n\nDiagnostic "
         "Code: 19 at Coordinator:316", true, 2},
        {"a failed read cancelled releases the modem", 0xD2, 220,
         [](Dialog& d) { d.LoseDeviceWhileReading(5); }, {MsgAnswer::Retry, MsgAnswer::Cancel},
         {"Load Failed", "Load Failed"}, "Connection lost during load.", false, 2},
        {"another model of the family is released", 0x92, 220, [](Dialog&) {}, {},
         {"Unsupported Modem"}, "VXL Configuration Program does not support KTR Rover modems.",
         false, 1},
        // The older family has no definitions of its own; that is no lost connection.
        {"an older-family modem is released", QmxRow(), 341, [](Dialog&) {}, {},
         {"Unsupported Modem"}, "VXL Configuration Program does not support QMX modems.", false,
         1},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Dialog d(c.modelByte, c.revision);
        c.setUp(d);
        for (MsgAnswer a : c.answers) d.h.ui.ScriptAnswers({a});
        d.model->Load();
        EXPECT_EQ(d.Captions(), c.captions);
        if (!d.h.ui.messages.empty()) {
            EXPECT_EQ(d.h.ui.messages[0].text.rfind(c.firstText, 0), 0u) << d.h.ui.messages[0].text;
            EXPECT_EQ(d.h.ui.messages[0].icon, MsgIcon::Stop);
        }
        EXPECT_EQ(d.h.coordinator.IsLoaded(), c.loaded);
        EXPECT_EQ(d.h.coordinator.IsAttached(), c.loaded);
        EXPECT_EQ(d.Reads(), c.reads);
        EXPECT_EQ(d.h.ui.waitCursorDepth, 0);
        EXPECT_EQ(d.model->Menu().upgradeEnabled, c.loaded);
        EXPECT_FALSE(d.model->Busy());
    }
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

TEST(MainDialogProgram, AsksFirstRetriesABrokenWriteAndClearsThePageMarks) {
    Dialog d;
    d.model->Program();
    EXPECT_TRUE(d.h.ui.messages.empty()) << "nothing to program";
    d.model->Load();
    d.h.coordinator.Settings().SetText(pid::kOwner, "Pier 9");

    d.h.ui.ScriptAnswers({MsgAnswer::No});
    d.model->Program();
    EXPECT_EQ(d.h.modem.Count(0x1E), 0);

    d.h.modem.faultAddress = 0x16D;  // writes of this byte get no answer
    d.h.ui.ScriptAnswers({MsgAnswer::Yes, MsgAnswer::Retry, MsgAnswer::Cancel});
    d.view.calls.clear();
    d.model->Program();
    EXPECT_EQ(d.Captions(), (std::vector<std::string>{"Programming", "Programming",
                                                      "Connection Lost", "Connection Lost"}));
    // The read-back meets the same silent byte.
    EXPECT_EQ(d.h.ui.messages[2].text,
              "Modem connection broken during write. Please check your connection and retry.\n\n"
              "The settings could not be read back from the modem: whether it holds the new "
              "settings is unknown. Load it again to check.");
    EXPECT_EQ(d.h.ui.messages[2].buttons, MsgButtons::RetryCancel);
    EXPECT_TRUE(d.h.coordinator.IsModified());
    EXPECT_FALSE(d.view.Saw("ClearPageMarks"));

    // A byte the modem keeps wrong: the verification's finding is the message.
    d.h.modem.faultAddress = -1;
    d.h.modem.wrongStoreAddress = 0x16B;
    d.h.ui.ScriptAnswers({MsgAnswer::Yes, MsgAnswer::Cancel});
    d.model->Program();
    EXPECT_EQ(d.h.ui.messages.back().caption, "Verification Failed");
    EXPECT_EQ(d.h.ui.messages.back().text.rfind(
                  "Verification failed: 1 bytes differ, first at 0x016B\nThe modem does not hold "
                  "the new settings.",
                  0),
              0u)
        << d.h.ui.messages.back().text;
    EXPECT_TRUE(d.h.coordinator.IsModified());

    d.h.modem.wrongStoreAddress = -1;
    d.model->Program();
    EXPECT_FALSE(d.h.coordinator.IsModified());
    EXPECT_TRUE(d.view.Saw("ClearPageMarks"));
    EXPECT_EQ(d.h.modem.Count(0x1E), 2)
        << "the Program whose verification failed, and the one that held";
}

TEST(MainDialogCloseAndExit, AskAboutUnprogrammedChangesAndExitAlwaysResets) {
    for (bool keepOpen : {false, true}) {
        SCOPED_TRACE(keepOpen);
        Dialog d(0xD2, 220, keepOpen);
        d.model->Load();
        d.h.coordinator.Settings().SetText(pid::kOwner, "Pier 9");
        d.h.ui.ScriptAnswers({MsgAnswer::No, MsgAnswer::No});
        d.model->Close();
        EXPECT_FALSE(d.model->Exit());
        EXPECT_TRUE(d.h.coordinator.IsAttached());
        EXPECT_EQ(d.Captions(), (std::vector<std::string>{"Close Modem", "Exit?"}));

        d.model->Close();  // Yes
        EXPECT_FALSE(d.h.coordinator.IsAttached());
        EXPECT_EQ(d.h.modem.Count(0x1D), keepOpen ? 0 : 1);
        EXPECT_TRUE(d.model->Menu().selectPortEnabled);
        EXPECT_FALSE(d.model->Menu().upgradeEnabled);

        d.model->Load();
        EXPECT_TRUE(d.model->Exit()) << "nothing changed: no question";
        EXPECT_EQ(d.h.modem.Count(0x1D), keepOpen ? 1 : 2) << "Exit resets even with keepopen";
        EXPECT_EQ(d.h.ui.messages.size(), 3u);
    }
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
}

TEST(MainDialogEnabling, ProgramStaysDisabledForAModemWithoutItsModelId) {
    Dialog d(0x00);
    EXPECT_EQ(d.h.Load(), rc::kOk);
    d.h.coordinator.Settings().SetText(pid::kOwner, "Pier 9");
    EXPECT_TRUE(d.h.coordinator.IsModified());
    EXPECT_FALSE(d.model->UpdatePass().program);
}

TEST(MainDialogCommands, DemoDefaultsUndoPrintAndMemoryMap) {
    Dialog d;
    d.model->StartDemo();
    EXPECT_TRUE(d.h.coordinator.IsLoaded());
    d.model->StartDemo();
    ASSERT_EQ(d.Captions(), (std::vector<std::string>{"Demo Mode Failure"}));
    EXPECT_EQ(d.h.ui.messages[0].text, "Already in Demo Mode");

    d.model->FactoryDefaults();
    EXPECT_EQ(d.view.marked, (std::vector<int>{1, 2}));
    d.view.calls.clear();
    d.model->UndoChanges();
    EXPECT_EQ(d.view.calls.front(), "ClearPageMarks");

    d.model->Print();
    EXPECT_EQ(d.Captions().back(), "Print") << "no printer bound: the operator is told";
    int printed = 0;
    d.model->SetConfigurationReportPrinter([&printed] { ++printed; });
    d.model->Print();
    EXPECT_EQ(printed, 1);
    EXPECT_EQ(d.model->UpdatePass().makeDefault, DialogButton::Close);

    d.model->ShowMemoryMap();
    EXPECT_EQ(d.view.memoryMapShown, 1);
    d.model->PageButton(SheetPage::MemoryMap, control::kPrintMemoryMap);
    EXPECT_EQ(d.Captions().back(), "Print");
    EXPECT_EQ(d.h.ui.messages.back().text.rfind("Printing the memory map is not available", 0), 0u);
    d.model->SetMemoryMapPrinter([&printed] { ++printed; });
    d.model->PageButton(SheetPage::MemoryMap, control::kPrintMemoryMap);
    EXPECT_EQ(printed, 2);
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
    d.model->PageButton(SheetPage::RadioLink, control::kClearUserFields);
    d.model->PageButton(SheetPage::Frequencies, control::kFactoryTestSettings);
    EXPECT_EQ(exports, 1) << "1099 on the Frequencies page is the export";
    EXPECT_EQ(d.h.Text(pid::kOwner), "Pier 9");
    d.model->PageButton(SheetPage::Factory, control::kClearUserFields);
    EXPECT_EQ(d.h.Text(pid::kOwner), "");
    d.h.ui.ScriptAnswers({MsgAnswer::No});
    d.model->PageButton(SheetPage::Frequencies, control::kClearChannelTable);
    d.model->PageButton(SheetPage::RadioLink, control::kImportChannelTable);
    EXPECT_EQ(d.Captions(), std::vector<std::string>{"Clear Channels"});
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

    d.h.prefs.SetInt(kPrefComPortNum, -1);
    d.h.coordinator.Init(-1, 1);
    d.model->FirstRunPortMessage();
    EXPECT_EQ(d.h.coordinator.Session().GetPort(), 4);
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
    EXPECT_TRUE(d.model->CheckDevice());
    EXPECT_FALSE(d.model->CheckDevice()) << "reported once";
    ASSERT_EQ(d.Captions(), std::vector<std::string>{"Serial Device Lost"});
    EXPECT_EQ(d.h.ui.messages[0].text,
              "The serial device /dev/ttyFAKE (port 3) went away: No such device.\n\nThe modem "
              "was released; the changes that were not programmed could not be written to it. "
              "Plug the adapter in again or check its cable, then press Load. If the adapter "
              "comes back under another name, choose it with Modem > Select Serial Port.");
    EXPECT_FALSE(d.h.coordinator.IsAttached());
    EXPECT_EQ(d.h.modem.Count(0x1D), resets) << "nothing is sent to a device that is gone";
    EXPECT_EQ(d.view.calls.back(), "State");
    EXPECT_EQ(d.model->UpdatePass().makeDefault, DialogButton::Load);
    EXPECT_TRUE(d.model->Menu().selectPortEnabled && !d.model->Menu().upgradeEnabled);
}

TEST(UpdateRules, EnableAndClearFromLoadedAvailableAndEditable) {
    CoordinatorHarness h;
    ASSERT_EQ(h.coordinator.StartDemo(), rc::kOk);
    ModemParameterSet* set = h.Set();
    int unavailable = -1;
    for (int id = 0; id < pid::kParameterCount && unavailable < 0; ++id)
        if (set->Get(id) != nullptr && !set->IsAvailable(id)) unavailable = id;
    ASSERT_GE(unavailable, 0);
    const int owner = pid::kOwner;
    // Shown but never changed by the operator, and changeable although this modem lacks it.
    const int notEditable = pid::kModemID;
    const int editableOnly = pid::kChannelSelectType;
    ASSERT_TRUE(set->IsAvailable(notEditable) && !set->IsEditable(notEditable));
    ASSERT_TRUE(!set->IsAvailable(editableOnly) && set->IsEditable(editableOnly));
    const struct {
        UpdateRule rule;
        bool loaded;
        int id;
        bool enabled, clear;
    } cases[] = {
        {UpdateRule::None, false, owner, true, false},
        {UpdateRule::Plain, true, owner, true, false},
        {UpdateRule::Plain, false, owner, false, false},
        {UpdateRule::Available, true, owner, true, false},
        {UpdateRule::Available, true, unavailable, false, true},
        {UpdateRule::Editable, true, owner, true, false},
        {UpdateRule::Editable, true, unavailable, false, true},
        {UpdateRule::Label, true, unavailable, false, false},
        {UpdateRule::LabelOrNotLoaded, false, unavailable, true, false},
        {UpdateRule::LabelOrNotLoaded, true, unavailable, false, false},
        {UpdateRule::AvailableEditable, true, owner, true, false},
        {UpdateRule::AvailableEditable, true, notEditable, false, true},
        {UpdateRule::AvailableEditable, true, editableOnly, false, true},
        {UpdateRule::EditableOnly, true, editableOnly, true, true},
        {UpdateRule::EditableOnly, true, notEditable, false, true},
        {UpdateRule::EditableOnly, false, owner, false, false},
        {UpdateRule::EditableKept, true, editableOnly, true, false},
        {UpdateRule::EditableKept, true, notEditable, false, false},
        {UpdateRule::LabelEditable, true, owner, true, false},
        {UpdateRule::LabelEditable, true, editableOnly, false, false},
        {UpdateRule::LabelEditable, false, owner, false, false},
        {UpdateRule::Never, true, owner, false, false},
        {UpdateRule::SeveralChoices, true, owner, true, false},
        {UpdateRule::SeveralChoices, false, owner, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.rule));
        ControlEnabling e = EvaluateRule(c.rule, c.loaded, set, c.id);
        EXPECT_EQ(e.enabled, c.enabled);
        EXPECT_EQ(e.clear, c.clear);
    }
    EXPECT_FALSE(EvaluateRule(UpdateRule::Editable, true, nullptr, owner).enabled);
    // A radio button stands for one choice; the channel selection offers none of its choices.
    EXPECT_FALSE(EvaluateRule(UpdateRule::Choice, true, set, editableOnly, 0).enabled);
}

}  // namespace
}  // namespace vxl::test
