#include "app/command_line.h"

#include <climits>

#include "app/switch_table.h"
#include "util/format.h"

namespace vxl {

namespace {

// Only a whole string of the digits 0-9 that fits an int is a number.
bool IsNumber(const std::string& text) {
    if (text.empty()) return false;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
        if (value > INT_MAX) return false;
    }
    return true;
}

// The switch word of an argument: what comes before its first '='.
std::string WordOf(const std::string& arg) {
    return arg.substr(0, arg.find('='));
}

}  // namespace

StartupOptions ParseCommandLine(const std::vector<std::string>& args) {
    StartupOptions opt;
    auto mistake = [&opt](const SwitchSpec& spec, const std::string& what) {
        if (opt.error.empty())
            opt.error = Format("'%s' %s: %s ('vxlconf help' lists the switches)", spec.word,
                               what.c_str(), SwitchUsage(spec).c_str());
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const SwitchSpec* spec = FindSwitch(WordOf(arg));
        if (spec == nullptr) {
            opt.unknown.push_back(arg);
            continue;
        }
        if (spec->scope == SwitchScope::Headless) opt.headless = true;
        const size_t equals = arg.find('=');
        std::string value;
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (spec->value != SwitchValue::None && i + 1 < args.size() &&
                   FindSwitch(WordOf(args[i + 1])) == nullptr) {
            // A switch word is never taken as a value: "export stealth x" lacks its file.
            value = args[++i];
        }
        if (spec->value == SwitchValue::None && equals != std::string::npos) {
            mistake(*spec, "takes no value");
            continue;
        }
        if (spec->value != SwitchValue::None && value.empty()) {
            mistake(*spec, "needs a value");
            continue;
        }
        if (spec->value == SwitchValue::Number && !IsNumber(value)) {
            mistake(*spec, "needs a number, not '" + value + "'");
            continue;
        }
        spec->apply(opt, value);
        opt.echo += " [" + ToLower(WordOf(arg)) + "]";
        if (spec->value != SwitchValue::None) opt.echo += " [" + value + "]";
    }
    const bool changes = opt.defaults || !opt.importFile.empty() || !opt.importCsvFile.empty() ||
                         !opt.restoreFile.empty() || !opt.loadProfileFile.empty();
    if (opt.dryRun && !changes && opt.error.empty())
        opt.error =
            "'dryrun' shows what loadprofile, import, importcsv, restore or defaults would "
            "change: give one of them ('vxlconf help' lists the switches)";
    return opt;
}

}  // namespace vxl
