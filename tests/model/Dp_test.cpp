#include "model/Dp.h"

#include <algorithm>
#include <cmath>

#include "model/Probm.h"
#include "model_reference.h"
#include "test_support.h"

namespace vorm::test {
namespace {

enum Kind { kAlpha, kDelta, kLambda, kTau };

bool has_kind(int model, Kind kind) {
    switch (kind) {
        case kAlpha:
            return model >= 5;
        case kDelta:
            return true;
        case kLambda:
            return model == 1 || model == 2 || model == 5 || model == 6;
        default:
            return !has_kind(model, kLambda);
    }
}

// The parameter x of the derivative: in the store, or the common UNIT / TAUC argument.
double& parameter(Store& st, double& unit, CatReals& tauc, int model, Kind kind, int i, int k) {
    switch (kind) {
        case kAlpha:
            return st.ALPHA(i);
        case kDelta:
            return st.DELTA(i);
        case kLambda:
            return (model == 1 || model == 5) ? unit : st.LAMBDA(i);
        default:
            return (model == 3 || model == 7) ? tauc(k) : st.TAU(i, k);
    }
}

// What the routines under test write, as their callers own it.
ModelValues mv;

bool derivative(Store& st, int model, Kind kind, int i, int K, double unit, const CatReals& tauc, const double* th) {
    switch (kind) {
        case kAlpha:
            return DPALP(mv, st, model, 1, i, K, unit, tauc, th);
        case kDelta:
            return DPDEL(mv, st, model, 1, i, K, unit, tauc, th);
        case kLambda:
            return DPLAM(mv, st, model, 1, i, K, unit, tauc, th);
        default:
            return DPTAU(mv, st, model, 1, i, K, unit, tauc, th);
    }
}

double result(Kind kind, int k, int c) {
    switch (kind) {
        case kAlpha:
            return mv.DPAD(1, c);
        case kDelta:
            return mv.DPAD(2, c);
        case kLambda:
            return mv.DPLT(1, c);
        default:
            return mv.DPLT(k, c);
    }
}

// Checks one derivative row against central differences of the probability
// routine and against the closed form.
void check_row(Store& st, double& unit, CatReals& tauc, int model, Kind kind, int i, int K, int k, double th) {
    SCOPED_TRACE(::testing::Message() << "model " << model << " kind " << kind << " item " << i << " K " << K << " k "
                                      << k << " theta " << th);
    ASSERT_TRUE(derivative(st, model, kind, i, K, unit, tauc, &th));
    double dp[10], scale = 0.0, sum = 0.0;
    for (int c = 0; c < K; ++c) {
        dp[c] = result(kind, k, c);
        ASSERT_TRUE(std::isfinite(dp[c]));
        scale = std::max(scale, std::fabs(dp[c]));
        sum += dp[c];
    }
    EXPECT_NEAR(sum, 0.0, 1e-13 * (1.0 + scale));  // the probabilities sum to 1

    long double ref[10];
    reference_dprob(model, st, i, K, unit, tauc, th, kind, k, ref);
    for (int c = 0; c < K; ++c) EXPECT_NEAR(dp[c], static_cast<double>(ref[c]), 1e-11 * (1.0 + scale)) << c;

    double& x = parameter(st, unit, tauc, model, kind, i, k);
    const double x0 = x, h = 1e-6 * std::max(1.0, std::fabs(x0));
    double up[10], down[10];
    x = x0 + h;
    PROBM(mv, st, model, 1, i, K, unit, tauc, &th);
    for (int c = 0; c < K; ++c) up[c] = mv.PROB(c);
    x = x0 - h;
    PROBM(mv, st, model, 1, i, K, unit, tauc, &th);
    for (int c = 0; c < K; ++c) down[c] = mv.PROB(c);
    x = x0;
    // Truncation h^2 P''' / 6 with P''' up to about scale^3, plus rounding eps / h.
    for (int c = 0; c < K; ++c) EXPECT_NEAR(dp[c], (up[c] - down[c]) / (2 * h), 1e-6 * (1.0 + scale)) << c;
}

void check_all_rows(Store& st, double unit, CatReals tauc, int model, int i, int K, double th) {
    for (Kind kind : {kAlpha, kDelta, kLambda, kTau}) {
        if (!has_kind(model, kind)) continue;
        if (kind != kTau)
            check_row(st, unit, tauc, model, kind, i, K, 1, th);
        else
            for (int k = 1; k < K; ++k) check_row(st, unit, tauc, model, kind, i, K, k, th);
    }
}

TEST(Dp, RefusesKindsTheModelDoesNotHave) {
    auto st = sample_store();
    double th = 0.2;
    for (int model = 0; model <= 9; ++model)
        for (Kind kind : {kAlpha, kDelta, kLambda, kTau})
            EXPECT_EQ(derivative(*st, model, kind, 1, 4, st->UNIT, st->TAUC, &th),
                      model >= 1 && model <= 8 && has_kind(model, kind));
}

TEST(Dp, EveryDerivativeMatchesDifferencesAndClosedForm) {
    auto st = sample_store();
    for (int model = 1; model <= 8; ++model)
        for (int i = 1; i <= 3; ++i)
            for (int K : {2, 3, 6, 10})
                for (double th : {-3.0, -1.2, st->DELTA(i), 0.3, 2.5})
                    check_all_rows(*st, st->UNIT, st->TAUC, model, i, K, th);
}

TEST(Dp, LocationDerivativeVanishesAtItemLocation) {
    auto st = sample_store();
    for (int model = 1; model <= 8; ++model) {
        double th = st->DELTA(2);
        DPDEL(mv, *st, model, 1, 2, 8, st->UNIT, st->TAUC, &th);
        for (int c = 0; c < 8; ++c) EXPECT_NEAR(mv.DPAD(2, c), 0.0, 1e-14);
    }
}

TEST(Dp, StayFiniteAndCorrectWherePlainWeightsOrTheirSquareOverflow) {
    auto st = sample_store();
    st->ALPHA(1) = 5.0;
    // alpha |d| (2K - 1) near 3800: the weights overflow; alpha 1 and d 21 near 400:
    // the weights are finite but D^2 is not.
    for (int model = 1; model <= 8; ++model)
        for (double th : {-39.7, 40.3}) check_all_rows(*st, st->UNIT, st->TAUC, model, 1, 10, th);
    st->ALPHA(1) = 1.0;
    for (int model = 1; model <= 8; ++model)
        for (double th : {-20.7, 21.3}) check_all_rows(*st, st->UNIT, st->TAUC, model, 1, 10, th);
}

TEST(Dp, DiscriminationOneReproducesModelsOneToFour) {
    auto st = sample_store();
    st->ALPHA(2) = 1.0;
    double th = -0.8, row[9][10];
    for (int model = 1; model <= 4; ++model)
        for (Kind kind : {kDelta, kLambda, kTau}) {
            if (!has_kind(model, kind)) continue;
            derivative(*st, model, kind, 2, 10, st->UNIT, st->TAUC, &th);
            for (int k = 1; k <= 9; ++k)
                for (int c = 0; c < 10; ++c) row[k - 1][c] = result(kind, k, c);
            derivative(*st, model + 4, kind, 2, 10, st->UNIT, st->TAUC, &th);
            for (int k = 1; k <= (kind == kTau ? 9 : 1); ++k)
                for (int c = 0; c < 10; ++c) EXPECT_EQ(result(kind, k, c), row[k - 1][c]);
        }
}

TEST(Dp, WritesOnlyTheCategoriesAndThresholdsOfTheItem) {
    auto st = sample_store();
    double th = 0.6;
    for (int model = 1; model <= 8; ++model) {
        mv.DPAD.fill(-7.0);
        mv.DPLT.fill(-7.0);
        for (Kind kind : {kAlpha, kDelta, kLambda, kTau})
            if (has_kind(model, kind)) derivative(*st, model, kind, 3, 4, st->UNIT, st->TAUC, &th);
        const int dplt_rows = has_kind(model, kTau) ? 3 : 1;
        for (int c = 0; c < 10; ++c) {
            EXPECT_EQ(mv.DPAD(1, c) == -7.0, c >= 4 || !has_kind(model, kAlpha)) << model << " " << c;
            EXPECT_EQ(mv.DPAD(2, c) == -7.0, c >= 4) << model << " " << c;
            for (int r = 1; r <= 9; ++r) EXPECT_EQ(mv.DPLT(r, c) == -7.0, c >= 4 || r > dplt_rows) << model << " " << r;
        }
        // One category (no free threshold) and no category write nothing.
        mv.DPAD.fill(-7.0);
        mv.DPLT.fill(-7.0);
        for (int K : {0, 1})
            for (Kind kind : {kAlpha, kDelta, kLambda, kTau})
                if (has_kind(model, kind) && (K == 0 || kind == kTau))
                    derivative(*st, model, kind, 3, K, st->UNIT, st->TAUC, &th);
        EXPECT_EQ(mv.DPAD(1, 0), -7.0);
        EXPECT_EQ(mv.DPAD(2, 0), -7.0);
        EXPECT_EQ(mv.DPLT(1, 0), -7.0);
    }
}

}  // namespace
}  // namespace vorm::test
