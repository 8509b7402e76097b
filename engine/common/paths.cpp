#include "common/paths.h"

#include <filesystem>

namespace vorm {

std::string native_path(std::string_view path) {
    std::string p(path);
    for (char& c : p)
        if (c == '\\') c = kSep;
    return p;
}

std::string trim_right(std::string_view s) {
    std::size_t n = s.size();
    while (n > 0 && (s[n - 1] == ' ' || s[n - 1] == '\r' || s[n - 1] == '\t')) --n;
    return std::string(s.substr(0, n));
}

std::string work_folder(std::string_view arg) {
    std::string w = native_path(trim_right(arg));
    if (w.empty()) return std::string("TEMPFILE") + kSep;
    if (w.back() != kSep) w += kSep;
    return w;
}

std::string work_file(const std::string& wrkdir, std::string_view name) { return wrkdir + std::string(name); }

std::string absolute_path(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path where = std::filesystem::absolute(path, ec);
    return ec ? path : where.string();
}

}  // namespace vorm
