// The logo panel: the vendor's logo (or the program's own when the vendor's cannot be loaded)
// above the program's name, version, build and company. The start-up logo window and the About
// box both show it.
#pragma once

#include <QPixmap>
#include <QWidget>

#include "app/version.h"

namespace vxl::gui {

// The program's own images, built into the program.
constexpr const char* kProgramLogo = ":/vxllogo.svg";
constexpr const char* kProgramIcon = ":/icons/vxlconf.svg";

// An image file (SVG or any format Qt reads) drawn at `size`; a null pixmap when it cannot be
// loaded. An SVG image whose root names a current colour (`color="..."`) is drawn with `ink`
// as that colour when `ink` is valid.
QPixmap LoadImage(const QString& path, const QSize& size, const QColor& ink = QColor());
// The ink of a logo on `palette`: the text colour on a dark desktop, else none (the logo keeps
// its own colours).
QColor LogoInk(const QPalette& palette);
// The window icon of every window of the program.
QIcon ProgramIcon();

class LogoPanel : public QWidget {
    Q_OBJECT
  public:
    LogoPanel(const QString& logoPath, const VersionTexts& version, QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void LoadLogo();

    QString logoPath_;
    QPixmap logo_;
    QStringList lines_;
};

// Shows the logo panel alone in a frameless window for `ms` milliseconds.
void ShowLogoWindow(const QString& logoPath, const VersionTexts& version, int ms);

}  // namespace vxl::gui
