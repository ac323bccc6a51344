#include "gui/grid_ctrl.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <map>

#include "gui/number_fields.h"

namespace vxl::gui {

namespace {

bool IsNavigationKey(int key) {
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left ||
           key == Qt::Key_Right || key == Qt::Key_PageUp || key == Qt::Key_PageDown;
}

// The text an editor leaves in its cell: a number outside the cell's range puts back what the
// cell held, as the fields do when they lose the focus.
QString TextToStore(QWidget* editor, const GridCell& cell) {
    const QString text = static_cast<QLineEdit*>(editor)->text();
    if (auto* field = qobject_cast<IntField*>(editor)) {
        const int value = field->Value();
        if (value < 0 || value > cell.intMaximum) return cell.text;
    } else if (auto* real = qobject_cast<RealField*>(editor)) {
        const double value = real->Value();
        if (value != 0.0 && (value < cell.realMinimum || value > cell.realMaximum))
            return cell.text;
    }
    return text;
}

}  // namespace

// Makes the editor of a cell's kind and ends edits on the navigation keys.
class GridDelegate : public QStyledItemDelegate {
  public:
    explicit GridDelegate(GridCtrl* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        const GridCell* cell = grid_->Cell(grid_->model_->GridRow(index), index.column());
        if (cell == nullptr) return nullptr;
        QLineEdit* editor = nullptr;
        switch (cell->kind) {
            case GridEditKind::Decimal:
            case GridEditKind::Hex: {
                auto* field = new IntField(parent);
                field->SetHex(cell->kind == GridEditKind::Hex);
                field->SetRange(0, cell->intMaximum);
                editor = field;
                break;
            }
            case GridEditKind::Real: {
                auto* field = new RealField(parent);
                field->SetRange(cell->realMinimum, cell->realMaximum, cell->decimals);
                editor = field;
                break;
            }
            case GridEditKind::Text:
                editor = new QLineEdit(parent);
                break;
        }
        editor->setObjectName(QStringLiteral("gridEditor"));
        editor->setFrame(false);
        editor->setAlignment(cell->format & Qt::AlignHorizontal_Mask);
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        static_cast<QLineEdit*>(editor)->setText(index.data(Qt::EditRole).toString().trimmed());
    }

    void setModelData(QWidget* editor, QAbstractItemModel*,
                      const QModelIndex& index) const override {
        const int row = grid_->model_->GridRow(index);
        const GridCell* cell = grid_->Cell(row, index.column());
        if (cell == nullptr) return;
        const QString text = TextToStore(editor, *cell);
        if (text == cell->text) return;
        grid_->model_->SetText(row, index.column(), text);
        grid_->EditStored(row, index.column());
    }

  protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* editor = qobject_cast<QWidget*>(object);
        if (editor != nullptr && event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            const bool ctrl = key->modifiers() & Qt::ControlModifier;
            if (IsNavigationKey(key->key()) && (grid_->EditorStartedByKey() || ctrl)) {
                emit commitData(editor);
                emit closeEditor(editor, QAbstractItemDelegate::NoHint);
                grid_->MoveFocus(key->key(), key->modifiers());
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

  private:
    GridCtrl* grid_;
};

GridCtrl::GridCtrl(QWidget* parent) : QTableView(parent), model_(new GridModel(this)) {
    setModel(model_);
    setItemDelegate(new GridDelegate(this));
    setEditTriggers(AnyKeyPressed | DoubleClicked | EditKeyPressed);
    setSelectionMode(ContiguousSelection);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    UpdateHeader();
}

void GridCtrl::UpdateHeader() {
    horizontalHeader()->setVisible(model_->FixedRows() > 0);
}

void GridCtrl::SetRowCount(int rows) {
    model_->Resize(rows, model_->Columns());
}

void GridCtrl::SetColumnCount(int columns) {
    // Column widths belong to the view, which forgets them when the model is reset.
    std::map<int, int> widths;
    for (int c = 0; c < std::min(columns, model_->Columns()); ++c) widths[c] = columnWidth(c);
    model_->Resize(model_->Rows(), columns);
    for (const auto& [column, width] : widths) setColumnWidth(column, width);
}

void GridCtrl::SetFixedRowCount(int rows) {
    model_->SetFixed(rows, model_->FixedColumns());
    UpdateHeader();
}

void GridCtrl::SetFixedColumnCount(int columns) {
    model_->SetFixed(model_->FixedRows(), columns);
}

void GridCtrl::SetColumnWidth(int column, int width) {
    if (column >= 0 && column < model_->Columns()) setColumnWidth(column, width);
}

int GridCtrl::ClientWidth() const {
    return width() - 2 * frameWidth() -
           style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());
}

bool GridCtrl::SetItem(const GridItem& item) {
    if (!model_->Contains(item.row, item.column)) return false;
    GridCell cell = model_->Cell(item.row, item.column);
    if (item.mask & GridItem::kText) cell.text = item.text;
    if (item.mask & GridItem::kFormat) cell.format = item.format;
    if (item.mask & GridItem::kFont) {
        cell.font = item.font;
        cell.hasFont = true;
    }
    if (item.mask & GridItem::kEditKind) cell.kind = item.kind;
    if (item.mask & GridItem::kIntMaximum) cell.intMaximum = item.intMaximum;
    if (item.mask & GridItem::kRealRange) {
        cell.realMinimum = item.realMinimum;
        cell.realMaximum = item.realMaximum;
    }
    if (item.mask & GridItem::kDecimals) cell.decimals = item.decimals;
    model_->SetCell(item.row, item.column, cell);
    return true;
}

bool GridCtrl::SetItemText(int row, int column, const QString& text) {
    return model_->SetText(row, column, text);
}

QString GridCtrl::GetItemText(int row, int column) const {
    return model_->Contains(row, column) ? model_->Cell(row, column).text : QString();
}

const GridCell* GridCtrl::Cell(int row, int column) const {
    return model_->Contains(row, column) ? &model_->Cell(row, column) : nullptr;
}

void GridCtrl::SetEditable(bool editable) {
    model_->SetEditable(editable);
}

void GridCtrl::SetCellEditable(int row, int column, bool editable) {
    if (!model_->Contains(row, column) || model_->Cell(row, column).readOnly == !editable) return;
    GridCell cell = model_->Cell(row, column);
    cell.readOnly = !editable;
    model_->SetCell(row, column, cell);
}

void GridCtrl::SetFocusCell(int row, int column) {
    const QModelIndex index = model_->IndexOf(row, column);
    if (index.isValid()) setCurrentIndex(index);
}

int GridCtrl::FocusRow() const {
    return currentIndex().isValid() ? model_->GridRow(currentIndex()) : -1;
}

int GridCtrl::FocusColumn() const {
    return currentIndex().isValid() ? currentIndex().column() : -1;
}

QWidget* GridCtrl::Editor() const {
    return state() == EditingState ? indexWidget(currentIndex()) : nullptr;
}

bool GridCtrl::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    // Only a printable character opens an editor by typing.
    if (trigger == AnyKeyPressed && event != nullptr && event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (text.isEmpty() || !text.at(0).isPrint()) return false;
    }
    const bool opened = QTableView::edit(index, trigger, event);
    if (opened) startedByKey_ = trigger == AnyKeyPressed;
    return opened;
}

void GridCtrl::EditStored(int row, int column) {
    endedRow_ = row;
    endedColumn_ = column;
}

void GridCtrl::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTableView::closeEditor(editor, hint);
    startedByKey_ = false;
    if (endedRow_ < 0) return;
    const int row = endedRow_;
    const int column = endedColumn_;
    endedRow_ = endedColumn_ = -1;
    emit endEdit(row, column);
}

void GridCtrl::MoveFocus(int key, Qt::KeyboardModifiers modifiers) {
    static const std::map<int, CursorAction> kActions = {
        {Qt::Key_Up, MoveUp},       {Qt::Key_Down, MoveDown},     {Qt::Key_Left, MoveLeft},
        {Qt::Key_Right, MoveRight}, {Qt::Key_PageUp, MovePageUp}, {Qt::Key_PageDown, MovePageDown},
    };
    const auto action = kActions.find(key);
    if (action == kActions.end()) return;
    const QModelIndex next = moveCursor(action->second, modifiers & ~Qt::ControlModifier);
    if (next.isValid()) setCurrentIndex(next);
}

void GridCtrl::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        CopySelection();
        return;
    }
    QTableView::keyPressEvent(event);
}

void GridCtrl::CopySelection() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    if (selected.isEmpty()) return;
    int top = selected.first().row(), bottom = top, left = selected.first().column(), right = left;
    for (const QModelIndex& index : selected) {
        top = std::min(top, index.row());
        bottom = std::max(bottom, index.row());
        left = std::min(left, index.column());
        right = std::max(right, index.column());
    }
    QStringList lines;
    for (int row = top; row <= bottom; ++row) {
        QStringList cells;
        for (int column = left; column <= right; ++column)
            cells << model_->Cell(row + model_->FixedRows(), column).text.trimmed();
        lines << cells.join(QLatin1Char('\t'));
    }
    QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

}  // namespace vxl::gui
