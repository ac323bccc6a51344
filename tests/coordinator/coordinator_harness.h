// Everything a coordinator test needs: simulated time, a recording operator, preferences in a
// fresh folder, the shipped definitions file, and a coordinator whose ports lead to a fake modem.
#pragma once

#include <memory>
#include <string>

#include "coordinator/coordinator.h"
#include "fake_modem_link.h"
#include "params/definitions.h"
#include "recording_view.h"
#include "support/fake_clock.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "ui/operator.h"
#include "util/clock.h"
#include "util/preferences.h"

namespace vxl::test {

// Hands the coordinator a link to a modem the test keeps, so the modem outlives a detach.
class ForwardingLink : public ISerialLink {
  public:
    explicit ForwardingLink(FakeModemLink& modem) : modem_(modem) {}
    bool IsOpen() const override { return modem_.IsOpen(); }
    bool StartMonitor() override { return modem_.StartMonitor(); }
    bool SuspendMonitor() override { return modem_.SuspendMonitor(); }
    bool ResumeMonitor() override { return modem_.ResumeMonitor(); }
    void Write(const uint8_t* bytes, int length) override { modem_.Write(bytes, length); }
    void Purge() override { modem_.Purge(); }
    int ReceivedCount() override { return modem_.ReceivedCount(); }
    void TakeReceived(uint8_t* dest, int* length) override { modem_.TakeReceived(dest, length); }
    int GetBaud() override { return modem_.GetBaud(); }
    bool SetBaud(int baud) override { return modem_.SetBaud(baud); }
    int GetPortNumber() const override { return modem_.GetPortNumber(); }

  private:
    FakeModemLink& modem_;
};

class CoordinatorHarness {
  public:
    explicit CoordinatorHarness(const ModemIdentity& identity = ModemIdentity());

    // Attach and Read with the port configured; returns the first failing result.
    int Load();
    // Loads the demo modem.
    int LoadDemo();
    // A parameter value read through the coordinator's parameter set (-999 when unreadable).
    int Int(int id) const;
    bool Bool(int id) const;
    double Real(int id) const;
    std::string Text(int id) const;

    FakeClock clock;
    RecordingOperator ui;
    TempDir dir;
    PreferenceStore prefs;
    FakeModemLink modem;
    RecordingView view;
    CCoordinator coordinator;
    std::string response;
    int linksOpened = 0;
    int openError = 0;  // a non-zero value makes opening the port fail with it

  private:
    ScopedDefinitionsPath scopedDefinitions_;
    ScopedClock scopedClock_;
    ScopedUi scopedUi_;
    ScopedPrefs scopedPrefs_;
};

}  // namespace vxl::test
