#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "sim/lib/sim_options.h"
#include "sim/lib/trace_log.h"
#include "support/temp_dir.h"

namespace vxl::sim {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#') lines.push_back(line);
    return lines;
}

TEST(TraceLog, WritesTimeDirectionRateAndBytes) {
    vxl::test::TempDir dir;
    const std::string path = dir.File("trace.txt");
    {
        TraceLog trace;
        std::string error;
        ASSERT_TRUE(trace.Open(path, &error)) << error;
        const uint8_t command[] = {0x01, 0x21, 0x01, 0x0A, 0xD3};
        const uint8_t reply[] = {0x01, 0xA1, 0xD2, 0x8C};
        trace.Bytes(TraceDirection::kFromHost, command, 5, 9600, 1234567);
        trace.Bytes(TraceDirection::kToHost, reply, 2, 9600, 1241000);
        trace.Bytes(TraceDirection::kToHost, reply + 2, 2, 9600, 1243000);  // joins the line
        trace.Bytes(TraceDirection::kToHost, reply, 1, 9600, 1250000);      // too late to join
        trace.Event(1300000, "command mode at 9600 baud");
        trace.Bytes(TraceDirection::kDropped, reply, 1, 19200, 1400000);
    }
    const auto lines = Lines(vxl::test::TempDir::Read(path));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].rfind("      1234.567  host>  @9600   01 21 01 0A D3", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find("|.!...|"), std::string::npos);
    EXPECT_NE(lines[1].find("1241.000  modem> @9600   01 A1 D2 8C"), std::string::npos);
    EXPECT_NE(lines[2].find("1250.000  modem> @9600   01 "), std::string::npos);
    EXPECT_NE(lines[3].find("1300.000  --      command mode at 9600 baud"), std::string::npos);
    EXPECT_NE(lines[4].find("lost>  @19200  01"), std::string::npos);
}

TEST(TraceLog, LongBurstsWrapAndUnwritableFilesAreReported) {
    vxl::test::TempDir dir;
    const std::string path = dir.File("trace.txt");
    {
        TraceLog trace;
        std::string error;
        ASSERT_TRUE(trace.Open(path, &error));
        std::vector<uint8_t> bytes(40, 'A');
        trace.Bytes(TraceDirection::kToHost, bytes.data(), bytes.size(), 9600, 0);
    }
    EXPECT_EQ(Lines(vxl::test::TempDir::Read(path)).size(), 3u);
    TraceLog trace;
    std::string error;
    EXPECT_FALSE(trace.Open(dir.File("no/such/dir/trace.txt"), &error));
    EXPECT_NE(error.find("trace.txt"), std::string::npos);
}

struct ParseCase {
    std::vector<std::string> args;
    ParseOutcome outcome;
    std::function<bool(const SimOptions&)> holds;
};

