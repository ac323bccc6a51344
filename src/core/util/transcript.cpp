#include "util/transcript.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>

#include "util/format.h"

namespace vxl {

namespace {

struct Label {
    TranscriptDirection direction;
    const char* text;  // six characters wide
};
constexpr Label kLabels[] = {
    {TranscriptDirection::FromHost, "host> "},
    {TranscriptDirection::ToHost, "modem>"},
    {TranscriptDirection::Dropped, "lost> "},
};
constexpr const char* kEventMark = "--";

std::string Milliseconds(int64_t us) {
    return Format("%10lld.%03lld", static_cast<long long>(us / 1000),
                  static_cast<long long>(us % 1000));
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// "12.345" as microseconds; false for anything else.
bool ParseTime(const std::string& token, int64_t& us) {
    const size_t point = token.find('.');
    if (point == std::string::npos || point == 0 || token.size() - point != 4) return false;
    us = 0;
    for (size_t i = 0; i < token.size(); ++i) {
        if (i == point) continue;
        if (token[i] < '0' || token[i] > '9' || us > (INT64_MAX - 9) / 10) return false;
        us = us * 10 + (token[i] - '0');
    }
    return true;
}

}  // namespace

std::string TranscriptLegend(const std::string& writer) {
    return "# " + writer +
           " transcript: time in ms since start, direction, line rate, bytes in hex, bytes as "
           "text\n"
           "# host> = from the program to the modem, modem> = from the modem to the program, "
           "lost> = sent while the program had the line closed, -- = event\n";
}

std::string TranscriptField(const std::string& key, const std::string& value) {
    return "# " + key + ": " + value + "\n";
}

void TranscriptWriter::Flush() {
    if (pending_.empty()) return;
    std::string hex;
    std::string text;
    for (uint8_t b : pending_) {
        hex += Format("%02X ", b);
        text += (b >= 0x20 && b < 0x7F) ? static_cast<char>(b) : '.';
    }
    const char* label = "?";
    for (const Label& l : kLabels)
        if (l.direction == direction_) label = l.text;
    sink_(Format("%s  %s @%-5d  %-48s |%s|\n", Milliseconds(firstUs_).c_str(), label, baud_,
                 hex.c_str(), text.c_str()));
    pending_.clear();
}

void TranscriptWriter::Bytes(TranscriptDirection direction, const uint8_t* data, size_t length,
                             int baud, int64_t nowUs) {
    for (size_t i = 0; i < length; ++i) {
        const bool joins = !pending_.empty() && direction == direction_ && baud == baud_ &&
                           nowUs - lastUs_ <= kGroupGapUs && pending_.size() < kBytesPerLine;
        if (!joins) {
            Flush();
            direction_ = direction;
            baud_ = baud;
            firstUs_ = nowUs;
        }
        pending_.push_back(data[i]);
        lastUs_ = nowUs;
    }
}

void TranscriptWriter::Event(int64_t nowUs, const std::string& text) {
    Flush();
    sink_(Format("%s  %s      %s\n", Milliseconds(nowUs).c_str(), kEventMark, text.c_str()));
}

void TranscriptWriter::FlushIfIdle(int64_t nowUs) {
    if (!pending_.empty() && nowUs - lastUs_ > kGroupGapUs) Flush();
}

std::string Transcript::Field(const std::string& key) const {
    for (const auto& [name, value] : fields)
        if (name == key) return value;
    return std::string();
}

bool ParseTranscript(const std::string& text, Transcript& transcript, std::string& problem) {
    transcript = Transcript();
    std::istringstream in(text);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (Trim(line).empty()) continue;
        if (line[0] == '#') {
            const size_t colon = line.find(": ");
            const std::string key =
                colon == std::string::npos ? "" : Trim(line.substr(1, colon - 1));
            if (!key.empty() && key.find(' ') == std::string::npos)
                transcript.fields.emplace_back(key, line.substr(colon + 2));
            continue;
        }
        auto bad = [&problem, number](const char* why) {
            problem = Format("line %d: %s", number, why);
            return false;
        };
        std::istringstream words(line);
        std::string time, mark;
        TranscriptEntry entry;
        entry.line = number;
        if (!(words >> time >> mark) || !ParseTime(time, entry.us))
            return bad("not a line of a transcript (time, direction, bytes)");
        if (mark == kEventMark) {
            entry.isEvent = true;
            std::getline(words, entry.text);
            entry.text = Trim(entry.text);
            transcript.entries.push_back(std::move(entry));
            continue;
        }
        bool known = false;
        for (const Label& l : kLabels)
            if (mark == Trim(l.text)) {
                entry.direction = l.direction;
                known = true;
            }
        std::string rate;
        if (!known) return bad("the direction is not host>, modem>, lost> or --");
        if (!(words >> rate) || rate.size() < 2 || rate[0] != '@')
            return bad("the line rate (@9600) is missing");
        entry.baud = std::atoi(rate.c_str() + 1);
        for (std::string hex; words >> hex && hex[0] != '|';) {
            if (hex.size() != 2 || HexDigit(hex[0]) < 0 || HexDigit(hex[1]) < 0)
                return bad("a byte is not two hexadecimal digits");
            entry.bytes.push_back(static_cast<uint8_t>(HexDigit(hex[0]) * 16 + HexDigit(hex[1])));
        }
        if (entry.bytes.empty()) return bad("the line holds no bytes");
        transcript.entries.push_back(std::move(entry));
    }
    return true;
}

}  // namespace vxl
