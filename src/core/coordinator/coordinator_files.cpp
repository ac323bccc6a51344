// Channel-table files and the XML export of the loaded settings.
#include "coordinator/coordinator.h"
#include "modem/modem_base.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "reports/xml_export.h"
#include "util/clock.h"
#include "util/output_file.h"
#include "util/result_codes.h"

namespace pid = vxl::pid;
namespace rc = vxl::rc;

int CCoordinator::ImportChannelTable(const std::string& path, std::string* problem) {
    if (parameters_ == nullptr) return rc::kOk;
    int result = parameters_->ReadChannelTableFile(path, problem);
    if (result != rc::kOk) return result;
    RefreshPages();
    UpdateDialog();
    return rc::kOk;
}

int CCoordinator::ExportChannelTable(const std::string& path, uint32_t serialNumber,
                                     std::string* problem) {
    // Without loaded settings there is no table to write; saying it was written would be false.
    if (parameters_ == nullptr) return rc::kMissingArgument;
    double rx[vxl::kGridChannels] = {};
    double tx[vxl::kGridChannels] = {};
    if (view_ != nullptr) {
        view_->GetGridFrequencies(rx, tx);
    } else {
        for (int k = 0; k < vxl::kGridChannels; ++k) {
            rx[k] = RealOf(pid::RxChannelId(k));
            tx[k] = RealOf(pid::TxChannelId(k));
        }
    }
    return parameters_->WriteChannelTableFile(path, serialNumber, rx, tx, problem);
}

int CCoordinator::ClearChannelTable() {
    if (parameters_ == nullptr) {
        if (view_ != nullptr) view_->ClearGridFrequencies();
        return rc::kMissingArgument;
    }
    int result = parameters_->ClearChannelTable();
    if (result != rc::kOk) return result;
    result = RefreshPages();
    UpdateDialog();
    return result;
}

int CCoordinator::ExportXmlParameters(const std::string& name, std::string* problem) {
    if (parameters_ == nullptr || modem_ == nullptr) return rc::kMissingArgument;
    const std::string document =
        vxl::BuildXmlDocument(*parameters_, modem_->GetModemType(), name,
                              vxl::FormatExportDate(vxl::GetClock().WallSeconds()));
    const vxl::FileResult written = vxl::WriteFileAtomically(vxl::XmlFileName(name), document);
    if (problem != nullptr) *problem = written.reason;
    return written.code;
}
