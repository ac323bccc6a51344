// The "Select Serial Port" dialog: the window of a PortSelectionModel. The model decides
// everything (rows, which row is selected, when OK and Locate Modem may be pressed, the hint);
// the dialog shows it and hands it the operator's clicks.
#pragma once

#include <QDialog>

#include "ports/select_serial_port.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vxl::gui {

class SelectPortDialog : public QDialog {
    Q_OBJECT
  public:
    explicit SelectPortDialog(PortSelectionModel& model, QWidget* parent = nullptr);

    QTreeWidget* list() const { return list_; }

  protected:
    // Escape and the window's close wait while a search runs (its own window cancels it).
    void reject() override;

  private:
    void Fill();
    // Brings selection, buttons and hint up to date with the model.
    void ShowState();
    void RowChosen(QTreeWidgetItem* item);
    void Accept();
    void Locate();
    void Rescan();

    PortSelectionModel& model_;
    QTreeWidget* list_ = nullptr;
    QLabel* hint_ = nullptr;
    QPushButton* locate_ = nullptr;
    QPushButton* rescan_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    bool searching_ = false;
};

// The dialog as the port selection asks for it: shown modally over `parent`.
PortDialog PortDialogOver(QWidget* parent);

}  // namespace vxl::gui
