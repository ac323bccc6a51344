// The working settings' channel-table files and XML export.
#include "coordinator/working_settings.h"
#include "params/channel_plan_csv.h"
#include "params/channel_table_file.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "reports/xml_export.h"
#include "util/clock.h"
#include "util/format.h"
#include "util/output_file.h"
#include "util/result_codes.h"

namespace vxl {

int WorkingSettings::ImportChannelTable(const std::string& path, std::string* problem) {
    if (parameters_ == nullptr) return rc::kOk;
    ChannelTableRecord record;
    std::string why;
    int result = ReadChannelTableRecord(path, record, why);
    if (result == rc::kOk) {
        const uint32_t serial = ChannelTableSerial(record);
        int modemSerial = 0;
        result = parameters_->GetInt(pid::kSerialNumber, modemSerial);
        if (result == rc::kOk && serial != 0 && serial != static_cast<uint32_t>(modemSerial)) {
            why = Format("it is for the modem with serial number %08u; this one has %08d", serial,
                         modemSerial);
            result = rc::kSerialMismatch;
        }
    }
    if (result == rc::kOk) {
        // A field without a frequency leaves its channel as it is; every other one is checked as
        // a typed frequency is, so a file for another band or one damaged in a way its checksum
        // missed changes nothing.
        ChannelPlan plan, file;
        TakeChannelPlan(plan);
        ChannelTableFrequencies(record, file.rx, file.tx);
        for (int k = 0; k < pid::kChannelCount; ++k) {
            if (file.rx[k] != 0.0) plan.rx[k] = file.rx[k];
            if (file.tx[k] != 0.0) plan.tx[k] = file.tx[k];
        }
        result = ApplyChannelPlan(plan, &why);
        if (result == rc::kChannelPlanRefused) result = rc::kChannelTableRefused;
    }
    if (problem != nullptr) *problem = why;
    return result;
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
