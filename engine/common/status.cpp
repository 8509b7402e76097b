#include "common/status.h"

#include <fstream>

#include "common/paths.h"
#include "common/textio.h"

namespace vorm {

bool write_status(const std::string& wrkdir, const std::vector<std::string>& lines) {
    std::ofstream f(work_file(wrkdir, "status"), std::ios::out | std::ios::trunc);
    if (!f) return false;
    for (const auto& l : lines) f << l << '\n';
    f.close();
    return !f.fail();
}

std::string status_text(const std::string& text) { return format_free({text}); }

void StatusWarnings::warn(const std::string& wrkdir, const std::string& line) {
    write_status(wrkdir, {line});
    if (seen_.insert(line).second) lines_.push_back(line);
}

}  // namespace vorm
