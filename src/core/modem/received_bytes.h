// Taking the received bytes out of a link in one piece.
#pragma once

#include <cstdint>
#include <vector>

class ISerialLink;

namespace vxl {

// Every byte the link has received so far (the link's buffer is emptied). `knownCount` is the
// receive count the caller has just seen.
std::vector<uint8_t> TakeAllReceived(ISerialLink* port, int knownCount);

}  // namespace vxl
