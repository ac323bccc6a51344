#include "window/channel_plan_commands.h"

#include "coordinator/coordinator.h"
#include "ui/operator.h"
#include "util/format.h"
#include "util/path_text.h"
#include "util/result_codes.h"
#include "window/channel_table_commands.h"
#include "window/main_dialog_model.h"

namespace vxl {

namespace {

constexpr const char* kCsvFilter = "Channel plans (*.csv);;All files (*)";

void ShowFailure(int action, int code, const std::string& path, const std::string& problem) {
    std::string text = ErrorText(code);
    if (!problem.empty()) text += "\n\n" + path + ": " + problem;
    Ui().MessageBox(text, ErrorBoxCaption(action), MsgIcon::Stop, MsgButtons::Ok);
}

}  // namespace

int ImportChannelCsvCommand(CCoordinator& coordinator, MainDialogView* view, std::string& folder) {
    if (!coordinator.IsLoaded()) return rc::kOk;
    std::string path;
    if (!Ui().ChooseOpenFile("Import Channel Plan From CSV File", kCsvFilter, folder, path))
        return rc::kOk;
    RememberFolderOf(path, folder);
    std::string problem;
    const int result = coordinator.Settings().ImportChannelCsv(path, &problem);
    if (result != rc::kOk) {
        ShowFailure(rc::kImportFailed, result, path, problem);
    } else if (view != nullptr) {
        view->MarkPageChanged(SheetPage::Frequencies);
    }
    return result;
}

int ExportChannelCsvCommand(CCoordinator& coordinator, std::string& folder) {
    if (!coordinator.IsLoaded()) return rc::kOk;
    std::string path;
    const std::string name = "channels-" + coordinator.Settings().SerialNumberText() + ".csv";
    if (!Ui().ChooseSaveFile("Export Channel Plan as CSV", kCsvFilter,
                             folder.empty() ? name : folder + "/" + name, path))
        return rc::kOk;
    RememberFolderOf(path, folder);
    std::string problem;
    const int result = coordinator.Settings().ExportChannelCsv(path, &problem);
    if (result != rc::kOk) {
        ShowFailure(rc::kExportFailed, result, path, problem);
        return result;
    }
    Ui().MessageBox(Format("Channel plan written to %s", path.c_str()),
                    "Channel Plan Export Complete", MsgIcon::None, MsgButtons::Ok);
    return rc::kOk;
}

}  // namespace vxl
