#include "sim/lib/sim_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <functional>

#include "util/format.h"

namespace vxl::sim {

namespace {

bool ParseLong(const std::string& text, long min, long max, long* value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text.c_str(), &end, 0);
    if (errno != 0 || end == nullptr || *end != '\0' || parsed < min || parsed > max) return false;
    *value = parsed;
    return true;
}

bool ParseInt(const std::string& text, int min, int max, int* value) {
    long parsed = 0;
    if (!ParseLong(text, min, max, &parsed)) return false;
    *value = static_cast<int>(parsed);
    return true;
}

bool ParseSeconds(const std::string& text, double* value) {
    if (text.empty()) return false;
    char* end = nullptr;
    const double parsed = std::strtod(text.c_str(), &end);
    if (end == nullptr || *end != '\0' || !std::isfinite(parsed) || parsed < 0 || parsed > 86400)
        return false;
    *value = parsed;
    return true;
}

// "K" or "K:N": a command number and an optional second number.
bool ParsePair(const std::string& text, int* k, int* second, int secondMax) {
    const size_t colon = text.find(':');
    if (!ParseInt(text.substr(0, colon), 1, 1000000, k)) return false;
    if (colon == std::string::npos) return true;
    return ParseInt(text.substr(colon + 1), 0, secondMax, second);
}

bool ParseSerial(const std::string& text, uint32_t* value) {
    if (text.empty() || text.size() > 10) return false;
    uint64_t parsed = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        parsed = parsed * 10 + static_cast<uint64_t>(c - '0');
    }
    if (parsed > 0xFFFFFFFFu) return false;
    *value = static_cast<uint32_t>(parsed);
    return true;
}

using Apply = std::function<bool(SimOptions&, const std::string&)>;

struct OptionDef {
    const char* name;
    const char* argument;  // nullptr for a switch
    const char* help;
    Apply apply;
};

Apply Flag(bool SimOptions::*member, bool value = true) {
    return [member, value](SimOptions& o, const std::string&) {
        o.*member = value;
        return true;
    };
}

Apply LoaderFlag(bool FaultPlan::*member) {
    return [member](SimOptions& o, const std::string&) {
        o.faults.*member = true;
        return true;
    };
}

Apply CommandNumber(int FaultPlan::*member) {
    return [member](SimOptions& o, const std::string& v) {
        return ParseInt(v, 1, 1000000, &(o.faults.*member));
    };
}

Apply CommandNumberAnd(int FaultPlan::*member, int FaultPlan::*second, int secondMax) {
    return [member, second, secondMax](SimOptions& o, const std::string& v) {
        return ParsePair(v, &(o.faults.*member), &(o.faults.*second), secondMax);
    };
}

Apply Milliseconds(int FaultPlan::*member) {
    return [member](SimOptions& o, const std::string& v) {
        return ParseInt(v, 0, 600000, &(o.faults.*member));
    };
}

Apply Text(std::string SimOptions::*member) {
    return [member](SimOptions& o, const std::string& v) {
        o.*member = v;
        return !v.empty();
    };
}

