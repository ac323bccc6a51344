// The Memory Map page: the modem's configuration memory as a hexadecimal dump, eight bytes a
// row under their address, each byte edited in place; and the Print button.
#pragma once

#include <cstdint>
#include <vector>

#include "gui/page.h"

class ModemMemoryImage;

namespace vxl::gui {

class GridCtrl;

class MemoryMapPage : public Page {
    Q_OBJECT
  public:
    MemoryMapPage(EditSink* sink, const DialogUnits& units, QWidget* parent = nullptr);

    // Any change shows the working image again (blank cells without one).
    void Refresh(const ParameterChanges& changes, ModemParameterSet& parameters,
                 int keptId) override;
    void FillMemoryMap(const ModemMemoryImage* image);
    void UpdateControls(bool loaded, ModemParameterSet* parameters) override;

    GridCtrl* grid() const { return grid_; }
    int ByteCount() const { return static_cast<int>(shown_.size()); }

  signals:
    // The operator typed `value` for the byte at `offset` from the image's first address.
    void byteEdited(int offset, int value);

  private:
    void SetUp(int bytes);
    void OnEndEdit(int row, int column);

    GridCtrl* grid_;
    int startAddress_ = 0;
    int layoutBytes_ = 0;  // the byte count the grid is laid out for
    std::vector<uint8_t> shown_;
};

}  // namespace vxl::gui
