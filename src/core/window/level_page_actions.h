// What the Frequencies and Factory pages do beyond handing a value on: the messages of a
// refused channel edit and of a modem without factory frequencies.
#pragma once

class CCoordinator;

namespace vxl {

// A frequency cell's edit: sets channel parameter `id` (4..35) to `mhz`. The grid and the Radio
// Link page's channel list show the channel as stored; the channel in use cannot be cleared,
// which is said. Returns the settings' result.
int EditChannelFrequency(CCoordinator& coordinator, int id, double mhz);

// The Factory page's Set Factory Frequencies: a failure is explained in a message box.
int SetFactoryFrequenciesCommand(CCoordinator& coordinator);

}  // namespace vxl
