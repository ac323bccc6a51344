// The channel-table and channel-plan commands and the Frequencies and Factory pages' messages,
// without a window:
// the export dialog's rules, the questions and boxes each outcome shows, what the pages are told,
// on the demo modem through the recording operator.
#include <gtest/gtest.h>

#include <fstream>

#include "coordinator/coordinator_harness.h"
#include "params/parameter_ids.h"
#include "support/golden.h"
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
        {"9807", "mine.upg", "mine.upg"},                // a typed name stays
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
    EXPECT_EQ(ExportSerialNumber(""), 0u);
}

// Export writes the table; a cancelled dialog does nothing; a file the command cannot write or
// read, or another modem's file, shows its box naming the file and why.
TEST_F(ChannelCommands, ExportWritesTheTableImportTakesItBackAndFailuresShowTheirBoxes) {
    const std::string path = h.dir.File("site.upg");
    folder = h.dir.path();
    ASSERT_EQ(ExportChannelTableCommand(h.coordinator, Dialog(path, "1427259"), folder), rc::kOk);
    EXPECT_EQ(dialogStart, h.dir.path());
    EXPECT_EQ(ExportChannelTableCommand(h.coordinator, Dialog(path, "", true), folder), rc::kOk);
    EXPECT_NE(ExportChannelTableCommand(h.coordinator, Dialog("/nonexistent/x.upg", "0"), folder),
              rc::kOk);

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

    ASSERT_EQ(ExportChannelTableCommand(h.coordinator, Dialog(path, "98071234"), folder), rc::kOk);
    h.ui.ScriptFiles({path});
    EXPECT_EQ(ImportChannelTableCommand(h.coordinator, &view, folder), rc::kSerialMismatch);
    std::ofstream(h.dir.File("damaged.upg")) << "short";
    h.ui.ScriptFiles({h.dir.File("damaged.upg")});
    EXPECT_NE(ImportChannelTableCommand(h.coordinator, &view, folder), rc::kOk);
    EXPECT_EQ(view.marked.size(), 1u);
    EXPECT_TRUE(MatchesGolden("window/channel_table_export_import.txt",
                              WithoutFolder(Transcript(h.ui), h.dir.path())));
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
    EXPECT_FALSE(h.coordinator.IsModified());
    EXPECT_EQ(folder, h.dir.path());
    EXPECT_EQ(ExportChannelCsvCommand(h.coordinator, folder), rc::kOk);
    EXPECT_EQ(h.ui.fileDialogs[1].startDir, h.dir.File("channels-01427259.csv"));
    EXPECT_EQ(ImportChannelCsvCommand(h.coordinator, &view, folder), rc::kOk);
    EXPECT_EQ(view.marked, std::vector<int>{static_cast<int>(SheetPage::Frequencies)});
    EXPECT_TRUE(MatchesGolden("window/channel_plan_import_export.txt",
                              WithoutFolder(Transcript(h.ui), h.dir.path())));
}

// Clear Channels asks first and says what must follow; the channel in use cannot be cleared
// (the grid gets its frequency back), another one can; a band without factory channels is
// explained.
TEST_F(ChannelCommands, ClearingChannelsAndSettingFactoryFrequenciesSayWhatMustFollow) {
    ASSERT_EQ(h.Int(pid::kCurrentChannel), 0);
    const double before = h.Real(pid::TxChannelId(0)), channel0 = h.Real(pid::RxChannelId(0));
    EXPECT_EQ(EditChannelFrequency(h.coordinator, pid::TxChannelId(0), 0.0),
              rc::kZeroCurrentChannel);
    EXPECT_EQ(h.Real(pid::TxChannelId(0)), before);
    EXPECT_EQ(EditChannelFrequency(h.coordinator, pid::RxChannelId(1), 0.0), rc::kOk);
    EXPECT_EQ(h.Real(pid::RxChannelId(1)), 0.0);
    // The grid shows the channel as it is, and the Radio Link page's list without the cleared one.
    EXPECT_EQ(view.calls,
              (std::vector<std::string>{"Values " + std::to_string(pid::TxChannelId(0)),
                                        "Values " + std::to_string(pid::RxChannelId(1)) + " 40"}));

    EXPECT_EQ(SetFactoryFrequenciesCommand(h.coordinator), rc::kOk);
    ASSERT_EQ(h.coordinator.Settings().WriteByte(0x0A, 0xDB), rc::kOk);  // model 5, band 11
    EXPECT_EQ(SetFactoryFrequenciesCommand(h.coordinator), rc::kBadModelRow);

    h.ui.ScriptAnswers({MsgAnswer::No});
    EXPECT_EQ(ClearChannelTableCommand(h.coordinator, &view), rc::kOk);
    EXPECT_EQ(h.Real(pid::RxChannelId(0)), channel0);
    EXPECT_TRUE(view.marked.empty());
    EXPECT_EQ(ClearChannelTableCommand(h.coordinator, &view), rc::kOk);
    EXPECT_EQ(h.Real(pid::RxChannelId(0)), 0.0);
    EXPECT_EQ(view.marked, std::vector<int>{static_cast<int>(SheetPage::Frequencies)});
    EXPECT_FALSE(h.coordinator.MayProgram());  // no current channel until one is chosen
    EXPECT_TRUE(MatchesGolden("window/channel_clear_and_factory.txt",
                              Transcript(h.ui) + Answers(h.ui) + "\n"));
}

// A byte the owner cannot hold: the page is shown the byte as it is, then why.
TEST_F(ChannelCommands, AMemoryByteATextFieldCannotHoldIsRefusedByName) {
    EXPECT_EQ(EditMemoryByte(h.coordinator, 0x6B, 0x01), rc::kInvalidDefinition);
    ASSERT_EQ(Captions(h.ui), std::vector<std::string>{"Error Changing Memory"});
    EXPECT_EQ(view.calls, std::vector<std::string>{"Values"});
    EXPECT_FALSE(h.coordinator.IsModified());
    EXPECT_EQ(EditMemoryByte(h.coordinator, 0x6B, 'Q'), rc::kOk);
    EXPECT_EQ(h.ui.messages.size(), 1u);
}

}  // namespace
}  // namespace vxl::test
