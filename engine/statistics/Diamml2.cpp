#include "statistics/Diamml2.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "common/Sortit.h"
#include "common/stamp.h"
#include "common/status.h"
#include "common/stop.h"
#include "common/stopsignal.h"
#include "common/textio.h"
#include "model/Evaluate.h"
#include "model/Traits.h"
#include "statistics/Gammp.h"

namespace vorm {

namespace {

constexpr const char* kBlank = "   ";
constexpr const char* kProbabilityFlag = "+++";
constexpr const char* kStandardizedFlag = "***";
constexpr const char* kLocalizedFlag = "^^^";

// The scratch records: the fourteen values of FitStatistics in the order
// INFIT, its chi-square, DF, probability, flag, t, flag, then the same for OUTFIT.
constexpr const char* kItemScratch =
    "(2(1X,F10.5),1X,I4,1X,F10.5,1X,A3,1X,F10.5,1X,A3,2(1X,F10.5),1X,I4,1X,F10.5,1X,A3,1X,F10.5,1X,A3)";
constexpr const char* kPersonScratch =
    "(2(1X,F10.5),1X,I4,1X,F10.5,1X,A3,1X,F10.5,A3,1X,2(1X,F10.5),1X,I4,1X,F10.5,1X,A3,1X,F10.5,A3)";
constexpr int kScratchFields = 14;

constexpr const char* kItemHead = "(' ITEM#',I3,' DELTA=',F7.3)";
constexpr const char* kItemHeadAlpha = "(' ITEM#',I3,' DELTA=',F7.3,' ALPHA=',F7.3)";
constexpr const char* kThreshold = "(' TAU# ',I2,' = ',F6.3)";
constexpr const char* kItemStats =
    "('  INFIT=',F5.2,' CHISQ=',F7.2,' DF=',I4,' P<',F5.3,1X,A3,'  STDINF=',F5.2,1X,A3,' LOCIF=',F5.2,/,"
    "' OUTFIT=',F5.2,' CHISQ=',F7.2,' DF=',I4,' P<',F5.3,1X,A3,' STDOUTF=',F5.2,1X,A3,' LOCOF=',F5.2,/)";
// The identifier is an I4 field, printed in full when it is wider (int_in_full).
constexpr const char* kPersonStats =
    "(' SUBJECT# ',A,' THETA=',F8.5,/,"
    "'  INFIT=',F5.2,' CHISQ=',F7.2,' DF=',I4,' P<',F5.3,1X,A3,'   STDINF=',F5.2,1X,A3,' LOCIF=',F5.2,1X,A3,/,"
    "' OUTFIT=',F5.2,' CHISQ=',F7.2,' DF=',I4,' P<',F5.3,1X,A3,'  STDOUTF=',F5.2,1X,A3,' LOCOF=',F5.2,1X,A3)";
constexpr const char* kPersonItem = "(' ITEM#',I3,' DELTA=',F8.3,'  RESPONSE=',I2,' EXPECTED=',F8.3)";

bool answered(int x, int C) { return x >= 0 && x < C; }

// ---- stages 2 to 4 ---------------------------------------------------------

void expected_scores(std::ostream& con, const FittedModel& fm, FitWork& w) {
    const Store& st = fm.st;
    w.missing = false;
    ModelValues mv;
    for (int n = 1; n <= fm.NSUBJ; ++n) {
        stop_point();
        for (int i = 1; i <= fm.NITEM; ++i) {
            const ItemParameters& item = fm.item(i);
            const int C = item.K;
            if (st.RESP(n, i) < 0) w.missing = true;
            evaluate_point(mv, fm.MODEL, PROBABILITIES, item, st.THETA(n));
            double E = 0.0, sum = 0.0;
            for (int k = 0; k < C; ++k) {
                E += k * mv.PROB(k);
                sum += mv.PROB(k);
            }
            double W = 0.0, K = 0.0;
            for (int k = 0; k < C; ++k) {
                const double d2 = (k - E) * (k - E);
                W += d2 * mv.PROB(k);
                K += d2 * d2 * mv.PROB(k);
            }
            w.EXPSC(n, i) = E;
            w.VARSC(n, i) = W;
            w.MOM4(n, i) = K;
            w.PSUM(n, i) = sum;
            if (probability_sum_off(sum))
                probability_problem(con, i, n, sum, "PROBLEM WITH PROBABILITY IN DIAGNOSE LOOP 1");
        }
    }
}

void item_order(const FittedModel& fm, FitWork& w) {
    for (int i = 1; i <= fm.NITEM; ++i) {
        w.ITORD(i) = i;
        w.DSORT(i) = fm.item(i).delta;
    }
    SORTIT(MAXITEM, w.ITORD.data(), w.DSORT.data(), fm.NITEM);
}

// ---- infit and outfit ------------------------------------------------------

// Sums over the valid responses of one item or one respondent, and the
// count of the missing ones.
struct Residuals {
    double z2 = 0.0;    // sum of z^2
    double wz2 = 0.0;   // sum of W z^2
    double w = 0.0;     // sum of W
    double kw2 = 0.0;   // sum of K / W^2
    double kmw2 = 0.0;  // sum of K - W^2
    int missing = 0;

