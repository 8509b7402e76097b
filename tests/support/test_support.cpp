#include "test_support.h"

#include <sys/wait.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace vorm::test {

namespace {
// Every test runs in the C locale, as the engine does.
struct CLocale {
    CLocale() { std::setlocale(LC_ALL, "C"); }
} c_locale;

std::string quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'')
            q += "'\\''";
        else
            q += c;
    }
    return q + "'";
}
}  // namespace

::testing::AssertionResult near_rel(double actual, double expected, double rel_tol, double abs_floor) {
    if (std::isnan(actual) && std::isnan(expected)) return ::testing::AssertionSuccess();
    if (std::isinf(actual) || std::isinf(expected)) {
        if (actual == expected) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "actual " << actual << " expected " << expected;
    }
    double diff = std::fabs(actual - expected);
    double scale = std::max(std::fabs(expected), abs_floor);
    double rel = diff / scale;
    if (rel <= rel_tol && !std::isnan(rel)) return ::testing::AssertionSuccess();
    char buf[256];
    std::snprintf(buf, sizeof buf, "actual %.17g expected %.17g relative error %.3g (tolerance %.3g)", actual, expected,
                  rel, rel_tol);
    return ::testing::AssertionFailure() << buf;
}

TempDir::TempDir() {
    static std::mt19937_64 rng(std::random_device{}());
    auto base = std::filesystem::temp_directory_path();
    for (;;) {
        auto p = base / ("vormtest-" + std::to_string(rng()));
        if (std::filesystem::create_directory(p)) {
            path_ = p;
            break;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string read_file(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

void write_file(const std::string& path, const std::string& text) {
    std::ofstream f(path, std::ios::binary);
    f << text;
}

std::vector<std::string> split_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string cur;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) lines.push_back(cur);
    return lines;
}

int run_engine(const std::vector<std::string>& args, const std::string& cwd, const std::string& input,
               std::string* console) {
    TempDir io;
    write_file(io.file("stdin"), input);
    std::string cmd = "cd ";
    cmd += quote(cwd);
    cmd += " && ";
    cmd += quote(VORMCALC_PATH);
    for (const auto& a : args) {
        cmd += ' ';
        cmd += quote(a);
    }
    cmd += " < ";
    cmd += quote(io.file("stdin"));
    cmd += " > ";
    cmd += quote(io.file("stdout"));
    cmd += " 2>&1";
    int rc = std::system(cmd.c_str());
    if (console) *console = read_file(io.file("stdout"));
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

std::string source_dir() { return VORM_SOURCE_DIR; }
std::string test_data_dir() { return VORM_TEST_DATA_DIR; }

}  // namespace vorm::test
