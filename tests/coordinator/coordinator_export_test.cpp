// The XML export and the defaults as the coordinator runs them on the demo modem.
#include <gtest/gtest.h>

#include "coordinator_harness.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "reports/xml_export.h"
#include "util/result_codes.h"

namespace vxl::test {
namespace {

TEST(CoordinatorXmlExport, WritesNameDotXmlWithTheNameAsStationAndTheClocksDate) {
    CoordinatorHarness h;
    ASSERT_EQ(h.LoadDemo(), rc::kOk);
    const std::string name = h.dir.File("station7");
    const std::string date = FormatExportDate(h.clock.WallSeconds());
    ASSERT_EQ(h.coordinator.ExportXmlParameters(name), rc::kOk);
    const std::string document = TempDir::Read(name + ".xml");
    EXPECT_EQ(document, BuildXmlDocument(*h.coordinator.GetParameterSet(), 4, name, date));
    EXPECT_EQ(document.compare(0, 23, "<?xml version=\"1.0\"?>\r\n"), 0);
    EXPECT_NE(document.find("<model>VXL</model>\r\n"), std::string::npos);
    EXPECT_FALSE(h.coordinator.IsModified());
}

TEST(CoordinatorXmlExport, ReportsWhyNothingWasWritten) {
    CoordinatorHarness h;
    EXPECT_EQ(h.coordinator.ExportXmlParameters(h.dir.File("empty")), rc::kMissingArgument);
    EXPECT_EQ(TempDir::Read(h.dir.File("empty.xml")), "");
    ASSERT_EQ(h.LoadDemo(), rc::kOk);
    EXPECT_EQ(h.coordinator.ExportXmlParameters(h.dir.File("no/such/folder/s")), rc::kFileNotFound);
}

TEST(CoordinatorDefaults, ApplyDefaultsWritesTheDefaultsAndRefreshesThePages) {
    CoordinatorHarness h;
    h.coordinator.SetView(&h.view);
    ASSERT_EQ(h.LoadDemo(), rc::kOk);
    ASSERT_EQ(h.coordinator.SetTextParameter(pid::kOwner, "Depot"), rc::kOk);
    ASSERT_EQ(h.coordinator.WriteMemoryByte(0x97, 3), rc::kOk);  // Digisquelch "Off"
    ModemParameterSet* set = h.coordinator.GetParameterSet();
    h.view.calls.clear();
    ASSERT_EQ(h.coordinator.ApplyDefaults(), rc::kOk);
    EXPECT_EQ(h.Int(pid::kDigisquelch), set->GetDefaultInt(pid::kDigisquelch));
    EXPECT_EQ(h.Int(pid::kParity), set->GetDefaultInt(pid::kParity));
    EXPECT_EQ(h.Text(pid::kOwner), "Depot");
    EXPECT_EQ(h.view.calls.front(), "FillPage 0");
    EXPECT_EQ(h.view.calls.back(), "UpdateDialog");
}

TEST(CoordinatorDefaults, RefreshLinkPageFillsOnlyTheRadioLinkPage) {
    CoordinatorHarness h;
    h.coordinator.SetView(&h.view);
    EXPECT_EQ(h.coordinator.RefreshLinkPage(), rc::kMissingArgument);
    ASSERT_EQ(h.LoadDemo(), rc::kOk);
    h.view.calls.clear();
    EXPECT_EQ(h.coordinator.RefreshLinkPage(), rc::kOk);
    EXPECT_EQ(h.view.calls, std::vector<std::string>{"FillPage 1"});
}

}  // namespace
}  // namespace vxl::test
