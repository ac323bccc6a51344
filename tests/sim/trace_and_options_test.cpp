#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "sim/lib/sim_options.h"
#include "sim/lib/trace_log.h"
#include "support/golden.h"
#include "support/temp_dir.h"

namespace vxl::sim {
namespace {

TEST(TraceLog, WritesATranscriptThatReadsBackAndReportsAnUnwritableFile) {
    vxl::test::TempDir dir;
    const std::string path = dir.File("trace.txt");
    const uint8_t command[] = {0x01, 0x21, 0x01, 0x0A, 0xD3};
    const uint8_t reply[] = {0x01, 0xA1, 0xD2, 0x8C};
    {
        TraceLog trace;
        std::string error;
        ASSERT_TRUE(trace.Open(path, &error)) << error;
        trace.Bytes(TraceDirection::FromHost, command, 5, 9600, 1234567);
        trace.Bytes(TraceDirection::ToHost, reply, 2, 9600, 1241000);
        trace.Bytes(TraceDirection::ToHost, reply + 2, 2, 9600, 1243000);  // joins the line
        trace.Bytes(TraceDirection::ToHost, reply, 1, 9600, 1250000);      // too late to join
        trace.Event(1300000, "command mode at 9600 baud");
        trace.Bytes(TraceDirection::Dropped, reply, 1, 19200, 1400000);
        const std::vector<uint8_t> burst(40, 'A');  // wraps to three lines
        trace.Bytes(TraceDirection::ToHost, burst.data(), burst.size(), 9600, 1500000);
    }
    EXPECT_TRUE(vxl::test::MatchesGolden("sim/trace.txt", vxl::test::TempDir::Read(path)));

    // The replay reads it back; how a trace reads back is the replay's end-to-end test.
    Transcript transcript;
    std::string problem;
    ASSERT_TRUE(ParseTranscript(vxl::test::TempDir::Read(path), transcript, problem)) << problem;
    EXPECT_EQ(transcript.entries.size(), 8u);
    const struct {
        const char* line;
        const char* problem;
    } bad[] = {
        {"12 host> @9600 01", "line 2: not a line of a transcript"},
        {"12.000 modem@ @9600 01", "line 2: the direction is not host>"},
        {"12.000 modem> 9600 01", "line 2: the line rate (@9600) is missing"},
        {"12.000 modem> @9600 1 |.|", "line 2: a byte is not two hexadecimal digits"},
    };
    for (const auto& b : bad) {
        EXPECT_FALSE(ParseTranscript(std::string("# x: y\n") + b.line, transcript, problem));
        EXPECT_EQ(problem.rfind(b.problem, 0), 0u) << problem;
    }

    TraceLog unwritable;
    std::string error;
    EXPECT_FALSE(unwritable.Open(dir.File("no/such/dir/trace.txt"), &error));
    EXPECT_NE(error.find("trace.txt"), std::string::npos);
}

// A command line written as one text.
std::vector<std::string> Args(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> args;
    for (std::string arg; in >> arg;) args.push_back(arg);
    return args;
}

ParseOutcome Parse(const std::string& line, SimOptions* options, std::string* message) {
    *options = ProgramDefaults();
    return ParseCommandLine(Args(line), options, message);
}

TEST(SimOptions, ParsesValuesAndRefusesBadOnes) {
    SimOptions o;
    std::string message;
    // The forms a value takes: a pair, a hexadecimal number, an option that needs another.
    ASSERT_EQ(Parse("--wrong-byte 4:2 --identity-word 0x1234 --image m.bin --save", &o, &message),
              ParseOutcome::kRun)
        << message;
    EXPECT_TRUE(o.faults.wrongByteIn == 4 && o.faults.wrongBytePosition == 2);
    EXPECT_EQ(o.profile.identityWord, 0x1234);
    EXPECT_TRUE(o.saveOnProgram && o.imagePath == "m.bin");
    for (const char* line : {"--baud 57600", "--baud", "--serial 12ab", "--serial 99999999999",
                             "--wrong-byte 1:4", "--save", "--bogus"}) {
        message.clear();
        EXPECT_EQ(Parse(line, &o, &message), ParseOutcome::kError) << line;
        EXPECT_FALSE(message.empty()) << line;
    }
    EXPECT_EQ(Parse("--help", &o, &message), ParseOutcome::kHelp);
}

TEST(SimOptions, InitialMemoryComesFromTheImageWithTheGivenRate) {
    vxl::test::TempDir dir;
    std::string error;
    ModemProfile profile;
    profile.serialNumber = 77;
    const MemoryBytes fresh = BuildMemory(profile);
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

    // Files that cannot be memories are refused and leave the memory alone.
    fromFile.imagePath = dir.File("absent.bin");
    EXPECT_FALSE(InitialMemory(fromFile, &loaded, &error));
    EXPECT_NE(error.find("absent.bin"), std::string::npos);
    fromFile.imagePath = dir.Write("short.bin", "abc");
    EXPECT_FALSE(InitialMemory(fromFile, &loaded, &error));
    EXPECT_NE(error.find("65536"), std::string::npos);
    EXPECT_EQ(loaded[0x109], 77);
    EXPECT_FALSE(SaveMemoryFile(dir.File("no/such/folder/m.bin"), fresh, &error));
}

}  // namespace
}  // namespace vxl::sim
