// The memory-map listing laid out as text: eight values a line behind the address, a short last
// line, an empty image (under tests/data), and a long image that continues on further pages.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "report_fixture.h"
#include "reports/memory_map_listing.h"
#include "support/golden.h"

namespace vxl::test {
namespace {

std::vector<uint8_t> Counting(size_t count) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(i);
    return bytes;
}

ReportHeading ListingHeading() {
    ReportHeading heading = TestHeading();
    heading.title = MemoryMapTitle("Version 2.42B");
    return heading;
}

// Eight values a line behind the address, the last line short; an empty image has the title
// block alone.
TEST(MemoryMapListing, ShowsEightValuesALineBehindTheAddress) {
    for (auto [bytes, golden] : {std::pair{size_t{250}, "memory_map_250_bytes.txt"},
                                 std::pair{size_t{0}, "memory_map_empty.txt"}}) {
        const ReportDocument document =
            BuildMemoryMapListing(0x100, Counting(bytes), ListingHeading(), 66);
        EXPECT_EQ(document.name, "KTRCONF Modem Memory Map");
        EXPECT_TRUE(MatchesGolden(golden, AsText(document)));
    }
}

TEST(MemoryMapListing, ALongImageContinuesOnFurtherPagesUnderTheSameTitle) {
    // The largest configuration: 0x7F00 bytes, 4064 lines; 57 lines fit between 7 and 66 - 2.
    const ReportDocument document =
        BuildMemoryMapListing(0x100, Counting(0x7F00), ListingHeading(), 66);
    ASSERT_EQ(document.pages.size(), 72u);  // 71 full pages and 17 lines
    size_t lines = 0;
    for (const ReportPage& page : document.pages) {
        ASSERT_EQ(page.lines[0].text, document.pages[0].lines[0].text);
        ASSERT_EQ(page.lines[1].text, document.pages[0].lines[1].text);
        EXPECT_LE(page.lines.back().y + 1, 64.0);
        lines += page.lines.size() - 2;
    }
    EXPECT_EQ(lines, 4064u);
    EXPECT_EQ(document.pages[1].lines[2].text.substr(0, 6), "0x02C8");  // 57 lines after 0x100
    EXPECT_EQ(document.pages.back().lines.back().text.substr(0, 6), "0x7FF8");
}

}  // namespace
}  // namespace vxl::test
