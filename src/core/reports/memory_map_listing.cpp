#include "reports/memory_map_listing.h"

#include "reports/report_page_builder.h"
#include "util/format.h"

namespace vxl {

namespace {
constexpr size_t kBytesPerLine = 8;
}  // namespace

std::string MemoryMapTitle(const std::string& versionText) {
    return "KTRCONF (User) " + versionText;
}

ReportDocument BuildMemoryMapListing(int startAddress, const std::vector<uint8_t>& bytes,
                                     const ReportHeading& heading, double pageLines) {
    ReportPageBuilder pages(kMemoryMapName, heading, pageLines);
    std::string line;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i % kBytesPerLine == 0)
            line = Format("0x%.4X", static_cast<unsigned>(startAddress + static_cast<int>(i)));
        line += Format("    %.2X", bytes[i]);
        if (i % kBytesPerLine == kBytesPerLine - 1 || i + 1 == bytes.size()) pages.Line(line);
    }
    return pages.Finish();
}

}  // namespace vxl
