// The six pages of the property sheet, in their fixed order, each built from its control table.
// The pages of the End User level have files of their own.
#pragma once

#include "gui/page.h"

namespace vxl::gui {

// The size of every page in dialog units (the sheet area less the tab strip).
constexpr int kPageWidth = 271;
constexpr int kPageHeight = 150;

// Control ids the main window refers to.
constexpr int kMemoryMapPrintButton = 1037;
constexpr int kImportChannelTableButton = 1101;

// Builds page `index` with its table.
Page* MakePage(CoordinatorPage index, EditSink* sink, const DialogUnits& units,
               QWidget* parent = nullptr);

Page* MakeIdentificationPage(EditSink* sink, const DialogUnits& units, QWidget* parent);
Page* MakeRadioLinkPage(EditSink* sink, const DialogUnits& units, QWidget* parent);
Page* MakeSerialInterfacePage(EditSink* sink, const DialogUnits& units, QWidget* parent);

}  // namespace vxl::gui
