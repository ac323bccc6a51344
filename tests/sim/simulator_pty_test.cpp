// The simulator on a real pseudo-terminal, driven through the terminal directly.
#include "sim/lib/simulator.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "line_harness.h"
#include "pty_host.h"
#include "support/temp_dir.h"

namespace vxl::sim::test {
namespace {

const Bytes kCapture = {0x01, 0x22, 0x00, 0xDD};

bool Exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

class SimulatorOnPty : public ::testing::Test {
  protected:
    void StartSim(SimOptions options = SimOptions()) {
        options.linkPath = dir.File("modem");
        sim = std::make_unique<Simulator>(options);
        std::string error;
        ASSERT_TRUE(sim->Start(&error)) << error;
    }
    // Power-on capture: the quickest way into command mode.
    void Capture(PtyHost& host) {
        sim->PowerCycle();
        ASSERT_TRUE(host.Write(kCapture));
        ASSERT_EQ(host.Read(4, 1000), Reply(0x22, 0));
    }

    vxl::test::TempDir dir;
    std::unique_ptr<Simulator> sim;
};

TEST_F(SimulatorOnPty, LinksItsTerminalAndRemovesTheLinkWhenStopped) {
    StartSim();
    EXPECT_EQ(sim->LinkPath(), dir.File("modem"));
    char target[256] = {};
    ASSERT_GT(readlink(dir.File("modem").c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(std::string(target), sim->SlavePath());
    sim->Stop();
    EXPECT_FALSE(Exists(dir.File("modem")));
    sim->Stop();  // twice is harmless
}

TEST_F(SimulatorOnPty, RefusesToReplaceAFileThatIsNotALink) {
    dir.Write("modem", "precious");
    SimOptions options;
    options.linkPath = dir.File("modem");
    Simulator s(options);
    std::string error;
    EXPECT_FALSE(s.Start(&error));
    EXPECT_NE(error.find("not a symbolic link"), std::string::npos);
    EXPECT_EQ(vxl::test::TempDir::Read(dir.File("modem")), "precious");
}

TEST_F(SimulatorOnPty, OutlivesTheProgramClosingAndReopeningTheLine) {
    StartSim();
    {
        PtyHost host(sim->LinkPath());
        ASSERT_TRUE(host.ok());
        Capture(host);
        ASSERT_TRUE(host.Write(ReadFrame(0x10A)));
        EXPECT_EQ(host.Read(4, 1000), Reply(0x21, 0xD2));
        ASSERT_TRUE(host.Write(ReadFrame(0x10A)));  // its reply is lost with the close
    }
    ASSERT_TRUE(sim->WaitFor([](const SimStatus& s) { return !s.hostConnected; }, 1000));
    PtyHost again(sim->LinkPath());
    ASSERT_TRUE(again.ok());
    ASSERT_TRUE(sim->WaitFor([](const SimStatus& s) { return s.hostConnected; }, 1000));
    ASSERT_TRUE(again.Write(ReadFrame(0x8402)));
    EXPECT_EQ(again.Read(4, 1000), Reply(0x21, 22)) << "still in command mode, nothing stale";
}

TEST_F(SimulatorOnPty, SeesTheRateTheProgramSets) {
    StartSim();
    PtyHost host(sim->LinkPath(), B19200);
    ASSERT_TRUE(sim->WaitFor([](const SimStatus& s) { return s.hostBaud == 19200; }, 1000));
    host.SetSpeed(B4800);
    ASSERT_TRUE(sim->WaitFor([](const SimStatus& s) { return s.hostBaud == 4800; }, 1000));
    sim->PowerCycle();
    ASSERT_TRUE(host.Write(kCapture));
    EXPECT_TRUE(host.Read(4, 100).empty()) << "a 4800 capture is garbage at 9600";
}

TEST_F(SimulatorOnPty, HangUpFaultClosesTheLineAndPowerCyclePlugsItInAgain) {
    SimOptions options;
    options.faults.hangUpAfter = 2;
    StartSim(options);
    PtyHost host(sim->LinkPath());
    Capture(host);
    ASSERT_TRUE(host.Write(ReadFrame(0x10A)));
    bool hungUp = false;
    EXPECT_EQ(host.Read(8, 1000, &hungUp), Reply(0x21, 0xD2));
    host.Read(1, 1000, &hungUp);
    EXPECT_TRUE(hungUp);
    EXPECT_TRUE(sim->Status().hungUp);
    EXPECT_FALSE(Exists(dir.File("modem"))) << "an unplugged adapter's device is gone";

    sim->SetFaults(FaultPlan());
    sim->PowerCycle();
    EXPECT_TRUE(Exists(dir.File("modem")));
    PtyHost replugged(sim->LinkPath());
    ASSERT_TRUE(replugged.ok());
    ASSERT_TRUE(replugged.Write(kCapture));
    EXPECT_EQ(replugged.Read(4, 1000), Reply(0x22, 0));
}

TEST_F(SimulatorOnPty, SavesTheImageOnProgramAndTracesTheExchange) {
    std::string error;
    const std::string image = dir.File("modem.bin");
    ASSERT_TRUE(SaveMemoryFile(image, BuildMemory(ModemProfile()), &error));
    SimOptions options;
    options.imagePath = image;
    options.saveOnProgram = true;
    options.tracePath = dir.File("trace.txt");
    StartSim(options);
    PtyHost host(sim->LinkPath());
    Capture(host);
    ASSERT_TRUE(host.Write(UnlockFrame(sim->Memory())));
    EXPECT_EQ(host.Read(4, 1000), Reply(0x1F, 0));
    ASSERT_TRUE(host.Write(WriteFrame(0x16B, 'Z')));
    EXPECT_EQ(host.Read(4, 1000), Reply(0x20, 0));
    ASSERT_TRUE(host.Write(Frame(0x1E)));
    EXPECT_EQ(host.Read(4, 1000), Reply(0x1E, 0));
    MemoryBytes saved;
    ASSERT_TRUE(LoadMemoryFile(image, &saved, &error)) << error;
    EXPECT_EQ(saved[0x16B], 'Z');
    EXPECT_EQ(sim->StoredMemory()[0x16B], 'Z');
    sim->Stop();
    const std::string trace = vxl::test::TempDir::Read(dir.File("trace.txt"));
    EXPECT_NE(trace.find("host>  @9600   01 20 01 6B 5A"), std::string::npos) << trace;
    EXPECT_NE(trace.find("modem> @9600   01 9E 00 61"), std::string::npos) << trace;
    EXPECT_NE(trace.find("program: memory stored"), std::string::npos);
}

}  // namespace
}  // namespace vxl::sim::test
