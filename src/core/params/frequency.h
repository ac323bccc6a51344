// Channel frequencies as the modem's synthesizer stores them: a 3-byte word whose layout depends on
// the synthesizer type (0..4). A word of three zero bytes is a channel without a frequency (0.0).
#pragma once

#include <cstdint>

// Writes the word for `mhz` (receive frequency when `rx`). Types 3 and above 4 have no synthesizer
// word: the bytes stay zero. A frequency the word cannot hold is written as TryEncodeFrequency
// describes.
void EncodeFrequency(int synthesizerType, double mhz, uint8_t bytes[3], bool rx);
void DecodeFrequency(int synthesizerType, double* mhz, const uint8_t bytes[3], bool rx);

namespace vxl {

// Synthesizer types the codec knows.
constexpr int kSynthesizerTypeCount = 5;

// EncodeFrequency that also says whether the word holds the frequency (to within one synthesizer
// step below it). False for a type without a synthesizer word (unless mhz is 0.0), for a value
// that is not finite, negative or too large for the word (the bytes are then zero), and for a
// type-1 frequency that has no divider pair (the bytes then hold the modem's "no pair" word).
bool TryEncodeFrequency(int synthesizerType, double mhz, uint8_t bytes[3], bool rx);

// The smallest frequency difference a word of this type can express, in MHz; 0 for types without
// a synthesizer word.
double FrequencyStepMhz(int synthesizerType);

}  // namespace vxl
