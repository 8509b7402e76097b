#include "statistics/Ncsection.h"

#include <string>

#include "common/textio.h"
#include "model/Getqua.h"
#include "statistics/Diamml2.h"
#include "statistics/Itcorr.h"
#include "statistics/Olthx2.h"

namespace vorm {

void drop_incomplete_respondents(Store& st, int NITEM, int& NSUBJ) {
    int kept = 0;
    for (int n = 1; n <= NSUBJ; ++n) {
        bool complete = true;
        for (int i = 1; i <= NITEM && complete; ++i) complete = st.RESP(n, i) >= 0;
        if (!complete) continue;
        ++kept;
        for (int i = 1; i <= NITEM; ++i) st.RESP(kept, i) = st.RESP(n, i);
    }
    NSUBJ = kept;
}

void listwise_deletion(JobSettings& job, Store& st, const FitWork& w) {
    double mean = 0.0, sd = 0.0;  // the analysis's own, not the run's XMEAN and XSD
    GETQUA(st.XQUAD, st.WQUAD, mean, job.NQUAD, sd);
    if (w.missing) drop_incomplete_respondents(st, job.NITEM, job.NSUBJ);
}

void number_correct_section(Io& io, JobSettings& job, Store& st, FitWork& fw, ProbabilityTable& PT) {
    NumberCorrectWork& w = fw.nc;
    const auto both = [&](NcResultTable& with_item, NcResultTable& without_item, int NNC) {
        OLTHX2(io.con, st, PT, w, st.WQUAD, job.MODEL, job.NCAT, w.NCITEM, job.NITEM, NNC, job.NQUAD, job.NSUBJ,
               with_item, st.UNIT, st.TAUC, st.XQUAD);
        OLTHX2B(io.con, st, PT, w, st.WQUAD, job.MODEL, job.NCAT, w.NCITEM, job.NITEM, NNC, job.NQUAD, job.NSUBJ,
                without_item, st.UNIT, st.TAUC, st.XQUAD);
    };
    ITCORR(io.con, st, w.TOTAL, job.NCAT, w.NCITEM, job.NITEM, job.NSUBJ, job.NQUAD, 1, st.DENS, st.XQUAD);
    both(w.SCHI, w.CSCHI, job.NITEM);
    ITCORR(io.con, st, w.TOTAL, job.NCAT, w.NCITEM, job.NITEM, job.NSUBJ, job.NQUAD, 2, st.DENS, st.XQUAD);
    int NNC = 0;
    for (int i = 1; i <= job.NITEM; ++i) NNC += w.NCITEM(i, 1) == 1 ? 1 : 0;
    both(w.SSCHI, w.CSSCHI, NNC);
    write_number_correct_section(io.units[Unit::FT15], st, w, fw.ITORD, job.NITEM, fw.missing, job.NSUBJ);
}

namespace {

// A suffix as the report holds it: 25 characters, the text at the left.
std::string suffix(const char* text) {
    std::string s(text);
    s.resize(25, ' ');
    return s;
}

void statistic_line(std::ostream& fit, const char* label, const NcResultTable& T, int i, const char* tail) {
    const std::string layout = std::string("('") + label + "',F10.4,' DF=',F8.2,' PROB=',F6.4,'  FIT GROUPS=',I4,A25)";
    write_fixed(fit, layout, {T(i, 4), T(i, 5), T(i, 6), static_cast<int>(T(i, 3)), suffix(tail)});
}

}  // namespace

void write_number_correct_section(std::ostream& fit, const Store& st, const NumberCorrectWork& w, const ItemInts& ITORD,
                                  int NITEM, bool deleted, int NSUBJ) {
    write_free(fit);
    write_free(fit);
    write_free(fit, {" *****  ITEM LEVEL CHI-SQUARES CONDITIONED ON NC", " SCORE ", "*****"});
    write_free(fit);
    if (deleted) {
        write_free(fit, {" **  NOTE: LISTWISE DELETION PERFORMED FOR CASES WITH' MISSING RESPONSES **"});
        write_free(fit);
        write_free(fit, {" **  THE NUMBER OF SUBJECTS RETAINED WAS EQUAL TO ", NSUBJ, "  **"});
        write_free(fit);
    }
    for (int t = 1; t <= NITEM; ++t) {
        const int i = ITORD(t);
        const bool extreme = static_cast<int>(w.SSCHI(i, 1)) == 1;
        write_free(fit);
        write_fixed(fit, "(' ITEM# ',I3,' DELTA=',F8.3,A25)",
                    {st.ITEMID(i), st.DELTA(i), suffix(extreme ? " ** EXTREME ITEM CLASS **" : "")});
        statistic_line(fit, "      S-X**2 =", w.SCHI, i, "  NC-YES");
        statistic_line(fit, "     cS-X**2 =", w.CSCHI, i, "  NC-NO");
        statistic_line(fit, "      s-X**2 =", w.SSCHI, i, extreme ? "  NC-YES" : "  NC-NO");
        statistic_line(fit, "     cs-X**2 =", w.CSSCHI, i, "  NC-NO");
    }
}

}  // namespace vorm
