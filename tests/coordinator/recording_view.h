// A view that records every call the coordinator makes, as short texts, so tests can check what
// the pages were told.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "coordinator/coordinator_view.h"
#include "util/format.h"

namespace vxl::test {

class RecordingView : public CoordinatorView {
  public:
    int FillPage(CoordinatorPage page, ModemParameterSet&) override {
        Record(Format("FillPage %d", static_cast<int>(page)));
        return page == failingPage ? failResult : 0;
    }
    void ShowInt(int id, int value) override { Record(Format("ShowInt %d %d", id, value)); }
    void ShowReal(int id, double value) override { Record(Format("ShowReal %d %.4f", id, value)); }
    void ShowBool(int id, bool value) override {
        Record(Format("ShowBool %d %d", id, value ? 1 : 0));
    }
    void ShowText(int id, const std::string& text) override {
        Record(Format("ShowText %d %s", id, text.c_str()));
    }
    void SetRealRange(int id, double minimum, double maximum, int decimals) override {
        Record(Format("SetRealRange %d %.3f %.3f %d", id, minimum, maximum, decimals));
    }
    void SetTransmitColumnEditable(bool editable) override {
        Record(Format("TransmitEditable %d", editable ? 1 : 0));
    }
    void EnablePages(bool enable) override { Record(Format("EnablePages %d", enable ? 1 : 0)); }
    void ClearModifiedMarks() override { Record("ClearModifiedMarks"); }
    void ResetFrequenciesPage() override { Record("ResetFrequenciesPage"); }
    void ClearIdentificationTexts() override { Record("ClearIdentificationTexts"); }
    void UpdateDialog() override { Record("UpdateDialog"); }
    void GetGridFrequencies(double rx[kGridChannels], double tx[kGridChannels]) override {
        Record("GetGridFrequencies");
        std::copy(gridRx, gridRx + kGridChannels, rx);
        std::copy(gridTx, gridTx + kGridChannels, tx);
    }
    void ClearGridFrequencies() override { Record("ClearGridFrequencies"); }

    bool Saw(const std::string& call) const {
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    }
    int Count(const std::string& call) const {
        return static_cast<int>(std::count(calls.begin(), calls.end(), call));
    }

    std::vector<std::string> calls;
    CoordinatorPage failingPage = static_cast<CoordinatorPage>(-1);
    int failResult = 0;
    double gridRx[kGridChannels] = {};
    double gridTx[kGridChannels] = {};

  private:
    void Record(std::string call) { calls.push_back(std::move(call)); }
};

}  // namespace vxl::test
