#include "link/line_settings.h"

#include <gtest/gtest.h>

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
}

}  // namespace
}  // namespace vxl
