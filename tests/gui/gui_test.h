// Qt Test suites of the window front end, each a QObject registered by name (test_gui runs the
// suite named on its command line, every suite when none is named), and the session they share:
// the main window opened as the program opens it, with switches (`factory`, `dealer`), on the
// demo modem with the fake clock and the recording operator.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/config_app.h"
#include "gui/main_dialog.h"
#include "gui/page.h"
#include "gui/property_sheet.h"
#include "params/definitions.h"
#include "support/fake_clock.h"
#include "support/golden.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"

namespace vxl::gui::test {

struct Suite {
    const char* name;
    std::function<std::unique_ptr<QObject>()> make;
};

std::vector<Suite>& Suites();

struct RegisterSuite {
    RegisterSuite(const char* name, std::function<std::unique_ptr<QObject>()> make) {
        Suites().push_back({name, std::move(make)});
    }
};

struct Session {
    // Runs start-up with `args` and port 7 (the window path does nothing), then opens the main
    // window over the application.
    explicit Session(std::vector<std::string> args = {});
    ~Session();

    // A key to the window, then the idle pass.
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void LoadDemo() { Key(Qt::Key_D, Qt::AltModifier); }
    PropertySheet* Sheet() const { return dialog->sheet(); }
    Page* PageOf(SheetPage page) const { return Sheet()->page(page); }
    CCoordinator& Coordinator() const { return app->Coordinator(); }
    // The window's control named `name` (the test ends when there is none).
    template <class T = QWidget>
    T* Find(const char* name) const {
        T* found = dialog->findChild<T*>(QString::fromLatin1(name));
        if (found == nullptr) qFatal("no control named %s", name);
        return found;
    }
    // The operator picks the item `text` of a list, or types `text` over a field.
    void Pick(const char* list, const QString& text);
    void Type(const char* field, const QString& text);
    // A setting as the coordinator holds it.
    int Int(int id) const;
    QString Text(int id) const;

    vxl::test::RecordingOperator ui;
    ScopedUi uiScope{ui};
    vxl::test::FakeClock clock;
    ScopedClock clockScope{clock};
    ScopedDefinitionsPath definitions{VXL_SOURCE_DATA_DIR "/vxlconf.ini"};
    vxl::test::TempDir dir;
    std::unique_ptr<CConfigApp> app = std::make_unique<CConfigApp>();
    std::unique_ptr<MainDialog> dialog;
};

// What the window shows, a line a control: the title, the menus as they open now, the buttons,
// the tabs, and each tab's controls by name with their state, what they hold and what a screen
// reader names them by; a grid a line a row.
QString Describe(MainDialog& dialog);

}  // namespace vxl::gui::test

#define VXL_GUI_SUITE(Class)                                \
    static ::vxl::gui::test::RegisterSuite register##Class( \
        #Class, [] { return std::unique_ptr<QObject>(new Class); })

// Compares `text` with the expected output kept as tests/data/`name`.
#define VXL_COMPARE_GOLDEN(name, text)                                     \
    do {                                                                   \
        const ::testing::AssertionResult same =                            \
            ::vxl::test::MatchesGolden(name, QString(text).toStdString()); \
        QVERIFY2(bool(same), same.message());                              \
    } while (false)