const std::vector<OptionDef>& Options() {
    static const std::vector<OptionDef> options = {
        {"--link", "PATH", "symbolic link to the simulated serial port (the program opens it)",
         Text(&SimOptions::linkPath)},
        {"--baud", "RATE", "the modem's own serial rate: 300 ... 38400 (default 9600)",
         [](SimOptions& o, const std::string& v) {
             int baud = 0;
             if (!ParseInt(v, 1, 1000000, &baud) || BaudCode(baud) < 0) return false;
             o.profile.baud = baud;
             o.baudGiven = true;
             return true;
         }},
        {"--model", "M", "VXL/KTR family model 0..7 (default 5, \"VXL\")",
         [](SimOptions& o, const std::string& v) { return ParseInt(v, 0, 7, &o.profile.model); }},
        {"--band", "B", "VXL/KTR frequency band index 0..15 (default 2)",
         [](SimOptions& o, const std::string& v) { return ParseInt(v, 0, 15, &o.profile.band); }},
        {"--model-byte-zero", nullptr, "a VXL/KTR modem whose model byte is 0 (model ID missing)",
         [](SimOptions& o, const std::string&) { return o.profile.modelByteZero = true; }},
        {"--qmx-row", "ROW", "a QMX-family modem with this model-table row 1..96",
         [](SimOptions& o, const std::string& v) { return ParseInt(v, 1, 96, &o.profile.qmxRow); }},
        {"--firmware", "X.YY", "firmware revision (default 2.20)",
         [](SimOptions& o, const std::string& v) {
             return ParseRevision(v, &o.profile.revisionHigh, &o.profile.revisionLow);
         }},
        {"--config-size", "N",
         "configuration size N in bytes (default 246 VXL, 176 QMX before 3.41, 192 other QMX)",
         [](SimOptions& o, const std::string& v) {
             return ParseInt(v, 16, 255, &o.profile.configSize);
         }},
        {"--serial", "NUMBER", "serial number in decimal (default 01427259)",
         [](SimOptions& o, const std::string& v) {
             return ParseSerial(v, &o.profile.serialNumber);
         }},
        {"--synthesizer", "T", "synthesizer type 0..4 (default 4)",
         [](SimOptions& o, const std::string& v) {
             return ParseInt(v, 0, 255, &o.profile.synthesizerType);
         }},
        {"--identity-word", "W", "identity word of the identity block (default 0x03AA)",
         [](SimOptions& o, const std::string& v) {
             int word = 0;
             if (!ParseInt(v, 0, 0xFFFF, &word)) return false;
             o.profile.identityWord = static_cast<uint16_t>(word);
             return true;
         }},
        {"--image", "FILE", "start from this 64 KiB memory image instead of a fresh one",
         Text(&SimOptions::imagePath)},
        {"--save", nullptr, "write the memory back to the --image file when the modem stores it",
         Flag(&SimOptions::saveOnProgram)},
        {"--export-image", "FILE", "write the memory the other options describe to FILE and exit",
         Text(&SimOptions::exportImagePath)},
        {"--line-timing", nullptr, "every byte takes its time on the wire (the default)",
         Flag(&SimOptions::lineTiming)},
        {"--no-line-timing", nullptr, "answer at once, without wire or processing times",
         Flag(&SimOptions::lineTiming, false)},
        {"--processing-ms", "MS", "time the modem takes per command (default 1)",
         [](SimOptions& o, const std::string& v) { return ParseSeconds(v, &o.processingMs); }},
        {"--capture-window", "SECONDS",
         "how long after power-up the capture command is answered (default 2)",
         [](SimOptions& o, const std::string& v) {
             return ParseSeconds(v, &o.captureWindowSeconds);
         }},
        {"--power-cycle-after", "SECONDS", "power-cycle the modem this long after start",
         [](SimOptions& o, const std::string& v) {
             return ParseSeconds(v, &o.powerCycleAfterSeconds);
         }},
        {"--operator-power-cycle", "SECONDS",
         "when the program waits for a power-on capture, power-cycle the modem this long after "
         "(default 1)",
         [](SimOptions& o, const std::string& v) {
             return ParseSeconds(v, &o.operatorPowerCycleSeconds);
         }},
        {"--no-operator", nullptr, "nobody power-cycles the modem for a power-on capture",
         [](SimOptions& o, const std::string&) {
             o.operatorPowerCycleSeconds = -1.0;
             return true;
         }},
        {"--trace", "FILE", "write a transcript of every byte in and out to FILE",
         Text(&SimOptions::tracePath)},
        {"--replay", "FILE",
         "answer as the modem of the transcript FILE did (a vxlconf diagnostic trace or a "
         "--trace), each reply once the program sent what preceded it",
         Text(&SimOptions::replayPath)},
        {"--fault-command", "CODE",
         "the K of the faults below counts only commands of this code (e.g. 0x1E, the command "
         "that stores the settings)",
         [](SimOptions& o, const std::string& v) {
             return ParseInt(v, 1, 0xFF, &o.faults.faultCommand);
         }},
        {"--no-reply", "K", "fault: no reply to the K-th command",
         CommandNumber(&FaultPlan::noReplyTo)},
        {"--wrong-byte", "K[:POS]", "fault: byte POS (0..3, default 1) of the K-th reply is wrong",
         CommandNumberAnd(&FaultPlan::wrongByteIn, &FaultPlan::wrongBytePosition, 3)},
        {"--excess-bytes", "K[:N]", "fault: N extra bytes (default 1) after the K-th reply",
         CommandNumberAnd(&FaultPlan::excessBytesAfter, &FaultPlan::excessByteCount, 64)},
        {"--noise-before-reply", "K[:N]",
         "fault: N bytes of line noise (default 3) before the K-th reply",
         CommandNumberAnd(&FaultPlan::noiseBeforeReply, &FaultPlan::noiseByteCount, 64)},
        {"--stop-after", "K", "fault: stop answering after K commands",
         CommandNumber(&FaultPlan::stopAfter)},
        {"--hang-up-after", "K",
         "fault: hang up the line (like an unplugged adapter) after K commands",
         CommandNumber(&FaultPlan::hangUpAfter)},
        {"--reply-delay", "MS", "fault: every reply goes out MS ms late",
         Milliseconds(&FaultPlan::replyDelayMs)},
        {"--late-reply", "MS",
         "fault: MS ms after each change of the program's line rate, a reply sent at the previous "
         "rate arrives (a late answer to an earlier attempt)",
         Milliseconds(&FaultPlan::lateReplyMs)},
        {"--wrong-store", "ADDR",
         "fault: a write to ADDRESS (e.g. 0x190) stores another byte than the one sent, and the "
         "reply says it went well",
         [](SimOptions& o, const std::string& v) {
             return ParseInt(v, 1, 0xFFFF, &o.faults.wrongStoreAddress);
         }},
        {"--damage-read", "ADDR",
         "fault: every read of ADDR answers with one bit flipped (a byte damaged on the line)",
         [](SimOptions& o, const std::string& v) {
             return ParseInt(v, 1, 0xFFFF, &o.faults.damagedReadAddress);
         }},
        {"--adapter-latency", "MS",
         "line: a USB adapter holds the modem's bytes until MS ms after the first (FTDI: 16)",
         Milliseconds(&FaultPlan::adapterLatencyMs)},
        {"--dribble", "MS", "line: the modem's bytes go out MS ms apart beyond their wire time",
         Milliseconds(&FaultPlan::dribbleMs)},
        {"--loader-memory-check-fails", nullptr, "loader fault: banner without \"PASS\"",
         LoaderFlag(&FaultPlan::loaderMemoryCheckFails)},
        {"--loader-no-done", nullptr, "loader fault: no \"DONE\" after the last record",
         LoaderFlag(&FaultPlan::loaderNoDoneAfterDownload)},
        {"--loader-store-no-done", nullptr, "loader fault: no \"DONE\" after the store command",
         LoaderFlag(&FaultPlan::loaderNoDoneAfterStore)},
        {"--loader-done-without-pass", nullptr,
         "loader fault: \"DONE\" without \"PASS\" after the store command",
         LoaderFlag(&FaultPlan::loaderDoneWithoutPass)},
        {"--loader-stall-after", "K", "loader fault: stop answering after K records",
         CommandNumber(&FaultPlan::loaderStallAfterRecords)},
        {"--help", nullptr, "show this text", nullptr},
    };
    return options;
}

}  // namespace

