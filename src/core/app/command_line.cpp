#include "app/command_line.h"

#include <climits>

#include "util/format.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

struct Token {
    std::string lower;     // for matching, and as the stealth name
    std::string original;  // letter case kept, for paths
};

std::vector<Token> Tokenize(const std::vector<std::string>& args) {
    std::vector<Token> tokens;
    for (const std::string& arg : args) {
        std::string current;
        for (size_t i = 0; i <= arg.size(); ++i) {
            char c = i < arg.size() ? arg[i] : ' ';
            if (c == ' ' || c == '\t' || c == '=') {
                if (!current.empty()) tokens.push_back(Token{ToLower(current), current});
                current.clear();
            } else {
                current += c;
            }
        }
    }
    return tokens;
}

// Only a whole string of the digits 0-9 that fits an int is a port number.
bool ParsePortNumber(const std::string& text, int* port) {
    if (text.empty()) return false;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
        if (value > INT_MAX) return false;
    }
    *port = static_cast<int>(value);
    return true;
}

enum class Pending {
    None,
    FileName,
    Port,
    Device,
    Upgrade,
    Import,
    Export,
    Report,
    MemoryMap,
    Restore,
    SaveProfile,
    LoadProfile
};

// The option that a pending path value fills.
std::string* PathOption(StartupOptions* opt, Pending pending) {
    switch (pending) {
        case Pending::Device:
            return &opt->device;
        case Pending::Upgrade:
            return &opt->upgradeFile;
        case Pending::Import:
            return &opt->importFile;
        case Pending::Report:
            return &opt->reportFile;
        case Pending::MemoryMap:
            return &opt->memoryMapFile;
        case Pending::Restore:
            return &opt->restoreFile;
        case Pending::SaveProfile:
            return &opt->saveProfileFile;
        case Pending::LoadProfile:
            return &opt->loadProfileFile;
        default:
            return &opt->exportFile;
    }
}

}  // namespace

StartupOptions ParseCommandLine(const std::vector<std::string>& args) {
    StartupOptions opt;
    Pending pending = Pending::None;
    std::string pendingSwitch;  // the switch whose value is awaited
    bool portGiven = false;     // the pending port already has a number
    auto echo = [&opt](const std::string& word) {
        opt.echo = Format("%s [%s]", opt.echo.c_str(), word.c_str());
    };
    // A value that never came: the switch is named once, the first time.
    auto noteMissing = [&]() {
        const bool waiting = pending != Pending::None && !(pending == Pending::Port && portGiven);
        if (waiting && opt.missingValue.empty()) opt.missingValue = pendingSwitch;
    };
    auto await = [&](Pending what, const std::string& word) {
        noteMissing();
        pending = what;
        pendingSwitch = word;
        portGiven = false;
    };
    // A plain switch ends a pending port value; a pending file name or path stays pending.
    auto plainSwitch = [&]() {
        if (pending == Pending::Port) {
            noteMissing();
            pending = Pending::None;
        }
    };

    for (const Token& token : Tokenize(args)) {
        const std::string& t = token.lower;
        if (t == "dbgargs") {
            echo(t);
            opt.echoWanted = true;
            // dbgargs is then treated as a value token below.
        } else if (t == "nologo" || t == "keepopen") {
            (t == "nologo" ? opt.nologo : opt.keepopen) = true;
            plainSwitch();
            echo(t);
            continue;
        } else if (t == "stealth") {
            opt.stealth = true;
            await(Pending::FileName, t);
            echo(t);
            continue;
        } else if (t == "port") {
            await(Pending::Port, t);
            echo(t);
            continue;
        } else if (t == "softbreak" || t == "poweroncapture") {
            opt.captureMethod = t == "softbreak" ? 1 : 3;
            plainSwitch();
            echo(t);
            continue;
        } else if (t == "dealer" || t == "factory") {
            opt.level = t == "dealer" ? PrivilegeLevel::Dealer : PrivilegeLevel::Factory;
            plainSwitch();
            echo(t);
            continue;
        } else if (t == "device" || t == "upgrade" || t == "import" || t == "export" ||
                   t == "report" || t == "memorymap") {
            await(t == "device"    ? Pending::Device
                  : t == "upgrade" ? Pending::Upgrade
                  : t == "import"  ? Pending::Import
                  : t == "export"  ? Pending::Export
                  : t == "report"  ? Pending::Report
                                   : Pending::MemoryMap,
                  t);
            echo(t);
            continue;
        } else if (t == "restore" || t == "saveprofile" || t == "loadprofile") {
            await(t == "restore"       ? Pending::Restore
                  : t == "saveprofile" ? Pending::SaveProfile
                                       : Pending::LoadProfile,
                  t);
            echo(t);
            continue;
        } else if (t == "ports" || t == "defaults" || t == "force" || t == "noverify" ||
                   t == "help" || t == "--help" || t == "-h") {
            (t == "ports"      ? opt.listPorts
             : t == "defaults" ? opt.defaults
             : t == "force"    ? opt.force
             : t == "noverify" ? opt.noverify
                               : opt.help) = true;
            plainSwitch();
            echo(t);
            continue;
        }

        // A value token.
        switch (pending) {
            case Pending::FileName:
                opt.stealthName = t;
                pending = Pending::None;
                echo(t);
                break;
            case Pending::Device:
            case Pending::Upgrade:
            case Pending::Import:
            case Pending::Export:
            case Pending::Report:
            case Pending::MemoryMap:
            case Pending::Restore:
            case Pending::SaveProfile:
            case Pending::LoadProfile:
                *PathOption(&opt, pending) = token.original;
                pending = Pending::None;
                echo(token.original);
                break;
            case Pending::Port:
                // The port stays pending: a further number replaces it.
                if (!ParsePortNumber(t, &opt.port)) {
                    opt.result = rc::kBadCommandLine;
                    return opt;
                }
                portGiven = true;
                echo(t);
                break;
            case Pending::None:
                if (t != "dbgargs") opt.unknown.push_back(token.original);
                break;
        }
    }
    noteMissing();
    return opt;
}

