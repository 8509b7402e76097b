#include "numlib/Numlib_error.h"

#include <iostream>

namespace vorm {

// Not built yet beyond the console hook: the error machinery lands with the
// numerical library.
namespace {
std::ostream* g_console = nullptr;
}

void numlib_set_console(std::ostream* out) { g_console = out; }
std::ostream& numlib_console() { return g_console ? *g_console : std::cout; }

}  // namespace vorm
