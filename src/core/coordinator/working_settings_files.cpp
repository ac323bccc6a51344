// The working settings' channel-table files and XML export.
#include "coordinator/working_settings.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "reports/xml_export.h"
#include "util/clock.h"
#include "util/output_file.h"
#include "util/result_codes.h"

namespace vxl {

int WorkingSettings::ImportChannelTable(const std::string& path, std::string* problem) {
    if (parameters_ == nullptr) return rc::kOk;
    const int result = parameters_->ReadChannelTableFile(path, problem);
    if (result != rc::kOk) return result;
    return FinishBulk(rc::kOk);
}

int WorkingSettings::ExportChannelTable(const std::string& path, uint32_t serialNumber,
                                        std::string* problem) {
    // Without loaded settings there is no table to write; saying it was written would be false.
    if (parameters_ == nullptr) return rc::kMissingArgument;
    double rx[pid::kChannelCount] = {};
    double tx[pid::kChannelCount] = {};
    for (int k = 0; k < pid::kChannelCount; ++k) {
        parameters_->GetReal(pid::RxChannelId(k), rx[k]);
        parameters_->GetReal(pid::TxChannelId(k), tx[k]);
    }
    return parameters_->WriteChannelTableFile(path, serialNumber, rx, tx, problem);
}

int WorkingSettings::ClearChannelTable() {
    if (parameters_ == nullptr) return rc::kMissingArgument;
    const int result = parameters_->ClearChannelTable();
    if (result != rc::kOk) return result;
    return FinishBulk(rc::kOk);
}

int WorkingSettings::ExportXml(const std::string& name, std::string* problem) {
    if (parameters_ == nullptr) return rc::kMissingArgument;
    const std::string document = BuildXmlDocument(*parameters_, parameters_->GetModemType(), name,
                                                  FormatExportDate(GetClock().WallSeconds()));
    const FileResult written = WriteFileAtomically(XmlFileName(name), document);
    if (problem != nullptr) *problem = written.reason;
    return written.code;
}

}  // namespace vxl
