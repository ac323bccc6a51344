// The headless runs of vxlconf in this process, against simulated modems: the program's own
// CConfigApp with its standard error caught, in a working directory and data folder of the
// test's own.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "app/config_app.h"
#include "e2e_fixture.h"
#include "support/xml_check.h"

namespace vxl::sim::test {

class HeadlessRun : public EndToEnd {
  protected:
    void SetUp() override {
        ASSERT_NE(::getcwd(savedCwd_, sizeof savedCwd_), nullptr);
        // The stealth name is lower-cased like the whole command line, so the documents are
        // written relative to a working directory of our own; backups are kept there too.
        ASSERT_EQ(::chdir(dir.path().c_str()), 0);
        const char* data = std::getenv("XDG_DATA_HOME");
        savedData_ = data ? data : "";
        ::setenv("XDG_DATA_HOME", dir.path().c_str(), 1);
        err_ = std::tmpfile();
        out_ = std::tmpfile();
    }
    void TearDown() override {
        EndToEnd::TearDown();
        std::fclose(err_);
        std::fclose(out_);
        ::setenv("XDG_DATA_HOME", savedData_.c_str(), 1);
        ASSERT_EQ(::chdir(savedCwd_), 0);
    }
    // A VXL with `faults`; a small one (32 configuration bytes) whose simulated operator
    // power-cycles it as soon as the program asks for a power-on capture keeps runs short.
    void StartVxl(const FaultPlan& faults = FaultPlan(), bool small = false) {
        SimOptions options;
        options.faults = faults;
        if (small) {
            options.profile.configSize = 32;
            options.operatorPowerCycleSeconds = 0.1;
        }
        StartModem(options);
    }
    int RunVxlconf(std::vector<std::string> args) {
        CConfigApp app;
        app.SetPreferencePath(dir.File("prefs.conf"));
        app.SetErrorStream(err_);
        app.SetOutputStream(out_);
        ScopedUi scope(ui);
        const int status = app.Run(args);
        lastResult = app.LastResult();
        return status;
    }
    std::string ErrText() { return Text(err_); }
    std::string OutText() { return Text(out_); }
    void ClearOutput() {
        err_ = std::freopen(nullptr, "w+", err_);
        out_ = std::freopen(nullptr, "w+", out_);
    }
    // An export without the lines that name the station, the time or the modem's serial number.
    std::string Export(const std::string& name) {
        const std::string document = vxl::test::TempDir::Read(dir.File(name + ".xml"));
        EXPECT_TRUE(vxl::test::WellFormedXml(document)) << name;
        std::istringstream in(document);
        std::string kept;
        for (std::string line; std::getline(in, line);)
            if (line.find("<station-id>") == std::string::npos &&
                line.find("<date>") == std::string::npos &&
                line.find("<serial-number>") == std::string::npos)
                kept += line + "\n";
        return kept;
    }

    int lastResult = -1;

  private:
    static std::string Text(std::FILE* file) {
        std::fflush(file);
        std::rewind(file);
        std::string text;
        for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
        return text;
    }

    char savedCwd_[4096];
    std::string savedData_;
    std::FILE* err_ = nullptr;
    std::FILE* out_ = nullptr;
};

}  // namespace vxl::sim::test
