// What the Frequencies, Factory and Memory Map pages do beyond handing a value on: the messages
// of a refused channel edit, of a modem without factory frequencies and of a refused byte.
#pragma once

#include <cstdint>

class CCoordinator;

namespace vxl {

// A frequency cell's edit: sets channel parameter `id` (4..35) to `mhz`. The grid and the Radio
// Link page's channel list show the channel as stored; the channel in use cannot be cleared,
// which is said. Returns the settings' result.
int EditChannelFrequency(CCoordinator& coordinator, int id, double mhz);

// A Memory Map cell's edit: writes `value` at the image's start + `offset`. A byte that a text
// field cannot hold is refused in a message naming the field, and the page shows the byte as it
// was. Returns the settings' result.
int EditMemoryByte(CCoordinator& coordinator, int offset, uint8_t value);

// The Factory page's Set Factory Frequencies: a failure is explained in a message box.
int SetFactoryFrequenciesCommand(CCoordinator& coordinator);

}  // namespace vxl
