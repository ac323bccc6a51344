#include "gui/pages.h"

#include "gui/factory_page.h"
#include "gui/frequencies_page.h"
#include "gui/memory_map_page.h"

namespace vxl::gui {

Page* MakePage(CoordinatorPage index, EditSink* sink, const DialogUnits& units, QWidget* parent) {
    switch (index) {
        case CoordinatorPage::Identification:
            return MakeIdentificationPage(sink, units, parent);
        case CoordinatorPage::RadioLink:
            return MakeRadioLinkPage(sink, units, parent);
        case CoordinatorPage::SerialInterface:
            return MakeSerialInterfacePage(sink, units, parent);
        case CoordinatorPage::Frequencies:
            return new FrequenciesPage(sink, units, parent);
        case CoordinatorPage::MemoryMap:
            return new MemoryMapPage(sink, units, parent);
        case CoordinatorPage::Factory:
            return new FactoryPage(sink, units, parent);
        default:
            break;
    }
    return nullptr;
}

}  // namespace vxl::gui
