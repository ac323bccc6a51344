// Everything a coordinator test needs: simulated time, a recording operator, preferences in a
// fresh folder, the shipped definitions file, and a coordinator whose port leads to a fake
// modem (by default a type-4 "VXL" of firmware 2.20, serial number 1427259, channel 0 at
// 455.0 MHz) that outlives every link the coordinator opens and closes.
#pragma once

#include <memory>
#include <string>

#include "coordinator/coordinator.h"
#include "params/definitions.h"
#include "params/modem_parameter_set.h"
#include "recording_view.h"
#include "support/fake_clock.h"
#include "support/fake_modem.h"
#include "support/fake_serial_link.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "ui/operator.h"
#include "util/clock.h"
#include "util/preferences.h"
#include "util/result_codes.h"

namespace vxl::test {

// Gives `modem` the identity of the harness's modem: of `modelByte` (0xD2: a "VXL"), firmware
// `revisionHundredths`, serial number 1427259, synthesizer type 4, channel 0 receiving on 455.0
// MHz.
inline void SetUpModem(FakeModem& modem, uint8_t modelByte = 0xD2, int revisionHundredths = 220) {
    const int major = revisionHundredths / 100, minor = revisionHundredths % 100;
    modem.SetIdentity(modelByte, static_cast<uint8_t>(major * 10 + minor / 10), minor % 10);
    modem.Poke(0x106, {0x00, 0x15, 0xC7, 0x3B});  // serial number
    modem.Poke(0x10B, {0x02, 0x7C, 0x68});        // channel 0 receives on 455.0 MHz
    modem.Poke(0x1A0, {4});                       // synthesizer type
    modem.SetConfigChecksum();
}

class CoordinatorHarness {
  public:
    explicit CoordinatorHarness(uint8_t modelByte = 0xD2, int revisionHundredths = 220)
        : prefs(dir.File("prefs.conf")),
          scopedDefinitions_(std::string(VXL_SOURCE_DATA_DIR) + "/vxlconf.ini"),
          scopedClock_(clock),
          scopedUi_(ui),
          scopedPrefs_(prefs) {
        SetUpModem(modem, modelByte, revisionHundredths);
        coordinator.Session().SetLinkFactory(
            [this](int, int& lastError) -> std::unique_ptr<ISerialLink> {
                ++linksOpened;
                lastError = openError;
                if (openError != 0) return nullptr;
                auto link = std::make_unique<FakeSerialLink>(3);
                modem.Connect(*link);
                lastLink = link.get();
                return link;
            });
        coordinator.Programming().SetBackupRoot(dir.File("backups"));
        coordinator.Init(3, 1);
    }

    // Attach and Read; returns the first failing result.
    int Load() {
        int result = coordinator.Attach(response, false);
        if (result != rc::kOk && result != rc::kModelIdMissing) return result;
        return coordinator.Read(response, false);
    }
    // A parameter value through the coordinator's parameter set (-999 when unreadable).
    int Int(int id) const {
        int value = -999;
        return Set() && Set()->GetInt(id, value) == rc::kOk ? value : -999;
    }
    double Real(int id) const {
        double value = -999.0;
        return Set() && Set()->GetReal(id, value) == rc::kOk ? value : -999.0;
    }
    std::string Text(int id) const {
        std::string text;
        if (Set()) Set()->GetText(id, text);
        return text;
    }
    ModemParameterSet* Set() const { return coordinator.Settings().Parameters(); }

    FakeClock clock;
    RecordingOperator ui;
    TempDir dir;
    PreferenceStore prefs;
    FakeModem modem{clock};
    RecordingView view;
    CCoordinator coordinator;
    std::string response;
    int linksOpened = 0;
    // The last link opened (the session wraps it for the diagnostic trace).
    FakeSerialLink* lastLink = nullptr;
    int openError = 0;  // a non-zero value makes opening the port fail with it

  private:
    ScopedDefinitionsPath scopedDefinitions_;
    ScopedClock scopedClock_;
    ScopedUi scopedUi_;
    ScopedPrefs scopedPrefs_;
};

}  // namespace vxl::test
