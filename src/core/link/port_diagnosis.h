// Why a serial port cannot be opened, and what the user can do about it: the group that may use
// the device, the process that holds it (or its lock file), or the adapter that is gone.
#pragma once

#include <string>
#include <vector>

namespace vxl {

enum class PortProblem {
    kNone,       // it opens
    kNoAccess,   // permission denied
    kInUse,      // another program holds the device or its lock file
    kGone,       // no such device: unplugged
    kNotSerial,  // the path is not a terminal
    kUnknown,    // the port number is not in the port table
    kOther,      // any other system error
};

struct PortProcess {
    int pid = 0;
    std::string name;  // the process's command name
};

struct PortDiagnosis {
    PortProblem problem = PortProblem::kNone;
    int error = 0;
    int portNumber = 0;  // when known
    std::string device;
    // kNoAccess: who owns the device and whether the user only needs to log in again.
    std::string owner, group;
    unsigned mode = 0;
    bool groupMayReadWrite = false;
    bool joinedGroupNotYetActive = false;
    // kInUse: the processes that have the device open, or the one whose lock file claims it.
    std::vector<PortProcess> holders;
    std::string lockFile;
    // Processes whose open files this user may not see (another user's programs).
    bool hiddenProcesses = false;

    // The status of a port in a list: "Available", "Unavailable: in use by minicom (PID 42)".
    std::string Status() const;
    // What happened and what to do, in sentences naming the device.
    std::string Advice() const;
};

// Diagnoses `error` (an errno value from opening `device`; 0 for success).
PortDiagnosis DiagnosePortError(const std::string& device, int error);

// The diagnosis of a failed open of port `portNumber` of the port table.
PortDiagnosis DiagnosePortOpen(int portNumber, int error);

// The processes with `device` open (through any path naming the same device).
std::vector<PortProcess> ProcessesUsingDevice(const std::string& device, bool* hidden = nullptr);

// The command name of process `pid`, empty when it cannot be read.
std::string ProcessName(int pid);

// True when `error` means another program holds the port.
bool IsPortInUseError(int error);

}  // namespace vxl
