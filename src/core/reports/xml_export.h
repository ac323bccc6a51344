// The XML export of a loaded modem's settings: one element per line, the channel table last,
// CR LF line ends. Values are escaped so that the document is always well-formed XML.
#pragma once

#include <ctime>
#include <string>

class ModemParameterSet;

namespace vxl {

// `text` with '&', '<' and '>' replaced by their entity references.
std::string EscapeXml(const std::string& text);

// The local date and time as the export writes it: "%b %d, %Y  %H:%M:%S", English month
// names in any locale.
std::string FormatExportDate(std::time_t when);

// The whole document for the settings in `parameters` of a modem of type `modemType`;
// `stationId` and `date` are the contents of the station-id and date elements.
std::string BuildXmlDocument(ModemParameterSet& parameters, int modemType,
                             const std::string& stationId, const std::string& date);

// Creates or truncates `path` and writes `document`. Returns 0 or the file error code
// (901..914) of the failed create or write.
int WriteXmlFile(const std::string& path, const std::string& document);

}  // namespace vxl
