// Everything that describes one simulated modem and its line, and the command line of vxlsim.
#pragma once

#include <string>
#include <vector>

#include "sim/lib/fault_plan.h"
#include "sim/lib/modem_memory.h"

namespace vxl::sim {

struct SimOptions {
    ModemProfile profile;
    // A whole 64 KiB memory image to start from instead of the profile's fresh one.
    std::string imagePath;
    // Write the stored memory back to imagePath whenever the modem stores it (Program).
    bool saveOnProgram = false;
    // --baud was given: it overrides the rate stored in a loaded image.
    bool baudGiven = false;
    // Write the memory to this file and exit (vxlsim only).
    std::string exportImagePath;

    // Symbolic link to the pseudo-terminal's slave (none when empty).
    std::string linkPath;
    // Every byte takes its wire time and every command its processing time.
    bool lineTiming = false;
    double processingMs = 0.0;
    double captureWindowSeconds = 2.0;
    // Power-cycle the modem this long after start (negative = never).
    double powerCycleAfterSeconds = -1.0;
    // The simulated operator: when the program is heard sending the power-on capture command
    // while the modem is in data mode, power-cycle the modem this long after, as an operator
    // following the program's "power cycle your modem now" would (negative = never).
    double operatorPowerCycleSeconds = -1.0;
    FaultPlan faults;
    std::string tracePath;
    // Answer as the modem of this transcript did instead of simulating one (a diagnostic trace
    // of the program, or a transcript of the simulator).
    std::string replayPath;
};

// Options of the vxlsim program: line timing on, 1 ms per command.
SimOptions ProgramDefaults();

enum class ParseOutcome { kRun, kHelp, kError };
ParseOutcome ParseCommandLine(const std::vector<std::string>& args, SimOptions* options,
                              std::string* error);
std::string HelpText();

// The memory a simulator starts with: the image file, or a fresh one for the profile.
bool InitialMemory(const SimOptions& options, MemoryBytes* memory, std::string* error);

}  // namespace vxl::sim
