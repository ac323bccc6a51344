// Parameter ids: the index of each setting in the parameter set, shared by pages, reports,
// files and the coordinator. Ids 0, 1, 3, 39, 69, 81 and 87 hold no parameter.
#pragma once

namespace vxl::pid {

constexpr int kParameterCount = 88;
constexpr int kChannelCount = 16;

// Slots that hold no parameter: their bytes are copied with the image and never interpreted.
constexpr int kRawSlot0 = 0;
constexpr int kRawSlot1 = 1;
constexpr int kRawModelByte = 3;  // the byte Model and Frequency are read from
constexpr int kRawSlot39 = 39;
constexpr int kRawSlot69 = 69;
constexpr int kRawSlot81 = 81;
constexpr int kRawSlot87 = 87;

constexpr int kSerialNumber = 2;
// Channel n (0..15): RX frequency 4 + 2n, TX frequency 5 + 2n.
constexpr int RxChannelId(int n) {
    return 4 + 2 * n;
}
constexpr int TxChannelId(int n) {
    return 5 + 2 * n;
}
constexpr int kFirstChannelId = RxChannelId(0);
constexpr int kLastChannelId = TxChannelId(kChannelCount - 1);
constexpr int kOwner = 36;
constexpr int kBaudRate = 37;
constexpr int kParity = 38;
constexpr int kCurrentChannel = 40;
constexpr int kLinkRate = 41;
constexpr int kProtocolMode = 42;
constexpr int kForwardErrorCorrection = 43;
constexpr int kScrambling = 44;
constexpr int kEOTCharacter = 45;
constexpr int kLocalAddress = 46;
constexpr int kTransmitRetries = 47;
constexpr int kRemoteAddress = 48;
constexpr int kDigisquelch = 49;
constexpr int kHighRSSICDLevel = 50;
constexpr int kHighRSSIHystLevel = 51;
constexpr int kMediumRSSICDLevel = 52;
constexpr int kMediumRSSIHystLevel = 53;
constexpr int kLowRSSICDLevel = 54;
constexpr int kLowRSSIHystLevel = 55;
constexpr int kTxAckTimeout = 56;
constexpr int kSynthesizerType = 57;
constexpr int kDigipeaterDelay = 58;
constexpr int kBitPolarity = 59;
constexpr int kRXDelay = 60;
constexpr int kTXDelay = 61;
constexpr int kModulationType = 62;
constexpr int kFrequencyError = 63;
constexpr int kDACCompVoltageCount = 64;
constexpr int kCallSign = 65;
constexpr int kLastFailure = 66;
constexpr int kPowerControl = 67;
constexpr int kChannelSelectType = 68;
constexpr int kSystemClock = 70;
constexpr int kModel = 71;
constexpr int kFrequency = 72;
constexpr int kPower = 73;
constexpr int kCSMAMonitor = 74;
constexpr int kFirmwareRevision = 75;
constexpr int kBREAKtoCommand = 76;
constexpr int kRepeater = 77;
constexpr int kEOTTimeout = 78;
constexpr int kChannelBandwidth = 79;
constexpr int kCrystal = 80;
constexpr int kModemID = 82;
constexpr int kEOTCount = 83;
constexpr int kRoverAutoOff = 84;
constexpr int kModemEnable = 85;
constexpr int kDataSecurityCode = 86;

constexpr bool IsChannelId(int id) {
    return id >= kFirstChannelId && id <= kLastChannelId;
}
constexpr bool IsRxChannelId(int id) {
    return IsChannelId(id) && id % 2 == 0;
}
// The channel 0..15 of a channel frequency id.
constexpr int ChannelOfId(int id) {
    return (id - kFirstChannelId) / 2;
}

}  // namespace vxl::pid
