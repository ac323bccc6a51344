// Channel plans as CSV, the form in which spreadsheets keep frequency plans:
//
//   Channel,RX MHz,TX MHz
//   0,459.8500,459.8500
//   1,,                      <- a channel not in use: empty cells (or 0)
//   ...                         16 rows, channels 0 to 15 as the Frequencies page numbers them
//
// Written with commas, four decimals and CR LF line ends. Read as spreadsheet programs write it
// in different locales: comma or semicolon between the cells, a UTF-8 byte order mark, quoted
// cells, CR LF or LF; the decimal separator is always a point. This file is the format only:
// whether the frequencies suit a modem is checked where the plan is applied.
#pragma once

#include <string>

#include "params/parameter_ids.h"

namespace vxl {

struct ChannelPlan {
    // MHz; 0.0 for a channel not in use.
    double rx[pid::kChannelCount] = {};
    double tx[pid::kChannelCount] = {};
    // The spreadsheet row (the file's line, the header being row 1) of each channel, for
    // messages; 0 for a plan that was not read from a file.
    int row[pid::kChannelCount] = {};
};

// The header line, as written and as expected (letter case and blanks aside).
constexpr const char* kChannelPlanHeader = "Channel,RX MHz,TX MHz";

// The file's text: the header and the 16 channels.
std::string FormatChannelPlanCsv(const ChannelPlan& plan);

// Reads a plan from CSV text: 0, or rc::kChannelPlanRefused with the first mistake in `problem`
// ("row 5: ..."). Every channel must be listed once.
int ParseChannelPlanCsv(const std::string& text, ChannelPlan& plan, std::string& problem);

// Reads and parses the file at `path` (a regular file of at most 64 KiB): 0, a file error
// (901..914), rc::kTooManyBytes or rc::kChannelPlanRefused, with the reason in `problem`.
int ReadChannelPlanFile(const std::string& path, ChannelPlan& plan, std::string& problem);

}  // namespace vxl
