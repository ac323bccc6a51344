#include "gui/page_registry.h"

namespace vxl::gui {

namespace {

struct Registered {
    SheetPage index;
    PageMaker make;
};

constexpr Registered kPages[] = {
    {SheetPage::Identification, MakeIdentificationPage},
    {SheetPage::RadioLink, MakeRadioLinkPage},
    {SheetPage::SerialInterface, MakeSerialInterfacePage},
    {SheetPage::Frequencies, MakeFrequenciesPage},
    {SheetPage::MemoryMap, MakeMemoryMapPage},
    {SheetPage::Factory, MakeFactoryPage},
};

}  // namespace

Page* MakePage(SheetPage index, EditSink* sink, const DialogUnits& units, QWidget* parent) {
    for (const Registered& page : kPages)
        if (page.index == index) return page.make(sink, units, parent);
    return nullptr;
}

}  // namespace vxl::gui
