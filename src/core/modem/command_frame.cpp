#include "modem/command_frame.h"

#include <cstring>

namespace vxl {

uint8_t FrameChecksum(const uint8_t* bytes, int count) {
    unsigned sum = 0;
    for (int i = 0; i < count; ++i) sum += bytes[i];
    return static_cast<uint8_t>(~sum & 0xFF);
}

std::vector<uint8_t> BuildFrame(uint8_t code, const uint8_t* data, int count) {
    std::vector<uint8_t> frame;
    frame.reserve(static_cast<size_t>(count) + 3);
    frame.push_back(cmd::kFrameStart);
    frame.push_back(code);
    for (int i = 0; i < count; ++i) frame.push_back(data[i]);
    frame.push_back(FrameChecksum(frame.data() + 1, count + 1));
    return frame;
}

std::vector<uint8_t> BuildFrame(uint8_t code, std::initializer_list<uint8_t> data) {
    return BuildFrame(code, data.begin(), static_cast<int>(data.size()));
}

int BaudCode(int baud) {
    struct Entry {
        int baud;
        int code;
    };
    static constexpr Entry kCodes[] = {{19200, 0}, {9600, 1}, {4800, 2}, {2400, 3},
                                       {1200, 4},  {600, 5},  {300, 6},  {38400, 8}};
    for (const Entry& entry : kCodes)
        if (entry.baud == baud) return entry.code;
    return -1;
}

std::string ReplyText(const uint8_t* bytes, int length) {
    if (!bytes || length <= 0) return std::string();
    const void* zero = std::memchr(bytes, 0, static_cast<size_t>(length));
    size_t n = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - bytes)
                    : static_cast<size_t>(length);
    return std::string(reinterpret_cast<const char*>(bytes), n);
}

}  // namespace vxl
