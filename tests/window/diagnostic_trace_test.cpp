// The diagnostic trace from the window's Help menu, on the fake modem: started while a modem is
// attached, it records from then on what went over the line and what came of it, in the
// transcript the simulator reads; stopped, it says where it is.
#include <gtest/gtest.h>

#include "coordinator/coordinator_harness.h"
#include "params/parameter_ids.h"
#include "util/format.h"
#include "util/transcript.h"
#include "window/diagnostic_trace_menu.h"

namespace vxl::test {
namespace {

size_t BytesHeard(const FakeModem& modem) {
    size_t bytes = 0;
    for (const std::string& write : modem.heard) bytes += write.size();
    return bytes;
}

TEST(DiagnosticTrace, RecordsTheLineFromTheMenuUntilItIsStopped) {
    CoordinatorHarness h;
    VersionTexts version;
    version.versionText = "Version 2.42B";
    version.buildText = "Build 69";
    DiagnosticTraceMenu menu(h.coordinator, version);
    const std::string path = h.dir.File("trace.txt");
    ASSERT_EQ(h.coordinator.Attach(h.response, false), rc::kOk);
    const size_t heardBefore = BytesHeard(h.modem);

    // A folder that does not exist is said at once; then a good file starts the trace.
    h.ui.ScriptFiles({h.dir.File("none/trace.txt"), path});
    menu.Click();
    EXPECT_EQ(h.ui.messages.back().icon, MsgIcon::Stop);
    EXPECT_NE(h.ui.messages.back().text.find("none/trace.txt: the folder"), std::string::npos)
        << h.ui.messages.back().text;
    EXPECT_EQ(menu.ItemText(), "Save Diagnostic Trace...");
    menu.Click();
    EXPECT_EQ(menu.ItemText(), "Stop Diagnostic Trace");
    ASSERT_EQ(h.coordinator.Read(h.response, false), rc::kOk);
    ASSERT_EQ(h.coordinator.Settings().SetText(pid::kOwner, "Quarry"), rc::kOk);
    h.modem.faultAddress = 0x16B;  // the owner's first byte: its write gets no answer
    const int failed = h.coordinator.Program(h.response);
    ASSERT_NE(failed, rc::kOk);

    // Written after each result, so it is whole while the trace goes on.
    vxl::Transcript transcript;
    std::string problem;
    ASSERT_TRUE(ParseTranscript(TempDir::Read(path), transcript, problem)) << problem;
    EXPECT_EQ(transcript.Field("program"), "vxlconf Version 2.42B Build 69");
    std::vector<std::string> events;
    size_t sent = 0;
    for (const TranscriptEntry& entry : transcript.entries) {
        if (entry.isEvent) events.push_back(entry.text);
        if (!entry.isEvent && entry.direction == TranscriptDirection::FromHost)
            sent += entry.bytes.size();
    }
    ASSERT_GE(events.size(), 3u);
    // The line's settings come first, also for a line opened before the trace started.
    EXPECT_EQ(events[0],
              "line: port 3, /dev/ttyFAKE, 9600 baud, 8 data bits, no parity, 1 stop bit");
    EXPECT_EQ(std::count(events.begin(), events.end(), "result Read: 0"), 1);
    EXPECT_EQ(events.back().rfind(Format("result Program: %d ", failed), 0), 0u) << events.back();
    EXPECT_EQ(sent, BytesHeard(h.modem) - heardBefore);

    menu.Click();
    EXPECT_EQ(menu.ItemText(), "Save Diagnostic Trace...");
    EXPECT_EQ(h.ui.messages.back().text.rfind("The diagnostic trace is saved in\n" + path, 0), 0u);
    EXPECT_NE(TempDir::Read(path).find("--      trace stopped\n"), std::string::npos);
}

}  // namespace
}  // namespace vxl::test
