#include "fake_modem_link.h"

#include <cstddef>

namespace vxl::test {

namespace {

constexpr int kModelByteAddress = 0x10A;
constexpr int kSerialAddress = 0x106;
constexpr int kType4IdentityBlock = 0x8400;
constexpr int kQmxIdentityBlock = 0xE000;

}  // namespace

FakeModemLink::FakeModemLink(const ModemIdentity& identity, int portNumber)
    : portNumber_(portNumber) {
    memory[kModelByteAddress] = identity.modelByte;
    for (int i = 0; i < 4; ++i) {
        memory[kSerialAddress + i] = static_cast<uint8_t>(identity.serialNumber >> (8 * (3 - i)));
    }
    const bool type4 = identity.modelByte == 0 || (identity.modelByte & 0x80) != 0;
    const int block = type4 ? kType4IdentityBlock : kQmxIdentityBlock;
    const int major = identity.revisionHundredths / 100;
    const int minor = identity.revisionHundredths % 100;
    memory[block + 2] = static_cast<uint8_t>(major * 10 + minor / 10);
    memory[block + 3] = static_cast<uint8_t>(minor % 10);
    memory[block + 4] = static_cast<uint8_t>(identity.configurationSize);
}

void FakeModemLink::Reply(uint8_t command, uint8_t status) {
    for (uint8_t byte : {uint8_t{0x01}, static_cast<uint8_t>(command | 0x80), status, uint8_t{0}}) {
        received_.push_back(byte);
    }
}

void FakeModemLink::WrongReply() {
    received_.insert(received_.end(), {0x01, 0x55, 0x55, 0x55});
}

void FakeModemLink::Write(const uint8_t* bytes, int length) {
    if (silent || length < 3 || bytes[0] != 0x01) return;  // the escape sequence needs no answer
    const uint8_t command = bytes[1];
    switch (command) {
        case 0x1D:
            ++resets;
            Reply(command, 0);
            break;
        case 0x1E:
            ++commits;
            Reply(command, refuseCommit ? 1 : 0);
            break;
        case 0x20: {
            const int address = (bytes[2] << 8) | bytes[3];
            ++writes;
            if (address == refuseWriteAddress) {
                WrongReply();
                break;
            }
            memory[static_cast<size_t>(address)] = bytes[4];
            Reply(command, 0);
            break;
        }
        case 0x21: {
            const int address = (bytes[2] << 8) | bytes[3];
            if (address == refuseReadAddress) {
                WrongReply();
                break;
            }
            Reply(command, memory[static_cast<size_t>(address)]);
            break;
        }
        default:
            Reply(command, 0);
            break;
    }
}

void FakeModemLink::TakeReceived(uint8_t* dest, int* length) {
    int count = 0;
    while (!received_.empty()) {
        dest[count++] = received_.front();
        received_.pop_front();
    }
    *length = count;
}

}  // namespace vxl::test
