// The Import Channel Table command of the main window.
#include "app/main_dialog_model.h"
#include "coordinator/coordinator.h"
#include "ui/operator.h"
#include "util/result_codes.h"

namespace vxl {

namespace {
constexpr const char* kImportTitle = "Import Channel Table From File";
constexpr const char* kChannelTableFilter = "Channel Table Upgrades (*.upg);;All Files (*)";
}  // namespace

void MainDialogModel::ImportChannelTable() {
    std::string path;
    if (!Ui().ChooseOpenFile(kImportTitle, kChannelTableFilter, channelTableDir_, path)) return;
    std::string problem;
    const int result = coordinator_.ImportChannelTable(path, &problem);
    if (result == rc::kOk) {
        if (view_ != nullptr) view_->MarkPageChanged(CoordinatorPage::Frequencies);
    } else {
        std::string text = ErrorBoxMessage(result, std::string());
        if (!problem.empty()) text += "\n\n" + path + ": " + problem;
        Ui().MessageBox(text, ErrorBoxCaption(rc::kImportFailed), MsgIcon::Stop, MsgButtons::Ok);
    }
    // The next file dialog starts in the folder of this file.
    const std::string::size_type slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0) channelTableDir_ = path.substr(0, slash);
}

}  // namespace vxl
