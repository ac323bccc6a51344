#include "gui/restore_backup_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "window/settings_menu_model.h"

namespace vxl::gui {

namespace {

// Differences beyond this many are counted, not named; the tip names them all.
constexpr size_t kNamedDifferences = 4;

}  // namespace

RestoreBackupDialog::RestoreBackupDialog(const std::string& serialNumber,
                                         const std::vector<BackupListEntry>& backups,
                                         QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("restoreDialog"));
    setWindowTitle(tr("Restore From Backup"));
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(
        tr("Backups of the modem with serial number %1, newest first. The backup you choose is "
           "shown on the pages; Program writes it to the modem.")
            .arg(QString::fromStdString(serialNumber)),
        this);
    prompt->setWordWrap(true);
    layout->addWidget(prompt);

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("backupList"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setHeaderLabels({tr("Taken"), tr("Firmware"), tr("Differs from the loaded settings")});
    for (const BackupListEntry& entry : backups) {
        auto* item = new QTreeWidgetItem(
            list_, {QString::fromStdString(entry.time), QString::fromStdString(entry.firmware),
                    QString::fromStdString(BackupDifferenceText(entry, kNamedDifferences))});
        item->setToolTip(2, QString::fromStdString(BackupDifferenceText(entry)));
        item->setToolTip(0, QString::fromStdString(entry.path));
        if (!entry.problem.empty())
            for (int column = 0; column < 3; ++column)
                item->setForeground(column, palette().brush(QPalette::Disabled, QPalette::Text));
    }
    list_->resizeColumnToContents(0);
    list_->resizeColumnToContents(1);
    list_->resizeColumnToContents(2);
    list_->header()->setStretchLastSection(true);
    prompt->setBuddy(list_);
    layout->addWidget(list_);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons_);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
    QPushButton* ok = buttons_->button(QDialogButtonBox::Ok);
    connect(list_, &QTreeWidget::currentItemChanged, this,
            [ok](QTreeWidgetItem* item) { ok->setEnabled(item != nullptr); });
    if (list_->topLevelItemCount() > 0) list_->setCurrentItem(list_->topLevelItem(0));
    ok->setEnabled(list_->currentItem() != nullptr);

    // Wide enough for the time, the revision and a few names without a scroll bar.
    int width = 0;
    for (int column = 0; column < 3; ++column) width += list_->columnWidth(column);
    const int rows = std::min(8, std::max(3, list_->topLevelItemCount()));
    const int rowHeight = list_->sizeHintForRow(0) > 0 ? list_->sizeHintForRow(0) : 20;
    list_->setMinimumSize(std::max(width + 24, 480),
                          list_->header()->sizeHint().height() + rows * rowHeight + 8);
}

int RestoreBackupDialog::Chosen() const {
    QTreeWidgetItem* item = list_->currentItem();
    return item != nullptr ? list_->indexOfTopLevelItem(item) : -1;
}

int ChooseBackup(QWidget* parent, const std::string& serialNumber,
                 const std::vector<BackupListEntry>& backups) {
    RestoreBackupDialog dialog(serialNumber, backups, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.Chosen() : -1;
}

}  // namespace vxl::gui
