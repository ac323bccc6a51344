// The program's help: the operator's guide (HTML) in a window of its own.
#pragma once

#include <QWidget>

class QTextBrowser;

namespace vxl::gui {

// The guide built into the program.
constexpr const char* kHelpPage = "qrc:/help/index.html";

class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    explicit HelpWindow(QWidget* parent = nullptr);
    // Shows the window at the anchor `topic` of the guide.
    void ShowTopic(const QString& topic);
    QTextBrowser* browser() const { return browser_; }

  private:
    QTextBrowser* browser_;
};

}  // namespace vxl::gui
