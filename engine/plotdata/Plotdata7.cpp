#include "plotdata/Plotdata.h"

namespace vorm {

// Not built yet: no plot file is written until the plot stage lands.
void PLOTDATA7(Io&, Store&, int, const ItemInts&, int, int, int&, double, const CatReals&, const std::string&) {}

}  // namespace vorm
