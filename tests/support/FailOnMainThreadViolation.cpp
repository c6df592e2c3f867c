// Linked into every test program that uses UIKit: a UIKit call off the main
// thread fails the test it happens in, with the checker's report.
#include <gtest/gtest.h>

#include <UIKit/SDKMainThreadChecker.h>

namespace {

const bool installed = [] {
    SDKMainThreadChecker::setReporter([](const std::string& report) { ADD_FAILURE() << report; });
    return true;
}();

} // namespace
