#include "gui/pages.h"

#include "params/parameter_ids.h"

namespace vxl::gui {

namespace {

using K = ControlKind;
using R = UpdateRule;

const std::vector<ControlSpec>& MemoryMapTable() {
    static const std::vector<ControlSpec> table = {
        {kMemoryMapPrintButton,
         -1,
         K::PushButton,
         {7, 4, 50, 14},
         R::Plain,
         "Print",
         "memoryMapPrintButton"},
    };
    return table;
}

struct PageRow {
    CoordinatorPage index;
    const char* title;
    int dialogId;
    const std::vector<ControlSpec>& (*table)();
};

const std::vector<ControlSpec>& NoControls() {
    static const std::vector<ControlSpec> none;
    return none;
}

constexpr PageRow kPages[] = {
    {CoordinatorPage::Frequencies, "Frequencies", 113, NoControls},
    {CoordinatorPage::MemoryMap, "Memory Map", 114, MemoryMapTable},
    {CoordinatorPage::Factory, "Factory", 118, NoControls},
};

// A page whose table is given at construction.
class TablePage : public Page {
  public:
    TablePage(const PageRow& row, EditSink* sink, const DialogUnits& units, QWidget* parent)
        : Page(row.index, QString::fromLatin1(row.title), row.dialogId, sink, parent) {
        setObjectName(QString::fromLatin1(row.title).remove(QLatin1Char(' ')) +
                      QStringLiteral("Page"));
        Build(row.table(), units);
        setFixedSize(units.Size(kPageWidth, kPageHeight));
    }
};

}  // namespace

Page* MakePage(CoordinatorPage index, EditSink* sink, const DialogUnits& units, QWidget* parent) {
    switch (index) {
        case CoordinatorPage::Identification:
            return MakeIdentificationPage(sink, units, parent);
        case CoordinatorPage::RadioLink:
            return MakeRadioLinkPage(sink, units, parent);
        case CoordinatorPage::SerialInterface:
            return MakeSerialInterfacePage(sink, units, parent);
        default:
            break;
    }
    for (const PageRow& row : kPages) {
        if (row.index == index) return new TablePage(row, sink, units, parent);
    }
    return nullptr;
}

}  // namespace vxl::gui
