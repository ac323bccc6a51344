// Qt Test suites of the window front end, each a QObject registered by name; test_gui runs the
// suite named on its command line (every suite but the screenshots when none is named).
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace vxl::gui::test {

struct Suite {
    const char* name;
    std::function<std::unique_ptr<QObject>()> make;
};

std::vector<Suite>& Suites();

struct RegisterSuite {
    RegisterSuite(const char* name, std::function<std::unique_ptr<QObject>()> make) {
        Suites().push_back({name, std::move(make)});
    }
};

}  // namespace vxl::gui::test

#define VXL_GUI_SUITE(Class)                                \
    static ::vxl::gui::test::RegisterSuite register##Class( \
        #Class, [] { return std::unique_ptr<QObject>(new Class); })
