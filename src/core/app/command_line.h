// The command line: switches matched without regard to letter case, values after a blank or
// an equals sign, and an echo of what was understood for `dbgargs`.
#pragma once

#include <string>
#include <vector>

#include "app/privilege_level.h"

namespace vxl {

struct StartupOptions {
    bool nologo = false;
    bool keepopen = false;
    bool stealth = false;
    std::string stealthName;  // lower-cased, as the whole command line is
    int port = -1;            // -1: none given
    int captureMethod = -1;   // -1: none given; 1 soft break, 3 power-on capture
    bool echoWanted = false;  // dbgargs
    std::string echo;         // " [switch] [value] ..." with a leading blank
    int result = 0;           // 100 when a port value was not a number (parsing stopped there)

    // `dealer` or `factory`; the later switch wins.
    PrivilegeLevel level = PrivilegeLevel::EndUser;

    // Switches of this platform; their values keep their letter case.
    std::string device;           // a serial device path for this run
    std::string upgradeFile;      // firmware upgrade file for a headless upgrade
    std::string importFile;       // channel table to import and program
    std::string exportFile;       // channel table to write from the modem
    std::string reportFile;       // configuration report to write as a PDF file
    std::string memoryMapFile;    // memory-map listing to write as a PDF file
    bool defaults = false;        // apply factory defaults and program
    std::string restoreFile;      // a backup to put into the modem and program
    std::string saveProfileFile;  // write the modem's user settings as a profile
    std::string loadProfileFile;  // apply a settings profile and program it
    bool force = false;           // override a safety refusal (checksum, another modem)
    bool noverify = false;        // no read-back after programming, for this run
    bool listPorts = false;       // print the port table and exit
    bool help = false;

    // The first switch that needs a value but was given none ("upgrade", "port", ...).
    std::string missingValue;
    // Words that are neither a switch nor a switch's value, as typed.
    std::vector<std::string> unknown;
};

// Parses the arguments after the program name. Each argument is split further at blanks,
// tabs and equals signs, so "port=3" and "port 3" are the same.
StartupOptions ParseCommandLine(const std::vector<std::string>& args);

// The usage text printed for `help`.
std::string CommandLineUsage();
// How a switch that takes a value is written ("upgrade FILE"); the switch itself otherwise.
std::string SwitchUsage(const std::string& word);

}  // namespace vxl
