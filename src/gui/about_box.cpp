#include "gui/about_box.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "gui/logo_panel.h"

namespace vxl::gui {

AboutBox::AboutBox(const QString& logoPath, const VersionTexts& version, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("aboutBox"));
    setWindowTitle(tr("About VXL Configuration Software"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new LogoPanel(logoPath, version, this), 0, Qt::AlignHCenter);
    auto* notice = new QLabel(QString::fromStdString(version.legalNotice), this);
    notice->setObjectName(QStringLiteral("legalNotice"));
    notice->setAlignment(Qt::AlignCenter);
    notice->setWordWrap(true);
    layout->addWidget(notice);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace vxl::gui
