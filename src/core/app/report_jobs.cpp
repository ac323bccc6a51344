#include "app/report_jobs.h"

#include <cstdint>
#include <vector>

#include "coordinator/coordinator.h"
#include "params/modem_parameter_set.h"
#include "reports/memory_map_listing.h"
#include "util/clock.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

ReportHeading Heading(const VersionTexts& version, const std::string& title) {
    ReportHeading heading;
    heading.title = title;
    heading.date = FormatReportDate(GetClock().WallSeconds());
    heading.company = version.companyName;
    heading.legalNotice = version.legalNotice;
    return heading;
}

// "<stem>-<serial number>.pdf", or "<stem>.pdf" when the serial number cannot be read.
std::string SuggestedName(ModemParameterSet& parameters, const char* stem) {
    std::string serial;
    if (parameters.GetText(pid::kSerialNumber, serial) != rc::kOk || serial.empty())
        return std::string(stem) + ".pdf";
    return std::string(stem) + "-" + serial + ".pdf";
}

}  // namespace

int MakeConfigurationReportJob(CCoordinator& coordinator, const VersionTexts& version,
                               ReportJob& job, const std::string& level) {
    ModemParameterSet* parameters = coordinator.Settings().Parameters();
    if (parameters == nullptr) return rc::kMissingArgument;
    const int modemType = parameters->GetModemType();
    const ReportHeading heading =
        Heading(version, ConfigurationReportTitle(version.productName, level, version.versionText));
    job.documentName = kConfigurationReportName;
    job.suggestedFileName = SuggestedName(*parameters, "vxl-report");
    job.layout = [parameters, modemType, heading](double pageLines) {
        return BuildConfigurationReport(*parameters, modemType, heading, pageLines);
    };
    return rc::kOk;
}

int MakeMemoryMapJob(CCoordinator& coordinator, const VersionTexts& version, ReportJob& job) {
    ModemParameterSet* parameters = coordinator.Settings().Parameters();
    ModemMemoryImage* image = coordinator.Settings().Image();
    if (parameters == nullptr || image == nullptr) return rc::kMissingArgument;
    // The listing shows what the Memory Map page shows: the main block from its first address.
    const int start = image->GetBaseAddress();
    std::vector<uint8_t> bytes(static_cast<size_t>(image->GetMainSize()));
    if (!bytes.empty()) {
        const int result = image->ReadBytes(start, static_cast<int>(bytes.size()), bytes.data());
        if (result != rc::kOk) return result;
    }
    const ReportHeading heading = Heading(version, MemoryMapTitle(version.versionText));
    job.documentName = kMemoryMapName;
    job.suggestedFileName = SuggestedName(*parameters, "vxl-memory-map");
    job.layout = [start, bytes, heading](double pageLines) {
        return BuildMemoryMapListing(start, bytes, heading, pageLines);
    };
    return rc::kOk;
}

}  // namespace vxl
