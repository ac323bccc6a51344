// The two printed reports of a loaded modem, ready for a renderer: the configuration report and
// the memory-map listing, with this program's title block and the current date.
#pragma once

#include <string>

#include "app/version.h"
#include "reports/configuration_report.h"
#include "reports/report_document.h"

class CCoordinator;

namespace vxl {

// The configuration report of the coordinator's loaded modem at `level` ("End User" unless the
// program runs at another level). 0, or 57 when no modem is loaded.
int MakeConfigurationReportJob(CCoordinator& coordinator, const VersionTexts& version,
                               ReportJob& job, const std::string& level = kEndUserLevel);

// The memory-map listing of the coordinator's working image (with the edits not yet
// programmed). 0, or 57 when no modem is loaded.
int MakeMemoryMapJob(CCoordinator& coordinator, const VersionTexts& version, ReportJob& job);

}  // namespace vxl
