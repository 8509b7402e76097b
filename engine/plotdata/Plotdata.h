// Plot data files and their scripts, called by the run driver in a fixed order
// when the job asks for plots.  Every routine builds its file names from the
// work folder; the item label is the item's ITEMID with at least two digits.
#pragma once

#include <string>

#include "common/Store.h"
#include "common/io.h"

namespace vorm {

void PLOTDATA1(Io& io, Store& st, int NTHGRP, int MODEL, const ItemInts& NCAT, int NITEM, int NSUBJ, double UNIT,
               const CatReals& TAUC, const std::string& WRKDIR);
void PLOTDATA2(Io& io, Store& st, int MODEL, int i, int K, double UNIT, const CatReals& TAUC,
               const std::string& WRKDIR);
void PLOTDATA3(Io& io, Store& st, int MODEL, int i, int K, double UNIT, const CatReals& TAUC,
               const std::string& WRKDIR);
void PLOTDATA5(Io& io, Store& st, int MODEL, int i, int K, double UNIT, const CatReals& TAUC, const std::string& WRKDIR,
               int& INFMAX);
void PLOTDATA5B(Io& io, Store& st, int i, int K, const std::string& WRKDIR, int top);
void PLOTDATA4(Io& io, Store& st, int MODEL, int NITEM, const ItemInts& NCAT, double UNIT, const CatReals& TAUC,
               const std::string& WRKDIR);
void PLOTDATA6(Io& io, Store& st, int NITEM, const std::string& WRKDIR);
void PLOTDATA7(Io& io, Store& st, int MODEL, const ItemInts& NCAT, int NITEM, int NSUBJ, int& NTDGRP, double UNIT,
               const CatReals& TAUC, const std::string& WRKDIR);
void PLOTLAT(Io& io, const QuadReals& DENS, int NQUAD, const std::string& WRKDIR, const QuadReals& XQUAD);
void PLOTEAP(Io& io, Store& st, int NSUBJ, const std::string& WRKDIR);
void PLOTLOC(Io& io, Store& st, int NITEM, const std::string& WRKDIR);

}  // namespace vorm
