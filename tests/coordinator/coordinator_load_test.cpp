// Attach, read, detach, demo mode and the firmware fix-up, against a fake modem on a fake link.
#include <gtest/gtest.h>

#include <ostream>

#include <cerrno>
#include <functional>

#include "coordinator_harness.h"
#include "modem/modem_base.h"
#include "params/modem_memory_image.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "util/result_codes.h"

namespace vxl::test {
namespace {

TEST(CoordinatorState, WalksFromDetachedThroughLoadedModifiedProgrammedAndBack) {
    CoordinatorHarness h;
    CCoordinator& c = h.coordinator;
    auto state = [&c] {
        return std::string(c.IsAttached() ? "A" : "-") + (c.IsLoaded() ? "L" : "-") +
               (c.IsModified() ? "M" : "-") + (c.IsProgrammed() ? "P" : "-");
    };
    EXPECT_EQ(state(), "----");
    ASSERT_EQ(c.Attach(h.response, false), rc::kOk);
    EXPECT_EQ(state(), "A---");
    EXPECT_EQ(c.GetModel(), -1);
    ASSERT_EQ(c.Read(h.response, false), rc::kOk);
    EXPECT_EQ(state(), "AL--");
    EXPECT_EQ(c.GetModel(), 5);
    EXPECT_TRUE(c.IsSupportedModel());
    ASSERT_EQ(c.SetTextParameter(pid::kOwner, "Harbour crane 4"), rc::kOk);
    EXPECT_EQ(state(), "ALM-");
    ASSERT_EQ(c.Undo(), rc::kOk);
    EXPECT_EQ(state(), "AL--");
    ASSERT_EQ(c.SetTextParameter(pid::kOwner, "Harbour crane 4"), rc::kOk);
    ASSERT_EQ(c.Program(h.response), rc::kOk);
    EXPECT_EQ(state(), "AL-P");
    ASSERT_EQ(c.Read(h.response, false), rc::kOk);
    EXPECT_EQ(state(), "AL--");
    EXPECT_EQ(h.Text(pid::kOwner), "Harbour crane 4");
    EXPECT_EQ(c.Detach(h.response, false), rc::kOk);
    EXPECT_EQ(state(), "----");
}

TEST(CoordinatorAttach, WithoutAConfiguredPortReturns75AndOpensNothing) {
    CoordinatorHarness h;
    h.coordinator.Init(-1, 1);  // no port switch and no stored port
    EXPECT_EQ(h.coordinator.GetPort(), -1);
    EXPECT_EQ(h.coordinator.Attach(h.response, false), rc::kNoPort);
    EXPECT_EQ(h.linksOpened, 0);
    EXPECT_EQ(h.coordinator.GetLink(), nullptr);
    EXPECT_FALSE(h.coordinator.IsAttached());
}

struct LoadFailure {
    const char* name;
    std::function<void(CoordinatorHarness&)> setUp;
    int attachResult;
    int readResult;  // checked only when the attach succeeded
    const char* location;
    bool attachedAfterwards;
    bool linkOpenAfterwards;
};

// Failure messages name the case instead of dumping its bytes.
void PrintTo(const LoadFailure& c, std::ostream* os) {
    *os << c.name;
}

class CoordinatorLoadFailures : public ::testing::TestWithParam<LoadFailure> {};

TEST_P(CoordinatorLoadFailures, RecordTheFailingStepAndLeaveADefinedState) {
    const LoadFailure& f = GetParam();
    CoordinatorHarness h;
    f.setUp(h);
    int result = h.coordinator.Attach(h.response, false);
    EXPECT_EQ(result, f.attachResult);
    if (result == rc::kOk) {
        EXPECT_EQ(h.coordinator.Read(h.response, false), f.readResult);
    }
    EXPECT_EQ(h.coordinator.GetDiagnosticLocation(), f.location);
    EXPECT_EQ(h.coordinator.IsAttached(), f.attachedAfterwards);
    EXPECT_EQ(h.coordinator.GetLink() != nullptr, f.linkOpenAfterwards);
    EXPECT_FALSE(h.coordinator.IsLoaded());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, CoordinatorLoadFailures,
    ::testing::Values(LoadFailure{"PortCannotBeOpened",
                                  [](CoordinatorHarness& h) { h.openError = EBUSY; }, EBUSY, 0,
                                  "Coordinator:239", false, false},
                      LoadFailure{"NoModemAnswersTheSoftBreak",
                                  [](CoordinatorHarness& h) { h.modem.silent = true; },
                                  rc::kTimeout, 0, "Modem:155", false, false},
                      LoadFailure{"IdentificationRefused",
                                  [](CoordinatorHarness& h) { h.modem.refuseReadAddress = 0x10A; },
                                  rc::kIncorrectResponse, 0, "Modem:170", false, false},
                      LoadFailure{"CaptureDeliversNoModem",
                                  [](CoordinatorHarness& h) {
                                      h.coordinator.SetModemFactory([](std::string&, ISerialLink*,
                                                                       std::unique_ptr<CModemBase>&,
                                                                       int, std::string&,
                                                                       bool) { return 0; });
                                  },
                                  rc::kNothingReceived, 0, "Coordinator:277", false, false},
                      LoadFailure{"MemoryReadStopsHalfWay",
                                  [](CoordinatorHarness& h) { h.modem.refuseReadAddress = 0x150; },
                                  rc::kOk, rc::kCannotReadImage, "Coordinator:316", true, true}),
    [](const ::testing::TestParamInfo<LoadFailure>& info) { return info.param.name; });

TEST(CoordinatorAttach, MissingModelIdKeepsTheModemAttachedAndReadable) {
    ModemIdentity identity;
    identity.modelByte = 0;
    CoordinatorHarness h(identity);
    EXPECT_EQ(h.coordinator.Attach(h.response, false), rc::kModelIdMissing);
    EXPECT_TRUE(h.coordinator.IsAttached());
    EXPECT_NE(h.coordinator.GetLink(), nullptr);
    EXPECT_EQ(h.coordinator.Read(h.response, false), rc::kOk);
    EXPECT_TRUE(h.coordinator.IsLoaded());
}

TEST(CoordinatorDetach, SendsResetUnlessKeptOpenAndForgetsTheModemEitherWay) {
    for (bool keepOpen : {false, true}) {
        SCOPED_TRACE(keepOpen);
        CoordinatorHarness h;
        h.coordinator.SetView(&h.view);
        ASSERT_EQ(h.Load(), rc::kOk);
        h.view.calls.clear();
        EXPECT_EQ(h.coordinator.Detach(h.response, keepOpen), rc::kOk);
        EXPECT_EQ(h.modem.resets, keepOpen ? 0 : 1);
        EXPECT_FALSE(h.coordinator.IsAttached());
        EXPECT_FALSE(h.coordinator.IsLoaded());
        EXPECT_EQ(h.coordinator.GetLink(), nullptr);
        EXPECT_EQ(h.coordinator.GetWorkingImage(), nullptr);
        EXPECT_EQ(h.view.calls,
                  (std::vector<std::string>{"ClearModifiedMarks", "ClearIdentificationTexts",
                                            "ResetFrequenciesPage", "EnablePages 0"}));
    }
}

TEST(CoordinatorDetach, WithNothingAttachedOnlyClearsTheProgrammedFlag) {
    CoordinatorHarness h;
    h.coordinator.SetView(&h.view);
    EXPECT_EQ(h.coordinator.Detach(h.response, false), rc::kOk);
    EXPECT_TRUE(h.view.calls.empty());
    EXPECT_EQ(h.modem.resets, 0);
}

TEST(CoordinatorRead, FillsThePagesInOrderAndStopsAtTheFirstFailure) {
    CoordinatorHarness h;
    h.coordinator.SetView(&h.view);
    h.view.failingPage = CoordinatorPage::Frequencies;
    h.view.failResult = rc::kBadPower;
    ASSERT_EQ(h.coordinator.Attach(h.response, false), rc::kOk);
    EXPECT_EQ(h.coordinator.Read(h.response, false), rc::kBadPower);
    EXPECT_EQ(h.view.calls, (std::vector<std::string>{"EnablePages 1", "FillPage 0", "FillPage 1",
                                                      "FillPage 2", "FillPage 3"}));
    h.view.failingPage = static_cast<CoordinatorPage>(-1);
    h.view.calls.clear();
    EXPECT_EQ(h.coordinator.Read(h.response, false), rc::kOk);
    EXPECT_EQ(h.view.calls,
              (std::vector<std::string>{"EnablePages 1", "FillPage 0", "FillPage 1", "FillPage 2",
                                        "FillPage 3", "FillPage 4", "FillPage 5", "UpdateDialog"}));
}

TEST(CoordinatorDemo, StartsOnceAndRefusesWhileAModemIsAttached) {
    CoordinatorHarness h;
    EXPECT_EQ(h.coordinator.StartDemo(), rc::kOk);
    EXPECT_TRUE(h.coordinator.IsLoaded());
    EXPECT_EQ(h.coordinator.GetLink(), nullptr);
    EXPECT_EQ(h.coordinator.GetModem()->GetPortNumber(), 99);
    ModemParameterSet* demoSet = h.coordinator.GetParameterSet();
    EXPECT_EQ(h.coordinator.StartDemo(), rc::kAlreadyDemo);
    EXPECT_EQ(h.coordinator.GetParameterSet(), demoSet);

    CoordinatorHarness real;
    ASSERT_EQ(real.coordinator.Attach(real.response, false), rc::kOk);
    EXPECT_EQ(real.coordinator.StartDemo(), rc::kAlreadyDemo);
    EXPECT_EQ(real.coordinator.GetModem()->GetPortNumber(), 3);
}

// ---- firmware fix-up ----

constexpr int kMainSize = 246;
constexpr int kExtension = 0x100 + kMainSize;  // modem address of the first extension byte

struct FixUpCase {
    const char* name;
    int modemRevision;  // hundredths
    const char* lastRevision;
    bool sameSerial;
    bool programs;
    std::vector<uint8_t> extensionAfter;  // extension bytes in the modem afterwards
};

void PrintTo(const FixUpCase& c, std::ostream* os) {
    *os << c.name;
}

class CoordinatorFixUp : public ::testing::TestWithParam<FixUpCase> {};

TEST_P(CoordinatorFixUp, AdjustsTheSettingsOnceAndClearsThePreferences) {
    const FixUpCase& f = GetParam();
    ModemIdentity identity;
    identity.revisionHundredths = f.modemRevision;
    CoordinatorHarness h(identity);
    const std::vector<uint8_t> before = {0x11, 0x22, 0x33, 0x44, 0x05, 0x12, 0x34, 0x56, 0x78};
    for (size_t i = 0; i < before.size(); ++i) h.modem.memory[kExtension + i] = before[i];
    h.prefs.SetInt(kPrefLastSerialNumber, f.sameSerial ? 0x0015C73B : 1234);
    h.prefs.SetText(kPrefLastFWRev, f.lastRevision);
    ASSERT_EQ(h.Load(), rc::kOk);

    EXPECT_EQ(h.coordinator.FirmwareFixUp(h.response), rc::kOk);

    EXPECT_EQ(h.modem.commits, f.programs ? 1 : 0);
    EXPECT_FALSE(h.coordinator.IsModified());
    std::vector<uint8_t> after(h.modem.memory.begin() + kExtension,
                               h.modem.memory.begin() + kExtension + 9);
    EXPECT_EQ(after, f.programs ? f.extensionAfter : before);
    EXPECT_EQ(h.prefs.GetInt(kPrefLastSerialNumber, 7), -1);
    EXPECT_EQ(h.prefs.GetText(kPrefLastFWRev, "x"), "");
}

INSTANTIATE_TEST_SUITE_P(
    Revisions, CoordinatorFixUp,
    ::testing::Values(
        // ModemEnable (bit 7 of 0x8005) and DataSecurityCode (0x8006..9) take their defaults.
        FixUpCase{"SecurityFieldsAppearAt104",
                  104,
                  "1.00",
                  true,
                  true,
                  {0x11, 0x22, 0x33, 0x44, 0x85, 0x00, 0x00, 0x00, 0x00}},
        // The extension window moves down: every byte comes from one address further on.
        FixUpCase{"BackFrom210To150ShiftsDown",
                  150,
                  "2.10",
                  true,
                  true,
                  {0x22, 0x33, 0x44, 0x05, 0x12, 0x34, 0x56, 0x78, 0x00}},
        // Up: the last main byte moves in, ModemEnable is zeroed and then takes its default.
        FixUpCase{"UpFrom150To220ShiftsUp",
                  220,
                  "1.50",
                  true,
                  true,
                  {0x00, 0x11, 0x22, 0x33, 0x80, 0x05, 0x12, 0x34, 0x56}},
        FixUpCase{"AnotherModemIsLeftAlone", 104, "1.00", false, false, {}},
        FixUpCase{"SameRevisionIsLeftAlone", 220, "2.20", true, false, {}},
        FixUpCase{"NoStoredRevisionIsLeftAlone", 220, "", true, false, {}}),
    [](const ::testing::TestParamInfo<FixUpCase>& info) { return info.param.name; });

TEST(CoordinatorFixUp, NothingLoadedDoesNothing) {
    CoordinatorHarness h;
    h.prefs.SetText(kPrefLastFWRev, "1.00");
    EXPECT_EQ(h.coordinator.FirmwareFixUp(h.response), rc::kOk);
    EXPECT_EQ(h.prefs.GetText(kPrefLastFWRev, ""), "1.00");
}

}  // namespace
}  // namespace vxl::test
