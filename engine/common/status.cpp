#include "common/status.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "common/filestream.h"
#include "common/textio.h"
#include "common/workfolder.h"

namespace vorm {

bool write_status(const std::string& wrkdir, const std::vector<std::string>& lines) {
    std::string why;
    return write_status(wrkdir, lines, &why);
}

bool write_status(const std::string& wrkdir, const std::vector<std::string>& lines, std::string* why) {
    FileStream f(open_work_file(wrkdir, "status", WorkFolder::Mode::Write, why), std::ios::out);
    if (!f.is_open()) return false;
    for (const auto& l : lines) f << l << '\n';
    if (f.close()) return true;
    *why = std::strerror(errno);
    return false;
}

std::string status_text(const std::string& text) { return format_free({text}); }

void StatusWarnings::warn(const std::string& wrkdir, const std::string& line) {
    write_status(wrkdir, {line});
    if (std::find(lines_.begin(), lines_.end(), line) == lines_.end()) lines_.push_back(line);
}

}  // namespace vorm
