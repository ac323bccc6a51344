// The grid's contract as the pages use it: cells inside and outside the table, the fixed header
// row and column, cells that open no editor, and the keys that end an edit and where they leave
// the focus cell. (What each page's editors take: Pages.)
#include <QSignalSpy>
#include <QtTest>
#include <functional>

#include "gui/grid_ctrl.h"
#include "gui/number_fields.h"
#include "gui_test.h"

namespace vxl::gui::test {

namespace {

// A 5-row grid with a header row and a label column; column 1 holds one edit kind per row.
struct Form {
    Form() : grid(new GridCtrl(&window)) {
        grid->setGeometry(0, 0, 400, 200);
        grid->SetRowCount(5);
        grid->SetColumnCount(3);
        grid->SetFixedRowCount(1);
        grid->SetFixedColumnCount(1);
        const GridEditKind kinds[] = {GridEditKind::Text, GridEditKind::Decimal, GridEditKind::Hex,
                                      GridEditKind::Real};
        for (int row = 1; row < 5; ++row) {
            for (int column = 1; column < 3; ++column) {
                GridItem item;
                item.row = row;
                item.column = column;
                item.mask = GridItem::kText | GridItem::kEditKind | GridItem::kIntMaximum |
                            GridItem::kRealRange | GridItem::kDecimals;
                item.text = QStringLiteral("1");
                item.kind = kinds[row - 1];
                item.intMaximum = 255;
                item.realMinimum = -1.0;
                item.realMaximum = 490.0;
                item.decimals = 4;
                grid->SetItem(item);
            }
        }
        other = new QLineEdit(&window);
        other->move(0, 220);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        grid->setFocus();
    }
    // Types `text` on cell (row, column): the first character opens the editor.
    void Type(int row, int column, const QString& text) {
        grid->SetFocusCell(row, column);
        QTest::keyClicks(grid, text.left(1));
        if (QWidget* editor = grid->Editor()) QTest::keyClicks(editor, text.mid(1));
    }
    QWidget window;
    GridCtrl* grid;
    QLineEdit* other;
};

}  // namespace

class Grid : public QObject {
    Q_OBJECT
  private slots:
    void cellsOutsideTheTableAreRefused() {
        GridCtrl grid;
        grid.SetRowCount(17);
        grid.SetColumnCount(3);
        grid.SetFixedRowCount(1);
        QVERIFY(grid.SetItemText(16, 2, QStringLiteral("x")));
        QVERIFY(!grid.SetItemText(17, 0, QStringLiteral("y")));
        QVERIFY(!grid.SetItemText(0, 3, QStringLiteral("y")));
        GridItem item;
        item.row = -1;
        item.mask = GridItem::kText;
        QVERIFY(!grid.SetItem(item));
        QCOMPARE(grid.GetItemText(17, 0), QString());
        // The fixed row is the column header; the view's rows are the others.
        QVERIFY(grid.SetItemText(0, 1, QStringLiteral("TX")));
        QCOMPARE(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("TX"));
        QCOMPARE(grid.model()->rowCount(), 16);
        // Growing keeps what the cells hold.
        grid.SetRowCount(20);
        grid.SetColumnCount(4);
        QCOMPARE(grid.GetItemText(16, 2), QStringLiteral("x"));
        QCOMPARE(grid.GetItemText(0, 1), QStringLiteral("TX"));
    }

