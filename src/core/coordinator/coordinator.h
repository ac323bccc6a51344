// The Configuration Coordinator: the one object that ties the serial port, the modem, the
// modem's memory image and the parameter set together. It owns one class per concern: the
// session with the modem (port, capture, reads, release), the working settings (the image being
// edited, the parameters over it, every change through the rules), and the programming (what the
// modem is known to hold, Program with its backup and verification, restore); it runs the road
// of a load, a release, Program and Undo across them. Pages, the main window and the headless
// runs never touch the modem or the port themselves; every operation returns a result code
// (0 = success).
#pragma once

#include <string>

#include "coordinator/coordinator_view.h"
#include "coordinator/modem_programming.h"
#include "coordinator/modem_session.h"
#include "coordinator/working_settings.h"

class CCoordinator {
  public:
    CCoordinator();
    ~CCoordinator();
    CCoordinator(const CCoordinator&) = delete;
    CCoordinator& operator=(const CCoordinator&) = delete;

    vxl::ModemSession& Session() { return session_; }
    const vxl::ModemSession& Session() const { return session_; }
    vxl::WorkingSettings& Settings() { return settings_; }
    const vxl::WorkingSettings& Settings() const { return settings_; }
    vxl::ModemProgramming& Programming() { return programming_; }
    const vxl::ModemProgramming& Programming() const { return programming_; }

    // Start-up: port and capture method (ModemSession::Init) and the verification preference.
    int Init(int port, int captureMethod);

    // Whoever shows the modem (not owned); nullptr for a run without windows.
    void SetView(vxl::CoordinatorView* view);
    vxl::CoordinatorView* GetView() const { return view_; }

    // ---- The road of a load, and the release ----
    // Opens the port and captures the modem (ModemSession::Attach); the settings of a modem
    // attached before are forgotten.
    int Attach(std::string& responseText, bool interactive);
    // Reads the modem's memory and builds the working settings over a copy of it; the view is
    // told every value. 0 (also when a definition is missing), the read's code, or the
    // definitions' code (the settings then stay, unshown; the caller releases the modem).
    int Read(std::string& responseText, bool interactive);
    // Releases the modem (Reset unless keepOpen) and forgets everything about it. Always 0.
    int Detach(std::string& responseText, bool keepOpen = false);
    // Loads the demo modem; 103 while a modem is attached.
    int StartDemo();
    // The post-load adjustment of a modem whose firmware changed since it was last seen.
    int FirmwareFixUp(std::string& responseText);
    // Asked now and then while the window is idle: when the attached modem's device has gone
    // away, releases the modem without sending anything and returns the device's system error
    // (ModemSession::DetectLostDevice); 0 while the device is there.
    int ReleaseLostDevice();

    // ---- Program and undo ----
    // ModemProgramming::Program; the view is told the state afterwards.
    int Program(std::string& responseText);
    // The working settings go back to what the modem is known to hold.
    int Undo();

    // ---- State ----
    bool IsAttached() const { return session_.IsAttached(); }
    bool IsLoaded() const { return settings_.IsLoaded(); }
    bool IsModified() const { return programming_.HasPendingChanges(); }
    bool IsProgrammed() const { return programming_.IsProgrammed(); }
    // The Model value; -1 when nothing is loaded or it cannot be read.
    int GetModel() const { return settings_.GetModel(); }
    // Only this program's own model family (Model 5) is kept for editing.
    bool IsSupportedModel() const;
    // Program may be offered: there are changes, and a modem whose model identification is
    // missing or whose current channel is not one of the 16 is never written.
    bool MayProgram() const;

  private:
    int ApplyFirmwareChange(double previous, double current, bool& changed);
    void StateChanged();

    vxl::CoordinatorView* view_ = nullptr;
    // Destroyed in reverse order: the settings (whose image refers to the modem) before the
    // session.
    vxl::ModemSession session_;
    vxl::WorkingSettings settings_;
    vxl::ModemProgramming programming_{session_, settings_};
};
