// What a failed upgrade or Program tells the operator to do, followed against the simulated
// modem: the advice must bring the modem back, or find out what it holds, and a lost device is
// reported in one line.
#include <gtest/gtest.h>

#include <algorithm>

#include "coordinator/firmware_upgrade.h"
#include "e2e_fixture.h"
#include "line_harness.h"

namespace vxl::sim::test {
namespace {

TEST_F(HeadlessRun, TheAdviceAfterAFailedUpgradeOrProgramWorks) {
    const std::string firmware = WriteFirmware(dir, 8);
    const std::vector<std::string> upgrade = {"upgrade", firmware};
    const std::vector<std::string> defaults = {"defaults"};
    const std::vector<std::string> check = {"dryrun", "defaults"};
    const struct {
        const char* name;
        FaultPlan fault;
        std::vector<std::string> run;
        std::string said;  // in the run's one line
        std::vector<std::string> advice;
        int adviceStatus;  // the advice's exit status: 0, or 5 when the defaults are not stored
    } cases[] = {
        // Every failure of the loader leaves the modem in it (the coordinator's tests).
        {"the loader cannot store the firmware",
         [] {
             FaultPlan p;
             p.loaderNoDoneAfterStore = true;
             return p;
         }(),
         upgrade, kLeftInBootLoader, upgrade, kExitOk},
        {"the answer to the store command is damaged",
         Plan({{&FaultPlan::faultCommand, 0x1E}, {&FaultPlan::wrongByteIn, 1}}), defaults,
         "whether it stored them is unknown. Load the modem again to find out", check, kExitOk},
        {"the last write's answer is damaged",
         Plan({{&FaultPlan::faultCommand, 0x20}, {&FaultPlan::wrongByteIn, 3}}), defaults,
         "the command that stores them was not sent: it returns to its previous settings", check,
         kExitWouldChange},
        // The modem answers the command, falls silent, and its device goes away: what the
        // operator reads is one line, without a box of the port's own.
        {"the device goes away after the store command",
         Plan({{&FaultPlan::faultCommand, 0x1E},
               {&FaultPlan::stopAfter, 1},
               {&FaultPlan::hangUpAfter, 1}}),
         defaults,
         "went away: Input/output error (code 5). The modem stored the new settings, but reading "
         "them back to verify them failed. Load the modem again to check them.",
         check, kExitOk},
        {"the device goes away while writing",
         Plan({{&FaultPlan::faultCommand, 0x20},
               {&FaultPlan::stopAfter, 1},
               {&FaultPlan::hangUpAfter, 1}}),
         defaults,
         "went away: Input/output error (code 5). The settings could not be read back from the "
         "modem: whether it holds the new settings is unknown. Load it again to check.",
         check, kExitWouldChange},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimOptions options;
        options.faults = c.fault;
        options.operatorPowerCycleSeconds = 0.1;  // the operator switches it off and on at once
        StartModem(options);
        std::vector<std::string> args = c.run;
        args.insert(args.end(), {"device", sim->LinkPath(), "poweroncapture"});
        EXPECT_EQ(RunVxlconf(args), kExitRunFailed);
        const std::string line = ErrText();
        EXPECT_NE(line.find(c.said), std::string::npos) << line;
        EXPECT_EQ(std::count(line.begin(), line.end(), '\n'), 1) << line;

        // The operator does as told, on a modem switched off and on (or plugged in again) and
        // without the fault.
        sim->SetFaults(FaultPlan());
        sim->PowerCycle();
        ClearOutput();
        args = c.advice;
        args.insert(args.end(), {"device", sim->LinkPath(), "poweroncapture"});
        EXPECT_EQ(RunVxlconf(args), c.adviceStatus) << ErrText();
        sim->Stop();
        ClearOutput();
    }
}

}  // namespace
}  // namespace vxl::sim::test
