#include <QApplication>
#include <QFont>
#include <QStyleFactory>
#include <QtTest>
#include <cstring>

#include "gui/window_front_end.h"
#include "gui_test.h"

namespace vxl::gui::test {
std::vector<Suite>& Suites() {
    static std::vector<Suite> suites;
    return suites;
}
}  // namespace vxl::gui::test

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The suite to run comes first; the rest goes to Qt Test.
    const char* only = argc > 1 && argv[1][0] != '-' ? argv[1] : nullptr;
    QStringList arguments;
    arguments << QString::fromLocal8Bit(argv[0]);
    for (int i = only ? 2 : 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    QApplication application(argc, argv);
    vxl::gui::KeepCoreLocaleNeutral();
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    int status = 0;
    for (const auto& suite : vxl::gui::test::Suites()) {
        const bool named = only != nullptr && std::strcmp(only, suite.name) == 0;
        if (!named && (only != nullptr || std::strcmp(suite.name, "Screenshots") == 0)) continue;
        std::unique_ptr<QObject> object = suite.make();
        status |= QTest::qExec(object.get(), arguments);
    }
    return status;
}
