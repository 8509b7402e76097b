#include "plotdata/Plotdata.h"

namespace vorm {

// Not built yet: no plot file is written until the plot stage lands.
void PLOTLOC(Io&, Store&, int, const std::string&) {}

}  // namespace vorm
