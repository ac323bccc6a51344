#include "gui/memory_map_page.h"

#include <array>

#include "gui/grid_ctrl.h"
#include "gui/page_registry.h"
#include "params/modem_memory_image.h"
#include "params/modem_parameter_set.h"
#include "util/result_codes.h"
#include "window/control_ids.h"

namespace vxl::gui {

namespace {

constexpr int kBytesPerRow = 8;
constexpr int kGridId = 1034;
constexpr DluRect kGridRect{7, 22, 257, 122};
constexpr Qt::Alignment kCentred = Qt::AlignHCenter | Qt::AlignVCenter;

const std::vector<ControlSpec>& MemoryMapTable() {
    // clang-format off
    static const std::vector<ControlSpec> table = {
        {control::kPrintMemoryMap, -1, ControlKind::PushButton, {7, 4, 50, 14}, UpdateRule::Plain,
         "Print", "memoryMapPrintButton", "Prints the memory map of the loaded modem."},
    };
    // clang-format on
    return table;
}

// "00" to "FF", made once: a refill after every edit only copies them.
const std::array<QString, 256>& ByteTexts() {
    static const std::array<QString, 256> texts = [] {
        std::array<QString, 256> made;
        for (int i = 0; i < 256; ++i) made[static_cast<size_t>(i)] = QString::asprintf("%02X", i);
        return made;
    }();
    return texts;
}

QString AddressText(int address) {
    return QString::asprintf("0x%04X", static_cast<unsigned>(address));
}

}  // namespace

MemoryMapPage::MemoryMapPage(EditSink* sink, const DialogUnits& units, QWidget* parent)
    : Page(SheetPage::MemoryMap, QStringLiteral("Memory Map"), 114, sink, parent),
      grid_(new GridCtrl(this)) {
    setObjectName(QStringLiteral("MemoryMapPage"));
    Build(MemoryMapTable(), units);
    setFixedSize(units.Size(kPageWidth, kPageHeight));
    grid_->setObjectName(QStringLiteral("memoryMapGrid"));
    grid_->setAccessibleName(tr("Memory Map"));
    grid_->setProperty("controlId", kGridId);
    grid_->setGeometry(units.Rect(kGridRect));
    grid_->setWhatsThis(
        tr("The modem's configuration memory, eight bytes a row. Type over a byte "
           "in hexadecimal to change it; the other pages follow at once."));
    grid_->SetColumnCount(kBytesPerRow + 1);
    grid_->SetFixedColumnCount(1);
    connect(grid_, &GridCtrl::endEdit, this, &MemoryMapPage::OnEndEdit);
}

void MemoryMapPage::SetUp(int bytes) {
    layoutBytes_ = bytes;
    const int rows = bytes / kBytesPerRow + 1;
    grid_->SetRowCount(rows);
    const int width = grid_->ClientWidth();
    for (int column = 1; column <= kBytesPerRow; ++column)
        grid_->SetColumnWidth(column, width / 10);
    grid_->SetColumnWidth(0, width - kBytesPerRow * (width / 10));
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column <= kBytesPerRow; ++column) {
            const int offset = row * kBytesPerRow + column - 1;
            GridItem item;
            item.row = row;
            item.column = column;
            item.mask =
                GridItem::kText | GridItem::kFormat | GridItem::kEditKind | GridItem::kIntMaximum;
            item.format = kCentred;
            item.kind = GridEditKind::Hex;
            item.intMaximum = 255;
            grid_->SetItem(item);
            // The cells after the last byte hold nothing to edit.
            grid_->SetCellEditable(row, column, column > 0 && offset < bytes);
        }
    }
}

void MemoryMapPage::Refresh(const ParameterChanges&, ModemParameterSet& parameters, int) {
    FillMemoryMap(parameters.GetImage());
}

void MemoryMapPage::FillMemoryMap(const ModemMemoryImage* image) {
    const int count = image != nullptr ? image->GetMainSize() : layoutBytes_;
    if (image != nullptr) startAddress_ = image->GetBaseAddress();
    if (count != layoutBytes_) SetUp(count);
    shown_.assign(static_cast<size_t>(count), 0);
    const bool read = image != nullptr && count > 0 &&
                      image->ReadBytes(startAddress_, count, shown_.data()) == rc::kOk;
    if (!read) shown_.clear();
    for (int i = 0; i < count; ++i) {
        const int row = i / kBytesPerRow;
        const int column = i % kBytesPerRow + 1;
        grid_->SetItemText(row, column,
                           read ? ByteTexts()[shown_[static_cast<size_t>(i)]] : QString());
        if (column == 1)
            grid_->SetItemText(row, 0, read ? AddressText(startAddress_ + i) : QString());
    }
    grid_->Redraw();
}

Page* MakeMemoryMapPage(EditSink* sink, const DialogUnits& units, QWidget* parent) {
    return new MemoryMapPage(sink, units, parent);
}

void MemoryMapPage::OnEndEdit(int row, int column) {
    SetChanged(true);
    const int offset = row * kBytesPerRow + column - 1;
    if (column < 1 || offset >= ByteCount()) return;
    bool ok = false;
    const int value = grid_->GetItemText(row, column).trimmed().toInt(&ok, 16);
    if (!ok) {
        // An emptied cell is no value: the byte stays as it was.
        grid_->SetItemText(row, column, ByteTexts()[shown_[static_cast<size_t>(offset)]]);
        return;
    }
    emit byteEdited(offset, value);
}

void MemoryMapPage::UpdateControls(bool loaded, ModemParameterSet* parameters) {
    Page::UpdateControls(loaded, parameters);
    if (grid_->isEnabled() != loaded) grid_->setEnabled(loaded);
}

}  // namespace vxl::gui
