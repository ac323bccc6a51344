#include "gui/frequencies_page.h"

#include "gui/grid_ctrl.h"
#include "gui/page_registry.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "util/result_codes.h"
#include "window/control_ids.h"

namespace vxl::gui {

namespace {

constexpr int kGridId = 1039;
constexpr int kRows = 17;  // the header row and channels 0 to 15
constexpr int kColumns = 3;
constexpr int kTxColumn = 1;
constexpr int kRxColumn = 2;
constexpr DluRect kGridRect{7, 4, 257, 104};
constexpr Qt::Alignment kCentred = Qt::AlignHCenter | Qt::AlignVCenter;
constexpr double kLowest = -1.0;
constexpr double kHighest = 490.0;
constexpr int kDecimals = 4;

const std::vector<ControlSpec>& FrequenciesTable() {
    using K = ControlKind;
    using R = UpdateRule;
    // clang-format off
    static const std::vector<ControlSpec> table = {
        {control::kExportChannelCsv, -1, K::PushButton, {7, 112, 80, 14}, R::None,
         "Export as CSV...", "exportCsvButton",
         "Writes the channel table shown as a CSV file (Channel,RX MHz,TX MHz) for a "
         "spreadsheet."},
        {control::kImportChannelCsv, -1, K::PushButton, {95, 112, 80, 14}, R::Plain,
         "Import CSV...", "importCsvButton",
         "Reads a channel plan from a CSV file. A row that does not suit this modem refuses the "
         "whole file."},
        {control::kExportChannelTable, -1, K::PushButton, {7, 130, 80, 14}, R::None,
         "Export Channel Table", "exportChannelTableButton",
         "Writes the channel table shown into a channel-table file (.upg) for the modem whose "
         "serial number you enter."},
        {control::kImportChannelTable, -1, K::PushButton, {95, 130, 80, 14}, R::Plain,
         "Import Channel Table", "importChannelTableButton",
         "Reads the channels of a channel-table file (.upg) into the modem's settings."},
        {control::kClearChannelTable, -1, K::PushButton, {183, 130, 81, 14}, R::None,
         "Clear Channel Table", "clearChannelTableButton",
         "Takes every channel out of use. Enter new frequencies and choose a current channel "
         "before you program the modem."},
    };
    // clang-format on
    return table;
}

constexpr const char* kGridHelp =
    "The 16 channels with their transmit and receive frequencies in MHz. Type over a frequency "
    "to change it; 0 takes the channel out of use.";

bool IsFrequencyCell(int row, int column) {
    return row >= 1 && row < kRows && (column == kTxColumn || column == kRxColumn);
}

// The channel parameter of a frequency cell: transmit in column 1, receive in column 2.
int CellParameter(int row, int column) {
    const int channel = row - 1;
    return column == kTxColumn ? pid::TxChannelId(channel) : pid::RxChannelId(channel);
}

}  // namespace

FrequenciesPage::FrequenciesPage(EditSink* sink, const DialogUnits& units, QWidget* parent)
    : Page(SheetPage::Frequencies, QStringLiteral("Frequencies"), 113, sink, parent),
      grid_(new GridCtrl(this)) {
    setObjectName(QStringLiteral("FrequenciesPage"));
    Build(FrequenciesTable(), units);
    setFixedSize(units.Size(kPageWidth, kPageHeight));
    grid_->setObjectName(QStringLiteral("frequencyGrid"));
    grid_->setAccessibleName(tr("Channels"));
    grid_->setProperty("controlId", kGridId);
    grid_->setGeometry(units.Rect(kGridRect));
    grid_->setWhatsThis(tr(kGridHelp));

    grid_->SetRowCount(kRows);
    grid_->SetColumnCount(kColumns);
    grid_->SetFixedRowCount(1);
    grid_->SetFixedColumnCount(1);
    const int width = grid_->ClientWidth();
    const int frequencyWidth = (width - width / 5) / 2;
    grid_->SetColumnWidth(kTxColumn, frequencyWidth);
    grid_->SetColumnWidth(kRxColumn, frequencyWidth);
    grid_->SetColumnWidth(0, width - 2 * frequencyWidth);
    const char* headers[kColumns] = {"Channel", "TX Frequency (MHz)", "RX Frequency (MHz)"};
    for (int column = 0; column < kColumns; ++column) {
        GridItem header;
        header.column = column;
        header.mask = GridItem::kText | GridItem::kFormat;
        header.text = tr(headers[column]);
        header.format = kCentred;
        grid_->SetItem(header);
    }
    for (int row = 1; row < kRows; ++row) {
        GridItem label;
        label.row = row;
        label.mask = GridItem::kText | GridItem::kFormat;
        label.text = QStringLiteral("%1 ").arg(row - 1);
        label.format = kCentred;
        grid_->SetItem(label);
        for (int column : {kTxColumn, kRxColumn}) {
            GridItem cell;
            cell.row = row;
            cell.column = column;
            cell.mask = GridItem::kFormat | GridItem::kEditKind | GridItem::kRealRange |
                        GridItem::kDecimals;
            cell.format = kCentred;
            cell.kind = GridEditKind::Real;
            cell.realMinimum = kLowest;
            cell.realMaximum = kHighest;
            cell.decimals = kDecimals;
            grid_->SetItem(cell);
        }
    }
    connect(grid_, &GridCtrl::endEdit, this, &FrequenciesPage::OnEndEdit);
}

void FrequenciesPage::Refresh(const ParameterChanges& changes, ModemParameterSet& parameters,
                              int keptId) {
    for (int row = 1; row < kRows; ++row) {
        for (int column : {kTxColumn, kRxColumn}) {
            const int id = CellParameter(row, column);
            std::string text;
            if (changes.Contains(id) && parameters.GetText(id, text) == rc::kOk)
                grid_->SetItemText(row, column, QString::fromStdString(text + " "));
        }
    }
    grid_->Redraw();
    Page::Refresh(changes, parameters, keptId);
}

void FrequenciesPage::UpdateControls(bool loaded, ModemParameterSet* parameters) {
    Page::UpdateControls(loaded, parameters);
    if (grid_->isEnabled() != loaded) grid_->setEnabled(loaded);
}

void FrequenciesPage::ClearFrequencies() {
    for (int row = 1; row < kRows; ++row) {
        grid_->SetItemText(row, kTxColumn, QString());
        grid_->SetItemText(row, kRxColumn, QString());
    }
    grid_->Redraw();
}

void FrequenciesPage::SetTransmitEditable(bool editable) {
    grid_->SetColumnEditable(kTxColumn, editable);
}

Page* MakeFrequenciesPage(EditSink* sink, const DialogUnits& units, QWidget* parent) {
    return new FrequenciesPage(sink, units, parent);
}

void FrequenciesPage::OnEndEdit(int row, int column) {
    if (!IsFrequencyCell(row, column)) return;
    SetChanged(true);
    bool ok = false;
    double mhz = grid_->GetItemText(row, column).trimmed().toDouble(&ok);
    if (!ok) mhz = 0.0;
    emit frequencyEdited(CellParameter(row, column), mhz);
}

}  // namespace vxl::gui
