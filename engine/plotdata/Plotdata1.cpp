#include "plotdata/Plotdata.h"

namespace vorm {

// Not built yet: no plot file is written until the plot stage lands.
void PLOTDATA1(Io&, Store&, int, int, const ItemInts&, int, int, double, const CatReals&, const std::string&) {}

}  // namespace vorm
