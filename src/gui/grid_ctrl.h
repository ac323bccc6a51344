// The table widget of the Frequencies and Memory Map pages: a scrolling grid of text cells with
// a fixed header row and fixed header columns, per-cell formatting and in-place editing.
// Typing a printable character on an editable cell opens the editor of the cell's kind (the
// pages' integer and decimal fields, with their range rules) holding that character; leaving
// the editor puts its text into the cell and sends endEdit(row, column). In an editor opened by
// typing, the arrow keys and Page Up/Down end the edit and move the focus cell (in any editor
// with Ctrl held). Escape drops the edit. Ctrl+C copies the selected cells as tab-separated
// lines.
#pragma once

#include <QTableView>

#include "gui/grid_model.h"

namespace vxl::gui {

// The fields of one cell that a SetItem call sets: `mask` selects them.
struct GridItem {
    enum Field : unsigned {
        kText = 1u << 0,
        kFormat = 1u << 1,
        kFont = 1u << 2,
        kEditKind = 1u << 3,
        kIntMaximum = 1u << 4,
        kRealRange = 1u << 5,
        kDecimals = 1u << 6,
    };
    int row = 0;
    int column = 0;
    unsigned mask = 0;
    QString text;
    Qt::Alignment format = Qt::AlignLeft | Qt::AlignVCenter;
    QFont font;
    GridEditKind kind = GridEditKind::Text;
    int intMaximum = 0;  // kinds Decimal and Hex: the range is 0 to this
    double realMinimum = 0.0;
    double realMaximum = 0.0;
    int decimals = 0;
};

class GridCtrl : public QTableView {
    Q_OBJECT
  public:
    explicit GridCtrl(QWidget* parent = nullptr);

    void SetRowCount(int rows);
    void SetColumnCount(int columns);
    int RowCount() const { return model_->Rows(); }
    int ColumnCount() const { return model_->Columns(); }
    // The fixed row (0 or 1) is the column header; fixed columns are drawn like it. Neither
    // is ever edited.
    void SetFixedRowCount(int rows);
    void SetFixedColumnCount(int columns);
    int FixedRowCount() const { return model_->FixedRows(); }
    int FixedColumnCount() const { return model_->FixedColumns(); }
    void SetColumnWidth(int column, int width);
    // Width available to the columns: inside the frame, beside the vertical scroll bar.
    int ClientWidth() const;

    // Sets the fields of `item.mask` of one cell; false (nothing set) outside the table.
    bool SetItem(const GridItem& item);
    bool SetItemText(int row, int column, const QString& text);
    // The cell's text; empty outside the table.
    QString GetItemText(int row, int column) const;
    const GridCell* Cell(int row, int column) const;

    // Grid-wide switch for in-place editing, and a read-only column within it.
    void SetEditable(bool editable);
    bool IsEditable() const { return model_->Editable(); }
    void SetColumnEditable(int column, bool editable) {
        model_->SetColumnEditable(column, editable);
    }
    void SetCellEditable(int row, int column, bool editable);

    void SetFocusCell(int row, int column);
    int FocusRow() const;
    int FocusColumn() const;
    // The open in-place editor, if any.
    QWidget* Editor() const;
    void Redraw() { viewport()->update(); }
    void CopySelection() const;

  signals:
    // An in-place edit ended and the cell holds its new text.
    void endEdit(int row, int column);

  protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    friend class GridDelegate;
    // An edit was stored into the cell at grid row `row`, column `column`.
    void EditStored(int row, int column);
    bool EditorStartedByKey() const { return startedByKey_; }
    // Moves the focus cell as the navigation key would.
    void MoveFocus(int key, Qt::KeyboardModifiers modifiers);
    void UpdateHeader();

    GridModel* model_;
    bool startedByKey_ = false;
    int endedRow_ = -1;
    int endedColumn_ = -1;
};

}  // namespace vxl::gui
