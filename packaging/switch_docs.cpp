// Prints what is made from vxlconf's table of switches: the bash completion script
// ("completion"), the README's table ("readme"), or each switch as the manual page lists it,
// one a line ("list"). With a second argument it writes that file instead.
#include <cstdio>
#include <string>

#include "app/switch_table.h"
#include "util/output_file.h"

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    std::string text;
    if (what == "completion") {
        text = vxl::BashCompletionScript();
    } else if (what == "readme") {
        text = vxl::SwitchMarkdownTable();
    } else if (what == "list") {
        for (const vxl::SwitchSpec& spec : vxl::SwitchTable()) {
            std::string usage = vxl::SwitchUsage(spec);
            for (size_t comma; (comma = usage.find(',')) != std::string::npos;)
                usage.erase(comma, 1);
            text += usage + "\n";
        }
    } else {
        std::fprintf(stderr, "usage: vxl_switch_docs completion|readme|list [OUTPUT]\n");
        return 2;
    }
    if (argc <= 2) return std::fputs(text.c_str(), stdout) < 0 ? 1 : 0;
    const vxl::FileResult written = vxl::WriteFileAtomically(argv[2], text);
    if (!written.ok()) {
        std::fprintf(stderr, "vxl_switch_docs: %s\n", vxl::FileErrorText(written, argv[2]).c_str());
        return 1;
    }
    return 0;
}
