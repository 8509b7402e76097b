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

// The library's messages on the console as one text: the " *** " marks
// dropped and every run of blanks and line breaks folded to one blank, so that
// messages can be matched whatever their line breaking.
inline std::string flat(const std::string& text) {
    std::string out;
    bool blank = false;
    size_t at = 0;
    while (at <= text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        if (line.rfind(" *** ", 0) == 0) line = line.substr(5);
        line += ' ';
        for (char c : line) {
            if (c == ' ') {
                blank = true;
                continue;
            }
            if (blank && !out.empty()) out += ' ';
            blank = false;
            out += c;
        }
        at = end + 1;
    }
    return out;
}

inline int count_of(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
    return n;
}

}  // namespace vorm::test
