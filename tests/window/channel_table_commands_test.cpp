// The channel-table and channel-plan commands and the Frequencies and Factory pages' messages,
// without a window:
// the export dialog's rules, the questions and boxes each outcome shows, what the pages are told,
// on the demo modem through the recording operator.
#include <gtest/gtest.h>

#include <fstream>

#include "coordinator/coordinator_harness.h"
#include "params/parameter_ids.h"
#include "util/path_text.h"
#include "window/channel_plan_commands.h"
#include "window/channel_table_commands.h"
#include "window/level_page_actions.h"
#include "window/main_dialog_model.h"

namespace vxl::test {
namespace {

class MarkingView : public RecordingView, public MainDialogView {
  public:
    void MarkPageChanged(SheetPage page) override { marked.push_back(static_cast<int>(page)); }
    void ClearPageMarks() override {}
    void ShowMemoryMapPage() override {}
    std::vector<int> marked;
};

class ChannelCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        h.coordinator.SetView(&view);
        ASSERT_EQ(h.coordinator.StartDemo(), rc::kOk);
        h.ui.messages.clear();
        view.calls.clear();
    }
    std::vector<std::string> Captions() const {
        std::vector<std::string> captions;
        for (const RecordedMessage& m : h.ui.messages) captions.push_back(m.caption);
        return captions;
    }
    // An export dialog that answers with `path` and `serial` (or is cancelled).
    ChannelTableExportDialog Dialog(const std::string& path, const std::string& serial,
                                    bool cancel = false) {
        return [=](const std::string& start, ChannelTableExportChoice& choice) {
            dialogStart = start;
            choice.path = path;
            choice.serialText = serial;
            return !cancel;
        };
    }

    CoordinatorHarness h;
    MarkingView view;
    std::string folder;
    std::string dialogStart;
};

TEST(ExportFileName, FollowsTheSerialNumberUntilTheOperatorTypesANameOfTheirOwn) {
    ExportFileNameRule rule;
    const struct {
        const char* serial;
        const char* field;
        const char* expected;
    } steps[] = {
        {"9", ExportFileNameRule::kStartName, "9.upg"},  // the wild card gives way
        {"98", "9.upg", "98.upg"},                       // the name it made follows
        {"", "98.upg", ".upg"},                          // down to nothing
        {"980", ".upg", "980.upg"},                      //
        {"9807", "mine.upg", "mine.upg"},                // a typed name stays
        {"98071", "mine.upg", "mine.upg"},
    };
    for (const auto& step : steps)
        EXPECT_EQ(rule.NameFor(step.serial, step.field), step.expected) << step.serial;
    ExportFileNameRule fresh;
    EXPECT_EQ(fresh.NameFor("1", "table.upg"), "table.upg");
    // A pattern is not a file name: Export waits for one.
    for (const char* name : {"*.upg", "site?.upg"})
        EXPECT_TRUE(ExportFileNameRule::IsPattern(name));
    EXPECT_FALSE(ExportFileNameRule::IsPattern("site.upg"));
}

TEST(ExportSerial, AFormLessNumberIsExportedOnlyAfterTheOperatorAgrees) {
    RecordingOperator ui;
    ScopedUi scope(ui);
    EXPECT_TRUE(AcceptExportSerialNumber("98071234"));
    EXPECT_TRUE(ui.messages.empty());
    ui.ScriptAnswers({MsgAnswer::No, MsgAnswer::Yes});
    EXPECT_FALSE(AcceptExportSerialNumber("12345"));
    EXPECT_TRUE(AcceptExportSerialNumber(""));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].caption, "Invalid Serial Number");
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_NE(ui.messages[0].text.find("YYWWxxxx"), std::string::npos);
    EXPECT_EQ(ExportSerialNumber("98071234"), 98071234u);
    EXPECT_EQ(ExportSerialNumber(""), 0u);
    EXPECT_EQ(FolderOf("/srv/tables/a.upg"), "/srv/tables");
    EXPECT_EQ(FolderOf("/a.upg"), "/");
    EXPECT_EQ(FolderOf("a.upg"), "");
}

