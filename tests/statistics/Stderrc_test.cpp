// The item standard errors are checked against references built here on their
// own: the model's probabilities come from the simulator's independent
// evaluation, every derivative is a central difference, and the matrices are
// inverted by a Gauss-Jordan elimination of this file.
#include "statistics/Stderrc.h"

#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "driver/Stages.h"
#include "numlib/Numlib_error.h"
#include "simulate.h"
#include "test_support.h"

namespace vorm {
namespace {

using test::read_file;
using test::split_lines;
using test::TempDir;
using Matrix = std::vector<std::vector<double>>;

// Central differences of smooth probabilities: truncation near h^2 ~ 1e-10
// and rounding near eps/h ~ 1e-11, far inside this tolerance.
constexpr double kNumericDiffTol = 1e-6;
constexpr double kStep = 1e-5;

bool common_model(int m) { return m == 1 || m == 3 || m == 5 || m == 7; }
bool unit_model(int m) { return m == 1 || m == 2 || m == 5 || m == 6; }

// One parameter of an item, or a common one (set in every item).
struct Param {
    enum Kind { Alpha, Delta, Lambda, Tau } kind;
    int k = 0;  // threshold number
};

std::vector<Param> params_of(int model, int K) {
    std::vector<Param> p;
    if (model >= 5) p.push_back({Param::Alpha});
    p.push_back({Param::Delta});
    if (unit_model(model))
        p.push_back({Param::Lambda});
    else
        for (int k = 1; k < K; ++k) p.push_back({Param::Tau, k});
    return p;
}

void shift(vormsim::Item& it, const Param& p, double h) {
    switch (p.kind) {
        case Param::Alpha:
            it.alpha += h;
            break;
        case Param::Delta:
            it.delta += h;
            break;
        case Param::Lambda:
            it.lambda += h;
            break;
        case Param::Tau:
            it.tau[static_cast<std::size_t>(p.k)] += h;
            break;
    }
}

bool invert(Matrix a, Matrix& out) {
    const std::size_t n = a.size();
    out.assign(n, std::vector<double>(n, 0.0));
    for (std::size_t i = 0; i < n; ++i) out[i][i] = 1.0;
    for (std::size_t c = 0; c < n; ++c) {
        std::size_t piv = c;
        for (std::size_t r = c + 1; r < n; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[piv][c])) piv = r;
        if (a[piv][c] == 0.0) return false;
        std::swap(a[c], a[piv]);
        std::swap(out[c], out[piv]);
        const double d = a[c][c];
        for (std::size_t j = 0; j < n; ++j) a[c][j] /= d, out[c][j] /= d;
        for (std::size_t r = 0; r < n; ++r) {
            if (r == c) continue;
            const double m = a[r][c];
            for (std::size_t j = 0; j < n; ++j) a[r][j] -= m * a[c][j], out[r][j] -= m * out[c][j];
        }
    }
    return true;
}

// A model, its items, simulated responses and a hand-made quadrature, put into
// a store as the estimation would leave it (true values stand in for
// estimates: standard errors need no estimation run).
struct Case {
    int model;
    std::vector<vormsim::Item> items;
    vormsim::Data data;
    std::vector<double> x, w;  // quadrature
    std::ostringstream con;
    std::istringstream cin;
    Io io{con, cin};
    std::unique_ptr<JobSettings> job = std::make_unique<JobSettings>();
    std::unique_ptr<Store> st = std::make_unique<Store>();
    std::unique_ptr<StandardErrorWork> work = std::make_unique<StandardErrorWork>();
    std::unique_ptr<ProbabilityTable> table = std::make_unique<ProbabilityTable>();
    TempDir dir;

    Case(int m, const std::vector<int>& cats, int nsubj, double missing, int nquad = 21) : model(m) {
        items = vormsim::typical_items(m, cats, 11 + m);
        vormsim::Design design;
        design.model = m;
        design.items = items;
        design.nsubj = nsubj;
        design.missing_rate = missing;
        design.seed = 5 + m;
        data = vormsim::simulate(design);
        double sum = 0.0;
        for (int q = 0; q < nquad; ++q) {
            double xq = -4.0 + 8.0 * q / (nquad - 1);
            x.push_back(xq);
            w.push_back(std::exp(-0.5 * xq * xq));
            sum += w.back();
        }
        for (double& v : w) v /= sum;
        load();
    }

