// vxlfw: makes, opens and checks firmware upgrade files (".fw") for dealers, without a modem.
// The factory sends S-record text; an upgrade file is that text scrambled.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "modem/firmware_file.h"
#include "util/format.h"
#include "util/input_file.h"
#include "util/result_codes.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitInvalid = 1;
constexpr int kExitUsage = 2;

constexpr const char* kHelp =
    "usage: vxlfw pack [--fix-line-ends] [--add-end-record] IN.s19 OUT.fw\n"
    "       vxlfw unpack IN.fw OUT.s19\n"
    "       vxlfw check IN.fw\n"
    "\n"
    "pack    checks Motorola S-record text and writes it as a scrambled upgrade file.\n"
    "        The modem's loader takes S0, S1 and S9 records only, each line ending in\n"
    "        CR LF, with correct checksums, and the file must end with an S9 record.\n"
    "        --fix-line-ends first rewrites LF-only (or mixed) line ends as CR LF and\n"
    "        drops blank lines, for text written by tools that use LF alone.\n"
    "        --add-end-record appends an S9 record when the text has none (some\n"
    "        tools write one only when given an execution start address).\n"
    "unpack  writes the S-record text of an upgrade file.\n"
    "check   tells whether an upgrade file is valid and shows its record count,\n"
    "        firmware revision and start address. Line ends are not fixed here.\n"
    "\n"
    "Exit status: 0 success or a valid file, 1 invalid input or a file error,\n"
    "2 wrong use.\n";

void Fail(const std::string& path, const std::string& why) {
    std::fprintf(stderr, "vxlfw: %s: %s\n", path.c_str(), why.c_str());
}

bool HasLfOnlyLines(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return true;
    }
    return false;
}

void PrintSummary(const std::string& path, const CFirmwareFile& file) {
    std::printf("%s: %d records, firmware revision %s, start address %s\n", path.c_str(),
                file.GetRecordCount(), vxl::Format("%3.2f", file.GetRevision()).c_str(),
                vxl::Format("0x%04x", file.GetStartAddress()).c_str());
}

// Explains why text cannot become an upgrade file; empty when it can.
std::string TextProblem(CFirmwareFile& file, bool lineEndsFixed, bool endRecordAdded) {
    if (file.Parse() != vxl::rc::kOk) {
        std::string why = "not valid S-record text: " + file.GetProblem();
        if (!lineEndsFixed && HasLfOnlyLines(file.GetText())) {
            why += " (lines end in LF only; --fix-line-ends rewrites them as CR LF)";
        }
        return why;
    }
    std::string problem = file.DownloadProblem();
    if (problem.empty()) return problem;
    return "cannot upgrade a modem: " + problem +
           (endRecordAdded ? "" : " (--add-end-record appends an S9 record)");
}

int Pack(const std::vector<std::string>& args) {
    bool fixLineEnds = false;
    bool addEndRecord = false;
    std::vector<std::string> paths;
    for (const std::string& arg : args) {
        if (arg == "--fix-line-ends") {
            fixLineEnds = true;
        } else if (arg == "--add-end-record") {
            addEndRecord = true;
        } else {
            paths.push_back(arg);
        }
    }
    if (paths.size() != 2) {
        std::fputs(kHelp, stderr);
        return kExitUsage;
    }
    std::string text;
    vxl::InputFileResult read = vxl::ReadInputFile(paths[0], vxl::kMaxUpgradeFileBytes, text);
    if (read.code != vxl::rc::kOk) {
        Fail(paths[0],
             read.code == vxl::rc::kTooManyBytes ? "too large for firmware" : read.reason);
        return kExitInvalid;
    }
    if (fixLineEnds) text = vxl::NormaliseLineEnds(text);
    CFirmwareFile file(paths[1]);
    file.SetText(text);
    if (addEndRecord && file.Parse() == vxl::rc::kOk && !file.DownloadProblem().empty()) {
        file.SetText(text + vxl::FormatSrecord('9', 0, ""));
    }
    std::string problem = TextProblem(file, fixLineEnds, addEndRecord);
    if (!problem.empty()) {
        Fail(paths[0], problem);
        return kExitInvalid;
    }
    int result = file.WriteUpgradeFile(paths[1]);
    if (result != vxl::rc::kOk) {
        Fail(paths[1], vxl::ErrorText(result));
        return kExitInvalid;
    }
    PrintSummary(paths[1], file);
    return kExitOk;
}

// Reads an upgrade file; prints why it cannot be used and returns false when so.
bool ReadUpgrade(CFirmwareFile& file) {
    int result = file.ReadUpgradeFile();
    std::string why;
    if (result == vxl::rc::kCorruptFirmware) {
        why = "invalid upgrade file: " + file.GetProblem();
        CFirmwareFile plain(file);
        plain.Scramble();
        if (plain.Parse() == vxl::rc::kOk) why += " (this is plain S-record text: pack it first)";
    } else if (result != vxl::rc::kOk) {
        why = file.GetProblem().empty() ? vxl::ErrorText(result) : file.GetProblem();
    } else if (!file.DownloadProblem().empty()) {
        why = "invalid upgrade file: " + file.DownloadProblem();
    }
    if (why.empty()) return true;
    Fail(file.GetFileName(), why);
    return false;
}

// Writes the S-record text of an upgrade file, or (without `out`) only checks the file.
int Open(const std::string& in, const std::string* out) {
    CFirmwareFile file(in);
    if (!ReadUpgrade(file)) return kExitInvalid;
    if (!out) {
        std::printf("%s: valid\n", in.c_str());
        PrintSummary(in, file);
        return kExitOk;
    }
    int result = vxl::WriteWholeFile(*out, file.GetText());
    if (result != vxl::rc::kOk) {
        Fail(*out, vxl::ErrorText(result));
        return kExitInvalid;
    }
    PrintSummary(*out, file);
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::fputs(kHelp, stderr);
        return kExitUsage;
    }
    std::string command = args[0];
    args.erase(args.begin());
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kHelp, stdout);
        return kExitOk;
    }
    if (command == "pack") return Pack(args);
    if (command == "unpack" && args.size() == 2) return Open(args[0], &args[1]);
    if (command == "check" && args.size() == 1) return Open(args[0], nullptr);
    if (command == "unpack" || command == "check") {
        std::fputs(kHelp, stderr);
        return kExitUsage;
    }
    std::fprintf(stderr, "vxlfw: unknown command \"%s\"\n\n%s", command.c_str(), kHelp);
    return kExitUsage;
}
