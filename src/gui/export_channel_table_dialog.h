// The "Export Channel Table" dialog: a save-file dialog with a field for the serial number of
// the modem the file is meant for. The file name follows the serial number until the operator
// types a name of their own; a serial number that is not of the form YYWWxxxx is exported only
// after the operator agrees.
#pragma once

#include <QFileDialog>

#include "window/channel_table_commands.h"

class QLineEdit;

namespace vxl::gui {

class SerialNumberField;

class ExportChannelTableDialog : public QFileDialog {
    Q_OBJECT
  public:
    ExportChannelTableDialog(const QString& startDir, QWidget* parent = nullptr);

    SerialNumberField* serialNumberField() const { return serial_; }
    QLineEdit* fileNameField() const { return fileName_; }

  public slots:
    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void SerialChanged(const QString& text);

    SerialNumberField* serial_;
    QLineEdit* fileName_;
    ExportFileNameRule rule_;
};

// Shows the dialog over `parent`; the ChannelTableExportDialog of the export command.
bool ChooseChannelTableExport(QWidget* parent, const std::string& startDir,
                              ChannelTableExportChoice& choice);

}  // namespace vxl::gui
