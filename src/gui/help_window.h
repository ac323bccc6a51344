// The program's help: the operator's guide (HTML) in a window of its own, owned by the main
// window so that it takes input while the main window runs modally. Escape closes it.
#pragma once

#include <QDialog>

class QTextBrowser;

namespace vxl::gui {

// The guide built into the program.
constexpr const char* kHelpPage = "qrc:/help/index.html";

class HelpWindow : public QDialog {
    Q_OBJECT
  public:
    explicit HelpWindow(QWidget* parent = nullptr);
    // Shows the window in front at the anchor `topic` of the guide.
    void ShowTopic(const QString& topic);
    QTextBrowser* browser() const { return browser_; }

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void ApplyPalette();

    QTextBrowser* browser_;
};

}  // namespace vxl::gui