SimOptions ProgramDefaults() {
    SimOptions options;
    options.lineTiming = true;
    options.processingMs = 1.0;
    options.operatorPowerCycleSeconds = 1.0;
    return options;
}

std::string HelpText() {
    std::string text =
        "usage: vxlsim --link PATH [options]\n"
        "Simulates a radio modem on a pseudo-terminal. Prints \"ready PATH\" when listening and\n"
        "runs until SIGINT or SIGTERM. SIGUSR1 or a line on standard input power-cycles the\n"
        "modem.\n\noptions:\n";
    for (const OptionDef& option : Options()) {
        std::string head = option.name;
        if (option.argument != nullptr) head += std::string(" ") + option.argument;
        text += Format("  %-28s %s\n", head.c_str(), option.help);
    }
    return text;
}

ParseOutcome ParseCommandLine(const std::vector<std::string>& args, SimOptions* options,
                              std::string* error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const OptionDef* option = nullptr;
        for (const OptionDef& candidate : Options())
            if (arg == candidate.name) option = &candidate;
        if (option == nullptr) {
            *error = Format("unknown option %s (see --help)", arg.c_str());
            return ParseOutcome::kError;
        }
        if (option->apply == nullptr) return ParseOutcome::kHelp;
        std::string value;
        if (option->argument != nullptr) {
            if (i + 1 >= args.size()) {
                *error = Format("%s needs a value: %s", arg.c_str(), option->argument);
                return ParseOutcome::kError;
            }
            value = args[++i];
        }
        if (!option->apply(*options, value)) {
            *error =
                Format("bad value for %s: \"%s\" (%s)", arg.c_str(), value.c_str(), option->help);
            return ParseOutcome::kError;
        }
    }
    if (options->saveOnProgram && options->imagePath.empty()) {
        *error = "--save needs --image FILE";
        return ParseOutcome::kError;
    }
    return ParseOutcome::kRun;
}

bool InitialMemory(const SimOptions& options, MemoryBytes* memory, std::string* error) {
    if (options.imagePath.empty()) {
        *memory = BuildMemory(options.profile);
        return true;
    }
    if (!LoadMemoryFile(options.imagePath, memory, error)) return false;
    if (options.baudGiven) {
        (*memory)[kStoredBaudAddress] = static_cast<uint8_t>(BaudCode(options.profile.baud));
        FixConfigChecksum(*memory, DescribeMemory(*memory).configSize);
    }
    return true;
}

}  // namespace vxl::sim
