// The About box: the logo panel, the legal notice and an OK button.
#pragma once

#include <QDialog>

#include "app/version.h"

namespace vxl::gui {

class AboutBox : public QDialog {
    Q_OBJECT
  public:
    AboutBox(const QString& logoPath, const VersionTexts& version, QWidget* parent = nullptr);
};

}  // namespace vxl::gui