TEST_F(ChannelCommands, ExportWritesTheTableImportTakesItBackAndFailuresShowTheirBoxes) {
    const std::string path = h.dir.File("site.upg");
    folder = h.dir.path();
    ASSERT_EQ(ExportChannelTableCommand(h.coordinator, Dialog(path, "1427259"), folder), rc::kOk);
    EXPECT_EQ(dialogStart, h.dir.path());
    ASSERT_EQ(Captions(), std::vector<std::string>{"Channel Table Export Complete"});
    EXPECT_EQ(h.ui.messages[0].text, "Channel table written to " + path);

    // Cancelled: nothing at all.
    EXPECT_EQ(ExportChannelTableCommand(h.coordinator, Dialog(path, "", true), folder), rc::kOk);
    EXPECT_EQ(h.ui.messages.size(), 1u);

    // A folder that does not exist: the export error box names the file and why.
    EXPECT_NE(ExportChannelTableCommand(h.coordinator, Dialog("/nonexistent/x.upg", "0"), folder),
              rc::kOk);
    EXPECT_EQ(Captions().back(), "Channel table export failed");
    EXPECT_EQ(h.ui.messages.back().text,
              "The path is invalid.\n\n/nonexistent/x.upg: the folder /nonexistent does not exist");

    // The file is bound to this modem's serial number: it imports here and marks the page. A
    // cancelled dialog changes nothing, not even the folder.
    h.ui.ScriptFiles({"", path});
    folder.clear();
    EXPECT_EQ(ImportChannelTableCommand(h.coordinator, &view, folder), rc::kOk);
    EXPECT_TRUE(view.marked.empty());
    EXPECT_EQ(folder, "");
    EXPECT_EQ(ImportChannelTableCommand(h.coordinator, &view, folder), rc::kOk);
    EXPECT_EQ(view.marked, std::vector<int>{static_cast<int>(SheetPage::Frequencies)});
    EXPECT_EQ(folder, h.dir.path());

    // Another modem's file: refused with the mismatch text.
    ASSERT_EQ(ExportChannelTableCommand(h.coordinator, Dialog(path, "98071234"), folder), rc::kOk);
    h.ui.ScriptFiles({path});
    EXPECT_EQ(ImportChannelTableCommand(h.coordinator, &view, folder), rc::kSerialMismatch);
    EXPECT_EQ(Captions().back(), "Channel table import failed");
    EXPECT_EQ(h.ui.messages.back().text.rfind("The serial number in this file does not match", 0),
              0u);

    // A damaged file: the box says which file and what is wrong with it.
    const std::string damaged = h.dir.File("damaged.upg");
    std::ofstream(damaged) << "short";
    h.ui.ScriptFiles({damaged});
    const int refused = ImportChannelTableCommand(h.coordinator, &view, folder);
    EXPECT_NE(refused, rc::kOk);
    EXPECT_EQ(h.ui.messages.back().text.rfind(
                  ErrorBoxMessage(refused, "") + "\n\n" + damaged + ": holds 5 bytes", 0),
              0u)
        << h.ui.messages.back().text;
    EXPECT_EQ(Captions().back(), "Channel table import failed");
    EXPECT_EQ(view.marked.size(), 1u);
    ASSERT_EQ(h.ui.fileDialogs.size(), 4u);
    EXPECT_EQ(h.ui.fileDialogs[1].startDir, "") << "a cancelled dialog keeps the folder";
    EXPECT_EQ(h.ui.fileDialogs[3].startDir, h.dir.path());
}

// Import CSV names the refused row in the error box and changes nothing; Export as CSV suggests
// a name with the serial number and says where it wrote the plan.
TEST_F(ChannelCommands, ChannelPlansGoThroughTheirFileDialogsAndNameARefusedRow) {
    const std::string plan = h.dir.File("plan.csv");
    const std::string bad = h.dir.Write("bad.csv", "Channel;RX MHz;TX MHz\n0;455,0000;455.0000\n");
    h.ui.ScriptFiles({bad, plan, plan});
    EXPECT_EQ(ImportChannelCsvCommand(h.coordinator, &view, folder), rc::kChannelPlanRefused);
    EXPECT_EQ(Captions(), std::vector<std::string>{"Channel table import failed"});
    EXPECT_EQ(h.ui.messages[0].text,
              "The channel plan cannot be imported; nothing was changed.\n\n" + bad +
                  ": row 2: \"455,0000\" has a decimal comma; write frequencies with a decimal "
                  "point");
    EXPECT_FALSE(h.coordinator.IsModified());
    EXPECT_EQ(folder, h.dir.path());

    EXPECT_EQ(ExportChannelCsvCommand(h.coordinator, folder), rc::kOk);
    EXPECT_EQ(h.ui.fileDialogs[1].startDir, h.dir.File("channels-01427259.csv"));
    EXPECT_EQ(h.ui.messages.back().text, "Channel plan written to " + plan);
    EXPECT_EQ(ImportChannelCsvCommand(h.coordinator, &view, folder), rc::kOk);
    EXPECT_EQ(view.marked, std::vector<int>{static_cast<int>(SheetPage::Frequencies)});
    EXPECT_EQ(h.ui.messages.size(), 2u) << "an import that went well says nothing";
}

