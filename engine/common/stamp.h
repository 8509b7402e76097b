// The run stamp as every report head prints it.
#pragma once

#include <string>

#include "common/Store.h"

namespace vorm {

// The run-stamp line; `lead` is the number of blanks before the first
// asterisks (1 in the report, 2 in the parameter files and the fit report).
std::string date_line(const JobSettings& job, int lead = 1);

}  // namespace vorm
