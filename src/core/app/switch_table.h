// The switches of the command line, one row each. The parser, the usage text (`help`), the bash
// completion script, the README's table and the manual page's check all come from these rows:
// a new switch is one row plus its run.
#pragma once

#include <string>
#include <vector>

namespace vxl {

struct StartupOptions;

enum class SwitchValue {
    None,
    Number,  // a decimal number (a port)
    Path,    // a file or device, taken exactly as given
    Name,    // a name the program makes a file name from (stealth: NAME.xml)
};

// Whether a switch starts a run without windows, only concerns the window, or acts in both.
enum class SwitchScope { Headless, Window, Both };

struct SwitchSpec {
    const char* word;     // lower case
    const char* aliases;  // other words for the same switch, blank-separated ("--help -h")
    SwitchValue value;
    SwitchScope scope;
    const char* valueName;  // how the usage writes the value ("N", "PATH", "FILE", "NAME")
    // What completion offers for the value: "device" for serial devices, a file extension
    // ("fw") for files of that kind, "" for any file.
    const char* completes;
    const char* help;  // one line, lower case first, no full stop
    void (*apply)(StartupOptions& options, const std::string& value);
};

const std::vector<SwitchSpec>& SwitchTable();

// The row of a word or alias, matched without regard to letter case; nullptr for no switch.
const SwitchSpec* FindSwitch(const std::string& word);

// How a switch is written with its value: "upgrade FILE", "help, --help, -h".
std::string SwitchUsage(const SwitchSpec& spec);

// The text `help` prints.
std::string CommandLineUsage();
// The README's table of switches (Markdown).
std::string SwitchMarkdownTable();
// The bash completion script (installed as bash-completion/completions/vxlconf).
std::string BashCompletionScript();

}  // namespace vxl
