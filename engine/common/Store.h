// The engine-wide store: the job settings and the shared model arrays that all
// stages of one run read and write.
//
// Both are plain records of fixed-capacity arrays, allocated once per run
// (never on the stack) and zero at the start; the program takes the store,
// with the workspace, from zeroed memory (common/zeroed.h), so a member's
// start value is zero and a small job maps in only what it uses.  Index bounds
// follow the formulas: items 1..100, respondents 1..2000, quadrature points
// 1..50, categories and thresholds 0..9; the first index is stored fastest.
#pragma once

#include <cstdint>
#include <string>

#include "common/farray.h"

namespace vorm {

constexpr int MAXITEM = 100;   // items in a data record, and retained
constexpr int MAXSUBJ = 2000;  // data records, and retained respondents
constexpr int MAXCAT = 10;     // categories 0..9 per item
constexpr int MAXQUAD = 50;    // quadrature points
constexpr int MAXPARM = 11;    // parameters of one item in a per-item matrix
constexpr int MAXFITG = 20;    // fit groups of the fit analysis

using ItemInts = Arr1<int, 1, MAXITEM>;
using ItemReals = Arr1<double, 1, MAXITEM>;
using QuadReals = Arr1<double, 1, MAXQUAD>;
using CatReals = Arr1<double, 0, MAXCAT - 1>;  // one value per category or threshold
using ItemCatReals = Arr2<double, 1, MAXITEM, 0, MAXCAT - 1>;
using SubjReals = Arr1<double, 1, MAXSUBJ>;
using SubjIds = Arr1<std::int64_t, 1, MAXSUBJ>;
// Tables over the quadrature grid: point fastest, then item, then category.
using PointItemCatReals = Arr3<double, 1, MAXQUAD, 1, MAXITEM, 0, MAXCAT - 1>;
using PointItemReals = Arr2<double, 1, MAXQUAD, 1, MAXITEM>;

// Settings of the job (filled by the job dialogue), the run stamp and the few
// scalars that the run driver reads itself.  Yes/no settings are 1/0 (ICONST,
// IRECOD, IFITAN, ISGNSP) or -1/0 (LCATC, IPLOT).
struct JobSettings {
    int MODEL = 0;
    int NITEM = 0;
    int NSUBJ = 0;
    ItemInts NCAT;
    int LCATC = 0;
    ItemInts ICUT;
    int IRECOD = 0;
    int NDELI = 0;
    ItemInts IDELI;
    int NDELS = 0;
    SubjIds IDELS;
    int ISGNSP = 0;
    ItemInts ISIGN;
    double SIGNR = 0.0;
    int NQUAD = 0;
    int MAXOUT = 0;
    int MAXIN = 0;
    int MAXFSU = 0;
    int MAXFST = 0;
    int MAXFSI = 0;
    double CONVC = 0.0;
    int ICONST = 0;
    int IPLOT = 0;
    int NTHGRP = 0;
    int NTDGRP = 0;
    int IFITAN = 0;
    int NFITG = 0;
    int IPRALL = 0;
    double ITTCUT = 0.0;
    double ITALPH = 0.0;
    double PSTCUT = 0.0;
    double PSALPH = 0.0;
    double PSLCUT = 0.0;
    // Paths are held at any length (never cut), in the native form.
    std::string DATFILE;
    std::string DATFMT;
    std::string CMDFILE;
    std::string WRKDIR;  // always ends in the folder separator
    int LWRK = 0;
    // Run stamp, taken once at the start of the job dialogue.
    int IYEAR = 0, IMONTH = 0, IDAY = 0, IHOUR = 0, IMIN = 0, ISEC = 0;
};

// Shared model arrays, reached directly by every stage.
struct Store {
    Arr2<int, 1, MAXSUBJ, 1, MAXITEM> RESP;  // category 0..K-1; negative = missing
    ItemInts ITEMID;                         // data-file number of each retained item
    SubjIds PERSID;                          // identifier of each retained record

    ItemReals DELTA;
    ItemReals ALPHA;
    ItemReals LAMBDA;
    double UNIT = 0.0;
    ItemCatReals TAU;  // TAU(i, k); threshold 0 is fixed at 0
    CatReals TAUC;     // common thresholds; TAUC(0) = 0

    Arr2<double, 1, MAXITEM, 1, MAXCAT> PARINI;  // start unit (col 1) or thresholds (cols 1..K)
    ItemReals DINIT;                             // start locations

    ItemReals DSTD, ASTD, LSTD;
    ItemCatReals TAUSTD;
    ItemReals CORRDA;
    Arr3<double, 1, MAXPARM, 1, MAXPARM, 1, MAXITEM> SECOV;

    QuadReals XQUAD, WQUAD, DENS;
    SubjReals THETA, TSTD;
};

}  // namespace vorm