    void load() {
        io.units.open_in_memory();
        JobSettings& j = *job;
        Store& s = *st;
        j.MODEL = model;
        j.NITEM = static_cast<int>(items.size());
        j.NSUBJ = static_cast<int>(data.resp.size());
        j.NQUAD = static_cast<int>(x.size());
        j.WRKDIR = dir.folder();
        j.LWRK = static_cast<int>(j.WRKDIR.size());
        for (int q = 1; q <= j.NQUAD; ++q) s.XQUAD(q) = x[q - 1], s.WQUAD(q) = w[q - 1];
        for (int i = 1; i <= j.NITEM; ++i) {
            const auto& it = items[i - 1];
            j.NCAT(i) = it.K;
            s.DELTA(i) = it.delta;
            s.ALPHA(i) = it.alpha;
            s.LAMBDA(i) = it.lambda;
            for (int k = 0; k < it.K; ++k) s.TAU(i, k) = it.tau[k];
        }
        s.UNIT = items[0].lambda;
        for (int k = 0; k < items[0].K; ++k) s.TAUC(k) = items[0].tau[k];
        for (int r = 1; r <= j.NSUBJ; ++r)
            for (int i = 1; i <= j.NITEM; ++i)
                s.RESP(r, i) = data.resp[r - 1][i - 1] < 0 ? -1 : data.resp[r - 1][i - 1];
    }

    void run() {
        numlib_reset();
        numlib_set_console(&con);
        ERSET(0, 1, 0);  // as item estimation leaves the library
        STDERRC(io, *job, *st, *work, *table);
    }

    int nitem() const { return static_cast<int>(items.size()); }

    // Respondent likelihoods over the quadrature with the given items.
    std::vector<double> likelihoods(const std::vector<vormsim::Item>& its) const {
        std::vector<std::vector<std::vector<double>>> P(its.size());
        for (std::size_t i = 0; i < its.size(); ++i)
            for (double xq : x) P[i].push_back(vormsim::probabilities(model, its[i], xq));
        std::vector<double> f(data.resp.size(), 0.0);
        for (std::size_t r = 0; r < data.resp.size(); ++r)
            for (std::size_t q = 0; q < x.size(); ++q) {
                double l = 1.0;
                for (std::size_t i = 0; i < its.size(); ++i) {
                    int c = data.resp[r][i];
                    if (c >= 0) l *= P[i][q][static_cast<std::size_t>(c)];
                }
                f[r] += l * w[q];
            }
        return f;
    }

    // Per-respondent derivatives of ln f by one parameter of item i (or by a
    // common parameter, moved in every item at once).
    std::vector<double> scores(int i, const Param& p, bool common) const {
        auto up = items, down = items;
        for (int m = 0; m < nitem(); ++m) {
            if (!common && m != i - 1) continue;
            shift(up[m], p, kStep);
            shift(down[m], p, -kStep);
        }
        auto fu = likelihoods(up), fd = likelihoods(down);
        std::vector<double> s(fu.size());
        for (std::size_t r = 0; r < s.size(); ++r) s[r] = (std::log(fu[r]) - std::log(fd[r])) / (2.0 * kStep);
        return s;
    }

