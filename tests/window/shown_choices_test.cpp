// The lists' choices as the pages show them, on the demo modem.
#include <gtest/gtest.h>

#include "coordinator/coordinator_harness.h"
#include "params/parameter_ids.h"
#include "window/shown_choices.h"

namespace vxl::test {
namespace {

// The Baud Rate list goes from the slowest rate up; the three codes this modem reads as 1200
// are one entry, carrying the code stored when it is one of them.
TEST(ShownChoices, TheBaudRateListHasItsOwnOrderAndEachRateOnce) {
    CoordinatorHarness h;
    ASSERT_EQ(h.coordinator.StartDemo(), rc::kOk);
    const struct {
        int stored;
        int codeOf1200;
    } cases[] = {{1, 4}, {6, 6}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        ASSERT_EQ(h.coordinator.Settings().SetInt(pid::kBaudRate, c.stored), rc::kOk);
        std::vector<std::string> texts;
        std::vector<int> values;
        ShownChoices(*h.Set(), pid::kBaudRate, texts, values);
        EXPECT_EQ(texts,
                  (std::vector<std::string>{"1200", "2400", "4800", "9600", "19200", "38400"}));
        EXPECT_EQ(values, (std::vector<int>{c.codeOf1200, 3, 2, 1, 0, 8}));
    }
}

}  // namespace
}  // namespace vxl::test
