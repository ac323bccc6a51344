#include "gui/dialog_units.h"

#include <QFontMetrics>
#include <QtMath>

namespace vxl::gui {

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The average width of the 52 letters, rounded; not averageCharWidth(), which measures
    // something else.
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX_ = (letters / 26 + 1) / 2;
    baseY_ = metrics.height();
}

int DialogUnits::X(int units) const {
    return qRound(units * baseX_ / 4.0);
}

int DialogUnits::Y(int units) const {
    return qRound(units * baseY_ / 8.0);
}

QRect DialogUnits::Rect(const DluRect& r) const {
    return QRect(X(r.x), Y(r.y), X(r.width), Y(r.height));
}

QSize DialogUnits::Size(int width, int height) const {
    return QSize(X(width), Y(height));
}

}  // namespace vxl::gui
