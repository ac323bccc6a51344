// A plain choice of the serial port from the ports this machine lists.
#pragma once

#include <QDialog>
#include <vector>

#include "link/port_probe.h"

class QTreeWidget;
class QPushButton;

namespace vxl::gui {

class PortListDialog : public QDialog {
    Q_OBJECT
  public:
    PortListDialog(const std::vector<ProbedPort>& ports, int current, bool firstRun,
                   QWidget* parent = nullptr);
    // The port selected when OK was pressed; -1 for none.
    int chosenPort() const { return chosen_; }

  private:
    void SelectionChanged();

    QTreeWidget* list_;
    QPushButton* ok_;
    int chosen_ = -1;
};

}  // namespace vxl::gui
