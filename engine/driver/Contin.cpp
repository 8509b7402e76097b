// Response frequency tables: counts of the retained responses by item and
// category and across items, printed into the report, and the stop when a
// category was never used.  The front end reads the by-item table back out
// of the report to draw its charts, so that table's layout must not change.
#include <algorithm>
#include <string>
#include <vector>

#include "common/status.h"
#include "common/stop.h"
#include "common/textio.h"
#include "driver/Stages.h"
#include "model/Traits.h"

namespace vorm {

namespace {

constexpr const char* kProblem = "**************** PROBLEM ***************";
constexpr const char* kAborting = " EXECUTION IS ABORTING!!!! ";
constexpr const char* kAbortAbort = " ABORT....ABORT....ABORT ";

// Console first, then the report.
[[noreturn]] void table_abort(Io& io, const std::vector<std::vector<Val>>& message, std::vector<std::string> status) {
    for (std::ostream* os : {&io.con, static_cast<std::ostream*>(&io.report())}) {
        for (int k = 0; k < 4; ++k) write_free(*os, {kProblem});
        write_free(*os);
        for (const auto& line : message) write_free(*os, line);
        write_free(*os);
        write_free(*os, {kAborting});
        write_free(*os);
        for (int k = 0; k < 4; ++k) write_free(*os, {kAbortAbort});
        os->flush();
    }
    throw EngineStop(std::move(status));
}

}  // namespace

void CONTIN(Io& io, const JobSettings& job, const Store& st) {
    // count(j, c): category c of item j; column MAXCAT holds the missing count.
    Arr2<int, 1, MAXITEM, 0, MAXCAT> count;
    Arr1<int, 0, MAXCAT> across;
    const int nitem = std::min(job.NITEM, MAXITEM);
    for (int j = 1; j <= nitem; ++j) {
        for (int k = 1; k <= job.NSUBJ; ++k) {
            int r = st.RESP(k, j);
            if (r < 0)
                ++count(j, MAXCAT);
            else if (r < MAXCAT)
                ++count(j, r);  // data input lets no larger code through
        }
        for (int c = 0; c <= MAXCAT; ++c) across(c) += count(j, c);
    }
    int cmax = 2;
    for (int j = 1; j <= nitem; ++j) cmax = std::max(cmax, job.NCAT(j));
    cmax = std::min(cmax, MAXCAT);

    std::vector<Val> labels;
    for (int c = 1; c <= cmax; ++c) labels.emplace_back(c);
    labels.emplace_back(-9);
    const std::vector<Val> dashes = {" --------------------------------------------------", "----------"};

    std::ostream& rep = io.report();
    write_free(rep);
    write_free(rep);
    write_free(rep, {" ******* RESPONSE FREQUENCY COUNTS BY ITEM *******"});
    write_free(rep);
    write_fixed(rep, "(' ITEM# ',11I5)", labels);
    write_free(rep, dashes);
    std::vector<Val> row;
    for (int j = 1; j <= nitem; ++j) {
        row.clear();
        row.emplace_back(st.ITEMID(j));
        for (int c = 0; c < cmax; ++c) row.emplace_back(count(j, c));
        row.emplace_back(count(j, MAXCAT));
        write_fixed(rep, "(2X,I3,2X,11I5)", row);
    }

    write_free(rep);
    write_free(rep, {" ***** RESPONSE FREQUENCY COUNTS ACROSS ITEMS *****"});
    write_free(rep);
    write_fixed(rep, "(' ITEM# ',11I7)", labels);
    write_free(rep, dashes);
    row.clear();
    for (int c = 0; c < cmax; ++c) row.emplace_back(across(c));
    row.emplace_back(across(MAXCAT));
    write_fixed(rep, "(7X,11I7)", row);

    for (int k = 0; k < 3; ++k) write_free(io.con);

    // Per-item thresholds need every category of every item to be used.
    const ModelTraits& m = model_traits(job.MODEL);
    if (m.valid && !m.unit && !m.common) {
        bool unused = false;
        for (int j = 1; j <= nitem; ++j)
            for (int c = 0; c < std::min(job.NCAT(j), MAXCAT); ++c)
                if (count(j, c) == 0) unused = true;
        if (unused)
            table_abort(io,
                        {{" THERE IS AT LEAST ONE ITEM FOR WHICH ALL", " RESPONSE CATEGORIES WERE NOT USED.  INSPECT ",
                          " THE RESPONSE CONTINGIENCY TABLE TO IDENTIFY THE ITEM AND",
                          " THEN ADJUST THE NUMBER OF RESPONSE CATEGORIES ACCORDINGLY"}},
                        {status_text(" THERE IS AT LEAST ONE ITEM FOR WHICH ALL"),
                         status_text(" RESPONSE CATEGORIES WERE NOT USED.  INSPECT THE"),
                         status_text(" RESPONSE CONTINGIENCY TABLE TO IDENTIFY THE"),
                         status_text(" ITEM(S), AND THEN ADJUST THE NUMBER OF RESPONSE"),
                         status_text(" CATEGORIES ACCORDINGLY.")});
    }
    bool across_unused = false;
    for (int c = 0; c < cmax; ++c)
        if (across(c) == 0) across_unused = true;
    if (across_unused)
        table_abort(io,
                    {{" FEWER THAN ", cmax, " RESPONSE CATEGORIES HAVE"}, {" BEEN USED WHEN CONSIDERING ALL ITEMS."}},
                    {format_free({" FEWER THAN ", cmax, " RESPONSE CATEGORIES",
                                  " HAVE BEEN USED WHEN CONSIDERING ALL ITEMS."})});
    for (int k = 0; k < 4; ++k) write_free(rep);
}

}  // namespace vorm
