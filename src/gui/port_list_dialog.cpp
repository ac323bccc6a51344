#include "gui/port_list_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vxl::gui {

PortListDialog::PortListDialog(const std::vector<ProbedPort>& ports, int current, bool firstRun,
                               QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("portDialog"));
    setWindowTitle(tr("Select Serial Port"));
    setProperty("firstRun", firstRun);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Choose an available port"), this));
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("portList"));
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({tr("Serial Port"), tr("Status"), tr("Device"), tr("Description")});
    for (const ProbedPort& port : ports) {
        auto* row = new QTreeWidgetItem(
            list_, {QString::number(port.number), QString::fromStdString(port.status),
                    QString::fromStdString(port.device), QString::fromStdString(port.description)});
        row->setData(0, Qt::UserRole, port.number);
        // A port in use cannot be chosen.
        if (port.status != kPortAvailable) row->setFlags(row->flags() & ~Qt::ItemIsSelectable);
        if (port.number == current && port.status == kPortAvailable) row->setSelected(true);
    }
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list_->setMinimumWidth(fontMetrics().averageCharWidth() * 80);
    layout->addWidget(list_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setObjectName(QStringLiteral("Ok"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &PortListDialog::SelectionChanged);
    SelectionChanged();
}

void PortListDialog::SelectionChanged() {
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    chosen_ = selected.isEmpty() ? -1 : selected.front()->data(0, Qt::UserRole).toInt();
    ok_->setEnabled(chosen_ >= 1);
}

}  // namespace vxl::gui
