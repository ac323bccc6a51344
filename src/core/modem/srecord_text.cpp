#include "modem/srecord_text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "util/format.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

// Image addresses whose bytes the scan collects from the S1 records.
constexpr int kRevisionHigh = 0x8402;
constexpr int kRevisionLow = 0x8403;
constexpr int kVectorHigh = 0xFFFE;
constexpr int kVectorLow = 0xFFFF;
constexpr int kWatched[] = {kRevisionHigh, kRevisionLow, kVectorHigh, kVectorLow};
constexpr int kWatchedCount = sizeof(kWatched) / sizeof(kWatched[0]);

// Smallest count that holds a 16-bit address and a checksum.
constexpr int kMinimumCount = 3;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The firmware revision of the identity bytes: tens and units of the first byte are the major
// number and the first decimal, the second byte (0..9) the second decimal.
float RevisionFromBytes(int b0, int b1) {
    int major = b0 / 10;
    int minor = (b0 % 10) * 10 + (b1 <= 9 ? b1 : 0);
    return static_cast<float>(major + minor * 0.01);
}

class SrecordScanner {
  public:
    SrecordScanner(const char* text, size_t length) : text_(text), length_(length) {}

    SrecordScan Run() {
        SrecordScan scan;
        size_t pos = 0;
        while (pos < length_) {
            size_t recordLength = 0;
            if (!CheckRecord(pos, scan.records + 1, recordLength, scan.problem)) {
                scan.result = rc::kCorruptFirmware;
                scan.records = 0;
                scan.dataRecords = 0;
                scan.lastType = 0;
                return scan;
            }
            pos += recordLength;
            ++scan.records;
            scan.lastType = text_[pos - recordLength + 1];
            if (scan.lastType == '1') ++scan.dataRecords;
        }
        if (seen_[0] && seen_[1]) scan.revision = RevisionFromBytes(value_[0], value_[1]);
        if (seen_[2] && seen_[3]) scan.startAddress = value_[2] * 256 + value_[3];
        return scan;
    }

  private:
    bool Fail(std::string& problem, std::string text) {
        problem = std::move(text);
        return false;
    }

    bool CheckRecord(size_t pos, int line, size_t& recordLength, std::string& problem) {
        size_t left = length_ - pos;
        if (left < 4) return Fail(problem, Format("line %d is cut short", line));
        if (text_[pos] != 'S')
            return Fail(problem, Format("line %d does not start with 'S'", line));
        char type = text_[pos + 1];
        if (type != '0' && type != '1' && type != '9') {
            return Fail(problem, Format("line %d is not an S0, S1 or S9 record", line));
        }
        int count = SrecordHexByte(text_, pos + 2);
        if (count < 0)
            return Fail(problem, Format("line %d: the byte count is not hexadecimal", line));
        if (count < kMinimumCount) {
            return Fail(problem, Format("line %d: a count of %d holds no address and checksum",
                                        line, count));
        }
        recordLength = 2 * static_cast<size_t>(count) + 6;
        const char* lineEnd = static_cast<const char*>(
            std::memchr(text_ + pos, '\n', std::min(left, recordLength - 1)));
        if (lineEnd) {
            return Fail(problem,
                        Format("line %d ends (LF) after %d characters where its count asks "
                               "for %d characters followed by CR LF",
                               line, static_cast<int>(lineEnd - (text_ + pos)), 2 * count + 4));
        }
        if (recordLength > left) {
            return Fail(problem,
                        Format("line %d: %d bytes announced but the text ends first", line, count));
        }
        std::vector<int> bytes(count);
        int sum = count;
        for (int i = 0; i < count; ++i) {
            bytes[i] = SrecordHexByte(text_, pos + 4 + 2 * i);
            if (bytes[i] < 0) {
                return Fail(problem, Format("line %d: character %d is not a hexadecimal digit",
                                            line, 5 + 2 * i));
            }
            if (i < count - 1) sum += bytes[i];
        }
        if (((~sum) & 0xFF) != bytes[count - 1]) {
            return Fail(problem, Format("line %d: checksum %02X, the record sums to %02X", line,
                                        bytes[count - 1], (~sum) & 0xFF));
        }
        if (text_[pos + recordLength - 2] != '\r' || text_[pos + recordLength - 1] != '\n') {
            return Fail(problem, Format("line %d does not end in CR LF after %d characters", line,
                                        static_cast<int>(recordLength - 2)));
        }
        if (type == '1') Collect(bytes);
        return true;
    }

    // Keeps the data bytes that land on a watched image address.
    void Collect(const std::vector<int>& bytes) {
        int address = bytes[0] * 256 + bytes[1];
        int dataCount = static_cast<int>(bytes.size()) - kMinimumCount;
        for (int w = 0; w < kWatchedCount; ++w) {
            int offset = kWatched[w] - address;
            if (offset >= 0 && offset < dataCount) {
                seen_[w] = true;
                value_[w] = bytes[2 + offset];
            }
        }
    }

    const char* text_;
    size_t length_;
    bool seen_[kWatchedCount] = {};
    int value_[kWatchedCount] = {};
};

}  // namespace

int SrecordHexByte(const char* text, size_t at) {
    int high = HexDigit(text[at]);
    int low = HexDigit(text[at + 1]);
    return (high < 0 || low < 0) ? -1 : high * 16 + low;
}

SrecordScan ScanSrecordText(const char* text, size_t length) {
    return SrecordScanner(text, length).Run();
}

std::string FormatSrecord(char type, int address, const std::string& data) {
    int count = static_cast<int>(data.size()) + kMinimumCount;
    int sum = count + ((address >> 8) & 0xFF) + (address & 0xFF);
    std::string record = Format("S%c%02X%04X", type, count, address & 0xFFFF);
    for (char c : data) {
        uint8_t byte = static_cast<uint8_t>(c);
        sum += byte;
        record += Format("%02X", byte);
    }
    return record + Format("%02X\r\n", (~sum) & 0xFF);
}

std::string NormaliseLineEnds(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32 + 2);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = Trim(text.substr(start, end - start));
        if (!line.empty()) out += line + "\r\n";
        start = end + 1;
    }
    return out;
}

}  // namespace vxl
