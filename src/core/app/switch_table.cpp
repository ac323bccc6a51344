#include "app/switch_table.h"

#include <cstdlib>
#include <sstream>

#include "app/command_line.h"
#include "util/format.h"

namespace vxl {

namespace {

using O = StartupOptions;
using V = SwitchValue;
using S = SwitchScope;

// The rows in the order `help` lists them.
const std::vector<SwitchSpec> kSwitches = {
    {"port", "", V::Number, S::Both, "N", "",
     "use serial port number N for this run ('ports' lists the numbers)",
     [](O& o, const std::string& v) { o.port = std::atoi(v.c_str()); }},
    {"device", "", V::Path, S::Both, "PATH", "device",
     "use the serial device PATH (for example /dev/ttyUSB0) for this run",
     [](O& o, const std::string& v) { o.device = v; }},
    {"ports", "", V::None, S::Headless, "", "",
     "list the serial ports: number, device, description, status, and for a port that cannot "
     "be used, why and what to do",
     [](O& o, const std::string&) { o.listPorts = true; }},
    {"softbreak", "", V::None, S::Both, "", "", "capture the modem with a soft break (this run)",
     [](O& o, const std::string&) { o.captureMethod = 1; }},
    {"poweroncapture", "", V::None, S::Both, "", "",
     "capture the modem while it is switched off and on (this run; the default)",
     [](O& o, const std::string&) { o.captureMethod = 3; }},
    {"dealer", "", V::None, S::Both, "", "",
     "run at the Dealer level: the window adds the Frequencies page; reports name the level",
     [](O& o, const std::string&) { o.level = PrivilegeLevel::Dealer; }},
    {"factory", "", V::None, S::Both, "", "",
     "run at the Factory level: the window adds the Frequencies and Factory pages",
     [](O& o, const std::string&) { o.level = PrivilegeLevel::Factory; }},
    {"stealth", "", V::Name, S::Headless, "NAME", "",
     "headless run: capture, read, write the settings as XML to NAME.xml, release the modem",
     [](O& o, const std::string& v) {
         o.stealth = true;
         o.stealthName = v;
     }},
    {"report", "", V::Path, S::Headless, "FILE", "",
     "headless run: capture, read, write the configuration report as the PDF file FILE, "
     "release (no display needed)",
     [](O& o, const std::string& v) { o.reportFile = v; }},
    {"memorymap", "", V::Path, S::Headless, "FILE", "",
     "the same for the memory-map listing (the configuration bytes as a hexadecimal dump)",
     [](O& o, const std::string& v) { o.memoryMapFile = v; }},
    {"upgrade", "", V::Path, S::Headless, "FILE", "fw",
     "headless firmware upgrade from the .fw file FILE, without questions",
     [](O& o, const std::string& v) { o.upgradeFile = v; }},
    {"export", "", V::Path, S::Headless, "FILE", "",
     "write the modem's channel table to the channel-table file FILE (.upg, for any modem)",
     [](O& o, const std::string& v) { o.exportFile = v; }},
    {"import", "", V::Path, S::Headless, "FILE", "upg",
     "import the channel table FILE into the modem and program it; a frequency the modem cannot "
     "take refuses the file",
     [](O& o, const std::string& v) { o.importFile = v; }},
    {"exportcsv", "", V::Path, S::Headless, "FILE", "",
     "write the modem's channel plan to FILE as CSV for a spreadsheet (Channel,RX MHz,TX MHz)",
     [](O& o, const std::string& v) { o.exportCsvFile = v; }},
    {"importcsv", "", V::Path, S::Headless, "FILE", "csv",
     "import the channel plan of the CSV file FILE (comma or semicolon separated, decimal "
     "point) into the modem and program it; a bad row refuses the whole file",
     [](O& o, const std::string& v) { o.importCsvFile = v; }},
    {"defaults", "", V::None, S::Headless, "", "",
     "apply the factory defaults of the definitions file to the modem and program it",
     [](O& o, const std::string&) { o.defaults = true; }},
    {"restore", "", V::Path, S::Headless, "FILE", "img",
     "put the backup FILE into the modem and program it",
     [](O& o, const std::string& v) { o.restoreFile = v; }},
    {"saveprofile", "", V::Path, S::Headless, "FILE", "",
     "write the modem's user settings to the settings profile FILE",
     [](O& o, const std::string& v) { o.saveProfileFile = v; }},
    {"loadprofile", "", V::Path, S::Headless, "FILE", "ini",
     "apply the settings profile FILE to the modem and program it",
     [](O& o, const std::string& v) { o.loadProfileFile = v; }},
    {"dryrun", "", V::None, S::Headless, "", "",
     "with loadprofile, import, importcsv, restore or defaults: list what would change (name, "
     "old value, new value) and program nothing; exit status 0 when nothing would change, 5 "
     "when something would",
     [](O& o, const std::string&) { o.dryRun = true; }},
    {"force", "", V::None, S::Both, "", "",
     "override a safety refusal: program settings that failed their checksum, restore a "
     "backup of another modem",
     [](O& o, const std::string&) { o.force = true; }},
    {"noverify", "", V::None, S::Both, "", "",
     "do not read the settings back after programming (this run)",
     [](O& o, const std::string&) { o.noverify = true; }},
    {"fullwrite", "", V::None, S::Both, "", "",
     "write and read back every byte when programming, not only the changed ones (this run)",
     [](O& o, const std::string&) { o.fullwrite = true; }},
    {"keepopen", "", V::None, S::Both, "", "",
     "release the modem without its reset command (it stays in command mode)",
     [](O& o, const std::string&) { o.keepopen = true; }},
    {"trace", "", V::Path, S::Both, "FILE", "",
     "record every byte to and from the modem, with times, line settings and results, in the "
     "transcript FILE for a support request",
     [](O& o, const std::string& v) { o.traceFile = v; }},
    {"nologo", "", V::None, S::Window, "", "", "show no logo window at start",
     [](O& o, const std::string&) { o.nologo = true; }},
    {"dbgargs", "", V::None, S::Both, "", "",
     "show what was understood of the command line (on standard error in headless runs)",
     [](O& o, const std::string&) { o.echoWanted = true; }},
    {"help", "--help -h", V::None, S::Headless, "", "", "print a summary of the switches and exit",
     [](O& o, const std::string&) { o.help = true; }},
    {"--version", "", V::None, S::Headless, "", "", "print the program's version and exit",
     [](O& o, const std::string&) { o.version = true; }},
};

std::vector<std::string> Words(const std::string& blankSeparated) {
    std::istringstream in(blankSeparated);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

// `text` broken into lines of at most `width` characters, each after `indent` blanks but the
// first, whose place the caller has filled.
std::string Wrapped(const std::string& text, size_t indent, size_t width) {
    std::string out, line;
    for (const std::string& word : Words(text)) {
        if (!line.empty() && indent + line.size() + 1 + word.size() > width) {
            out += line + "\n" + std::string(indent, ' ');
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    return out + line + "\n";
}

}  // namespace

const std::vector<SwitchSpec>& SwitchTable() {
    return kSwitches;
}

const SwitchSpec* FindSwitch(const std::string& word) {
    for (const SwitchSpec& spec : kSwitches) {
        if (EqualsNoCase(word, spec.word)) return &spec;
        for (const std::string& alias : Words(spec.aliases))
            if (EqualsNoCase(word, alias)) return &spec;
    }
    return nullptr;
}

std::string SwitchUsage(const SwitchSpec& spec) {
    std::string usage = spec.word;
    if (spec.value != SwitchValue::None) usage += std::string(" ") + spec.valueName;
    for (const std::string& alias : Words(spec.aliases)) usage += ", " + alias;
    return usage;
}

std::string CommandLineUsage() {
    constexpr size_t kIndent = 20;
    std::string text = "usage: vxlconf [switch ...]\n";
    for (const SwitchSpec& spec : kSwitches) {
        std::string head = "  " + SwitchUsage(spec);
        head += head.size() < kIndent ? std::string(kIndent - head.size(), ' ') : " ";
        text += head + Wrapped(spec.help, kIndent, 79);
    }
    return text + Wrapped(
                      "Switches are matched without regard to letter case. A switch's value is "
                      "the next argument or follows '=' ('port=3' equals 'port 3') and is taken "
                      "exactly as given: quote a name with blanks.",
                      0, 79);
}

}  // namespace vxl
