// Typing into the field widgets: which keys they take, when they beep, red out of range, and
// what Escape and leaving the field put back.
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
    QWidget window;
    Field* field;
    QLineEdit* other;
};

}  // namespace

class FieldWidgets : public QObject {
    Q_OBJECT
  private slots:
    void integerFieldTakesDigitsUpToItsWidth_data();
    void integerFieldTakesDigitsUpToItsWidth();
    void integerFieldRevertsOnEscapeAndWhenLeftOutOfRange();
    void decimalFieldLimitsPointsAndDecimals_data();
    void decimalFieldLimitsPointsAndDecimals();
    void decimalFieldRevertsOutOfRangeButKeepsZero();
    void callSignIsUpperCaseRestrictedAndLimited_data();
    void callSignIsUpperCaseRestrictedAndLimited();
    void choiceFieldSkipsEmptyChoicesAndReportsPicks();
};

void FieldWidgets::integerFieldTakesDigitsUpToItsWidth_data() {
    QTest::addColumn<bool>("hex");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("beeps");
    QTest::addColumn<bool>("red");
    QTest::newRow("three digits of 255, a fourth beeps") << false << 255 << "1234"
                                                         << "123" << 1 << false;
    QTest::newRow("letters beep") << false << 255 << "1a2"
                                  << "12" << 1 << false;
    QTest::newRow("above the range is red") << false << 255 << "300"
                                            << "300" << 0 << true;
    QTest::newRow("hex takes two digits of ff") << true << 255 << "fFa"
                                                << "fF" << 1 << false;
    QTest::newRow("hex refuses g") << true << 255 << "g1"
                                   << "1" << 1 << false;
}

void FieldWidgets::integerFieldTakesDigitsUpToItsWidth() {
    QFETCH(bool, hex);
    QFETCH(int, maximum);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, beeps);
    QFETCH(bool, red);
    Form<IntField> form;
    form.field->SetHex(hex);
    QVERIFY(form.field->SetRange(0, maximum));
    QVERIFY(!form.field->SetRange(5, 5));
    QSignalSpy refused(form.field, &FieldEdit::refused);
    QSignalSpy edited(form.field, &FieldEdit::userEdited);
    QTest::keyClicks(form.field, typed);
    QCOMPARE(form.field->text(), shown);
    QCOMPARE(refused.count(), beeps);
    QCOMPARE(edited.count(), shown.size());
    QCOMPARE(form.Red(), red);
    QTest::keyClick(form.field, Qt::Key_Backspace);
    QCOMPARE(form.field->text(), shown.left(shown.size() - 1));
}

void FieldWidgets::integerFieldRevertsOnEscapeAndWhenLeftOutOfRange() {
    Form<IntField> form;
    form.field->SetRange(1, 100);
    form.Leave();
    form.field->SetValue(42);
    form.field->setFocus();
    QSignalSpy edited(form.field, &FieldEdit::userEdited);
    form.field->selectAll();
    QTest::keyClicks(form.field, "7");
    QTest::keyClick(form.field, Qt::Key_Escape);
    QCOMPARE(form.field->text(), QStringLiteral("42"));
    QCOMPARE(edited.count(), 2);  // the restored value is committed too

    form.field->selectAll();
    QTest::keyClicks(form.field, "0");
    QVERIFY(form.Red());
    form.Leave();
    QCOMPARE(form.field->Value(), 42);
    QVERIFY(!form.Red());

    form.field->setFocus();
    form.field->SetZeroPadding(true);
    form.field->selectAll();
    QTest::keyClicks(form.field, "7");
    form.Leave();
    QCOMPARE(form.field->text(), QStringLiteral("007"));  // a value in range is shown again
}

void FieldWidgets::decimalFieldLimitsPointsAndDecimals_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("beeps");
    QTest::addColumn<bool>("red");
    QTest::newRow("a third decimal beeps") << "12.345"
                                           << "12.34" << 1 << false;
    QTest::newRow("a second point beeps") << "1.2.3"
                                          << "1.23" << 1 << false;
    QTest::newRow("a minus or letter beeps") << "-a5"
                                             << "5" << 2 << false;
    QTest::newRow("150 in 0..100 is red") << "150"
                                          << "150" << 0 << true;
}

void FieldWidgets::decimalFieldLimitsPointsAndDecimals() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, beeps);
    QFETCH(bool, red);
    Form<RealField> form;
    form.field->SetRange(0.0, 100.0, 2);
    QSignalSpy refused(form.field, &FieldEdit::refused);
    QTest::keyClicks(form.field, typed);
    QCOMPARE(form.field->text(), shown);
    QCOMPARE(refused.count(), beeps);
    QCOMPARE(form.Red(), red);
}

void FieldWidgets::decimalFieldRevertsOutOfRangeButKeepsZero() {
    Form<RealField> form;
    form.field->SetRange(1.0, 100.0, 2);
    form.Leave();
    form.field->SetValue(2.5);
    QCOMPARE(form.field->text(), QStringLiteral("2.50"));
    form.field->setFocus();
    form.field->selectAll();
    QTest::keyClicks(form.field, "150");
    form.Leave();
    QCOMPARE(form.field->text(), QStringLiteral("2.50"));

    form.field->setFocus();
    form.field->selectAll();
    QTest::keyClicks(form.field, "0");
    QVERIFY(!form.Red());
    form.Leave();
    QCOMPARE(form.field->text(), QStringLiteral("0"));  // 0 is never out of range

    form.field->setFocus();
    form.field->selectAll();
    QTest::keyClicks(form.field, "7.25");
    QTest::keyClick(form.field, Qt::Key_Escape);
    QCOMPARE(form.field->text(), QStringLiteral("0.00"));
}

void FieldWidgets::callSignIsUpperCaseRestrictedAndLimited_data() {
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("beeps");
    QTest::newRow("lower case goes in as upper case") << 10 << "ab1cd"
                                                      << "AB1CD" << 0;
    QTest::newRow("punctuation of the set is taken") << 10 << "a/b-c?\""
                                                     << "A/B-C?\"" << 0;
    QTest::newRow("other characters beep") << 10 << "a#b c*"
                                           << "ABC" << 3;
    QTest::newRow("a seventh character beeps at 6") << 6 << "abcdefg"
                                                    << "ABCDEF" << 1;
}

void FieldWidgets::callSignIsUpperCaseRestrictedAndLimited() {
    QFETCH(int, limit);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, beeps);
    Form<CallSignField> form;
    form.field->SetLengthLimit(limit);
    QSignalSpy refused(form.field, &FieldEdit::refused);
    QTest::keyClicks(form.field, typed);
    QCOMPARE(form.field->text(), shown);
    QCOMPARE(refused.count(), beeps);
    QTest::keyClick(form.field, Qt::Key_Backspace);
    QCOMPARE(form.field->text(), shown.left(shown.size() - 1));
    form.field->setText(QStringLiteral(" \tw1aw\t "));
    QCOMPARE(form.field->CallSign(), QStringLiteral("W1AW"));
}

void FieldWidgets::choiceFieldSkipsEmptyChoicesAndReportsPicks() {
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
        if (selectionBox) {
            QVERIFY(field.lineEdit()->isReadOnly());
            field.setEnabled(false);
            QCOMPARE(field.lineEdit()->palette().color(QPalette::Disabled, QPalette::Base),
                     QColor(192, 192, 192));
        }
    }
}

VXL_GUI_SUITE(FieldWidgets);

}  // namespace vxl::gui::test

#include "field_widgets_test.moc"