    // Cross-product information matrix of item i, in the item's parameter order.
    Matrix information(int i) const {
        auto ps = params_of(model, items[i - 1].K);
        const int lead = model >= 5 ? 2 : 1;
        std::vector<std::vector<double>> s;
        for (std::size_t a = 0; a < ps.size(); ++a) {
            const bool common = common_model(model) && static_cast<int>(a) >= lead;
            s.push_back(scores(i, ps[a], common));
        }
        Matrix m(ps.size(), std::vector<double>(ps.size(), 0.0));
        for (std::size_t a = 0; a < ps.size(); ++a)
            for (std::size_t b = 0; b < ps.size(); ++b)
                for (std::size_t r = 0; r < s[a].size(); ++r) m[a][b] += s[a][r] * s[b][r];
        return m;
    }
};

void expect_matches_reference(Case& c) {
    c.run();
    const Store& s = *c.st;
    const int m = c.model;
    const int lead = m >= 5 ? 2 : 1;
    const int K1 = c.items[0].K;
    std::vector<double> common_var(static_cast<std::size_t>(K1), 0.0);
    for (int i = 1; i <= c.nitem(); ++i) {
        SCOPED_TRACE("item " + std::to_string(i));
        Matrix inv;
        ASSERT_TRUE(invert(c.information(i), inv));
        const int K = c.items[i - 1].K;
        const int di = lead - 1;
        EXPECT_NEAR_REL(s.DSTD(i), std::sqrt(inv[di][di]), kNumericDiffTol);
        if (m >= 5) {
            EXPECT_NEAR_REL(s.ASTD(i), std::sqrt(inv[0][0]), kNumericDiffTol);
            const double r = inv[0][1] / std::sqrt(inv[0][0] * inv[1][1]);
            EXPECT_NEAR_REL(s.CORRDA(i), r, kNumericDiffTol);
            EXPECT_LE(std::fabs(s.CORRDA(i)), 1.0);
        } else {
            EXPECT_EQ(s.ASTD(i), 0.0);
            EXPECT_EQ(s.CORRDA(i), 0.0);
        }
        // The stored block is the whole inverse.
        for (std::size_t a = 0; a < inv.size(); ++a)
            for (std::size_t b = 0; b < inv.size(); ++b)
                EXPECT_NEAR_REL(s.SECOV(a + 1, b + 1, i), inv[a][b], kNumericDiffTol, 1e-12);
        if (common_model(m)) {
            for (std::size_t a = lead; a < inv.size(); ++a) common_var[a - lead + 1] += inv[a][a];
            if (i > 1) {
                EXPECT_EQ(s.LSTD(i), 0.0);
                for (int k = 0; k < K; ++k) EXPECT_EQ(s.TAUSTD(i, k), 0.0);
            }
        } else if (unit_model(m)) {
            EXPECT_NEAR_REL(s.LSTD(i), std::sqrt(inv[lead][lead]), kNumericDiffTol);
        } else {
            EXPECT_EQ(s.TAUSTD(i, 0), 0.0);
            for (int k = 1; k < K; ++k)
                EXPECT_NEAR_REL(s.TAUSTD(i, k), std::sqrt(inv[lead + k - 1][lead + k - 1]), kNumericDiffTol);
        }
    }
    const double n = c.nitem();
    if (m == 1 || m == 5) {
        EXPECT_NEAR_REL(s.LSTD(1), std::sqrt(common_var[1] / n), kNumericDiffTol);
    } else if (m == 3 || m == 7) {
        EXPECT_EQ(s.TAUSTD(1, 0), 0.0);
        for (int k = 1; k < K1; ++k) EXPECT_NEAR_REL(s.TAUSTD(1, k), std::sqrt(common_var[k] / n), kNumericDiffTol);
        EXPECT_EQ(s.LSTD(1), 0.0);
    }
}

TEST(Stderrc, MatchesNumericCrossProductsInEveryModel) {
    for (int m = 1; m <= 8; ++m) {
        SCOPED_TRACE("model " + std::to_string(m));
        const bool per_item = !common_model(m);
        std::vector<int> cats = per_item ? std::vector<int>{3, 5, 4, 2, 6, 4} : std::vector<int>{4, 4, 4, 4, 4, 4};
        Case c(m, cats, 300, 0.05);
        expect_matches_reference(c);
    }
}

TEST(Stderrc, TenCategoriesInModelEightFillTheLargestMatrix) {
    Case c(8, {10, 10, 10, 10, 10}, 400, 0.0);
    expect_matches_reference(c);
}

// The information from the expected counts (each point's Fisher information of
// the item, weighted by the respondents' posterior mass there) treats the
// locations as known, so it holds more than the cross-product matrix: by the
// missing-information principle its standard errors are the smaller ones.
// With 30 items the locations are sharp and the gap stays within a quarter;
// the lower limit leaves room for the sampling noise of 2000 respondents.
constexpr double kRatioLow = 0.98;
constexpr double kRatioHigh = 1.25;

void expect_ratio(double actual, double reference) {
    EXPECT_GE(actual / reference, kRatioLow) << actual << " vs " << reference;
    EXPECT_LE(actual / reference, kRatioHigh) << actual << " vs " << reference;
}

void expect_above_expected_count_errors(int model) {
    std::vector<int> cats(30, 5);
    Case c(model, cats, 2000, 0.0, 31);
    c.run();
    auto f = c.likelihoods(c.items);
    const std::size_t nq = c.x.size();
    std::vector<std::vector<std::vector<double>>> P(c.items.size());
    for (std::size_t m = 0; m < c.items.size(); ++m)
        for (double xq : c.x) P[m].push_back(vormsim::probabilities(model, c.items[m], xq));
    // Posterior mass of each respondent at each point.
    std::vector<std::vector<double>> post(f.size(), std::vector<double>(nq));
    for (std::size_t r = 0; r < f.size(); ++r)
        for (std::size_t q = 0; q < nq; ++q) {
            double l = 1.0;
            for (std::size_t m = 0; m < c.items.size(); ++m) l *= P[m][q][c.data.resp[r][m]];
            post[r][q] = l * c.w[q] / f[r];
        }
    for (int i : {1, 10, 15, 22, 30}) {
        SCOPED_TRACE("item " + std::to_string(i));
        const auto& it = c.items[i - 1];
        auto ps = params_of(model, it.K);
        const std::size_t n = ps.size();
        Matrix info(n, std::vector<double>(n, 0.0));
        for (std::size_t q = 0; q < c.x.size(); ++q) {
            // Expected counts of item i's categories at point q.
            std::vector<double> rbar(static_cast<std::size_t>(it.K), 0.0);
            for (std::size_t r = 0; r < f.size(); ++r) rbar[c.data.resp[r][i - 1]] += post[r][q];
            std::vector<std::vector<double>> dlog(n);
            auto p0 = vormsim::probabilities(model, it, c.x[q]);
            for (std::size_t a = 0; a < n; ++a) {
                auto up = it, down = it;
                shift(up, ps[a], kStep);
                shift(down, ps[a], -kStep);
                auto pu = vormsim::probabilities(model, up, c.x[q]);
                auto pd = vormsim::probabilities(model, down, c.x[q]);
                for (int k = 0; k < it.K; ++k) dlog[a].push_back((pu[k] - pd[k]) / (2.0 * kStep) / p0[k]);
            }
            for (std::size_t a = 0; a < n; ++a)
                for (std::size_t b = 0; b < n; ++b)
                    for (int k = 0; k < it.K; ++k) info[a][b] += rbar[k] * dlog[a][k] * dlog[b][k];
        }
        Matrix inv;
        ASSERT_TRUE(invert(info, inv));
        const int lead = model >= 5 ? 2 : 1;
        expect_ratio(c.st->DSTD(i), std::sqrt(inv[lead - 1][lead - 1]));
        if (model >= 5) {
            expect_ratio(c.st->ASTD(i), std::sqrt(inv[0][0]));
        }
        for (int k = 1; k < it.K; ++k) expect_ratio(c.st->TAUSTD(i, k), std::sqrt(inv[lead + k - 1][lead + k - 1]));
    }
}

TEST(Stderrc, StaysJustAboveExpectedCountStandardErrorsInModelFour) { expect_above_expected_count_errors(4); }
TEST(Stderrc, StaysJustAboveExpectedCountStandardErrorsInModelEight) { expect_above_expected_count_errors(8); }

TEST(Stderrc, RespondentWithoutAnswersAddsNothing) {
    Case a(5, {4, 4, 4}, 50, 0.0);
    a.run();
    Case b(5, {4, 4, 4}, 50, 0.0);
    b.job->NSUBJ = 51;
    for (int i = 1; i <= 3; ++i) b.st->RESP(51, i) = -1;
    b.run();
    for (int i = 1; i <= 3; ++i)
        for (int r = 1; r <= 3; ++r)
            for (int s = 1; s <= 3; ++s) EXPECT_EQ(a.st->SECOV(r, s, i), b.st->SECOV(r, s, i));
    EXPECT_EQ(a.st->LSTD(1), b.st->LSTD(1));
}

TEST(Stderrc, SingularMatrixIsReportedAndTheRunGoesOn) {
    Case c(8, {4, 4, 4}, 200, 0.0);
    for (int r = 1; r <= c.job->NSUBJ; ++r) c.st->RESP(r, 2) = -1;  // nobody answered item 2
    ASSERT_NO_THROW(c.run());
    const Store& s = *c.st;
    const std::string line =
        "  SINGULARITY WHEN INFORMATION MATRIX INVERTED FOR ITEM PARAMETER STANDARD ERRORS FOR ITEM #2 IN MODEL 8.";
    EXPECT_EQ(read_file(c.dir.file("status")), line + "\n");
    EXPECT_EQ(c.io.units.contents(Unit::FT06), line + "\n");
    EXPECT_TRUE(std::isnan(s.DSTD(2)));
    EXPECT_TRUE(std::isnan(s.ASTD(2)));
    EXPECT_TRUE(std::isnan(s.CORRDA(2)));
    for (int k = 1; k <= 3; ++k) EXPECT_TRUE(std::isnan(s.TAUSTD(2, k)));
    // The items on either side keep their standard errors.
    for (int i : {1, 3}) {
        EXPECT_TRUE(std::isfinite(s.DSTD(i)) && s.DSTD(i) > 0.0);
        EXPECT_TRUE(std::isfinite(s.TAUSTD(i, 3)) && s.TAUSTD(i, 3) > 0.0);
    }

    // The parameter file shows the undefined values as asterisks.
    for (int i = 1; i <= 3; ++i) c.st->ITEMID(i) = i;
    ASSERT_NO_THROW(WRITIT(c.io, *c.job, *c.st));
    auto lines = split_lines(c.io.units.contents(Unit::FT16));
    ASSERT_EQ(lines.size(), 4u + 3u * 5u);
    const std::string& item2 = lines[4 + 5];
    EXPECT_EQ(item2.substr(0, 9), " ITEM#  2");
    EXPECT_NE(item2.find(" DSTD=************ ALPHA="), std::string::npos) << item2;
    EXPECT_NE(item2.find(" ASTD=************ CORR=************"), std::string::npos) << item2;
    EXPECT_EQ(lines[4 + 5 + 4].substr(lines[4 + 5 + 4].size() - 20), " TAUSTD=************");
    EXPECT_EQ(lines[4].find('*'), std::string::npos) << lines[4];
}

// An item so steep that some of its category probabilities are exactly 0 at
// the outer points: those terms add their limit, 0, to the scores.  Every
// other item keeps its standard errors (also through the common parameters of
// models 5 and 7), and the steep item's either are numbers or its matrix is
// named in the status file and the report.
TEST(Stderrc, CategoryWhoseProbabilityIsZeroAtAPointAddsNothing) {
    for (int model : {5, 6, 7, 8}) {
        SCOPED_TRACE("model " + std::to_string(model));
        Case c(model, {4, 4, 4, 4}, 300, 0.0);
        c.items[1].alpha = 80.0;
        vormsim::Design design;
        design.model = model;
        design.items = c.items;
        design.nsubj = 300;
        design.seed = 70 + model;
        c.data = vormsim::simulate(design);
        c.load();
        bool zero = false;
        for (double x : c.x)
            for (double p : vormsim::probabilities(model, c.items[1], x)) zero = zero || p == 0.0;
        ASSERT_TRUE(zero);
        c.run();
        const Store& s = *c.st;
        const std::string status = read_file(c.dir.file("status"));
        for (int i = 1; i <= 4; ++i) {
            SCOPED_TRACE("item " + std::to_string(i));
            bool finite = std::isfinite(s.DSTD(i)) && std::isfinite(s.ASTD(i)) && std::isfinite(s.CORRDA(i));
            const int row = model == 5 || model == 7 ? 1 : i;
            if (model == 5 || model == 6) finite = finite && std::isfinite(s.LSTD(row));
            if (model == 7 || model == 8)
                for (int k = 1; k <= 3; ++k) finite = finite && std::isfinite(s.TAUSTD(row, k));
            const std::string named = " FOR ITEM #" + std::to_string(i) + " IN MODEL";
            if (i != 2) {
                EXPECT_TRUE(finite);
            }
            if (!finite) {
                EXPECT_NE(status.find(named), std::string::npos) << status;
                EXPECT_NE(c.io.units.contents(Unit::FT06).find(named), std::string::npos);
            }
        }
    }
}

TEST(Stderrc, ConsoleShowsTheStageWhateverTheModel) {
    Case c(2, {3, 3}, 20, 0.0);
    c.run();
    EXPECT_EQ(c.con.str(), " \n  COMPUTING APPROXIMATE ITEM STANDARD ERRORS\n \n");
}

TEST(Stderrc, UnknownModelNumberWritesNoStandardErrors) {
    Case c(2, {3, 3}, 20, 0.0, 4);
    c.job->MODEL = 9;
    c.run();
    auto lines = split_lines(c.con.str());
    ASSERT_EQ(lines.size(), 3u + 2u * 4u);
    EXPECT_EQ(lines[3], "  THE MODEL NUMBER IN RANDN2 IS INCORRECT ");
    for (int i = 1; i <= 2; ++i) {
        EXPECT_EQ(c.st->DSTD(i), 0.0);
        EXPECT_EQ(c.st->LSTD(i), 0.0);
    }
}

}  // namespace
}  // namespace vorm
