#include "model/Probm.h"

#include <cmath>

#include "model_reference.h"
#include "test_support.h"

namespace vorm::test {
namespace {

constexpr double kRel = 1e-12;      // a few hundred roundings of exp and sums
constexpr double kFloor = 1e-290;   // below this both sides are underflow noise
constexpr double kRelHuge = 1e-11;  // exponents near 1e4 carry rounding of 1e4 ulp

double theta_grid(int t) { return -6.0 + 0.75 * t; }  // t = 0..16

// What the routines under test write, as their callers own it.
ModelValues mv;

TEST(Probm, RejectsModelNumberOutsideOneToEightAndLeavesProbUntouched) {
    auto st = sample_store();
    mv.PROB.fill(-7.0);
    double th[] = {0.5};
    EXPECT_FALSE(PROBM(mv, *st, 0, 1, 1, 4, st->UNIT, st->TAUC, th));
    EXPECT_FALSE(PROBM(mv, *st, 9, 1, 1, 4, st->UNIT, st->TAUC, th));
    EXPECT_FALSE(GPM(mv, *st, -1, 1, 4, st->UNIT, st->TAUC, 0.5));
    for (int c = 0; c < MAXCAT; ++c) EXPECT_EQ(mv.PROB(c), -7.0);
}

TEST(Probm, NoCategoriesHasNoEffectAndOneCategoryIsCertain) {
    auto st = sample_store();
    for (int model = 1; model <= 8; ++model) {
        mv.PROB.fill(-7.0);
        ASSERT_TRUE(GPM(mv, *st, model, 1, 0, st->UNIT, st->TAUC, 0.4));
        EXPECT_EQ(mv.PROB(0), -7.0);
        GPM(mv, *st, model, 1, 1, st->UNIT, st->TAUC, 0.4);
        EXPECT_NEAR(mv.PROB(0), 1.0, 2e-16);  // w * (1 / w)
        EXPECT_EQ(mv.PROB(1), -7.0);
    }
}

TEST(Probm, MatchesIndependentEvaluationForAllModelsAndCategoryCounts) {
    auto st = sample_store();
    long double lp[10];
    for (int model = 1; model <= 8; ++model)
        for (int i = 1; i <= 3; ++i)
            for (int K = 2; K <= 10; ++K)
                for (int t = 0; t <= 16; ++t) {
                    double th = theta_grid(t);
                    mv.PROB.fill(-7.0);
                    ASSERT_TRUE(GPM(mv, *st, model, i, K, st->UNIT, st->TAUC, th));
                    reference_log_prob(model, *st, i, K, st->UNIT, st->TAUC, th, lp);
                    double sum = 0.0;
                    for (int c = 0; c < K; ++c) {
                        EXPECT_NEAR_REL(mv.PROB(c), static_cast<double>(std::exp(lp[c])), kRel, kFloor)
                            << "model " << model << " item " << i << " K " << K << " theta " << th << " c " << c;
                        sum += mv.PROB(c);
                    }
                    EXPECT_NEAR(sum, 1.0, 1e-14);
                    for (int c = K; c < MAXCAT; ++c) EXPECT_EQ(mv.PROB(c), -7.0);
                }
}

TEST(Probm, PointAndSingleLocationRoutinesAgreeAndAreSymmetricAboutLocation) {
    auto st = sample_store();
    const double xs[] = {-2.0, 0.1, 3.3};
    double p[10];
    for (int model = 1; model <= 8; ++model)
        for (int q = 1; q <= 3; ++q) {
            PROBM(mv, *st, model, q, 2, 7, st->UNIT, st->TAUC, xs);
            for (int c = 0; c < 7; ++c) p[c] = mv.PROB(c);
            GPM(mv, *st, model, 2, 7, st->UNIT, st->TAUC, xs[q - 1]);
            for (int c = 0; c < 7; ++c) EXPECT_EQ(mv.PROB(c), p[c]);
            double t = xs[q - 1];
            GPM(mv, *st, model, 2, 7, st->UNIT, st->TAUC, st->DELTA(2) + t);
            for (int c = 0; c < 7; ++c) p[c] = mv.PROB(c);
            GPM(mv, *st, model, 2, 7, st->UNIT, st->TAUC, st->DELTA(2) - t);
            for (int c = 0; c < 7; ++c) EXPECT_NEAR_REL(mv.PROB(c), p[c], 1e-13);
        }
}

TEST(Probm, FlatCategoryTermGivesEqualProbabilitiesAtLocation) {
    auto st = std::make_unique<Store>();
    st->DELTA(1) = 0.7;
    st->ALPHA(1) = 2.0;
    for (int model = 1; model <= 8; ++model) {
        GPM(mv, *st, model, 1, 6, 0.0, st->TAUC, 0.7);
        for (int c = 0; c < 6; ++c) EXPECT_NEAR_REL(mv.PROB(c), 1.0 / 6.0, 1e-15);
    }
}

TEST(Probm, ThresholdZeroShiftLeavesProbabilitiesUnchangedEvenWhenWeightsUnderflow) {
    // A shift of 800 makes every plain weight underflow to 0.
    auto st = sample_store();
    double base[10];
    for (int model : {3, 4, 7, 8}) {
        CatReals tauc = st->TAUC;
        GPM(mv, *st, model, 1, 10, st->UNIT, tauc, 1.1);
        for (int c = 0; c < 10; ++c) base[c] = mv.PROB(c);
        for (double s : {-3.0, 2.5, 650.0, 700.0, 705.0, 720.0, 800.0, -700.0}) {
            tauc(0) = s;
            st->TAU(1, 0) = s;
            GPM(mv, *st, model, 1, 10, st->UNIT, tauc, 1.1);
            for (int c = 0; c < 10; ++c) EXPECT_NEAR_REL(mv.PROB(c), base[c], 1e-12) << model << " " << s;
        }
        st->TAU(1, 0) = 0.0;
    }
}

TEST(Probm, DiscriminationOneReproducesModelsOneToFour) {
    auto st = sample_store();
    st->ALPHA(3) = 1.0;
    double p[10];
    for (int model = 1; model <= 4; ++model)
        for (int t = 0; t <= 16; ++t) {
            GPM(mv, *st, model, 3, 9, st->UNIT, st->TAUC, theta_grid(t));
            for (int c = 0; c < 9; ++c) p[c] = mv.PROB(c);
            GPM(mv, *st, model + 4, 3, 9, st->UNIT, st->TAUC, theta_grid(t));
            for (int c = 0; c < 9; ++c) EXPECT_EQ(mv.PROB(c), p[c]);
        }
}

TEST(Probm, OrdinaryValuesAreTheWrittenFormulaBitForBit) {
    auto st = sample_store();
    const int K = 5, M = 2 * K - 1;
    const double th = 0.9, a = st->ALPHA(1), d = th - st->DELTA(1);
    double w[5], W = 0.0, S = 0.0;
    for (int c = 0; c < K; ++c) {  // model 7, as written out
        S = S + st->TAUC(c);
        w[c] = std::exp(a * (c * d - S)) + std::exp(a * ((M - c) * d - S));
        W += w[c];
    }
    PROBM7(mv, *st, 1, 1, K, st->TAUC, &th);
    for (int c = 0; c < K; ++c) EXPECT_EQ(mv.PROB(c), w[c] * (1.0 / W));
    W = 0.0;
    const double lam = st->UNIT;
    for (int c = 0; c < K; ++c) {  // model 1, as written out
        w[c] = std::exp(lam * c * (M - c) + c * d) + std::exp(lam * c * (M - c) + (M - c) * d);
        W += w[c];
    }
    GPM1(mv, *st, 1, K, lam, th);
    for (int c = 0; c < K; ++c) EXPECT_EQ(mv.PROB(c), w[c] * (1.0 / W));
}

TEST(Probm, StaysFiniteAndCorrectWherePlainWeightsOverflow) {
    // alpha |theta - delta| (2K - 1) far beyond 709 with ten categories.
    auto st = sample_store();
    st->ALPHA(1) = 5.0;
    st->LAMBDA(1) = 0.3;
    long double lp[10];
    for (int model = 1; model <= 8; ++model)
        for (double th : {-60.0, -37.5, 8.0, 40.0, 95.0}) {
            GPM(mv, *st, model, 1, 10, 40.0, st->TAUC, th);  // UNIT 40: lambda c(M-c) up to 3600
            reference_log_prob(model, *st, 1, 10, 40.0, st->TAUC, th, lp);
            double sum = 0.0;
            for (int c = 0; c < 10; ++c) {
                ASSERT_TRUE(std::isfinite(mv.PROB(c)));
                EXPECT_NEAR_REL(mv.PROB(c), static_cast<double>(std::exp(lp[c])), kRelHuge, kFloor)
                    << "model " << model << " theta " << th << " c " << c;
                sum += mv.PROB(c);
            }
            EXPECT_NEAR(sum, 1.0, 1e-14);
        }
}

}  // namespace
}  // namespace vorm::test
