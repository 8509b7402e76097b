// The item and person parameter files, in the column layouts the front end's
// text viewers show.  Every number is F12.8, so a value that does not fit, or a
// standard error left undefined by a singular information matrix (NaN), shows
// as asterisks rather than as a misleading number.
#include <ostream>

#include "common/textio.h"
#include "driver/Listing.h"
#include "driver/Stages.h"

namespace vorm {

namespace {

constexpr const char* kItemA = "(' ITEM#',I3,' INITIAL=',F12.8,' DELTA=',F12.8,' DSTD=',F12.8)";
constexpr const char* kItemB =
    "(' ITEM#',I3,' INITIAL=',F12.8,' DELTA=',F12.8,' DSTD=',F12.8,"
    "' INITIAL=',F12.8,' LAMBDA=',F12.8,' LSTD=',F12.8)";
constexpr const char* kItemC =
    "(' ITEM#',I3,' INITIAL=',F12.8,' DELTA=',F12.8,' DSTD=',F12.8,"
    "' ALPHA=',F12.8,' ASTD=',F12.8,' CORR=',F12.8)";
constexpr const char* kItemD =
    "(' ITEM#',I3,' INITIAL=',F12.8,' DELTA=',F12.8,' DSTD=',F12.8,"
    "' ALPHA=',F12.8,' ASTD=',F12.8,' CORR=',F12.8,"
    "' INITIAL=',F12.8,' LAMBDA=',F12.8,' LSTD=',F12.8)";
constexpr const char* kThreshold = "(' THRESHOLD#',I2,' INITIAL=',F12.8,' TAU=',F12.8,' TAUSTD=',F12.8)";
constexpr const char* kPerson = "(' SUBJECT# ',I4,' THETA=',F12.8,' TSTD=',F12.8)";

void file_head(std::ostream& os, const char* title, const JobSettings& job) {
    write_free(os, {title});
    os << date_line(job, 2) << '\n';
    write_free(os);
    write_free(os);
}

// Threshold k is printed with the value of index k-1, so every item's first
// threshold line shows the fixed threshold 0 beside its start value.
void item_thresholds(std::ostream& os, const Store& st, int j, int K) {
    for (int k = 1; k <= K; ++k)
        write_fixed(os, kThreshold, {k, st.PARINI(j, k), st.TAU(j, k - 1), st.TAUSTD(j, k - 1)});
}

void common_thresholds(std::ostream& os, const Store& st, int K) {
    for (int k = 1; k <= K; ++k) write_fixed(os, kThreshold, {k, st.PARINI(1, k), st.TAUC(k - 1), st.TAUSTD(1, k - 1)});
}

// Category counts come from the store; a count outside the tables would read
// past PARINI and TAU, so it is held to the tables' capacity.
int categories(const JobSettings& job, int j) {
    int K = job.NCAT(j);
    if (K < 0) return 0;
    return K > MAXCAT ? MAXCAT : K;
}

void item_file(std::ostream& os, const JobSettings& job, const Store& st) {
    file_head(os, " ITEM PARAMETER FILE", job);
    const int model = job.MODEL;
    for (int j = 1; j <= job.NITEM; ++j) {
        const int id = st.ITEMID(j);
        switch (model) {
            case 1:
                write_fixed(os, kItemB,
                            {id, st.DINIT(j), st.DELTA(j), st.DSTD(j), st.PARINI(1, 1), st.UNIT, st.LSTD(1)});
                break;
            case 2:
                write_fixed(os, kItemB,
                            {id, st.DINIT(j), st.DELTA(j), st.DSTD(j), st.PARINI(j, 1), st.LAMBDA(j), st.LSTD(j)});
                break;
            case 3:
                write_fixed(os, kItemA, {id, st.DINIT(j), st.DELTA(j), st.DSTD(j)});
                break;
            case 4:
                write_fixed(os, kItemA, {id, st.DINIT(j), st.DELTA(j), st.DSTD(j)});
                item_thresholds(os, st, j, categories(job, j));
                break;
            case 5:
                write_fixed(os, kItemD,
                            {id, st.DINIT(j), st.DELTA(j), st.DSTD(j), st.ALPHA(j), st.ASTD(j), st.CORRDA(j),
                             st.PARINI(1, 1), st.UNIT, st.LSTD(1)});
                break;
            case 6:
                write_fixed(os, kItemD,
                            {id, st.DINIT(j), st.DELTA(j), st.DSTD(j), st.ALPHA(j), st.ASTD(j), st.CORRDA(j),
                             st.PARINI(j, 1), st.LAMBDA(j), st.LSTD(j)});
                break;
            case 7:
                write_fixed(os, kItemC,
                            {id, st.DINIT(j), st.DELTA(j), st.DSTD(j), st.ALPHA(j), st.ASTD(j), st.CORRDA(j)});
                break;
            case 8:
                write_fixed(os, kItemC,
                            {id, st.DINIT(j), st.DELTA(j), st.DSTD(j), st.ALPHA(j), st.ASTD(j), st.CORRDA(j)});
                item_thresholds(os, st, j, categories(job, j));
                break;
            default:
                break;
        }
    }
    if ((model == 3 || model == 7) && job.NITEM >= 1) common_thresholds(os, st, categories(job, 1));
}

void person_file(std::ostream& os, const JobSettings& job, const Store& st) {
    file_head(os, " PERSON PARAMETER FILE", job);
    for (int k = 1; k <= job.NSUBJ; ++k)
        write_fixed(os, kPerson, {static_cast<long long>(st.PERSID(k)), st.THETA(k), st.TSTD(k)});
}

}  // namespace

void WRITIT(Io& io, JobSettings& job, Store& st) {
    item_file(io.units[Unit::FT16], job, st);
    io.units.close(Unit::FT16);
    person_file(io.units[Unit::FT17], job, st);
    io.units.close(Unit::FT17);
}

}  // namespace vorm
