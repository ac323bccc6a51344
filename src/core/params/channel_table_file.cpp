// Channel-table files: reading and checking one, applying it to the channel parameters, and
// writing one.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "params/channel_table_file.h"
#include "params/frequency.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "util/format.h"
#include "util/input_file.h"
#include "util/keystream.h"
#include "util/output_file.h"
#include "util/result_codes.h"

namespace {

constexpr int kRecordSize = vxl::kChannelTableRecordSize;
// A channel table is 111 bytes; anything this large was picked by mistake.
constexpr size_t kMaxFileSize = 64 * 1024;
constexpr int kSerialOffset = 2;
constexpr int kFormatOffset = 12;
constexpr uint8_t kFormatMark = 3;
constexpr int kChannelOffset = 14;
constexpr int kChannelFields = 32;  // receive and transmit word of 16 channels
constexpr int kChecksumOffset = 110;
constexpr int kFileSynthesizerType = 4;

uint8_t RecordChecksum(const uint8_t* record) {
    unsigned sum = 0;
    for (int i = 0; i < kChecksumOffset; ++i) sum += record[i];
    return static_cast<uint8_t>(~sum);
}

}  // namespace

namespace vxl {

int ReadChannelTableRecord(const std::string& path, ChannelTableRecord& record,
                           std::string& problem) {
    problem.clear();
    std::string content;
    InputFileResult read = ReadInputFile(path, kMaxFileSize, content);
    if (read.code != rc::kOk) {
        problem = read.reason;
        return read.code;
    }
    if (content.size() < static_cast<size_t>(kRecordSize)) {
        problem = Format("holds %d bytes where a channel table has %d",
                         static_cast<int>(content.size()), kRecordSize);
        return rc::kFileEndOfFile;
    }
    std::memcpy(record.bytes, content.data(), kRecordSize);
    // The keystream runs over the file from its first byte; the record is its start.
    ApplyKeystream(record.bytes, kRecordSize);
    if (RecordChecksum(record.bytes) != record.bytes[kChecksumOffset]) {
        problem =
            "its checksum does not match its contents: the file is damaged or is not a "
            "channel table";
        return rc::kImportFailed;
    }
    return rc::kOk;
}

uint32_t ChannelTableSerial(const ChannelTableRecord& record) {
    uint32_t serial = 0;
    for (int i = 0; i < 4; ++i) serial = (serial << 8) | record.bytes[kSerialOffset + i];
    return serial;
}

}  // namespace vxl

int ModemParameterSet::ReadChannelTableFile(const std::string& path, std::string* problem) {
    vxl::ChannelTableRecord record;
    std::string why;
    int result = vxl::ReadChannelTableRecord(path, record, why);
    if (problem != nullptr) *problem = why;
    if (result != vxl::rc::kOk) return result;
    return ApplyChannelTable(record);
}

int ModemParameterSet::ApplyChannelTable(const vxl::ChannelTableRecord& file) {
    vxl::ChannelTableRecord record = file;
    uint32_t fileSerial = vxl::ChannelTableSerial(record);
    if (fileSerial != 0) {
        int modemSerial = 0;
        int result = GetInt(vxl::pid::kSerialNumber, modemSerial);
        if (result != vxl::rc::kOk) return result;
        if (static_cast<uint32_t>(modemSerial) != fileSerial) return vxl::rc::kSerialMismatch;
    }

    int synthesizerType = 0;
    int result = GetInt(vxl::pid::kSynthesizerType, synthesizerType);
    if (result != vxl::rc::kOk) return result;
    double lowest = 0.0;
    double highest = 0.0;
    int decimals = 0;
    result = GetRealRange(vxl::pid::RxChannelId(0), lowest, highest, decimals);
    if (result != vxl::rc::kOk) return result;
    const long long limit = static_cast<long long>(std::floor(highest * 10000.0));

    for (int i = 0; i < kChannelFields; ++i) {
        uint8_t* field = record.bytes + kChannelOffset + 3 * i;
        const bool receive = i % 2 == 0;
        double mhz = 0.0;
        DecodeFrequency(synthesizerType, &mhz, field, receive);
        const long long v = static_cast<long long>(std::floor(mhz * 10000.0));
        if (v == 0) continue;
        if (v < 0 || v > limit) EncodeFrequency(synthesizerType, 0.0, field, receive);
        result = WriteParameterBytes(vxl::pid::RxChannelId(0) + i, field);
        if (result != vxl::rc::kOk) return result;
    }
    return vxl::rc::kOk;
}

int ModemParameterSet::WriteChannelTableFile(const std::string& path, uint32_t serialNumber,
                                             const double rx[16], const double tx[16],
                                             std::string* problem) {
    uint8_t record[kRecordSize] = {};
    for (int i = 0; i < 4; ++i) {
        record[kSerialOffset + i] = static_cast<uint8_t>(serialNumber >> (8 * (3 - i)));
    }
    record[kFormatOffset] = kFormatMark;
    record[kFormatOffset + 1] = kFormatMark;
    for (int k = 0; k < 16; ++k) {
        EncodeFrequency(kFileSynthesizerType, rx[k], record + kChannelOffset + 6 * k, true);
        EncodeFrequency(kFileSynthesizerType, tx[k], record + kChannelOffset + 6 * k + 3, false);
    }
    record[kChecksumOffset] = RecordChecksum(record);
    vxl::ApplyKeystream(record, kRecordSize);

    const vxl::FileResult written =
        vxl::WriteFileAtomically(path, std::string(reinterpret_cast<char*>(record), kRecordSize));
    if (problem != nullptr) *problem = written.reason;
    return written.code;
}
