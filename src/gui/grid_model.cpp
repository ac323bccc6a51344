#include "gui/grid_model.h"

#include <QApplication>
#include <QPalette>
#include <algorithm>

namespace vxl::gui {

void GridModel::Resize(int rows, int columns) {
    rows = std::max(rows, 0);
    columns = std::max(columns, 0);
    if (rows == rows_ && columns == columns_) return;
    beginResetModel();
    std::vector<GridCell> cells(static_cast<size_t>(rows) * columns);
    for (int r = 0; r < std::min(rows, rows_); ++r)
        for (int c = 0; c < std::min(columns, columns_); ++c)
            cells[static_cast<size_t>(r) * columns + c] = std::move(cells_[Offset(r, c)]);
    cells_ = std::move(cells);
    rows_ = rows;
    columns_ = columns;
    readOnlyColumns_.resize(static_cast<size_t>(columns), false);
    endResetModel();
}

void GridModel::SetFixed(int rows, int columns) {
    // One fixed row at most: it is drawn as the column header, which does not scroll.
    rows = std::clamp(rows, 0, 1);
    columns = std::max(columns, 0);
    if (rows == fixedRows_ && columns == fixedColumns_) return;
    beginResetModel();
    fixedRows_ = rows;
    fixedColumns_ = columns;
    endResetModel();
}

void GridModel::SetColumnEditable(int column, bool editable) {
    if (column < 0 || column >= columns_) return;
    readOnlyColumns_[static_cast<size_t>(column)] = !editable;
}

void GridModel::SetCell(int row, int column, const GridCell& cell) {
    cells_[Offset(row, column)] = cell;
    CellChanged(row, column);
}

bool GridModel::SetText(int row, int column, const QString& text) {
    if (!Contains(row, column)) return false;
    GridCell& cell = cells_[Offset(row, column)];
    if (cell.text == text) return true;
    cell.text = text;
    CellChanged(row, column);
    return true;
}

void GridModel::CellChanged(int row, int column) {
    if (row < fixedRows_) {
        emit headerDataChanged(Qt::Horizontal, column, column);
        return;
    }
    const QModelIndex at = index(row - fixedRows_, column);
    emit dataChanged(at, at);
}

QModelIndex GridModel::IndexOf(int row, int column) const {
    if (!Contains(row, column) || row < fixedRows_) return QModelIndex();
    return index(row - fixedRows_, column);
}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_ - fixedRows_;
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant GridModel::CellData(const GridCell& cell, bool fixed, int role) const {
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return cell.text;
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(cell.format);
        case Qt::FontRole:
            return cell.hasFont ? QVariant(cell.font) : QVariant();
        case Qt::BackgroundRole:
            return fixed ? QVariant(QApplication::palette().button()) : QVariant();
        case Qt::ForegroundRole:
            return fixed ? QVariant(QApplication::palette().buttonText()) : QVariant();
        default:
            return QVariant();
    }
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return QVariant();
    const int row = GridRow(index);
    if (!Contains(row, index.column())) return QVariant();
    return CellData(Cell(row, index.column()), IsFixed(row, index.column()), role);
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || fixedRows_ == 0 || !Contains(0, section))
        return QVariant();
    if (role == Qt::BackgroundRole || role == Qt::ForegroundRole) return QVariant();
    return CellData(Cell(0, section), true, role);
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const int column = index.column();
    const int row = GridRow(index);
    if (editable_ && !IsFixed(row, column) && !readOnlyColumns_[static_cast<size_t>(column)] &&
        !Cell(row, column).readOnly)
        flags |= Qt::ItemIsEditable;
    return flags;
}

}  // namespace vxl::gui
