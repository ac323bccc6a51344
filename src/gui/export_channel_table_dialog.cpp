#include "gui/export_channel_table_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <vector>

#include "gui/serial_number_field.h"

namespace vxl::gui {

ExportChannelTableDialog::ExportChannelTableDialog(const QString& startDir, QWidget* parent)
    : QFileDialog(parent), serial_(new SerialNumberField(this)) {
    setObjectName(QStringLiteral("exportChannelTableDialog"));
    // The serial-number field is added to Qt's own dialog; a desktop dialog has no room for it.
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setWindowTitle(tr("Export Channel Table"));
    setNameFilters({tr("Channel Table Upgrades (*.upg)"), tr("All Files (*)")});
    setDefaultSuffix(QStringLiteral("upg"));
    setLabelText(QFileDialog::FileName, tr("Upgrade File Name:"));
    setLabelText(QFileDialog::Accept, tr("&Export"));
    if (!startDir.isEmpty()) setDirectory(startDir);
    fileName_ = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (fileName_ != nullptr)
        fileName_->setText(QString::fromLatin1(ExportFileNameRule::kStartName));

    serial_->setObjectName(QStringLiteral("serialNumberField"));
    auto* label = new QLabel(tr("Enter Serial Number:"), this);
    label->setBuddy(serial_);
    // The serial number comes first: it takes the file-name row, which moves down with the
    // rows below it.
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        int row = grid->rowCount();
        if (fileName_ != nullptr) {
            int column = 0, rowSpan = 0, columnSpan = 0;
            grid->getItemPosition(grid->indexOf(fileName_), &row, &column, &rowSpan, &columnSpan);
        }
        struct Placed {
            QLayoutItem* item;
            int row, column, rowSpan, columnSpan;
        };
        std::vector<Placed> below;
        for (int i = grid->count() - 1; i >= 0; --i) {
            Placed p{nullptr, 0, 0, 0, 0};
            grid->getItemPosition(i, &p.row, &p.column, &p.rowSpan, &p.columnSpan);
            if (p.row < row) continue;
            p.item = grid->takeAt(i);
            below.push_back(p);
        }
        for (const Placed& p : below)
            grid->addItem(p.item, p.row + 1, p.column, p.rowSpan, p.columnSpan);
        grid->addWidget(label, row, 0);
        grid->addWidget(serial_, row, 1);
    }
    connect(serial_, &QLineEdit::textChanged, this, &ExportChannelTableDialog::SerialChanged);
}

void ExportChannelTableDialog::showEvent(QShowEvent* event) {
    QFileDialog::showEvent(event);
    // The dialog gives the file name the focus when it opens; the serial number is typed first.
    QTimer::singleShot(0, serial_, [this] { serial_->setFocus(); });
}

void ExportChannelTableDialog::SerialChanged(const QString& text) {
    if (fileName_ == nullptr) return;
    const std::string name = rule_.NameFor(text.toStdString(), fileName_->text().toStdString());
    if (QString::fromStdString(name) != fileName_->text())
        fileName_->setText(QString::fromStdString(name));
}

void ExportChannelTableDialog::accept() {
    if (fileName_ != nullptr && ExportFileNameRule::IsPattern(fileName_->text().toStdString())) {
        fileName_->setFocus();
        fileName_->selectAll();
        return;
    }
    if (!AcceptExportSerialNumber(serial_->text().toStdString())) return;
    QFileDialog::accept();
}

bool ChooseChannelTableExport(QWidget* parent, const std::string& startDir,
                              ChannelTableExportChoice& choice) {
    ExportChannelTableDialog dialog(QString::fromStdString(startDir), parent);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    choice.path = dialog.selectedFiles().first().toStdString();
    choice.serialText = dialog.serialNumberField()->text().toStdString();
    return true;
}

}  // namespace vxl::gui
