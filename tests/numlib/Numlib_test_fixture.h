// Shared set-up of the numerical library tests: a fresh error state and the
// library's console captured in a string.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "common/stop.h"
#include "numlib/Numlib_error.h"

namespace vorm::test {

class NumlibTest : public ::testing::Test {
protected:
    void SetUp() override {
        numlib_reset();
        numlib_set_console(&console_);
    }
    void TearDown() override {
        numlib_set_console(nullptr);
        numlib_reset();
    }
    // What the library printed since the last call.
    std::string printed() {
        std::string s = console_.str();
        console_.str({});
        return s;
    }
    std::ostringstream console_;
};

// The status line of the EngineStop thrown by f, or "" when none is thrown.
template <class F>
std::string stop_line(F&& f) {
    try {
        f();
    } catch (const EngineStop& stop) {
        return stop.status_lines().empty() ? std::string("(no line)") : stop.status_lines().front();
    }
    return {};
}

}  // namespace vorm::test
