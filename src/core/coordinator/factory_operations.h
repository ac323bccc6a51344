// The Factory page's operations on the working settings: "Clear User Fields", "Factory Test
// Settings" and "Set Factory Frequencies". Each returns a result code, 57 with nothing loaded.
#pragma once

class CCoordinator;

namespace vxl {

// Empties the owner and (where the modem has one) the call sign.
int ClearUserFields(CCoordinator& coordinator);
// The settings of the factory test: the type-4 hardware settings, the defaults, then the radio
// link and serial interface as the test wants them, each through the rules.
int ApplyFactoryTestSettings(CCoordinator& coordinator);
// Every channel to the factory table of the modem's model and frequency range (receive and
// transmit alike); 96 when there is none for them.
int SetFactoryFrequencies(CCoordinator& coordinator);

// The factory frequency (MHz) of channel `channel` for the range `frequencyRange`, used for
// receive and transmit alike; 0.0 for a channel not in use or arguments outside the table.
double FactoryFrequency(int frequencyRange, int channel);

}  // namespace vxl