    // Typing on the label column, a read-only cell or column, or a read-only grid opens nothing;
    // nor does Ctrl with a letter, a shortcut.
    void fixedAndReadOnlyCellsNeverOpenAnEditor() {
        const struct {
            int row, column;
            std::function<void(GridCtrl*)> lock;
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
        } cases[] = {
            {1, 0, [](GridCtrl*) {}, Qt::Key_5, Qt::NoModifier},
            {2, 2, [](GridCtrl* g) { g->SetCellEditable(2, 2, false); }, Qt::Key_5, Qt::NoModifier},
            {2, 1, [](GridCtrl* g) { g->SetColumnEditable(1, false); }, Qt::Key_5, Qt::NoModifier},
            {2, 1, [](GridCtrl* g) { g->SetEditable(false); }, Qt::Key_5, Qt::NoModifier},
            {2, 1, [](GridCtrl*) {}, Qt::Key_A, Qt::ControlModifier},
        };
        for (const auto& c : cases) {
            Form form;
            c.lock(form.grid);
            form.grid->SetFocusCell(c.row, c.column);
            QTest::keyClick(form.grid, c.key, c.modifiers);
            QCOMPARE(form.grid->Editor(), nullptr);
        }
    }

    void navigationKeysEndAnEditStartedByTyping() {
        const struct {
            Qt::Key key;
            int row, column;
        } cases[] = {{Qt::Key_Down, 3, 1},
                     {Qt::Key_Up, 1, 1},
                     {Qt::Key_Right, 2, 2},
                     {Qt::Key_PageDown, 4, 1}};
        for (const auto& c : cases) {
            Form form;
            QSignalSpy ended(form.grid, &GridCtrl::endEdit);
            form.Type(2, 1, QStringLiteral("42"));
            QTest::keyClick(form.grid->Editor(), c.key);
            QCOMPARE(form.grid->Editor(), nullptr);
            QCOMPARE(ended.count(), 1);
            QCOMPARE(ended.at(0), (QList<QVariant>{2, 1}));
            QCOMPARE(form.grid->GetItemText(2, 1), QStringLiteral("42"));
            QCOMPARE(form.grid->FocusRow(), c.row);
            QCOMPARE(form.grid->FocusColumn(), c.column);
        }
    }

    void otherEditorsNeedCtrlEscapeDropsAndOutOfRangeReverts() {
        Form form;
        QSignalSpy ended(form.grid, &GridCtrl::endEdit);
        // F2 opens the editor without typing: the arrows move within it, Ctrl+arrow ends it.
        form.grid->SetFocusCell(2, 1);
        QTest::keyClick(form.grid, Qt::Key_F2);
        QWidget* editor = form.grid->Editor();
        QVERIFY(editor != nullptr);
        QTest::keyClick(editor, Qt::Key_Left);
        QCOMPARE(form.grid->Editor(), editor);
        QTest::keyClicks(editor, QStringLiteral("7"));
        QTest::keyClick(editor, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(form.grid->Editor(), nullptr);
        QCOMPARE(form.grid->GetItemText(2, 1), QStringLiteral("71"));
        QCOMPARE(form.grid->FocusRow(), 3);
        QCOMPARE(ended.count(), 1);

        // Escape drops the edit: no notification, the cell as it was.
        form.Type(2, 1, QStringLiteral("9"));
        QTest::keyClick(form.grid->Editor(), Qt::Key_Escape);
        QCOMPARE(form.grid->Editor(), nullptr);
        QCOMPARE(form.grid->GetItemText(2, 1), QStringLiteral("71"));
        // Out of range when the focus leaves: the cell keeps what it held.
        form.Type(4, 2, QStringLiteral("500"));
        form.other->setFocus();
        QCoreApplication::processEvents();
        QCOMPARE(form.grid->Editor(), nullptr);
        QCOMPARE(form.grid->GetItemText(4, 2), QStringLiteral("1"));
        QCOMPARE(ended.count(), 1);
        // In range when the focus leaves: stored and notified.
        form.grid->setFocus();
        form.Type(4, 2, QStringLiteral("0"));
        form.other->setFocus();
        QCoreApplication::processEvents();
        QCOMPARE(form.grid->GetItemText(4, 2), QStringLiteral("0"));
        QCOMPARE(ended.count(), 2);
        QCOMPARE(ended.at(1), (QList<QVariant>{4, 2}));
    }
};

VXL_GUI_SUITE(Grid);

}  // namespace vxl::gui::test

#include "grid_ctrl_test.moc"
