#include "backup/backup_file.h"

#include <cstdlib>
#include <map>
#include <sstream>

#include "util/format.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

constexpr int kBytesPerLine = 16;
constexpr int kBaseAddress = 0x100;
// No modem has more configuration memory than this; larger sizes mean a damaged header.
constexpr int kMaxMainSize = 0x7F00;
constexpr int kMaxExtensionSize = 9;

bool ParseNumber(const std::string& text, int base, long maximum, long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, base);
    return *end == '\0' && value >= 0 && value <= maximum;
}

bool ParseTime(const std::string& text, std::time_t& when) {
    std::tm parts{};
    char zone = 0;
    int consumed = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c%n", &parts.tm_year, &parts.tm_mon,
                    &parts.tm_mday, &parts.tm_hour, &parts.tm_min, &parts.tm_sec, &zone,
                    &consumed) != 7 ||
        zone != 'Z' || static_cast<size_t>(consumed) != text.size())
        return false;
    parts.tm_year -= 1900;
    parts.tm_mon -= 1;
    when = ::timegm(&parts);
    return when != static_cast<std::time_t>(-1);
}

// One "0100=D2 00 ..." line into `bytes` at its offset.
bool ParseMemoryLine(const std::string& key, const std::string& value, std::vector<uint8_t>& bytes,
                     std::vector<bool>& seen) {
    long address = 0;
    if (!ParseNumber(key, 16, kBaseAddress + kMaxMainSize + kMaxExtensionSize, address) ||
        address < kBaseAddress)
        return false;
    size_t index = static_cast<size_t>(address - kBaseAddress);
    std::istringstream in(value);
    for (std::string word; in >> word; ++index) {
        long byte = 0;
        if (word.size() != 2 || !ParseNumber(word, 16, 0xFF, byte) || index >= bytes.size() ||
            seen[index])
            return false;
        bytes[index] = static_cast<uint8_t>(byte);
        seen[index] = true;
    }
    return true;
}

}  // namespace

uint32_t Crc32(const std::vector<uint8_t>& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::string FormatBackupTime(std::time_t when) {
    std::tm parts{};
    ::gmtime_r(&when, &parts);
    return Format("%04d-%02d-%02dT%02d:%02d:%02dZ", parts.tm_year + 1900, parts.tm_mon + 1,
                  parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
}

std::string FormatLocalTime(std::time_t when) {
    std::tm parts{};
    ::localtime_r(&when, &parts);
    return Format("%04d-%02d-%02d %02d:%02d:%02d", parts.tm_year + 1900, parts.tm_mon + 1,
                  parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
}

std::string FormatBackup(const BackupImage& backup) {
    const BackupHeader& h = backup.header;
    std::string text = "; vxlconf backup of a modem's configuration memory\n[Backup]\n";
    text += "SerialNumber=" + h.serialNumber + "\n";
    text += "Model=" + h.model + "\n";
    text += "FirmwareRevision=" + h.firmware + "\n";
    text += Format("ConfigurationSize=%d\nExtensionSize=%d\nModemType=%d\n", h.mainSize,
                   h.extensionSize, h.modemType);
    text += "Time=" + FormatBackupTime(h.time) + "\n";
    text += Format("Crc32=%08X\n[Memory]\n", Crc32(backup.bytes));
    for (size_t i = 0; i < backup.bytes.size(); i += kBytesPerLine) {
        text += Format("%04zX=", kBaseAddress + i);
        for (size_t j = i; j < i + kBytesPerLine && j < backup.bytes.size(); ++j)
            text += Format(j == i ? "%02X" : " %02X", backup.bytes[j]);
        text += "\n";
    }
    return text;
}

int ParseBackup(const std::string& text, BackupImage& backup, std::string& reason) {
    auto damaged = [&reason](std::string why) {
        reason = std::move(why);
        return rc::kBackupDamaged;
    };
    std::map<std::string, std::string> header;
    std::vector<std::pair<std::string, std::string>> memory;
    std::string section;
    std::istringstream in(text);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        line = Trim(line);
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            if (section != "Backup" && section != "Memory")
                return damaged(Format("line %d names an unknown section", number));
            continue;
        }
        size_t equals = line.find('=');
        if (section.empty() || equals == std::string::npos)
            return damaged(Format("line %d is not a backup line", number));
        std::string key = Trim(line.substr(0, equals));
        std::string value = Trim(line.substr(equals + 1));
        if (section == "Backup")
            header[key] = value;
        else
            memory.emplace_back(key, value);
    }

    BackupHeader& h = backup.header;
    const char* required[] = {"SerialNumber",
                              "Model",
                              "FirmwareRevision",
                              "ConfigurationSize",
                              "ExtensionSize",
                              "ModemType",
                              "Time",
                              "Crc32"};
    for (const char* key : required)
        if (header.count(key) == 0) return damaged(Format("%s is missing", key));
    long main = 0, extension = 0, type = 0, crc = 0;
    if (!ParseNumber(header["ConfigurationSize"], 10, kMaxMainSize, main) || main < 1 ||
        !ParseNumber(header["ExtensionSize"], 10, kMaxExtensionSize, extension) ||
        !ParseNumber(header["ModemType"], 10, 4, type) ||
        !ParseNumber(header["Crc32"], 16, 0xFFFFFFFFL, crc) || !ParseTime(header["Time"], h.time))
        return damaged("its header holds a value that is not valid");
    h.serialNumber = header["SerialNumber"];
    h.model = header["Model"];
    h.firmware = header["FirmwareRevision"];
    h.mainSize = static_cast<int>(main);
    h.extensionSize = static_cast<int>(extension);
    h.modemType = static_cast<int>(type);

    backup.bytes.assign(static_cast<size_t>(main + extension), 0);
    std::vector<bool> seen(backup.bytes.size(), false);
    for (const auto& [key, value] : memory)
        if (!ParseMemoryLine(key, value, backup.bytes, seen))
            return damaged(Format("the memory line %s is not valid", key.c_str()));
    for (bool filled : seen)
        if (!filled) return damaged("bytes of the memory are missing");
    if (Crc32(backup.bytes) != static_cast<uint32_t>(crc))
        return damaged("the bytes do not match their CRC");
    return rc::kOk;
}

}  // namespace vxl
