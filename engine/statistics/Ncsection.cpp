#include "statistics/Ncsection.h"

#include <string>

#include "common/textio.h"
#include "model/Getqua.h"
#include "statistics/Diamml2.h"
#include "statistics/Itcorr.h"
#include "statistics/Olthx2.h"

namespace vorm {

int drop_incomplete_respondents(const ResponseTable& RESP, int NITEM, int NSUBJ, ResponseTable& KEPT) {
    int kept = 0;
    for (int n = 1; n <= NSUBJ; ++n) {
        bool complete = true;
        for (int i = 1; i <= NITEM && complete; ++i) complete = RESP(n, i) >= 0;
        if (!complete) continue;
        ++kept;
        for (int i = 1; i <= NITEM; ++i) KEPT(kept, i) = RESP(n, i);
    }
    return kept;
}

NcSample listwise_deletion(const FittedModel& fm, FitWork& fw) {
    NumberCorrectWork& w = fw.nc;
    double mean = 0.0, sd = 0.0;  // the analysis's own, not the run's XMEAN and XSD
    GETQUA(w.XQUAD, w.WQUAD, mean, fm.NQUAD, sd);
    if (!fw.missing) return NcSample{fm.st.RESP, fm.NSUBJ, false, w.XQUAD, w.WQUAD, fm.NQUAD};
    const int kept = drop_incomplete_respondents(fm.st.RESP, fm.NITEM, fm.NSUBJ, w.KEPT);
    return NcSample{w.KEPT, kept, true, w.XQUAD, w.WQUAD, fm.NQUAD};
}

void number_correct_section(Io& io, const FittedModel& fm, const NcSample& sample, FitWork& fw, ProbabilityTable& PT) {
    NumberCorrectWork& w = fw.nc;
    const auto both = [&](NcResultTable& with_item, NcResultTable& without_item, int NNC) {
        OLTHX2(io.con, fm, sample, w, PT, {NNC, with_item});
        OLTHX2B(io.con, fm, sample, w, PT, {NNC, without_item});
    };
    ITCORR(io.con, fm, sample, w, 1);
    both(w.SCHI, w.CSCHI, fm.NITEM);
    ITCORR(io.con, fm, sample, w, 2);
    int NNC = 0;
    for (int i = 1; i <= fm.NITEM; ++i) NNC += w.NCITEM(i, 1) == 1 ? 1 : 0;
    both(w.SSCHI, w.CSSCHI, NNC);
    write_number_correct_section(io.units[Unit::FT15], fm, w, fw.ITORD, sample);
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

void write_number_correct_section(std::ostream& fit, const FittedModel& fm, const NumberCorrectWork& w,
                                  const ItemInts& ITORD, const NcSample& sample) {
    write_free(fit);
    write_free(fit);
    write_free(fit, {" *****  ITEM LEVEL CHI-SQUARES CONDITIONED ON NC", " SCORE ", "*****"});
    write_free(fit);
    if (sample.deleted) {
        write_free(fit, {" **  NOTE: LISTWISE DELETION PERFORMED FOR CASES WITH' MISSING RESPONSES **"});
        write_free(fit);
        write_free(fit, {" **  THE NUMBER OF SUBJECTS RETAINED WAS EQUAL TO ", sample.NSUBJ, "  **"});
        write_free(fit);
    }
    for (int t = 1; t <= fm.NITEM; ++t) {
        const int i = ITORD(t);
        const bool extreme = static_cast<int>(w.SSCHI(i, 1)) == 1;
        write_free(fit);
        write_fixed(fit, "(' ITEM# ',I3,' DELTA=',F8.3,A25)",
                    {fm.st.ITEMID(i), fm.item(i).delta, suffix(extreme ? " ** EXTREME ITEM CLASS **" : "")});
        statistic_line(fit, "      S-X**2 =", w.SCHI, i, "  NC-YES");
        statistic_line(fit, "     cS-X**2 =", w.CSCHI, i, "  NC-NO");
        statistic_line(fit, "      s-X**2 =", w.SSCHI, i, extreme ? "  NC-YES" : "  NC-NO");
        statistic_line(fit, "     cs-X**2 =", w.CSSCHI, i, "  NC-NO");
    }
}

}  // namespace vorm
