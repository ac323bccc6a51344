// Layouts are written in dialog units, which follow the dialog font: a horizontal unit is a
// quarter of the font's average letter width, a vertical unit an eighth of its height. This is
// the only place that converts them to pixels.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

namespace vxl::gui {

// A rectangle in dialog units, as layout tables write it.
struct DluRect {
    int x;
    int y;
    int width;
    int height;
};

class DialogUnits {
  public:
    explicit DialogUnits(const QFont& font);

    int X(int units) const;
    int Y(int units) const;
    QRect Rect(const DluRect& r) const;
    QSize Size(int width, int height) const;
    int baseX() const { return baseX_; }
    int baseY() const { return baseY_; }

  private:
    int baseX_;
    int baseY_;
};

}  // namespace vxl::gui
