#include "params/channel_plan_csv.h"

#include <charconv>
#include <vector>

#include "util/format.h"
#include "util/input_file.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

constexpr std::size_t kMaxFileBytes = 64 * 1024;
constexpr const char* kHeaderCells[] = {"Channel", "RX MHz", "TX MHz"};

// The cells of one line, split at `separator` outside double quotes ("" is a quote inside
// quotes), each trimmed of blanks.
std::vector<std::string> Cells(const std::string& line, char separator) {
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') {
            cells.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == separator && !quoted) {
            cells.emplace_back();
        } else {
            cells.back() += c;
        }
    }
    for (std::string& cell : cells) cell = Trim(cell);
    // Spreadsheets pad short rows with empty cells.
    while (cells.size() > 1 && cells.back().empty()) cells.pop_back();
    return cells;
}

bool AllEmpty(const std::vector<std::string>& cells) {
    for (const std::string& cell : cells)
        if (!cell.empty()) return false;
    return true;
}

// A cell as the message quotes it: printable, and short.
std::string Quoted(const std::string& cell) {
    std::string shown;
    for (unsigned char c : cell.substr(0, 24)) shown += c >= 0x20 && c < 0x7F ? char(c) : '?';
    return "\"" + shown + (cell.size() > 24 ? "...\"" : "\"");
}

bool IsDigits(const std::string& text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// A frequency cell: empty or a number with a decimal point ("459.85", "459", "0"). `why` says
// what is wrong otherwise.
bool ParseFrequency(const std::string& cell, double& mhz, std::string& why) {
    mhz = 0.0;
    if (cell.empty()) return true;
    const size_t point = cell.find('.');
    const std::string whole = cell.substr(0, point);
    const std::string fraction = point == std::string::npos ? "0" : cell.substr(point + 1);
    if ((IsDigits(whole) || (whole.empty() && !fraction.empty())) &&
        (IsDigits(fraction) || fraction.empty())) {
        const char* end = cell.data() + cell.size();
        if (std::from_chars(cell.data(), end, mhz).ptr == end) return true;
    }
    if (cell.find(',') != std::string::npos)
        why = Quoted(cell) + " has a decimal comma; write frequencies with a decimal point";
    else
        why = Quoted(cell) + " is not a frequency in MHz (such as 459.8500)";
    return false;
}

}  // namespace

std::string FormatChannelPlanCsv(const ChannelPlan& plan) {
    auto cell = [](double mhz) { return mhz == 0.0 ? std::string() : Format("%.4f", mhz); };
    std::string text = std::string(kChannelPlanHeader) + "\r\n";
    for (int k = 0; k < pid::kChannelCount; ++k)
        text += Format("%d,", k) + cell(plan.rx[k]) + "," + cell(plan.tx[k]) + "\r\n";
    return text;
}

int ParseChannelPlanCsv(const std::string& text, ChannelPlan& plan, std::string& problem) {
    plan = ChannelPlan();
    auto refuse = [&problem](int row, const std::string& why) {
        problem = row > 0 ? Format("row %d: %s", row, why.c_str()) : why;
        return rc::kChannelPlanRefused;
    };
    if (text.find('\0') != std::string::npos) return refuse(0, "it is not a text file");
    size_t at = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    char separator = 0;
    int row = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        ++row;
        if (separator == 0) {
            // The header tells the separator: a semicolon where the locale's decimal comma
            // takes the comma.
            separator = line.find(';') != std::string::npos ? ';' : ',';
            const std::vector<std::string> cells = Cells(line, separator);
            bool header = cells.size() == 3;
            for (size_t i = 0; header && i < 3; ++i)
                header = EqualsNoCase(cells[i], kHeaderCells[i]);
            if (!header)
                return refuse(
                    row, std::string("the first row must be the header ") + kChannelPlanHeader);
            continue;
        }
        const std::vector<std::string> cells = Cells(line, separator);
        if (AllEmpty(cells)) continue;
        if (cells.size() > 3) {
            if (separator == ',')
                return refuse(row,
                              "more than three cells; if the frequencies have a decimal comma, "
                              "write them with a decimal point");
            return refuse(row, "more than three cells (Channel, RX MHz, TX MHz)");
        }
        if (!IsDigits(cells[0]) || cells[0].size() > 2 || std::stoi(cells[0]) >= pid::kChannelCount)
            return refuse(row, Quoted(cells[0]) + " is not a channel number from 0 to 15");
        const int k = std::stoi(cells[0]);
        if (plan.row[k] != 0)
            return refuse(row,
                          Format("channel %d is listed twice (also in row %d)", k, plan.row[k]));
        std::string why;
        if (!ParseFrequency(cells.size() > 1 ? cells[1] : "", plan.rx[k], why) ||
            !ParseFrequency(cells.size() > 2 ? cells[2] : "", plan.tx[k], why))
            return refuse(row, why);
        plan.row[k] = row;
    }
    if (separator == 0) return refuse(0, "the file is empty");
    for (int k = 0; k < pid::kChannelCount; ++k)
        if (plan.row[k] == 0)
            return refuse(0, Format("channel %d is missing: list all 16 channels, with empty "
                                    "cells for a channel not in use",
                                    k));
    return rc::kOk;
}

int ReadChannelPlanFile(const std::string& path, ChannelPlan& plan, std::string& problem) {
    std::string text;
    if (const int code = ReadInputFile(path, kMaxFileBytes, text, problem)) return code;
    return ParseChannelPlanCsv(text, plan, problem);
}

}  // namespace vxl