TEST_F(ChannelCommands, ClearAsksFirstAndThenSaysWhatMustFollow) {
    const double channel0 = h.Real(pid::RxChannelId(0));
    ASSERT_GT(channel0, 0.0);
    h.ui.ScriptAnswers({MsgAnswer::No});
    EXPECT_EQ(ClearChannelTableCommand(h.coordinator, &view), rc::kOk);
    EXPECT_EQ(h.Real(pid::RxChannelId(0)), channel0);
    EXPECT_TRUE(view.marked.empty());

    EXPECT_EQ(ClearChannelTableCommand(h.coordinator, &view), rc::kOk);
    EXPECT_EQ(h.Real(pid::RxChannelId(0)), 0.0);
    EXPECT_EQ(view.marked, std::vector<int>{static_cast<int>(SheetPage::Frequencies)});
    ASSERT_EQ(Captions(), std::vector<std::string>(3, "Clear Channels"));
    EXPECT_EQ(h.ui.messages[1].text, "Clear the channel table?");
    EXPECT_EQ(h.ui.messages[1].buttons, MsgButtons::YesNo);
    EXPECT_EQ(h.ui.messages[2].text.rfind("Channel table has been cleared.\n\nNote:", 0), 0u);
    EXPECT_FALSE(h.coordinator.MayProgram());  // no current channel until one is chosen
}

TEST_F(ChannelCommands, TheChannelInUseCannotBeClearedAnotherOneCan) {
    const int current = h.Int(pid::kCurrentChannel);
    ASSERT_GE(current, 0);
    const double before = h.Real(pid::TxChannelId(current));
    EXPECT_EQ(EditChannelFrequency(h.coordinator, pid::TxChannelId(current), 0.0),
              rc::kZeroCurrentChannel);
    ASSERT_EQ(Captions(), std::vector<std::string>{"Error Changing Channel Frequencies"});
    EXPECT_EQ(h.ui.messages[0].text,
              "This channel cannot be cleared while it is the channel in use.");
    EXPECT_EQ(h.Real(pid::TxChannelId(current)), before);
    // The old frequency goes back into the grid.
    EXPECT_EQ(view.calls,
              std::vector<std::string>{"Values " + std::to_string(pid::TxChannelId(current))});

    const int other = current == 0 ? 1 : 0;
    view.calls.clear();
    EXPECT_EQ(EditChannelFrequency(h.coordinator, pid::RxChannelId(other), 0.0), rc::kOk);
    EXPECT_EQ(h.Real(pid::RxChannelId(other)), 0.0);
    // The grid shows the channel empty, and the Radio Link page's channel list without it.
    EXPECT_EQ(view.calls, std::vector<std::string>{
                              "Values " + std::to_string(pid::RxChannelId(other)) + " 40"});
    EXPECT_EQ(h.ui.messages.size(), 1u);
}

TEST_F(ChannelCommands, SetFactoryFrequenciesExplainsABandWithoutFactoryChannels) {
    EXPECT_EQ(SetFactoryFrequenciesCommand(h.coordinator), rc::kOk);
    EXPECT_TRUE(h.ui.messages.empty());
    ASSERT_EQ(h.coordinator.Settings().WriteByte(0x0A, 0xDB), rc::kOk);  // model 5, band 11
    EXPECT_EQ(SetFactoryFrequenciesCommand(h.coordinator), rc::kBadModelRow);
    ASSERT_EQ(Captions(), std::vector<std::string>{"Set Factory Frequencies"});
    EXPECT_EQ(h.ui.messages[0].text.rfind("Cannot set factory frequencies for this modem.", 0), 0u);
    EXPECT_EQ(h.ui.messages[0].icon, MsgIcon::Exclamation);
}

// A byte the owner cannot hold: the page is shown the byte as it is, then why.
TEST_F(ChannelCommands, AMemoryByteATextFieldCannotHoldIsRefusedByName) {
    EXPECT_EQ(EditMemoryByte(h.coordinator, 0x6B, 0x01), rc::kInvalidDefinition);
    ASSERT_EQ(Captions(), std::vector<std::string>{"Error Changing Memory"});
    EXPECT_EQ(h.ui.messages[0].text.rfind("0x01 cannot be stored at 0x016B: that byte belongs to "
                                          "the owner",
                                          0),
              0u);
    EXPECT_EQ(view.calls, std::vector<std::string>{"Values"});
    EXPECT_FALSE(h.coordinator.IsModified());
    EXPECT_EQ(EditMemoryByte(h.coordinator, 0x6B, 'Q'), rc::kOk);
    EXPECT_EQ(h.ui.messages.size(), 1u);
}

}  // namespace
}  // namespace vxl::test
