// The cells of a GridCtrl: a table of texts with per-cell alignment, font and the kind of
// in-place editor. The grid's fixed first row (when it has one) is the view's column header;
// the other rows are the model's rows. Grid coordinates count the fixed row.
#pragma once

#include <QAbstractTableModel>
#include <QFont>
#include <vector>

namespace vxl::gui {

// How a cell is edited in place.
enum class GridEditKind { Text = 0, Decimal = 1, Hex = 2, Real = 3 };

struct GridCell {
    QString text;
    Qt::Alignment format = Qt::AlignLeft | Qt::AlignVCenter;
    QFont font;
    bool hasFont = false;
    GridEditKind kind = GridEditKind::Text;
    int intMaximum = 0;
    double realMinimum = 0.0;
    double realMaximum = 0.0;
    int decimals = 0;
    bool readOnly = false;  // never edited, whatever the grid and the column allow
};

class GridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit GridModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // Resizes the table; cells inside both sizes keep their contents.
    void Resize(int rows, int columns);
    int Rows() const { return rows_; }
    int Columns() const { return columns_; }
    void SetFixed(int rows, int columns);
    int FixedRows() const { return fixedRows_; }
    int FixedColumns() const { return fixedColumns_; }
    void SetEditable(bool editable) { editable_ = editable; }
    bool Editable() const { return editable_; }
    void SetColumnEditable(int column, bool editable);

    bool Contains(int row, int column) const {
        return row >= 0 && row < rows_ && column >= 0 && column < columns_;
    }
    bool IsFixed(int row, int column) const { return row < fixedRows_ || column < fixedColumns_; }
    // The cell at grid coordinates; Contains() must hold.
    const GridCell& Cell(int row, int column) const { return cells_[Offset(row, column)]; }
    // Replaces a cell and repaints it.
    void SetCell(int row, int column, const GridCell& cell);
    // False outside the table. An unchanged text costs nothing.
    bool SetText(int row, int column, const QString& text);
    // The grid row of a model index, and the index of a grid cell (invalid for the fixed row).
    int GridRow(const QModelIndex& index) const { return index.row() + fixedRows_; }
    QModelIndex IndexOf(int row, int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    size_t Offset(int row, int column) const {
        return static_cast<size_t>(row) * columns_ + column;
    }
    QVariant CellData(const GridCell& cell, bool fixed, int role) const;
    void CellChanged(int row, int column);

    int rows_ = 0;
    int columns_ = 0;
    int fixedRows_ = 0;
    int fixedColumns_ = 0;
    bool editable_ = true;
    std::vector<GridCell> cells_;
    std::vector<bool> readOnlyColumns_;
};

}  // namespace vxl::gui
