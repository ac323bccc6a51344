#include "gui/help_window.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "gui/logo_panel.h"

namespace vxl::gui {

HelpWindow::HelpWindow(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(tr("VXL Configuration Software Help"));
    setWindowIcon(ProgramIcon());
    setAttribute(Qt::WA_DeleteOnClose, false);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    browser_->setOpenExternalLinks(true);
    browser_->setAccessibleName(tr("Guide"));
    auto* back = new QPushButton(tr("&Back"), this);
    auto* contents = new QPushButton(tr("&Contents"), this);
    auto* close = new QPushButton(tr("Close"), this);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(contents, &QPushButton::clicked, this,
            [this] { ShowTopic(QStringLiteral("contents")); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    back->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(contents);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_);
    ApplyPalette();
    resize(fontMetrics().averageCharWidth() * 110, fontMetrics().height() * 42);
}

void HelpWindow::ShowTopic(const QString& topic) {
    QUrl url(QString::fromLatin1(kHelpPage));
    url.setFragment(topic);
    browser_->setSource(url);
    show();
    raise();
    activateWindow();
}

// Headings, code and table heads in the desktop's colours, so that the guide reads as well on
// a dark desktop as on a light one.
void HelpWindow::ApplyPalette() {
    const QPalette colours = palette();
    browser_->document()->setDefaultStyleSheet(
        QStringLiteral("h1, h2, h3 { color: %1; } code, pre { background: %2; } th { background: "
                       "%3; }")
            .arg(colours.color(QPalette::Link).name(),
                 colours.color(QPalette::AlternateBase).name(),
                 colours.color(QPalette::Button).name()));
}

void HelpWindow::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() != QEvent::PaletteChange) return;
    ApplyPalette();
    if (!browser_->source().isEmpty()) browser_->reload();
}

}  // namespace vxl::gui
