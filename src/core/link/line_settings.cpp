#include "link/line_settings.h"

#include <cerrno>
#include <cstring>

namespace vxl {

namespace {

struct SpeedRow {
    int baud;
    speed_t speed;
};

const SpeedRow kSpeeds[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

const int kBaudTable[] = {300, 600, 1200, 2400, 4800, 9600, 19200, 38400};

bool DataBitsFlag(uint8_t dataBits, tcflag_t* flag) {
    switch (dataBits) {
        case 5:
            *flag = CS5;
            return true;
        case 6:
            *flag = CS6;
            return true;
        case 7:
            *flag = CS7;
            return true;
        case 8:
            *flag = CS8;
            return true;
        default:
            return false;
    }
}

bool ParityFlags(uint8_t parity, tcflag_t* flags) {
    switch (parity) {
        case kParityNone:
            *flags = 0;
            return true;
        case kParityOdd:
            *flags = PARENB | PARODD;
            return true;
        case kParityEven:
            *flags = PARENB;
            return true;
        case kParityMark:
            *flags = PARENB | CMSPAR | PARODD;
            return true;
        case kParitySpace:
            *flags = PARENB | CMSPAR;
            return true;
        default:
            return false;
    }
}

// The line sends 1.5 stop bits only with 5-bit characters; that is what CSTOPB gives there.
bool StopBitsFlag(uint8_t stopBits, uint8_t dataBits, tcflag_t* flag) {
    switch (stopBits) {
        case kStopBitsOne:
            *flag = 0;
            return true;
        case kStopBitsOneAndHalf:
            *flag = CSTOPB;
            return dataBits == 5;
        case kStopBitsTwo:
            *flag = CSTOPB;
            return true;
        default:
            return false;
    }
}

}  // namespace

int BaudTableValue(int baud) {
    for (int rate : kBaudTable) {
        if (rate == baud) return rate;
    }
    return 9600;
}

bool SpeedFromBaud(int baud, speed_t* speed) {
    for (const SpeedRow& row : kSpeeds) {
        if (row.baud == baud) {
            *speed = row.speed;
            return true;
        }
    }
    return false;
}

int BaudFromSpeed(speed_t speed) {
    for (const SpeedRow& row : kSpeeds) {
        if (row.speed == speed) return row.baud;
    }
    return 0;
}

bool BuildTermios(const LineSettings& settings, termios* out, int* error) {
    speed_t speed = B0;
    tcflag_t size = 0;
    tcflag_t parity = 0;
    tcflag_t stop = 0;
    if (!SpeedFromBaud(settings.baud, &speed) || !DataBitsFlag(settings.dataBits, &size) ||
        !ParityFlags(settings.parity, &parity) ||
        !StopBitsFlag(settings.stopBits, settings.dataBits, &stop)) {
        *error = EINVAL;
        return false;
    }
    termios t;
    std::memset(&t, 0, sizeof t);
    t.c_cflag = CREAD | CLOCAL | size | parity | stop;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (cfsetispeed(&t, speed) != 0 || cfsetospeed(&t, speed) != 0) {
        *error = EINVAL;
        return false;
    }
    *out = t;
    *error = 0;
    return true;
}

}  // namespace vxl
