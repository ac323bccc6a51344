#include "modem/command_frame.h"

#include <gtest/gtest.h>

namespace vxl {
namespace {

struct FrameCase {
    uint8_t code;
    std::vector<uint8_t> data;
    std::vector<uint8_t> frame;
};

TEST(CommandFrame, ChecksumIsTheComplementOfCodeAndDataSum) {
    const FrameCase cases[] = {
        {cmd::kWriteMemory, {0x01, 0x23, 0x55}, {0x01, 0x20, 0x01, 0x23, 0x55, 0x66}},
        {cmd::kReadMemory, {0x01, 0x0A}, {0x01, 0x21, 0x01, 0x0A, 0xD3}},
        {cmd::kWriteBaudRate, {0x01}, {0x01, 0x01, 0x01, 0xFD}},
        {cmd::kReset, {0x00}, {0x01, 0x1D, 0x00, 0xE2}},
        {cmd::kProgram, {}, {0x01, 0x1E, 0xE1}},
        {cmd::kSync, {}, {0x01, 0x02, 0xFD}},
        {cmd::kPowerOnCapture, {0x00}, {0x01, 0x22, 0x00, 0xDD}},
        // The sum wraps: only its low 8 bits count.
        {cmd::kWriteMemory, {0xFF, 0xFF, 0xFF}, {0x01, 0x20, 0xFF, 0xFF, 0xFF, 0xE2}},
    };
    for (const FrameCase& c : cases)
        EXPECT_EQ(BuildFrame(c.code, c.data.data(), static_cast<int>(c.data.size())), c.frame)
            << "code " << int(c.code);
    EXPECT_EQ(FrameChecksum(nullptr, 0), 0xFF);
}

TEST(CommandFrame, BaudCodes) {
    const std::pair<int, int> cases[] = {{19200, 0},  {9600, 1}, {4800, 2},   {2400, 3},
                                         {1200, 4},   {600, 5},  {300, 6},    {38400, 8},
                                         {57600, -1}, {0, -1},   {115200, -1}};
    for (const auto& [baud, code] : cases) EXPECT_EQ(BaudCode(baud), code) << baud;
}

TEST(CommandFrame, ReplyTextStopsAtTheFirstZeroByte) {
    const uint8_t reply[] = {0x01, 0xA1, 0x00, 0x5E, 0x00};
    EXPECT_EQ(ReplyText(reply, 4), std::string("\x01\xA1"));
    const uint8_t full[] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(ReplyText(full, 4), "abcd");
    EXPECT_EQ(ReplyText(nullptr, 4), "");
}

}  // namespace
}  // namespace vxl
