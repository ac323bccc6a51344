// The list of "Restore From Backup...": this modem's backups, newest first, with their time,
// firmware revision and the settings that differ from the loaded ones. The dialog only shows
// the list and returns the operator's choice; SettingsMenuModel does the rest.
#pragma once

#include <QDialog>
#include <vector>

#include "coordinator/safety_commands.h"

class QDialogButtonBox;
class QTreeWidget;

namespace vxl::gui {

class RestoreBackupDialog : public QDialog {
    Q_OBJECT
  public:
    RestoreBackupDialog(const std::string& serialNumber,
                        const std::vector<BackupListEntry>& backups, QWidget* parent = nullptr);

    QTreeWidget* list() const { return list_; }
    // The row chosen (-1: none).
    int Chosen() const;

  private:
    QTreeWidget* list_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

// The dialog shown modally over `parent`: the index chosen, or -1 when cancelled.
int ChooseBackup(QWidget* parent, const std::string& serialNumber,
                 const std::vector<BackupListEntry>& backups);

}  // namespace vxl::gui