std::string SwitchUsage(const std::string& word) {
    static const char* const kForms[][2] = {
        {"port", "port N"},
        {"device", "device PATH"},
        {"stealth", "stealth NAME"},
        {"upgrade", "upgrade FILE"},
        {"import", "import FILE"},
        {"export", "export FILE"},
        {"restore", "restore FILE"},
        {"saveprofile", "saveprofile FILE"},
        {"loadprofile", "loadprofile FILE"},
    };
    for (const auto& form : kForms)
        if (word == form[0]) return form[1];
    return word;
}

std::string CommandLineUsage() {
    return "usage: vxlconf [switch ...]\n"
           "  port N            use serial port number N (see 'ports')\n"
           "  device PATH       use the serial device PATH for this run\n"
           "  ports             list the serial ports: number, device, description, status\n"
           "  softbreak         capture the modem with a soft break\n"
           "  poweroncapture    capture the modem while it is power-cycled\n"
           "  dealer            run at the Dealer level: adds the Frequencies page\n"
           "  factory           run at the Factory level: adds the Frequencies and Factory pages\n"
           "  stealth NAME      headless run: capture, read, write NAME.xml, release\n"
           "  upgrade FILE      headless firmware upgrade from the .fw file FILE\n"
           "  export FILE       write the modem's channel table to the .upg file FILE\n"
           "  import FILE       import the channel table FILE into the modem and program it\n"
           "  report FILE       headless run: capture, read, write the configuration report\n"
           "                    as the PDF file FILE, release (no display needed)\n"
           "  memorymap FILE    the same for the memory-map listing\n"
           "  defaults          apply the factory defaults to the modem and program it\n"
           "  restore FILE      put the backup FILE into the modem and program it\n"
           "  saveprofile FILE  write the modem's user settings to the profile FILE\n"
           "  loadprofile FILE  apply the settings profile FILE to the modem and program it\n"
           "  force             override a safety refusal: program settings that failed their\n"
           "                    checksum, restore a backup of another modem\n"
           "  noverify          do not read the settings back after programming\n"
           "  keepopen          leave the modem in command mode when releasing it\n"
           "  nologo            no logo window at start\n"
           "  dbgargs           show what was understood of the command line\n"
           "Switches are matched without regard to letter case; 'port=3' equals 'port 3'.\n";
}

}  // namespace vxl
