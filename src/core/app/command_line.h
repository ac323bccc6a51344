// The command line as the shell passed it: each argument is one word; a switch word is matched
// without regard to letter case; a switch's value is the next argument, or the text after the
// first '=' of "word=value", kept byte for byte. The switches themselves are the rows of
// app/switch_table.h.
#pragma once

#include <string>
#include <vector>

#include "app/privilege_level.h"

namespace vxl {

struct StartupOptions {
    bool nologo = false;
    bool keepopen = false;
    bool stealth = false;
    std::string stealthName;  // exactly as given; the export appends ".xml"
    int port = -1;            // -1: none given
    int captureMethod = -1;   // -1: none given; 1 soft break, 3 power-on capture
    bool echoWanted = false;  // dbgargs
    std::string echo;         // " [switch] [value] ..." with a leading blank

    // `dealer` or `factory`; the later switch wins.
    PrivilegeLevel level = PrivilegeLevel::EndUser;

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
    std::string exportCsvFile;    // channel plan to write as CSV
    std::string importCsvFile;    // channel plan (CSV) to import and program
    bool dryRun = false;          // show what the changes would do, program nothing
    std::string traceFile;        // transcript of the wire for a support request
    bool force = false;           // override a safety refusal (checksum, another modem)
    bool noverify = false;        // no read-back after programming, for this run
    bool fullwrite = false;       // write and verify every byte when programming, this run
    bool listPorts = false;       // print the port table and exit
    bool help = false;
    bool version = false;

    // A switch that runs without windows was given.
    bool headless = false;
    // The first mistake (a value missing or not a number, a value given to a switch that takes
    // none), as the line that tells it; nothing runs when there is one.
    std::string error;
    // Arguments that are no switch, as typed.
    std::vector<std::string> unknown;
};

// Parses the arguments after the program name.
StartupOptions ParseCommandLine(const std::vector<std::string>& args);

}  // namespace vxl
