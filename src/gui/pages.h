// The six pages of the property sheet, in their fixed order, each built from its control table.
// Identification has its controls; the other pages are frames that their own tables fill.
#pragma once

#include "gui/page.h"

namespace vxl::gui {

// The size of every page in dialog units (the sheet area less the tab strip).
constexpr int kPageWidth = 271;
constexpr int kPageHeight = 150;

// Control ids the main window refers to.
constexpr int kMemoryMapPrintButton = 1037;

// Builds page `index` with its table.
Page* MakePage(CoordinatorPage index, EditSink* sink, const DialogUnits& units,
               QWidget* parent = nullptr);

}  // namespace vxl::gui
