#include "gui/port_dialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/operator.h"

namespace vxl::gui {

namespace {

QPushButton* MakeButton(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

SelectPortDialog::SelectPortDialog(PortSelectionModel& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setObjectName(QStringLiteral("portDialog"));
    setWindowTitle(QString::fromLatin1(kSelectPortTitle));
    setProperty("firstRun", model.FirstRun());
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(QString::fromLatin1(kSelectPortPrompt), this);
    layout->addWidget(prompt);

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("portList"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setTextElideMode(Qt::ElideMiddle);
    QStringList captions;
    for (const PortColumn& column : PortColumns()) captions << QString::fromLatin1(column.caption);
    list_->setHeaderLabels(captions);
    prompt->setBuddy(list_);
    layout->addWidget(list_);

    hint_ = new QLabel(this);
    hint_->setObjectName(QStringLiteral("portHint"));
    hint_->setWordWrap(true);
    hint_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(hint_);

    auto* buttons = new QHBoxLayout;
    locate_ = MakeButton(QString::fromLatin1(kLocateModemButton), "locateButton", this);
    rescan_ = MakeButton(QString::fromLatin1(kRescanButton), "rescanButton", this);
    ok_ = MakeButton(tr("OK"), "Ok", this);
    cancel_ = MakeButton(tr("Cancel"), "Cancel", this);
    ok_->setDefault(true);
    buttons->addWidget(locate_);
    buttons->addWidget(rescan_);
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);

    connect(list_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { RowChosen(item); });
    connect(list_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { RowChosen(item); });
    // The model's selection is the only one: whatever else the list does is put back, once
    // the list has finished its own change.
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &SelectPortDialog::ShowState,
            Qt::QueuedConnection);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &SelectPortDialog::Accept);
    connect(ok_, &QPushButton::clicked, this, &SelectPortDialog::Accept);
    connect(cancel_, &QPushButton::clicked, this, &SelectPortDialog::reject);
    connect(locate_, &QPushButton::clicked, this, &SelectPortDialog::Locate);
    connect(rescan_, &QPushButton::clicked, this, &SelectPortDialog::Rescan);
    Fill();
    list_->setFocus();
}

void SelectPortDialog::Fill() {
    QSignalBlocker block(list_);
    list_->clear();
    const int columns = static_cast<int>(PortColumns().size());
    const QColor unavailable = palette().color(QPalette::Disabled, QPalette::Text);
    for (int row = 0; row < static_cast<int>(model_.Rows().size()); ++row) {
        auto* item = new QTreeWidgetItem(list_);
        for (int column = 0; column < columns; ++column) {
            const QString text = QString::fromStdString(model_.CellText(row, column));
            item->setText(column, text);
            item->setToolTip(column, text);
        }
        const PortRow& port = model_.Rows()[static_cast<size_t>(row)];
        if (!port.available) {
            // It can be clicked (to learn why), never selected.
            item->setFlags(item->flags() & ~Qt::ItemIsSelectable);
            for (int column = 0; column < columns; ++column)
                item->setForeground(column, unavailable);
        }
        if (!port.advice.empty()) item->setToolTip(1, QString::fromStdString(port.advice));
    }
    // Each column as wide as its texts, at least the width the model gives it and at most
    // twice that (a long device name is shortened in its middle; its tip shows it whole).
    for (int column = 0; column < columns; ++column) {
        list_->resizeColumnToContents(column);
        const int least = PortColumns()[static_cast<size_t>(column)].width;
        list_->setColumnWidth(column, qBound(least, list_->columnWidth(column), 2 * least));
    }
    int width = 0;
    for (int column = 0; column < columns; ++column) width += list_->columnWidth(column);
    list_->setMinimumWidth(width + 2 * list_->frameWidth() + 4);
    const int rows = qBound(4, static_cast<int>(model_.Rows().size()), 10);
    const int rowHeight = list_->fontMetrics().height() + 6;
    list_->setMinimumHeight(list_->header()->sizeHint().height() + rows * rowHeight +
                            2 * list_->frameWidth());
    ShowState();
}

void SelectPortDialog::ShowState() {
    {
        QSignalBlocker block(list_);
        const int selected = model_.SelectedRow();
        for (int row = 0; row < list_->topLevelItemCount(); ++row)
            list_->topLevelItem(row)->setSelected(row == selected);
        if (selected >= 0) {
            list_->setCurrentItem(list_->topLevelItem(selected), 0, QItemSelectionModel::NoUpdate);
            list_->scrollToItem(list_->topLevelItem(selected));
        } else if (!list_->currentIndex().isValid()) {
            // Without this the list makes its first row current when it takes the focus, and
            // that would choose it: with no port stored, nothing is chosen until the operator
            // chooses.
            list_->setCurrentIndex(QModelIndex());
        }
    }
    ok_->setEnabled(model_.OkEnabled() && !searching_);
    locate_->setEnabled(model_.LocateEnabled() && !searching_);
    rescan_->setEnabled(!searching_);
    cancel_->setEnabled(!searching_);
    list_->setEnabled(!searching_);
    hint_->setText(QString::fromStdString(model_.Hint()));
}

void SelectPortDialog::RowChosen(QTreeWidgetItem* item) {
    if (searching_ || item == nullptr) return;
    model_.ClickRow(list_->indexOfTopLevelItem(item));
    ShowState();
}

void SelectPortDialog::Accept() {
    if (searching_ || !model_.OkEnabled()) return;
    accept();
}

void SelectPortDialog::Locate() {
    if (searching_ || !model_.LocateEnabled()) return;
    searching_ = true;
    ShowState();
    const bool found = model_.LocateModem();
    searching_ = false;
    ShowState();
    if (found) accept();
}

void SelectPortDialog::Rescan() {
    if (searching_) return;
    {
        WaitCursor wait;
        model_.Rescan();
    }
    Fill();
}

void SelectPortDialog::reject() {
    if (searching_) return;
    QDialog::reject();
}

PortDialog PortDialogOver(QWidget* parent) {
    return [parent](PortSelectionModel& model) {
        SelectPortDialog dialog(model, parent);
        return dialog.exec() == QDialog::Accepted;
    };
}

}  // namespace vxl::gui
