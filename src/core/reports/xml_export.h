// The XML export of a loaded modem's settings: one element per line, the channel table last,
// CR LF line ends. Values are escaped so that the document is always well-formed XML 1.0, also
// for texts read from a modem that hold any byte.
#pragma once

#include <ctime>
#include <string>

class ModemParameterSet;

namespace vxl {

// `text` with '&', '<' and '>' replaced by their entity references, and what XML 1.0 cannot
// carry in a form it can: control characters other than tab, LF and CR as the control pictures
// U+2400..U+241F, bytes that are not UTF-8 as the Latin-1 characters of the same value, U+FFFE
// and U+FFFF as U+FFFD. Everything else is kept byte for byte.
std::string EscapeXml(const std::string& text);

// The local date and time as the export writes it: "%b %d, %Y  %H:%M:%S", English month
// names in any locale.
std::string FormatExportDate(std::time_t when);

// The whole document for the settings in `parameters` of a modem of type `modemType`;
// `stationId` and `date` are the contents of the station-id and date elements.
std::string BuildXmlDocument(ModemParameterSet& parameters, int modemType,
                             const std::string& stationId, const std::string& date);

// The file the export of `name` writes: `name` exactly as given, with ".xml" appended.
std::string XmlFileName(const std::string& name);

}  // namespace vxl
