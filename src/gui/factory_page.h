// The Factory page: what the maker sets (model, frequency range, RF power, power control,
// channel bandwidth, crystal, serial number), the run clock and the last failure, and the three
// factory operations.
#pragma once

#include "gui/page.h"

namespace vxl::gui {

class SerialNumberField;

class FactoryPage : public Page {
    Q_OBJECT
  public:
    FactoryPage(EditSink* sink, const DialogUnits& units, QWidget* parent = nullptr);

    void Refresh(const ParameterChanges& changes, ModemParameterSet& parameters,
                 int keptId) override;
    SerialNumberField* serialNumber() const { return serial_; }

  private:
    SerialNumberField* serial_;
};

}  // namespace vxl::gui
