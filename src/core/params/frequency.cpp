#include "params/frequency.h"

#include <cmath>

namespace vxl {
namespace {

// Every synthesizer word counts in steps of 12.5 kHz; the types differ only in how the steps are
// split into fields and in the offset a receive frequency carries (the receiver's intermediate
// frequency).
constexpr double kStepsPerMhz = 80.0;

// A frequency typed with four decimals seldom has an exact binary form; without this margin a
// frequency right on a step could truncate to the step below it.
constexpr double kStepMargin = 1e-6;

// Far beyond every word; keeps the conversion to an integer defined.
constexpr double kMaxSteps = 1e9;

constexpr int kNoSynthesizer = 3;

// Added to a receive frequency before encoding, subtracted after decoding.
constexpr double kRxOffsetMhz[kSynthesizerTypeCount] = {-45.0, 52.95, 45.0, 0.0, 54.45};

using Word = uint32_t;

bool HasWord(int type) {
    return type >= 0 && type < kSynthesizerTypeCount && type != kNoSynthesizer;
}

Word ToWord(const uint8_t bytes[3]) {
    return (Word{bytes[0]} << 16) | (Word{bytes[1]} << 8) | Word{bytes[2]};
}

uint8_t ReverseBits(uint32_t value) {
    uint8_t in = static_cast<uint8_t>(value);
    uint8_t out = 0;
    for (int bit = 0; bit < 8; ++bit) {
        out = static_cast<uint8_t>((out << 1) | ((in >> bit) & 1));
    }
    return out;
}

// The low 8 bits, as the modem's byte holds them.
uint8_t Low8(uint32_t value) {
    return static_cast<uint8_t>(value & 0xFF);
}

bool PackType0(uint32_t steps, uint8_t bytes[3], bool) {
    uint32_t i = steps / 64, f = steps % 64;
    if (i >= 4096) return false;
    bytes[0] = Low8(f >> 1);
    bytes[1] = Low8((i >> 5) | (f << 7));
    bytes[2] = Low8((i << 3) | 7);
    return true;
}

uint32_t UnpackType0(Word w) {
    return ((w >> 3) & 0xFFF) * 64 + ((w >> 15) & 0x7F);
}

bool PackType2(uint32_t steps, uint8_t bytes[3], bool rx) {
    uint32_t i = steps / 32, f = steps % 32;
    if (i >= 2048) return false;
    bytes[0] = Low8((i >> 4) & 0x7F);
    bytes[1] = Low8((f >> 3) | (i << 4));
    bytes[2] = Low8((f << 5) | (rx ? 0x19 : 0x1C));
    return true;
}

uint32_t UnpackType2(Word w) {
    return ((w >> 12) & 0x7FF) * 32 + ((w >> 5) & 0x7F);
}

bool PackType4(uint32_t steps, uint8_t bytes[3], bool) {
    uint32_t i = steps / 64, f = steps % 64;
    if (i >= 2048) return false;
    bytes[0] = Low8(i >> 8);
    bytes[1] = Low8(i);
    bytes[2] = Low8(f * 2);
    return true;
}

uint32_t UnpackType4(Word w) {
    return ((w >> 8) & 0x7FF) * 64 + ((w >> 1) & 0x7F);
}

// Type 1: a dual-modulus prescaler counts N (100 kHz units) as 64 x (B + 2) + 65 x A, and F adds
// 12.5 kHz steps. The modem takes the first pair in order of B, then A.
constexpr uint32_t kMaxB = 4095;
constexpr uint32_t kMaxA = 254;

bool FindDividerPair(uint32_t n, uint32_t* b, uint32_t* a) {
    for (uint32_t bb = 0; bb <= kMaxB; ++bb) {
        uint32_t fixed = 128 + 64 * bb;
        if (fixed > n) return false;
        if ((n - fixed) % 65 == 0 && (n - fixed) / 65 <= kMaxA) {
            *b = bb;
            *a = (n - fixed) / 65;
            return true;
        }
    }
    return false;
}

bool PackType1(uint32_t steps, uint8_t bytes[3], bool) {
    uint32_t n = steps / 8, f = steps % 8;
    uint32_t b = 0, a = 0;
    bool found = FindDividerPair(n, &b, &a);
    if (!found) {
        // What the modem receives when no pair exists: the counters as the search leaves them.
        b = kMaxB + 1;
        a = kMaxA + 1;
    }
    bytes[0] = ReverseBits(a);
    bytes[1] = ReverseBits(b & 0xFF);
    bytes[2] = ReverseBits(((b >> 8) | (f * 16)) & 0xFF);
    return found;
}

uint32_t UnpackType1(Word w) {
    uint32_t a = ReverseBits(w >> 16);
    uint32_t high = ReverseBits(w);
    uint32_t b = ReverseBits(w >> 8) + 256 * (high & 0x0F);
    uint32_t n = 64 * (b + 2) + 65 * a;
    return 8 * n + (high >> 4);
}

struct Codec {
    bool (*pack)(uint32_t steps, uint8_t bytes[3], bool rx);
    uint32_t (*unpack)(Word w);
};

const Codec& CodecFor(int type) {
    static const Codec kCodecs[kSynthesizerTypeCount] = {{PackType0, UnpackType0},
                                                         {PackType1, UnpackType1},
                                                         {PackType2, UnpackType2},
                                                         {nullptr, nullptr},
                                                         {PackType4, UnpackType4}};
    return kCodecs[type];
}

double RxOffset(int type, bool rx) {
    return rx ? kRxOffsetMhz[type] : 0.0;
}

void Clear(uint8_t bytes[3]) {
    bytes[0] = bytes[1] = bytes[2] = 0;
}

}  // namespace

bool TryEncodeFrequency(int synthesizerType, double mhz, uint8_t bytes[3], bool rx) {
    if (bytes == nullptr) return false;
    Clear(bytes);
    if (mhz == 0.0) return true;
    if (!HasWord(synthesizerType)) return false;

    double steps = (mhz + RxOffset(synthesizerType, rx)) * kStepsPerMhz + kStepMargin;
    if (!std::isfinite(steps) || steps < 0.0 || steps >= kMaxSteps) return false;

    bool held = CodecFor(synthesizerType).pack(static_cast<uint32_t>(steps), bytes, rx);
    if (!held && synthesizerType != 1) Clear(bytes);
    // A word of zeros would read back as "no frequency".
    return held && ToWord(bytes) != 0;
}

double FrequencyStepMhz(int synthesizerType) {
    return HasWord(synthesizerType) ? 1.0 / kStepsPerMhz : 0.0;
}

}  // namespace vxl

void EncodeFrequency(int synthesizerType, double mhz, uint8_t bytes[3], bool rx) {
    vxl::TryEncodeFrequency(synthesizerType, mhz, bytes, rx);
}

void DecodeFrequency(int synthesizerType, double* mhz, const uint8_t bytes[3], bool rx) {
    if (mhz == nullptr) return;
    *mhz = 0.0;
    if (bytes == nullptr || !vxl::HasWord(synthesizerType)) return;
    vxl::Word w = vxl::ToWord(bytes);
    if (w == 0) return;  // a channel without a frequency, whatever the type
    uint32_t steps = vxl::CodecFor(synthesizerType).unpack(w);
    *mhz = steps / vxl::kStepsPerMhz - vxl::RxOffset(synthesizerType, rx);
}
