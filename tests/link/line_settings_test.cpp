#include "link/line_settings.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace vxl {
namespace {

TEST(BuildTermios, RawLineWithTheFramingOfTheSettings) {
    const struct {
        LineSettings settings;
        tcflag_t expectedFlags;
        speed_t speed;
    } cases[] = {
        {{9600, kParityNone, 8, kStopBitsOne}, CS8, B9600},
        {{57600, kParityEven, 7, kStopBitsTwo}, CS7 | PARENB | CSTOPB, B57600},
        {{1200, kParityOdd, 6, kStopBitsOne}, CS6 | PARENB | PARODD, B1200},
        {{300, kParityMark, 5, kStopBitsOneAndHalf}, CS5 | PARENB | PARODD | CMSPAR | CSTOPB, B300},
        {{38400, kParitySpace, 8, kStopBitsOne}, CS8 | PARENB | CMSPAR, B38400},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings.baud);
        termios t;
        int error = -1;
        ASSERT_TRUE(BuildTermios(c.settings, &t, &error));
        EXPECT_EQ(error, 0);
        EXPECT_EQ(t.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB), c.expectedFlags);
        // Modem lines must not hang up the port; no flow control, no translation, no echo.
        EXPECT_EQ(t.c_cflag & (CREAD | CLOCAL | CRTSCTS), tcflag_t(CREAD | CLOCAL));
        EXPECT_EQ(t.c_iflag & (IXON | IXOFF | ICRNL | INPCK | ISTRIP), 0u);
        EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
        EXPECT_EQ(t.c_oflag & OPOST, 0u);
        EXPECT_EQ(t.c_cc[VMIN] + t.c_cc[VTIME], 0);
        EXPECT_EQ(cfgetospeed(&t), c.speed);
        EXPECT_EQ(cfgetispeed(&t), c.speed);
    }

    // What the line cannot do: an odd rate, 4 or 9 data bits, parity 5, stop bits 3, and one and
    // a half stop bits with 7 data bits.
    const LineSettings refused[] = {
        {12345, kParityNone, 8, kStopBitsOne},
        {9600, kParityNone, 4, kStopBitsOne},
        {9600, kParityNone, 9, kStopBitsOne},
        {9600, 5, 8, kStopBitsOne},
        {9600, kParityNone, 8, 3},
        {9600, kParityNone, 7, kStopBitsOneAndHalf},
    };
    for (size_t i = 0; i < std::size(refused); ++i) {
        termios t;
        int error = 0;
        EXPECT_FALSE(BuildTermios(refused[i], &t, &error)) << i;
        EXPECT_EQ(error, EINVAL) << i;
    }
}

}  // namespace
}  // namespace vxl
