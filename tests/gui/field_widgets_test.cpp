// The field widgets: typed text held to the field's rule, red out of range, and what Escape and
// leaving the field put back.
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
    // The rules themselves are the core's (field_input); here each number field binds its kind's
    // rule, beeps when it refuses, and reports each character it took as an edit. (The call sign
    // and serial number fields are typed on their pages: Pages; pastes in the program itself:
    // tests/gui_e2e.)
    void typedTextFollowsTheFieldsRule() {
        const struct {
            const char* kind;
            const char* input;
            const char* shown;
        } cases[] = {
            {"integer", "1234", "123"}, {"hex", "fFa", "fF"}, {"decimal", "12.345", "12.34"}};
        for (const auto& c : cases) {
            const QString kind = QString::fromLatin1(c.kind);
            QWidget window;
            FieldEdit* field = nullptr;
            if (kind == QLatin1String("decimal")) {
                auto* real = new RealField(&window);
                real->SetRange(0.0, 100.0, 2);
                field = real;
            } else {
                auto* number = new IntField(&window);
                number->SetHex(kind == QLatin1String("hex"));
                QVERIFY(number->SetRange(0, 255) && !number->SetRange(5, 5));
                field = number;
            }
            window.show();
            field->setFocus();
            QSignalSpy refused(field, &FieldEdit::refused);
            QSignalSpy edited(field, &FieldEdit::userEdited);
            QTest::keyClicks(field, QString::fromLatin1(c.input));
            QVERIFY2(field->text() == QString::fromLatin1(c.shown), c.kind);
            QVERIFY2(refused.count() == 1 && edited.count() == int(strlen(c.shown)), c.kind);
        }
    }

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

    // A call sign the modem holds with a code that has no character, shown as it is.
    void textTheRuleRefusesFromTheModemCanOnlyLoseCharacters() {
        QWidget window;
        auto* field = new CallSignField(&window);
        window.show();
        field->setFocus();
        field->setText(QStringLiteral("AB\aC"));
        QCOMPARE(field->text(), QStringLiteral("AB\aC"));
        QTest::keyClicks(field, "x#");
        QCOMPARE(field->text(), QStringLiteral("AB\aC"));
        QTest::keyClick(field, Qt::Key_Backspace);
        QCOMPARE(field->text(), QStringLiteral("AB\a"));
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, "x");
        QCOMPARE(field->text(), QStringLiteral("ABX"));
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
            if (selectionBox) {
                QVERIFY(field.lineEdit()->isReadOnly());
                field.setEnabled(false);
                QCOMPARE(field.lineEdit()->palette().color(QPalette::Disabled, QPalette::Base),
                         QColor(192, 192, 192));
            }
        }
    }
};

VXL_GUI_SUITE(FieldWidgets);

}  // namespace vxl::gui::test

#include "field_widgets_test.moc"
