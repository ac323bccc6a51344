// Channel-table files: reading and checking one, the frequencies it holds, and writing one.
#include <cstdint>
#include <cstring>

#include "params/channel_table_file.h"
#include "params/frequency.h"
#include "params/modem_parameter_set.h"
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
    if (const int code = ReadInputFile(path, kMaxFileSize, content, problem)) return code;
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

void ChannelTableFrequencies(const ChannelTableRecord& record, double rx[16], double tx[16]) {
    for (int i = 0; i < kChannelFields; ++i) {
        const bool receive = i % 2 == 0;
        DecodeFrequency(kFileSynthesizerType, receive ? &rx[i / 2] : &tx[i / 2],
                        record.bytes + kChannelOffset + 3 * i, receive);
    }
}

}  // namespace vxl

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
