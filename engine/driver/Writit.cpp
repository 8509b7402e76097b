// The item and person parameter files, in the column layouts the front end's
// text viewers show.  Every number is F12.8, so a value that does not fit, or a
// standard error left undefined by a singular information matrix (NaN), shows
// as asterisks rather than as a misleading number.
#include <ostream>
#include <vector>

#include "common/textio.h"
#include "driver/Listing.h"
#include "driver/Stages.h"
#include "model/Traits.h"

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
// The identifier is an I4 field, printed in full when it is wider (int_in_full).
constexpr const char* kPerson = "(' SUBJECT# ',A,' THETA=',F12.8,' TSTD=',F12.8)";

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

// Every item's line holds its location, then its discrimination (models 5..8),
// then its unit (unit models: the common one's values, in row 1, for models 1
// and 5); per-item thresholds follow the item's line, common ones the last item.
void item_file(std::ostream& os, const JobSettings& job, const Store& st) {
    file_head(os, " ITEM PARAMETER FILE", job);
    const ModelTraits& m = model_traits(job.MODEL);
    if (!m.valid) return;
    for (int j = 1; j <= job.NITEM; ++j) {
        std::vector<Val> line{st.ITEMID(j), st.DINIT(j), st.DELTA(j), st.DSTD(j)};
        if (m.discrimination) line.insert(line.end(), {st.ALPHA(j), st.ASTD(j), st.CORRDA(j)});
        if (m.unit) {
            const int row = m.common ? 1 : j;
            line.insert(line.end(), {st.PARINI(row, 1), m.common ? st.UNIT : st.LAMBDA(j), st.LSTD(row)});
        }
        write_fixed(os, m.unit ? (m.discrimination ? kItemD : kItemB) : (m.discrimination ? kItemC : kItemA), line);
        if (!m.unit && !m.common) item_thresholds(os, st, j, categories(job, j));
    }
    if (!m.unit && m.common && job.NITEM >= 1) common_thresholds(os, st, categories(job, 1));
}

void person_file(std::ostream& os, const JobSettings& job, const Store& st) {
    file_head(os, " PERSON PARAMETER FILE", job);
    for (int k = 1; k <= job.NSUBJ; ++k)
        write_fixed(os, kPerson, {int_in_full(st.PERSID(k), 4), st.THETA(k), st.TSTD(k)});
}

}  // namespace

void WRITIT(Io& io, const JobSettings& job, const Store& st) {
    item_file(io.units[Unit::FT16], job, st);
    io.units.close(Unit::FT16);
    person_file(io.units[Unit::FT17], job, st);
    io.units.close(Unit::FT17);
}

}  // namespace vorm
