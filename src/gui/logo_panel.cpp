#include "gui/logo_panel.h"

#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QPainter>
#include <QRegularExpression>
#include <QScreen>
#include <QSvgRenderer>
#include <QTimer>

namespace vxl::gui {

namespace {
constexpr int kLogoWidth = 320;
constexpr int kLogoHeight = 120;
}  // namespace

QColor LogoInk(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() < 128 ? palette.color(QPalette::WindowText)
                                                             : QColor();
}

QPixmap LoadImage(const QString& path, const QSize& size, const QColor& ink) {
    if (path.isEmpty() || !QFileInfo(path).isFile()) return QPixmap();
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return QPixmap();
        QString svg = QString::fromUtf8(file.readAll());
        if (ink.isValid())
            svg.replace(QRegularExpression(QStringLiteral("(<svg\\b[^>]*\\scolor=\")[^\"]*\"")),
                        QStringLiteral("\\1%1\"").arg(ink.name()));
        QSvgRenderer renderer(svg.toUtf8());
        if (!renderer.isValid()) return QPixmap();
        QSize target = renderer.defaultSize().scaled(size, Qt::KeepAspectRatio);
        QPixmap pixmap(target);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        return pixmap;
    }
    QImageReader reader(path);
    QImage image = reader.read();
    if (image.isNull()) return QPixmap();
    return QPixmap::fromImage(image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(LoadImage(QString::fromLatin1(kProgramIcon), QSize(side, side)));
    return icon;
}

LogoPanel::LogoPanel(const QString& logoPath, const VersionTexts& version, QWidget* parent)
    : QWidget(parent), logoPath_(logoPath) {
    setObjectName(QStringLiteral("logoPanel"));
    LoadLogo();
    lines_ << QString::fromStdString(version.productName)
           << QString::fromStdString(version.versionText + "  " + version.buildText)
           << QString::fromStdString(version.companyName);
    const int lineHeight = fontMetrics().height();
    setFixedSize(kLogoWidth + 40, kLogoHeight + 30 + lineHeight * 4);
}

void LogoPanel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) LoadLogo();
}

void LogoPanel::LoadLogo() {
    const QSize size(kLogoWidth, kLogoHeight);
    const QColor ink = LogoInk(palette());
    logo_ = LoadImage(logoPath_, size, ink);
    if (logo_.isNull()) logo_ = LoadImage(QString::fromLatin1(kProgramLogo), size, ink);
}

// In the desktop's colours: readable on a dark desktop as on a light one.
void LogoPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& colours = palette();
    painter.fillRect(rect(), colours.color(QPalette::Base));
    painter.drawPixmap((width() - logo_.width()) / 2, 14, logo_);
    int y = 14 + kLogoHeight + 16;
    const int lineHeight = fontMetrics().height();
    painter.setPen(colours.color(QPalette::Text));
    for (int i = 0; i < lines_.size(); ++i) {
        QFont font = this->font();
        if (i == 0) {
            font.setBold(true);
            font.setPointSizeF(font.pointSizeF() * 1.2);
        }
        painter.setFont(font);
        painter.drawText(QRect(0, y, width(), lineHeight * 2), Qt::AlignHCenter | Qt::AlignTop,
                         lines_[i]);
        y += i == 0 ? lineHeight * 3 / 2 : lineHeight;
    }
    painter.setPen(colours.color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ShowLogoWindow(const QString& logoPath, const VersionTexts& version, int ms) {
    LogoPanel window(logoPath, version);
    window.setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    window.setObjectName(QStringLiteral("logoWindow"));
    window.setWindowIcon(ProgramIcon());
    if (QScreen* screen = window.screen()) {
        window.move(screen->availableGeometry().center() - window.rect().center());
    }
    window.show();
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace vxl::gui
