// What the coordinator needs from the pages that show the parameters. The main dialog implements
// it over the property sheet; a run without windows has no view, and the coordinator then skips
// every call. Controls are named by the parameter id they show.
#pragma once

#include <string>

class ModemParameterSet;

namespace vxl {

// The pages of the property sheet, in the order the coordinator fills them.
enum class CoordinatorPage {
    Identification,
    RadioLink,
    SerialInterface,
    Frequencies,
    MemoryMap,
    Factory
};

constexpr CoordinatorPage kPagesInFillOrder[] = {
    CoordinatorPage::Identification, CoordinatorPage::RadioLink, CoordinatorPage::SerialInterface,
    CoordinatorPage::Frequencies,    CoordinatorPage::MemoryMap, CoordinatorPage::Factory};

constexpr int kGridChannels = 16;

class CoordinatorView {
  public:
    virtual ~CoordinatorView() = default;

    // Fills one page from the parameter set; returns a result code (0 = success).
    virtual int FillPage(CoordinatorPage page, ModemParameterSet& parameters) = 0;

    // Show a value in the control of parameter `id` (not stored anywhere else).
    virtual void ShowInt(int id, int value) = 0;
    virtual void ShowReal(int id, double value) = 0;
    virtual void ShowBool(int id, bool value) = 0;
    virtual void ShowText(int id, const std::string& text) = 0;
    // Limits of the real-valued control of parameter `id`.
    virtual void SetRealRange(int id, double minimum, double maximum, int decimals) = 0;

    // The transmit column of the Frequencies grid.
    virtual void SetTransmitColumnEditable(bool editable) = 0;
    virtual void EnablePages(bool enable) = 0;
    virtual void ClearModifiedMarks() = 0;
    virtual void ResetFrequenciesPage() = 0;
    // Empties the Identification page's texts except the call sign; the controls show the empty
    // texts the next time the page pushes its members to them.
    virtual void ClearIdentificationTexts() = 0;
    // Brings the dialog's buttons and controls up to date with the coordinator's state.
    virtual void UpdateDialog() = 0;

    // The receive and transmit frequencies (MHz, 0.0 = channel not in use) of the Frequencies
    // grid as currently shown, edits included.
    virtual void GetGridFrequencies(double rx[kGridChannels], double tx[kGridChannels]) = 0;
    // Sets every receive and transmit cell of the grid to 0.
    virtual void ClearGridFrequencies() = 0;
};

}  // namespace vxl
