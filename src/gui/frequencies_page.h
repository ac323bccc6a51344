// The Frequencies page: the modem's 16 channels with their transmit and receive frequencies in
// a grid, each edited in place, and the channel-table buttons (export, import, clear).
#pragma once

#include "gui/page.h"

namespace vxl::gui {

class GridCtrl;

class FrequenciesPage : public Page {
    Q_OBJECT
  public:
    FrequenciesPage(EditSink* sink, const DialogUnits& units, QWidget* parent = nullptr);

    void Refresh(const ParameterChanges& changes, ModemParameterSet& parameters,
                 int keptId) override;
    void UpdateControls(bool loaded, ModemParameterSet* parameters) override;

    // Empties every frequency cell.
    void ClearFrequencies();
    void SetTransmitEditable(bool editable);

    GridCtrl* grid() const { return grid_; }

  signals:
    // A frequency cell's edit: the channel parameter and the number typed (0.0 for no number).
    void frequencyEdited(int parameterId, double mhz);

  private:
    void OnEndEdit(int row, int column);

    GridCtrl* grid_;
};

}  // namespace vxl::gui