TEST(SimOptions, ParsesValuesAndRefusesBadOnes) {
    const auto any = [](const SimOptions&) { return true; };
    const std::vector<ParseCase> cases = {
        {{"--baud", "19200"},
         ParseOutcome::kRun,
         [](const SimOptions& o) { return o.profile.baud == 19200 && o.baudGiven; }},
        {{"--firmware", "1.04"},
         ParseOutcome::kRun,
         [](const SimOptions& o) {
             return o.profile.revisionHigh == 10 && o.profile.revisionLow == 4;
         }},
        {{"--serial", "04123456"},
         ParseOutcome::kRun,
         [](const SimOptions& o) { return o.profile.serialNumber == 4123456u; }},
        {{"--identity-word", "0x1234"},
         ParseOutcome::kRun,
         [](const SimOptions& o) { return o.profile.identityWord == 0x1234; }},
        {{"--wrong-byte", "4:2"},
         ParseOutcome::kRun,
         [](const SimOptions& o) {
             return o.faults.wrongByteIn == 4 && o.faults.wrongBytePosition == 2;
         }},
        {{"--excess-bytes", "5"},
         ParseOutcome::kRun,
         [](const SimOptions& o) {
             return o.faults.excessBytesAfter == 5 && o.faults.excessByteCount == 1;
         }},
        {{"--capture-window", "0.5", "--no-line-timing"},
         ParseOutcome::kRun,
         [](const SimOptions& o) { return o.captureWindowSeconds == 0.5 && !o.lineTiming; }},
        {{"--image", "m.bin", "--save"},
         ParseOutcome::kRun,
         [](const SimOptions& o) { return o.saveOnProgram && o.imagePath == "m.bin"; }},
        {{"--help"}, ParseOutcome::kHelp, any},
        {{"--baud", "57600"}, ParseOutcome::kError, any},
        {{"--baud"}, ParseOutcome::kError, any},
        {{"--model", "8"}, ParseOutcome::kError, any},
        {{"--qmx-row", "0"}, ParseOutcome::kError, any},
        {{"--qmx-row", "97"}, ParseOutcome::kError, any},
        {{"--firmware", "2.2"}, ParseOutcome::kError, any},
        {{"--serial", "12ab"}, ParseOutcome::kError, any},
        {{"--serial", "99999999999"}, ParseOutcome::kError, any},
        {{"--no-reply", "0"}, ParseOutcome::kError, any},
        {{"--wrong-byte", "1:4"}, ParseOutcome::kError, any},
        {{"--capture-window", "-1"}, ParseOutcome::kError, any},
        {{"--save"}, ParseOutcome::kError, any},
        {{"--bogus"}, ParseOutcome::kError, any},
    };
    for (const ParseCase& c : cases) {
        SimOptions options = ProgramDefaults();
        std::string message;
        EXPECT_EQ(ParseCommandLine(c.args, &options, &message), c.outcome) << c.args[0];
        EXPECT_TRUE(c.holds(options)) << c.args[0];
        if (c.outcome == ParseOutcome::kError) {
            EXPECT_FALSE(message.empty()) << c.args[0];
        }
    }
}

TEST(SimOptions, HelpNamesEveryOption) {
    const std::string help = HelpText();
    const char* names[] = {"--link",
                           "--baud",
                           "--model",
                           "--band",
                           "--model-byte-zero",
                           "--qmx-row",
                           "--firmware",
                           "--config-size",
                           "--serial",
                           "--synthesizer",
                           "--identity-word",
                           "--image",
                           "--save",
                           "--export-image",
                           "--line-timing",
                           "--no-line-timing",
                           "--processing-ms",
                           "--capture-window",
                           "--power-cycle-after",
                           "--trace",
                           "--no-reply",
                           "--wrong-byte",
                           "--excess-bytes",
                           "--noise-before-reply",
                           "--stop-after",
                           "--hang-up-after",
                           "--reply-delay",
                           "--late-reply",
                           "--loader-memory-check-fails",
                           "--loader-no-done",
                           "--loader-store-no-done",
                           "--loader-done-without-pass",
                           "--loader-stall-after",
                           "--help"};
    for (const char* name : names) {
        EXPECT_NE(help.find(std::string("  ") + name + " "), std::string::npos) << name;
        SimOptions o;
        std::string error;
        std::vector<std::string> args = {name, "1"};
        // Every name the help shows is one the parser knows.
        if (ParseCommandLine(args, &o, &error) == ParseOutcome::kError) {
            EXPECT_EQ(error.find(std::string("unknown option ") + name), std::string::npos);
        }
    }
}

TEST(SimOptions, InitialMemoryComesFromTheImageWithTheGivenRate) {
    vxl::test::TempDir dir;
    std::string error;
    SimOptions o;
    o.profile.serialNumber = 77;
    MemoryBytes fresh;
    ASSERT_TRUE(InitialMemory(o, &fresh, &error));
    EXPECT_EQ(fresh[0x109], 77);
    ASSERT_TRUE(SaveMemoryFile(dir.File("m.bin"), fresh, &error));

    SimOptions fromFile;
    fromFile.imagePath = dir.File("m.bin");
    fromFile.profile.baud = 4800;
    fromFile.baudGiven = true;
    MemoryBytes loaded;
    ASSERT_TRUE(InitialMemory(fromFile, &loaded, &error)) << error;
    EXPECT_EQ(loaded[0x109], 77);
    EXPECT_EQ(loaded[kStoredBaudAddress], 2);
    EXPECT_TRUE(ConfigChecksumValid(loaded, 246));

    fromFile.imagePath = dir.File("absent.bin");
    EXPECT_FALSE(InitialMemory(fromFile, &loaded, &error));
}

}  // namespace
}  // namespace vxl::sim