    // Respondent n's response x to item i (negative: missing).
    void add(const FitWork& fw, int n, int i, int x) {
        if (x < 0) {
            ++missing;
            return;
        }
        const double E = fw.EXPSC(n, i), W = fw.VARSC(n, i), K = fw.MOM4(n, i);
        const double zz = (x - E) * (x - E) / W;
        z2 += zz;
        wz2 += W * zz;
        w += W;
        kw2 += K / (W * W);
        kmw2 += K - W * W;
    }
};

// Respondent n's response to item i, or -1 when it is missing; for a valid
// one the probability check of stage 3 is repeated under this stage's text.
int valid_response(std::ostream& con, const FittedModel& fm, const FitWork& w, int n, int i, const char* check) {
    const int x = fm.st.RESP(n, i);
    if (!answered(x, fm.item(i).K)) return -1;
    if (probability_sum_off(w.PSUM(n, i))) probability_problem(con, i, n, w.PSUM(n, i), check);
    return x;
}

// Cube-root transformation of a mean square with standard deviation q.
double standardized(double ms, double q) { return (std::cbrt(ms) - 1.0) * (3.0 / q) + q / 3.0; }

// Mean squares, chi-squares, probabilities and standardized values of
// `count` valid responses with `df` degrees of freedom (flags left blank).
FitStatistics mean_squares(std::ostream& con, const Residuals& r, int count, int df) {
    FitStatistics f;
    f.flag_p_in = f.flag_t_in = f.flag_p_out = f.flag_t_out = kBlank;
    const double n = count;
    f.outfit = r.z2 / n;
    f.infit = r.wz2 / r.w;
    f.chi_in = static_cast<float>(f.infit) * static_cast<float>(count);
    f.chi_out = static_cast<float>(f.outfit) * static_cast<float>(count);
    f.df = df;
    const float half = static_cast<float>(df) / 2.0f;
    f.p_in = 1.0f - GAMMP(con, half, f.chi_in / 2.0f);
    f.p_out = 1.0f - GAMMP(con, half, f.chi_out / 2.0f);
    const double q_out = std::sqrt(r.kw2 / (n * n) - 1.0 / n);
    const double q_in = std::sqrt(r.kmw2 / (r.w * r.w));
    f.t_in = standardized(f.infit, q_in);
    f.t_out = standardized(f.outfit, q_out);
    return f;
}

// An item's degrees of freedom: its N valid responses less its own
// parameters (location, discrimination, unit or C-1 thresholds when not common).
int item_df(const ModelTraits& m, int N, int C) {
    int own = 1 + (m.discrimination ? 1 : 0);
    if (!m.common) own += m.unit ? 1 : C - 1;
    return N - own;
}

// A statistic that could not be formed stays out of the sums behind the
// localized values, so that it leaves the others defined.
void add_square(double& sum, double t) {
    if (std::isfinite(t)) sum += t * t;
}

void write_scratch(std::ostream& os, const char* layout, const FitStatistics& f) {
    write_fixed(os, layout,
                {f.infit, f.chi_in, f.df, f.p_in, f.flag_p_in, f.t_in, f.flag_t_in, f.outfit, f.chi_out, f.df, f.p_out,
                 f.flag_p_out, f.t_out, f.flag_t_out});
}

// The record as the scratch file holds it.
struct ScratchRecord {
    double infit, outfit, t_in, t_out;
    float chi_in, chi_out, p_in, p_out;
    int df;
    std::string flag_p_in, flag_t_in, flag_p_out, flag_t_out;
};

double five_decimals(double v) {
    if (!std::isfinite(v)) return v;
    char buf[400];
    const int len = std::snprintf(buf, sizeof buf, "%.5f", v);
    double r = v;
    std::from_chars(buf, buf + len, r);
    return r;
}

// A field that the writer filled with asterisks holds the pass-1 value.
double real_field(const FixedField& f, double kept) { return f.ok ? f.real : five_decimals(kept); }

[[noreturn]] void scratch_failure(Io& io) {
    const std::string text = " THE SCRATCH FILE FT19F001 CANNOT BE READ BACK. JOB IS ABORTING.";
    write_free(io.con, {text});
    write_free(io.units[Unit::FT15], {text});
    throw EngineStop({status_text(text)});
}

ScratchRecord read_scratch(Io& io, LineReader& in, const char* layout, const FitStatistics& kept,
                           std::vector<FixedField>& v) {
    if (read_fixed(in, layout, kScratchFields, v) != ReadStatus::Ok) scratch_failure(io);
    ScratchRecord r;
    r.infit = real_field(v[0], kept.infit);
    r.chi_in = static_cast<float>(real_field(v[1], kept.chi_in));
    r.df = v[2].ok ? static_cast<int>(v[2].integer) : kept.df;
    r.p_in = static_cast<float>(real_field(v[3], kept.p_in));
    r.flag_p_in = v[4].text;
    r.t_in = real_field(v[5], kept.t_in);
    r.flag_t_in = v[6].text;
    r.outfit = real_field(v[7], kept.outfit);
    r.chi_out = static_cast<float>(real_field(v[8], kept.chi_out));
    r.p_out = static_cast<float>(real_field(v[10], kept.p_out));
    r.flag_p_out = v[11].text;
    r.t_out = real_field(v[12], kept.t_out);
    r.flag_t_out = v[13].text;
    return r;
}

// Localized value: t rescaled so that the squares of the set's t values
// average 1 over `count` members.
double localized(double t, int count, double sum_squares) { return t * std::sqrt(count / sum_squares); }

// The sums of the squared standardized values of a set (items or
// respondents) behind its localized values.
struct SquareSums {
    double in = 0.0, out = 0.0;
};

// ---- stage 5 ---------------------------------------------------------------

SquareSums item_pass1(Io& io, const JobSettings& job, const FittedModel& fm, FitWork& w) {
    const ModelTraits& m = model_traits(fm.MODEL);
    std::ostream& scratch = io.units[Unit::FT19];
    SquareSums S;
    for (int pos = 1; pos <= fm.NITEM; ++pos) {
        stop_point();
        const int i = w.ITORD(pos);
        const int C = fm.item(i).K;
        Residuals r;
        for (int n = 1; n <= fm.NSUBJ; ++n)
            r.add(w, n, i, valid_response(io.con, fm, w, n, i, " PROBLEM WITH PROBABILITY IN DIAGNOSE LOOP 2"));
        const int N = fm.NSUBJ - r.missing;
        FitStatistics f = mean_squares(io.con, r, N, item_df(m, N, C));
        const float alpha = static_cast<float>(job.ITALPH);
        if (f.p_in <= alpha) f.flag_p_in = kProbabilityFlag;
        if (f.p_out <= alpha) f.flag_p_out = kProbabilityFlag;
        if (std::fabs(f.t_in) > job.ITTCUT) f.flag_t_in = kStandardizedFlag;
        if (std::fabs(f.t_out) > job.ITTCUT) f.flag_t_out = kStandardizedFlag;
        add_square(S.in, f.t_in);
        add_square(S.out, f.t_out);
        w.ITEMFIT(i) = f;
        write_scratch(scratch, kItemScratch, f);
    }
    return S;
}

void item_pass2(Io& io, const FittedModel& fm, FitWork& w, const SquareSums& S) {
    std::ostream& rep = io.units[Unit::FT15];
    io.units.rewind(Unit::FT19);
    LineReader in(io.units[Unit::FT19]);
    std::vector<FixedField> v;
    const bool alpha = model_traits(fm.MODEL).discrimination;
    for (int pos = 1; pos <= fm.NITEM; ++pos) {
        const int i = w.ITORD(pos);
        const ItemParameters& item = fm.item(i);
        FitStatistics& f = w.ITEMFIT(i);
        const ScratchRecord r = read_scratch(io, in, kItemScratch, f, v);
        f.loc_in = localized(r.t_in, fm.NITEM, S.in);
        f.loc_out = localized(r.t_out, fm.NITEM, S.out);
        if (alpha)
            write_fixed(rep, kItemHeadAlpha, {fm.st.ITEMID(i), item.delta, item.alpha});
        else
            write_fixed(rep, kItemHead, {fm.st.ITEMID(i), item.delta});
        // The thresholds as the model has them: in the models with a unit
        // parameter, those it stands for (Unitthreshold.h).
        for (int k = 1; k <= item.K; ++k) write_fixed(rep, kThreshold, {k, item.tau[k - 1]});
        write_fixed(rep, kItemStats,
                    {r.infit, r.chi_in, r.df, r.p_in, r.flag_p_in, r.t_in, r.flag_t_in, f.loc_in, r.outfit, r.chi_out,
                     r.df, r.p_out, r.flag_p_out, r.t_out, r.flag_t_out, f.loc_out});
    }
}

// ---- stage 6 ---------------------------------------------------------------

SquareSums person_pass1(Io& io, const JobSettings& job, const FittedModel& fm, FitWork& w) {
    std::ostream& scratch = io.units[Unit::FT19];
    SquareSums S;
    for (int n = 1; n <= fm.NSUBJ; ++n) {
        stop_point();
        Residuals r;
        for (int i = 1; i <= fm.NITEM; ++i)
            r.add(w, n, i, valid_response(io.con, fm, w, n, i, " PROBLEM WITH PROBABILITY IN DIAGNOSE LOOP 3"));
        const int I = fm.NITEM - r.missing;
        FitStatistics f = mean_squares(io.con, r, I, I - 1);
        const float alpha = static_cast<float>(job.PSALPH);
        if (f.p_in <= alpha) f.flag_p_in = kProbabilityFlag;
        if (f.p_out <= alpha) f.flag_p_out = kProbabilityFlag;
        // One-sided: only a respondent who fits worse than expected is flagged.
        if (f.t_in > job.PSTCUT) f.flag_t_in = kStandardizedFlag;
        if (f.t_out > job.PSTCUT) f.flag_t_out = kStandardizedFlag;
        add_square(S.in, f.t_in);
        add_square(S.out, f.t_out);
        w.PERSFIT(n) = f;
        write_scratch(scratch, kPersonScratch, f);
    }
    return S;
}

void person_pass2(Io& io, const JobSettings& job, const FittedModel& fm, FitWork& w, const SquareSums& S) {
    const Store& st = fm.st;
    std::ostream& rep = io.units[Unit::FT15];
    io.units.rewind(Unit::FT19);
    LineReader in(io.units[Unit::FT19]);
    std::vector<FixedField> v;
    for (int n = 1; n <= fm.NSUBJ; ++n) {
        FitStatistics& f = w.PERSFIT(n);
        const ScratchRecord r = read_scratch(io, in, kPersonScratch, f, v);
        f.loc_in = localized(r.t_in, fm.NSUBJ, S.in);
        f.loc_out = localized(r.t_out, fm.NSUBJ, S.out);
        // One-sided, as the standardized values.
        const bool high_in = f.loc_in > job.PSLCUT;
        const bool high_out = f.loc_out > job.PSLCUT;
        const bool flagged = r.flag_p_in != kBlank || r.flag_t_in != kBlank || r.flag_p_out != kBlank ||
                             r.flag_t_out != kBlank || high_in || high_out;
        if (!flagged && job.IPRALL == 0) continue;
        write_free(rep);
        write_fixed(rep, kPersonStats,
                    {int_in_full(st.PERSID(n), 4),
                     st.THETA(n),
                     r.infit,
                     r.chi_in,
                     r.df,
                     r.p_in,
                     r.flag_p_in,
                     r.t_in,
                     r.flag_t_in,
                     f.loc_in,
                     high_in ? kLocalizedFlag : kBlank,
                     r.outfit,
                     r.chi_out,
                     r.df,
                     r.p_out,
                     r.flag_p_out,
                     r.t_out,
                     r.flag_t_out,
                     f.loc_out,
                     high_out ? kLocalizedFlag : kBlank});
        if (!flagged) continue;
        for (int pos = 1; pos <= fm.NITEM; ++pos) {
            const int i = w.ITORD(pos);
            write_fixed(rep, kPersonItem, {st.ITEMID(i), fm.item(i).delta, st.RESP(n, i), w.EXPSC(n, i)});
        }
    }
}

}  // namespace

bool probability_sum_off(double sum) { return std::fabs(sum - 1.0) > static_cast<double>(1e-4f); }

void probability_problem(std::ostream& con, int i, int n, double sum, const char* text) {
    write_free(con, {i, " ", n, " ", sum, " ", text});
}

void DIAMML2(Io& io, const JobSettings& job, const FittedModel& fm, FitWork& w, ProbabilityTable& PT) {
    std::ostream& rep = io.units[Unit::FT15];
    write_free(rep, {" FIT STATISTICS"});
    rep << date_line(job, 2) << '\n';
    write_free(rep);
    write_free(rep);
    if (!model_traits(fm.MODEL).valid) {
        write_free(io.con, {" THE MODEL NUMBER IN DIAMML2 IS INCORRECT "});
        return;
    }

    expected_scores(io.con, fm, w);
    item_order(fm, w);

    io.units.rewrite(Unit::FT19);
    const SquareSums items = item_pass1(io, job, fm, w);
    item_pass2(io, fm, w, items);
    stop_point();

    io.units.rewrite(Unit::FT19);
    const SquareSums persons = person_pass1(io, job, fm, w);
    person_pass2(io, job, fm, w, persons);
    stop_point();

    fit_groups(io, fm, job.NFITG, w);
    stop_point();
    likelihood_ratio_chisquares(io, fm, w, PT);
    stop_point();

    const NcSample sample = listwise_deletion(fm, w);
    number_correct_section(io, fm, sample, w, PT);
}

}  // namespace vorm
