// The status file "status" in the work folder: one short message that the
// front end polls.  Each writer rewrites the whole file with its lines and
// closes it at once, so only the last message survives.
#pragma once

#include <string>
#include <vector>

namespace vorm {

// Lines are free-format records (each already begins with a blank).  Returns
// false when the file cannot be written.
bool write_status(const std::string& wrkdir, const std::vector<std::string>& lines);
// The same, with the reason of a failure in *why.
bool write_status(const std::string& wrkdir, const std::vector<std::string>& lines, std::string* why);
// Convenience for the common case of one record of items.
std::string status_text(const std::string& text);

}  // namespace vorm
