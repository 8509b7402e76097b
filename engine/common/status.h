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

// The warnings of a run that goes on after them (a cycle limit, a singular
// matrix, a plot file with asterisks).  Each is written to the status file at
// once, where the next writer replaces it, and kept: a completed run lists
// them after its " end", every distinct line once, in the order first given.
class StatusWarnings {
public:
    void warn(const std::string& wrkdir, const std::string& line);
    const std::vector<std::string>& lines() const { return lines_; }

private:
    std::vector<std::string> lines_;  // a handful at most
};

}  // namespace vorm
