// The field widgets: red out of range, what Escape and leaving the field put back, and picks in a
// list. What each kind takes is the core's rule (field_input); that typing and pasting reach it,
// the pages' tests and tests/gui_e2e.
#include <QSignalSpy>
#include <QtTest>

#include "gui/text_fields.h"
#include "gui_test.h"

namespace vxl::gui::test {

namespace {

// A window with the field under test and a second field to move the focus to.
template <class Field>
struct Form {
    Form() : field(new Field(&window)), other(new QLineEdit(&window)) {
        other->move(0, 40);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        field->setFocus();
    }
    bool Red() const { return field->palette().color(QPalette::Text) == QColor(255, 0, 0); }
    void Leave() {
        other->setFocus();
        QCoreApplication::processEvents();
    }
    // Types `typed` over the field's text, then presses `key` or, without one, leaves the field:
    // what the field shows then, and whether it was red before and is still red after.
    QString Enter(const char* typed, Qt::Key key = Qt::Key_unknown) {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, typed);
        const bool red = Red();
        if (key != Qt::Key_unknown)
            QTest::keyClick(field, key);
        else
            Leave();
        return field->text() + (red ? " red" : "") + (Red() ? " still red" : "");
    }
    QWidget window;
    Field* field;
    QLineEdit* other;
};

}  // namespace

class FieldWidgets : public QObject {
    Q_OBJECT
  private slots:
    void numberFieldsPutBackTheirValueOnEscapeAndOutOfRange() {
        Form<IntField> number;
        number.field->SetRange(1, 100);
        number.Leave();
        number.field->SetValue(42);
        QSignalSpy edited(number.field, &FieldEdit::userEdited);
        QCOMPARE(number.Enter("7", Qt::Key_Escape), QStringLiteral("42"));
        QCOMPARE(edited.count(), 2);  // the restored value is committed too
        QCOMPARE(number.Enter("0"), QStringLiteral("42 red"));
        number.field->SetZeroPadding(true);
        QCOMPARE(number.Enter("7"), QStringLiteral("007"));  // a value in range is shown again

        Form<RealField> real;
        real.field->SetRange(1.0, 100.0, 2);
        real.Leave();
        real.field->SetValue(2.5);
        QCOMPARE(real.field->text(), QStringLiteral("2.50"));
        QCOMPARE(real.Enter("150"), QStringLiteral("2.50 red"));
        QCOMPARE(real.Enter("0"), QStringLiteral("0"));  // 0 is never out of range
        QCOMPARE(real.Enter("7.25", Qt::Key_Escape), QStringLiteral("0.00"));
    }

    void choiceFieldSkipsEmptyChoicesAndReportsPicks() {
        for (bool selectionBox : {false, true}) {
            ChoiceField field(selectionBox);
            field.SetChoices({"1200", "", "4800", "9600"}, {0, 1, 2, 3}, 2);
            QCOMPARE(field.count(), 3);
            QCOMPARE(field.currentText(), QStringLiteral("4800"));
            QCOMPARE(field.Value(), 2);
            field.SelectValue(1);
            QCOMPARE(field.Value(), -1);
            QSignalSpy edited(&field, &ChoiceField::userEdited);
            field.SelectValue(3);
            QCOMPARE(edited.count(), 0);  // a value shown by the program is no edit
            emit field.activated(0);
            QCOMPARE(edited.count(), 1);
            if (selectionBox) QVERIFY(field.lineEdit()->isReadOnly());
        }
    }
};

VXL_GUI_SUITE(FieldWidgets);

}  // namespace vxl::gui::test

#include "field_widgets_test.moc"
