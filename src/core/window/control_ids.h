// Ids of the page controls that the window's behaviour refers to (the buttons it answers, the
// controls it hides); the pages' tables name the others where they list them.
#pragma once

namespace vxl::control {

// Radio Link page.
constexpr int kManualSelection = 1084;
constexpr int kAutoBaseSelection = 1085;
constexpr int kAutoRoverSelection = 1086;
constexpr int kRoverAutoOff = 1022;
constexpr int kImportChannelTable = 1101;  // also on the Frequencies page
constexpr int kImportChannelCsv = 1103;    // also on the Frequencies page

// Serial Interface page.
constexpr int kDataSecurityCode = 1111;
constexpr int kDataSecurityCodeLabel = 1112;

// Frequencies page.
constexpr int kExportChannelTable = 1099;
constexpr int kClearChannelTable = 1102;
constexpr int kExportChannelCsv = 1104;

// Memory Map page.
constexpr int kPrintMemoryMap = 1037;

// Factory page.
constexpr int kSetFactoryFrequencies = 1097;
constexpr int kClearUserFields = 1098;
constexpr int kFactoryTestSettings = 1099;

}  // namespace vxl::control
