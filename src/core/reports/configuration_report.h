// The configuration report: identification, radio link, serial interface and channel table of
// a loaded modem, one setting per line with its value ending in column 50.
#pragma once

#include <string>

#include "reports/report_document.h"

class ModemParameterSet;

namespace vxl {

constexpr const char* kConfigurationReportName = "KTRCONF Configuration Report";
// The level a report names when the program offers no other.
constexpr const char* kEndUserLevel = "End User";

// "<program> (<level>) <version>": the left part of the report's first title line.
std::string ConfigurationReportTitle(const std::string& programTitle, const std::string& level,
                                     const std::string& versionText);

// The report's pages for the settings in `parameters` of a modem of type `modemType`, on pages
// `pageLines` line heights high. Reads the parameters only.
ReportDocument BuildConfigurationReport(ModemParameterSet& parameters, int modemType,
                                        const ReportHeading& heading, double pageLines);

// The channel table's row for channel `index`: number, transmit and receive frequency with
// equal gaps; empty when the channel has neither frequency.
std::string ChannelRow(int index, const std::string& tx, const std::string& rx);

}  // namespace vxl
