#include "plotdata/Plotdata.h"

namespace vorm {

// Not built yet: no plot file is written until the plot stage lands.
void PLOTDATA5(Io&, Store&, int, int, int, double, const CatReals&, const std::string&, int& INFMAX) { INFMAX = 0; }

}  // namespace vorm
