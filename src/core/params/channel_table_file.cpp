// Channel-table files: 111 scrambled bytes bound to a serial number (0 = any modem), holding the
// 16 channels' receive and transmit words as a synthesizer of type 4 encodes them.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "params/frequency.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "util/keystream.h"
#include "util/result_codes.h"

namespace {

constexpr int kRecordSize = 111;
constexpr int kMaxReadSize = 1024;
constexpr int kSerialOffset = 2;
constexpr int kFormatOffset = 12;
constexpr uint8_t kFormatMark = 3;
constexpr int kChannelOffset = 14;
constexpr int kChannelFields = 32;  // receive and transmit word of 16 channels
constexpr int kChecksumOffset = 110;
constexpr int kFileSynthesizerType = 4;

uint32_t SerialOf(const uint8_t* record) {
    uint32_t serial = 0;
    for (int i = 0; i < 4; ++i) serial = (serial << 8) | record[kSerialOffset + i];
    return serial;
}

int FileError(int err) {
    return vxl::FileErrorFromErrno(err != 0 ? err : EIO);
}

// Reads the first bytes of `path` (at most kMaxReadSize) into `buffer`; returns 0 or a file
// error code, 914 when the file is shorter than one record.
int ReadRecord(const std::string& path, uint8_t* buffer) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return FileError(errno);
    errno = 0;
    size_t length = std::fread(buffer, 1, kMaxReadSize, file);
    int err = std::ferror(file) ? FileError(errno) : vxl::rc::kOk;
    std::fclose(file);
    if (err != vxl::rc::kOk) return err;
    if (length < static_cast<size_t>(kRecordSize)) return vxl::rc::kFileEndOfFile;
    vxl::ApplyKeystream(buffer, length);
    return vxl::rc::kOk;
}

}  // namespace

int ModemParameterSet::ReadChannelTableFile(const std::string& path) {
    uint8_t record[kMaxReadSize] = {};
    int result = ReadRecord(path, record);
    if (result != vxl::rc::kOk) return result;

    uint32_t fileSerial = SerialOf(record);
    if (fileSerial != 0) {
        int modemSerial = 0;
        result = GetInt(vxl::pid::kSerialNumber, modemSerial);
        if (result != vxl::rc::kOk) return result;
        if (static_cast<uint32_t>(modemSerial) != fileSerial) return vxl::rc::kSerialMismatch;
    }

    int synthesizerType = 0;
    result = GetInt(vxl::pid::kSynthesizerType, synthesizerType);
    if (result != vxl::rc::kOk) return result;
    double lowest = 0.0;
    double highest = 0.0;
    int decimals = 0;
    result = GetRealRange(vxl::pid::RxChannelId(0), lowest, highest, decimals);
    if (result != vxl::rc::kOk) return result;
    const long long limit = static_cast<long long>(std::floor(highest * 10000.0));

    for (int i = 0; i < kChannelFields; ++i) {
        uint8_t* field = record + kChannelOffset + 3 * i;
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
                                             const double rx[16], const double tx[16]) {
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
    unsigned sum = 0;
    for (int i = 0; i < kChecksumOffset; ++i) sum += record[i];
    record[kChecksumOffset] = static_cast<uint8_t>(~sum);
    vxl::ApplyKeystream(record, kRecordSize);

    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return FileError(errno);
    errno = 0;
    size_t written = std::fwrite(record, 1, kRecordSize, file);
    int err = written == static_cast<size_t>(kRecordSize) ? 0 : FileError(errno);
    if (std::fclose(file) != 0 && err == 0) err = FileError(errno);
    return err;
}
