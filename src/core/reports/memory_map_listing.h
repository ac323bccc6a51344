// The memory-map listing: the configuration bytes as a hexadecimal dump, eight bytes a line,
// each line headed by the address of its first byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "reports/report_document.h"

namespace vxl {

constexpr const char* kMemoryMapName = "KTRCONF Modem Memory Map";

// "KTRCONF (User) <version>": the left part of the listing's first title line.
std::string MemoryMapTitle(const std::string& versionText);

// The listing of `bytes`, the first at `startAddress`, on pages `pageLines` line heights high.
// A dump longer than a page continues on further pages under the same title block.
ReportDocument BuildMemoryMapListing(int startAddress, const std::vector<uint8_t>& bytes,
                                     const ReportHeading& heading, double pageLines);

}  // namespace vxl
