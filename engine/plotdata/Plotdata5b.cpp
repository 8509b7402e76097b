#include "plotdata/Plotdata.h"

namespace vorm {

// Not built yet: no plot file is written until the plot stage lands.
void PLOTDATA5B(Io&, Store&, int, int, const std::string&, int) {}

}  // namespace vorm
