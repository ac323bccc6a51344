#include <gtest/gtest.h>

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
};

TEST(SimOptions, ParsesEveryOptionAndRefusesBadValues) {
    SimOptions o;
    std::string error;
    ASSERT_EQ(ParseCommandLine({"--link",
                                "/tmp/x",
                                "--baud",
                                "19200",
                                "--model",
                                "3",
                                "--band",
                                "7",
                                "--firmware",
                                "1.04",
                                "--config-size",
                                "200",
                                "--serial",
                                "04123456",
                                "--synthesizer",
                                "2",
                                "--identity-word",
                                "0x1234",
                                "--capture-window",
                                "0.5",
                                "--power-cycle-after",
                                "3",
                                "--processing-ms",
                                "2.5",
                                "--no-line-timing",
                                "--trace",
                                "t.txt",
                                "--no-reply",
                                "3",
                                "--wrong-byte",
                                "4:2",
                                "--excess-bytes",
                                "5",
                                "--noise-before-reply",
                                "6:8",
                                "--stop-after",
                                "7",
                                "--hang-up-after",
                                "8",
                                "--reply-delay",
                                "250",
                                "--late-reply",
                                "300",
                                "--loader-memory-check-fails",
                                "--loader-no-done",
                                "--loader-store-no-done",
                                "--loader-done-without-pass",
                                "--loader-stall-after",
                                "9"},
                               &o, &error),
              ParseOutcome::kRun)
        << error;
    EXPECT_EQ(o.linkPath, "/tmp/x");
    EXPECT_EQ(o.profile.baud, 19200);
    EXPECT_TRUE(o.baudGiven);
    EXPECT_EQ(o.profile.model, 3);
    EXPECT_EQ(o.profile.band, 7);
    EXPECT_EQ(o.profile.revisionHigh, 10);
    EXPECT_EQ(o.profile.revisionLow, 4);
    EXPECT_EQ(o.profile.configSize, 200);
    EXPECT_EQ(o.profile.serialNumber, 4123456u);
    EXPECT_EQ(o.profile.synthesizerType, 2);
    EXPECT_EQ(o.profile.identityWord, 0x1234);
    EXPECT_DOUBLE_EQ(o.captureWindowSeconds, 0.5);
    EXPECT_DOUBLE_EQ(o.powerCycleAfterSeconds, 3.0);
    EXPECT_DOUBLE_EQ(o.processingMs, 2.5);
    EXPECT_FALSE(o.lineTiming);
    EXPECT_EQ(o.tracePath, "t.txt");
    EXPECT_EQ(o.faults.noReplyTo, 3);
    EXPECT_EQ(o.faults.wrongByteIn, 4);
    EXPECT_EQ(o.faults.wrongBytePosition, 2);
    EXPECT_EQ(o.faults.excessBytesAfter, 5);
    EXPECT_EQ(o.faults.excessByteCount, 1);
    EXPECT_EQ(o.faults.noiseBeforeReply, 6);
    EXPECT_EQ(o.faults.noiseByteCount, 8);
    EXPECT_EQ(o.faults.stopAfter, 7);
    EXPECT_EQ(o.faults.hangUpAfter, 8);
    EXPECT_EQ(o.faults.replyDelayMs, 250);
    EXPECT_EQ(o.faults.lateReplyMs, 300);
    EXPECT_TRUE(o.faults.loaderMemoryCheckFails && o.faults.loaderNoDoneAfterDownload &&
                o.faults.loaderNoDoneAfterStore && o.faults.loaderDoneWithoutPass);
    EXPECT_EQ(o.faults.loaderStallAfterRecords, 9);

    const std::vector<ParseCase> cases = {
        {{"--help"}, ParseOutcome::kHelp},
        {{"--baud", "57600"}, ParseOutcome::kError},
        {{"--baud"}, ParseOutcome::kError},
        {{"--model", "8"}, ParseOutcome::kError},
        {{"--qmx-row", "0"}, ParseOutcome::kError},
        {{"--qmx-row", "97"}, ParseOutcome::kError},
        {{"--firmware", "2.2"}, ParseOutcome::kError},
        {{"--serial", "12ab"}, ParseOutcome::kError},
        {{"--serial", "99999999999"}, ParseOutcome::kError},
        {{"--no-reply", "0"}, ParseOutcome::kError},
        {{"--wrong-byte", "1:4"}, ParseOutcome::kError},
        {{"--capture-window", "-1"}, ParseOutcome::kError},
        {{"--save"}, ParseOutcome::kError},
        {{"--image", "m.bin", "--save"}, ParseOutcome::kRun},
        {{"--bogus"}, ParseOutcome::kError},
    };
    for (const ParseCase& c : cases) {
        SimOptions options;
        std::string message;
        EXPECT_EQ(ParseCommandLine(c.args, &options, &message), c.outcome) << c.args[0];
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
