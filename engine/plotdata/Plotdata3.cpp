#include "plotdata/Plotdata.h"

namespace vorm {

// Not built yet: no plot file is written until the plot stage lands.
void PLOTDATA3(Io&, Store&, int, int, int, double, const CatReals&, const std::string&) {}

}  // namespace vorm
