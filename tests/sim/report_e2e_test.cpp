// The headless reports end to end: the vxlconf program itself captures a simulated modem, writes
// the configuration report, the memory-map listing (PDF files, without any display) and the XML
// export, and releases the modem.
#include <gtest/gtest.h>

#include <string>

#include "e2e_fixture.h"

namespace vxl::sim::test {
namespace {

using vxl::test::TempDir;

const std::string kVxlconf = std::string(VXL_BINARY_DIR) + "/src/vxlconf";

// vxlconf in `dir` with no display at all: a window toolkit that needed one would fail.
int RunHeadless(const TempDir& dir, const std::string& args, std::string* output) {
    return RunCommand("cd '" + dir.path() + "' && env -u DISPLAY -u WAYLAND_DISPLAY " +
                          "QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME='" + dir.path() + "' " + kVxlconf +
                          " " + args,
                      output);
}

// The text of a PDF file, or with `info` its document information.
std::string PdfText(const std::string& path, bool info = false) {
    std::string text;
    RunCommand((info ? "pdfinfo '" : "pdftotext -fixed 6 '") + path + (info ? "'" : "' -"), &text);
    return text;
}

bool BackInDataMode(Simulator& sim) {
    return sim.WaitFor([](const SimStatus& s) { return s.mode == ModemMode::kData; }, 3000);
}

TEST_F(EndToEnd, ReportsOfTheSimulatedModemAreWrittenWithoutADisplay) {
    SimOptions options;
    options.operatorPowerCycleSeconds = 0.1;  // power-cycled at once: no guard times to wait out
    StartModem(options);
    std::string output;
    ASSERT_EQ(
        RunHeadless(
            dir,
            "device=" + sim->LinkPath() +
                " poweroncapture nologo factory Report Modem.PDF memorymap Map.pdf stealth s7",
            &output),
        0)
        << output;
    EXPECT_NE(output.find("The configuration report was written to Modem.PDF"), std::string::npos)
        << output;
    // What the pages hold is the report's own test; here, that each file is the document asked
    // for, at the level of the command line, and holds this modem.
    const std::string report = PdfText(dir.File("Modem.PDF"));
    EXPECT_NE(PdfText(dir.File("Modem.PDF"), true).find("KTRCONF Configuration Report"),
              std::string::npos);
    EXPECT_NE(PdfText(dir.File("Map.pdf"), true).find("KTRCONF Modem Memory Map"),
              std::string::npos);
    EXPECT_NE(report.find("  Serial Number:                          01427259"), std::string::npos)
        << report;
    const std::string xml = TempDir::Read(dir.File("s7.xml"));
    EXPECT_NE(xml.find("<serial-number>01427259</serial-number>"), std::string::npos) << xml;
    EXPECT_TRUE(BackInDataMode(*sim)) << "the modem was not reset to data mode";
}

}  // namespace
}  // namespace vxl::sim::test
