// The main window started as the program starts it, with switches (`factory`, `dealer`), on the
// demo modem with the fake clock and the recording operator.
#pragma once

#include <QtTest>
#include <memory>
#include <string>
#include <vector>

#include "app/config_app.h"
#include "gui/main_dialog.h"
#include "gui/property_sheet.h"
#include "modem/demo_modem.h"
#include "params/definitions.h"
#include "support/fake_clock.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"

namespace vxl::gui::test {

// The demo modem with another configuration length (its checksum byte kept right).
class SizedDemoModem : public CDemoModem {
  public:
    explicit SizedDemoModem(int size) {
        configurationSize_ = size;
        std::string status;
        uint8_t sum = 0;
        for (int i = 0; i < size - 1; ++i) {
            uint8_t byte = 0;
            ReadMemoryLocation(status, byte, kMemoryStart + i, 1);
            sum = static_cast<uint8_t>(sum + byte);
        }
        WriteMemoryLocation(status, static_cast<uint8_t>(~sum), kMemoryStart + size - 1);
    }
};

struct LevelWindow {
    // Runs start-up with `args` (the window path does nothing), then opens the main window.
    explicit LevelWindow(const std::vector<std::string>& args) {
        app->SetPreferencePath(dir.File("prefs.conf"));
        app->SetInteractiveRun([](CConfigApp&) { return kExitOk; });
        std::vector<std::string> line = args;
        for (const char* word : {"nologo", "port", "7"}) line.emplace_back(word);
        app->Run(line);
        dialog = std::make_unique<MainDialog>(*app);
        app->Coordinator().SetView(dialog.get());
        dialog->show();
        dialog->activateWindow();
        if (!QTest::qWaitForWindowActive(dialog.get())) qWarning("the window did not come up");
        dialog->RunUpdatePass();
    }
    ~LevelWindow() {
        std::string response;
        app->Coordinator().Detach(response, true);
        app->Coordinator().SetView(nullptr);
        dialog.reset();
        app.reset();
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(dialog.get(), static_cast<Qt::Key>(key), modifiers);
        dialog->RunUpdatePass();
    }
    void LoadDemo() { Key(Qt::Key_D, Qt::AltModifier); }
    PropertySheet* Sheet() const { return dialog->sheet(); }
    template <class T>
    T* Page(SheetPage index) const {
        return static_cast<T*>(Sheet()->page(index));
    }
    QStringList Tabs() const {
        QStringList titles;
        for (int i = 0; i < Sheet()->count(); ++i) titles << Sheet()->tabText(i);
        return titles;
    }
    std::vector<std::string> Captions() const {
        std::vector<std::string> captions;
        for (const auto& m : ui.messages) captions.push_back(m.caption);
        return captions;
    }

    vxl::test::RecordingOperator ui;
    ScopedUi uiScope{ui};
    vxl::test::FakeClock clock;
    ScopedClock clockScope{clock};
    ScopedDefinitionsPath definitions{VXL_SOURCE_DATA_DIR "/vxlconf.ini"};
    vxl::test::TempDir dir;
    std::unique_ptr<CConfigApp> app = std::make_unique<CConfigApp>();
    std::unique_ptr<MainDialog> dialog;
};

}  // namespace vxl::gui::test
