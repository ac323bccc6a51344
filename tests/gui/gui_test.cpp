#include "gui_test.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleFactory>
#include <cstring>

#include "gui/grid_ctrl.h"
#include "gui/window_front_end.h"
#include "params/modem_parameter_set.h"

namespace vxl::gui::test {

std::vector<Suite>& Suites() {
    static std::vector<Suite> suites;
    return suites;
}

Session::Session(std::vector<std::string> args) {
    app->SetPreferencePath(dir.File("prefs.conf"));
    app->SetInteractiveRun([](CConfigApp&) { return kExitOk; });
    for (const char* word : {"nologo", "port", "7"}) args.emplace_back(word);
    app->Run(args);
    dialog = std::make_unique<MainDialog>(*app);
    Coordinator().SetView(dialog.get());
    dialog->show();
    dialog->activateWindow();
    if (!QTest::qWaitForWindowActive(dialog.get())) qWarning("the window did not come up");
    dialog->RunUpdatePass();
}

Session::~Session() {
    std::string response;
    Coordinator().Detach(response, true);
    Coordinator().SetView(nullptr);
    dialog.reset();
    app.reset();
}

void Session::Key(int key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(dialog.get(), static_cast<Qt::Key>(key), modifiers);
    dialog->RunUpdatePass();
}

void Session::Pick(const char* list, const QString& text) {
    auto* box = Find<QComboBox>(list);
    box->setCurrentIndex(box->findText(text));
    if (box->currentIndex() < 0) qFatal("%s offers no %s", list, qPrintable(text));
    emit box->activated(box->currentIndex());
    dialog->RunUpdatePass();
}

void Session::Type(const char* field, const QString& text) {
    Find<QLineEdit>(field)->selectAll();
    QTest::keyClicks(Find(field), text);
}

int Session::Int(int id) const {
    int value = -999;
    Coordinator().Settings().Parameters()->GetInt(id, value);
    return value;
}

QString Session::Text(int id) const {
    std::string text;
    Coordinator().Settings().Parameters()->GetText(id, text);
    return QString::fromStdString(text);
}

namespace {

QString Items(QMenu* menu) {
    emit menu->aboutToShow();  // a menu shows what its commands would do now
    QStringList items;
    for (QAction* action : menu->actions()) {
        QString item = action->isSeparator() ? QStringLiteral("|") : action->text();
        if (action->menu() != nullptr) item += QStringLiteral(" {%1}").arg(Items(action->menu()));
        if (!action->data().isNull()) item += QLatin1Char('=') + action->data().toString();
        if (!action->isEnabled()) item += QStringLiteral(" (off)");
        if (action->isChecked()) item += QStringLiteral(" (checked)");
        items << item;
    }
    return items.join(QStringLiteral(", "));
}

// What a screen reader names a field by: its label (a list on Linux through the label relation,
// its name being its value).
QString SpokenName(QWidget* control) {
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(control);
    if (qobject_cast<QComboBox*>(control) == nullptr) return reader->text(QAccessible::Name);
    const auto labels = reader->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
}

QString Describe(QWidget* control) {
    QString text;
    if (auto* grid = qobject_cast<GridCtrl*>(control)) {
        for (int row = 0; row < grid->RowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < grid->ColumnCount(); ++column)
                cells << grid->GetItemText(row, column).trimmed();
            text += QStringLiteral("\n    | ") + cells.join(QStringLiteral(" | "));
        }
    } else if (auto* box = qobject_cast<QComboBox*>(control)) {
        QStringList items;
        for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
        text =
            QStringLiteral("\"%1\" of [%2]").arg(box->currentText(), items.join(QLatin1Char('|')));
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        text = QLatin1Char('"') + edit->text() + QLatin1Char('"');
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        text = QLatin1Char('"') + button->text() + QLatin1Char('"');
        if (button->isChecked()) text += QStringLiteral(" checked");
        if (auto* push = qobject_cast<QPushButton*>(control); push && push->isDefault())
            text += QStringLiteral(" default");
        if (qobject_cast<QPushButton*>(control) != nullptr)  // the command it stands for
            text += QStringLiteral(" #") + control->property("controlId").toString();
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        text = QLatin1Char('"') + label->text() + QLatin1Char('"');
    } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
        text = QLatin1Char('"') + group->title() + QLatin1Char('"');
    }
    const bool field = qobject_cast<QLineEdit*>(control) || qobject_cast<QComboBox*>(control) ||
                       qobject_cast<QAbstractSpinBox*>(control) || qobject_cast<GridCtrl*>(control);
    QString line = QStringLiteral("  %1:").arg(control->objectName());
    if (!control->isEnabled()) line += QStringLiteral(" (off)");
    if (control->isHidden()) line += QStringLiteral(" (hidden)");
    if (field) line += QStringLiteral(" <%1>").arg(SpokenName(control));
    return line + QLatin1Char(' ') + text;
}

}  // namespace

QString Describe(MainDialog& dialog) {
    QStringList lines{QStringLiteral("title: ") + dialog.windowTitle()};
    for (QAction* menu : dialog.findChild<QMenuBar*>()->actions())
        lines << QStringLiteral("menu %1: %2").arg(menu->text(), Items(menu->menu()));
    for (DialogButton id : {DialogButton::Help, DialogButton::Load, DialogButton::Program,
                            DialogButton::Close, DialogButton::Print, DialogButton::Exit,
                            DialogButton::UndoChanges, DialogButton::FactoryDefaults})
        lines << Describe(dialog.button(id));
    PropertySheet* sheet = dialog.sheet();
    for (int tab = 0; tab < sheet->count(); ++tab) {
        lines << QStringLiteral("tab %1%2%3")
                     .arg(sheet->tabText(tab), sheet->isTabEnabled(tab) ? "" : " (off)",
                          sheet->currentIndex() == tab ? " (current)" : "");
        for (QWidget* control :
             sheet->widget(tab)->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (!control->objectName().isEmpty()) lines << Describe(control);
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

}  // namespace vxl::gui::test

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The suite to run comes first; the rest goes to Qt Test.
    const char* only = argc > 1 && argv[1][0] != '-' ? argv[1] : nullptr;
    QStringList arguments;
    arguments << QString::fromLocal8Bit(argv[0]);
    for (int i = only ? 2 : 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    QApplication application(argc, argv);
    vxl::gui::KeepCoreLocaleNeutral();
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    int status = 0;
    for (const auto& suite : vxl::gui::test::Suites()) {
        if (only != nullptr && std::strcmp(only, suite.name) != 0) continue;
        std::unique_ptr<QObject> object = suite.make();
        status |= QTest::qExec(object.get(), arguments);
    }
    return status;
}
