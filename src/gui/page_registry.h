// The six pages of the property sheet: each page's file defines the function that builds it
// from its control table, and the registry finds it by the page's place in the sheet.
#pragma once

#include "gui/page.h"

namespace vxl::gui {

// The size of every page in dialog units (the sheet area less the tab strip).
constexpr int kPageWidth = 271;
constexpr int kPageHeight = 150;

using PageMaker = Page* (*)(EditSink* sink, const DialogUnits& units, QWidget* parent);

// Defined in the pages' files.
Page* MakeIdentificationPage(EditSink* sink, const DialogUnits& units, QWidget* parent);
Page* MakeRadioLinkPage(EditSink* sink, const DialogUnits& units, QWidget* parent);
Page* MakeSerialInterfacePage(EditSink* sink, const DialogUnits& units, QWidget* parent);
Page* MakeFrequenciesPage(EditSink* sink, const DialogUnits& units, QWidget* parent);
Page* MakeMemoryMapPage(EditSink* sink, const DialogUnits& units, QWidget* parent);
Page* MakeFactoryPage(EditSink* sink, const DialogUnits& units, QWidget* parent);

// Builds page `index`.
Page* MakePage(SheetPage index, EditSink* sink, const DialogUnits& units,
               QWidget* parent = nullptr);

}  // namespace vxl::gui
