#include "gui/logo_panel.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>
#include <QTimer>

namespace vxl::gui {

namespace {
constexpr int kLogoWidth = 320;
constexpr int kLogoHeight = 120;
}  // namespace

QPixmap LoadImage(const QString& path, const QSize& size) {
    if (path.isEmpty() || !QFileInfo(path).isFile()) return QPixmap();
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgRenderer renderer(path);
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
    : QWidget(parent) {
    setObjectName(QStringLiteral("logoPanel"));
    logo_ = LoadImage(logoPath, QSize(kLogoWidth, kLogoHeight));
    if (logo_.isNull())
        logo_ = LoadImage(QString::fromLatin1(kProgramLogo), QSize(kLogoWidth, kLogoHeight));
    lines_ << QString::fromStdString(version.productName)
           << QString::fromStdString(version.versionText + "  " + version.buildText)
           << QString::fromStdString(version.companyName);
    const int lineHeight = fontMetrics().height();
    setFixedSize(kLogoWidth + 40, kLogoHeight + 30 + lineHeight * 4);
}

void LogoPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0xF4, 0xF7, 0xFB));
    painter.drawPixmap((width() - logo_.width()) / 2, 14, logo_);
    int y = 14 + kLogoHeight + 16;
    const int lineHeight = fontMetrics().height();
    for (int i = 0; i < lines_.size(); ++i) {
        QFont font = this->font();
        if (i == 0) {
            font.setBold(true);
            font.setPointSizeF(font.pointSizeF() * 1.2);
        }
        painter.setFont(font);
        painter.setPen(i == 0 ? QColor(0x0B, 0x3D, 0x6E) : QColor(0x33, 0x33, 0x33));
        painter.drawText(QRect(0, y, width(), lineHeight * 2), Qt::AlignHCenter | Qt::AlignTop,
                         lines_[i]);
        y += i == 0 ? lineHeight * 3 / 2 : lineHeight;
    }
    painter.setPen(QColor(0x9F, 0xB3, 0xC8));
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
