// The README's table of switches and the bash completion script, both made from the switch table.
#include <string>

#include "app/switch_table.h"

namespace vxl {

namespace {

// A glob that matches the extension in either letter case: "fw" gives "*.[fF][wW]".
std::string ExtensionGlob(const std::string& extension) {
    std::string glob = "*.";
    for (char c : extension) {
        const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        glob += upper == c ? std::string(1, c) : std::string{'[', c, upper, ']'};
    }
    return glob;
}

// The part of the script that knows nothing of the switches.
constexpr const char* kCompletionHelpers = R"(
# Files with names ending in $1 (any file when empty), and folders to reach them.
_vxlconf_files()
{
    local IFS=$'\n'
    compopt -o filenames 2>/dev/null
    if [[ -z $1 ]]; then
        COMPREPLY=($(compgen -f -- "$cur"))
    else
        COMPREPLY=($(compgen -d -- "$cur") $(compgen -f -X "!$1" -- "$cur"))
    fi
}

# Serial devices; another path (a simulator's link) completes as a file.
_vxlconf_devices()
{
    local IFS=$'\n'
    local devices=$(compgen -G '/dev/serial/by-id/*'; compgen -G '/dev/ttyUSB*';
                    compgen -G '/dev/ttyACM*'; compgen -G '/dev/ttyS*')
    COMPREPLY=($(compgen -W "$devices" -- "$cur"))
    [[ ${#COMPREPLY[@]} -gt 0 ]] || _vxlconf_files ''
}

_vxlconf()
{
    local cur=${COMP_WORDS[COMP_CWORD]} switch=${COMP_WORDS[COMP_CWORD-1]} prefix=
    # "device=/dev/tt": bash splits the word at '=' unless COMP_WORDBREAKS lacks it.
    if [[ $cur == = ]]; then
        cur=
    elif [[ $switch == = ]] && ((COMP_CWORD >= 2)); then
        switch=${COMP_WORDS[COMP_CWORD-2]}
    elif [[ $cur == *=* ]]; then
        switch=${cur%%=*}
        prefix=$switch=
        cur=${cur#*=}
    fi
    COMPREPLY=()
    _vxlconf_value "${switch,,}" || COMPREPLY=($(compgen -W "$_vxlconf_words" -- "${cur,,}"))
    [[ -z $prefix ]] || COMPREPLY=("${COMPREPLY[@]/#/$prefix}")
    return 0
}
complete -F _vxlconf vxlconf
)";

}  // namespace

std::string SwitchMarkdownTable() {
    std::string table = "| Switch | Meaning |\n|---|---|\n";
    for (const SwitchSpec& spec : SwitchTable()) {
        std::string words;
        std::string usage = SwitchUsage(spec);
        for (size_t start = 0; start < usage.size();) {
            size_t comma = usage.find(", ", start);
            if (comma == std::string::npos) comma = usage.size();
            words += (words.empty() ? "`" : ", `") + usage.substr(start, comma - start) + "`";
            start = comma + 2;
        }
        table += "| " + words + " | " + spec.help + " |\n";
    }
    return table;
}

std::string BashCompletionScript() {
    std::string words;
    std::string values =
        "# What follows a switch that takes a value; false for any other word.\n"
        "_vxlconf_value()\n{\n    case $1 in\n";
    for (const SwitchSpec& spec : SwitchTable()) {
        words += (words.empty() ? "" : " ") + std::string(spec.word);
        if (*spec.aliases != '\0') words += std::string(" ") + spec.aliases;
        if (spec.value == SwitchValue::None) continue;
        const std::string completes = spec.completes;
        const std::string action = spec.value == SwitchValue::Number ? ":"
                                   : completes == "device"           ? "_vxlconf_devices"
                                   : completes.empty()
                                       ? "_vxlconf_files ''"
                                       : "_vxlconf_files '" + ExtensionGlob(completes) + "'";
        values += "        " + std::string(spec.word) + ") " + action + " ;;\n";
    }
    values += "        *) return 1 ;;\n    esac\n}\n";
    return "# bash completion for vxlconf; made from the program's table of switches.\n"
           "_vxlconf_words='" +
           words + "'\n\n" + values + kCompletionHelpers;
}

}  // namespace vxl
