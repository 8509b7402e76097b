#include "plotdata/Plotdata.h"

namespace vorm {

// Not built yet: no plot file is written until the plot stage lands.
void PLOTLAT(Io&, const QuadReals&, int, const std::string&, const QuadReals&) {}

}  // namespace vorm
