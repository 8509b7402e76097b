#include "model/Evaluate.h"

#include <cstring>
#include <string>

#include "model/Traits.h"
#include "model_reference.h"
#include "test_support.h"

namespace vorm::test {
namespace {

constexpr unsigned kAll = PROBABILITIES | BY_ALPHA | BY_DELTA | BY_UNIT | BY_THRESHOLDS;
constexpr double kUntouched = -7.0;

void clear_results(ModelValues& v) {
    v.PROB.fill(kUntouched);
    v.DPAD.fill(kUntouched);
    v.DPLT.fill(kUntouched);
}

// Item i of the store under `model`, with the store's own common parameters.
bool evaluate(ModelValues& v, const Store& st, int model, unsigned results, int i, int K, double theta) {
    return evaluate_point(v, model, results, item_parameters(st, model, i, K, st.UNIT, st.TAUC), theta);
}

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Locations where the plain weights are ordinary, where they (or their square)
// overflow, and where some category's probability underflows to exactly 0, so
// that every path of the evaluation is taken.
struct Place {
    const char* what;
    double theta, alpha, unit;
};
const Place kPlaces[] = {
    {"ordinary", 0.7, 1.3, 0.25},
    {"weights overflow", 3.5, 1.3, 40.0},
    {"square of the sum overflows", 60.0, 1.0, 0.25},
    {"probabilities underflow to 0", -4.0, 200.0, 0.25},
};

// Every result asked for together with all others has the bits it has when
// asked for alone, and a result the model does not have is never written.
TEST(Evaluate, SeveralResultsAtOnceAreTheBitsOfEachAlone) {
    auto all = sample_store();
    auto one = sample_store();
    ModelValues all_v, one_v;
    for (const Place& pl : kPlaces)
        for (int model = 1; model <= 8; ++model)
            for (int K : {1, 2, 5, 10}) {
                SCOPED_TRACE(std::string(pl.what) + " model " + std::to_string(model) + " K " + std::to_string(K));
                const ModelTraits& m = model_traits(model);
                for (Store* s : {all.get(), one.get()}) {
                    s->ALPHA(2) = pl.alpha;
                    s->UNIT = pl.unit;
                    s->LAMBDA(2) = pl.unit;
                }
                clear_results(all_v);
                ASSERT_TRUE(evaluate(all_v, *all, model, kAll, 2, K, pl.theta));
                for (unsigned r : {PROBABILITIES, BY_ALPHA, BY_DELTA, BY_UNIT, BY_THRESHOLDS}) {
                    clear_results(one_v);
                    evaluate(one_v, *one, model, r, 2, K, pl.theta);
                    for (int c = 0; c < MAXCAT; ++c) {
                        EXPECT_TRUE(same_bits(one_v.PROB(c), r == PROBABILITIES ? all_v.PROB(c) : kUntouched));
                        EXPECT_TRUE(same_bits(one_v.DPAD(1, c), r == BY_ALPHA ? all_v.DPAD(1, c) : kUntouched));
                        EXPECT_TRUE(same_bits(one_v.DPAD(2, c), r == BY_DELTA ? all_v.DPAD(2, c) : kUntouched));
                        for (int k = 1; k <= 9; ++k) {
                            const bool by_k = (r == BY_UNIT && m.unit && k == 1) || (r == BY_THRESHOLDS && !m.unit);
                            EXPECT_TRUE(same_bits(one_v.DPLT(k, c), by_k ? all_v.DPLT(k, c) : kUntouched));
                        }
                    }
                }
                // What the model has, and only that, within categories 0..K-1.
                for (int c = 0; c < MAXCAT; ++c) {
                    EXPECT_EQ(all_v.PROB(c) != kUntouched, c < K);
                    EXPECT_EQ(all_v.DPAD(1, c) != kUntouched, c < K && m.discrimination);
                    for (int k = 1; k <= 9; ++k) {
                        const bool has = m.unit ? k == 1 : k < K;
                        EXPECT_EQ(all_v.DPLT(k, c) != kUntouched, c < K && has) << "k " << k << " c " << c;
                    }
                }
            }
}

TEST(Evaluate, ModelOutsideOneToEightOrNoCategoryWritesNothing) {
    auto st = sample_store();
    ModelValues st_v;
    clear_results(st_v);
    EXPECT_FALSE(evaluate(st_v, *st, 0, kAll, 1, 4, 0.5));
    EXPECT_FALSE(evaluate(st_v, *st, 9, kAll, 1, 4, 0.5));
    EXPECT_TRUE(evaluate(st_v, *st, 8, kAll, 1, 0, 0.5));
    for (int c = 0; c < MAXCAT; ++c) {
        EXPECT_EQ(st_v.PROB(c), kUntouched);
        EXPECT_EQ(st_v.DPAD(1, c), kUntouched);
        EXPECT_EQ(st_v.DPLT(1, c), kUntouched);
    }
}

// Each model reads exactly the parameters its traits name: changing any other
// one leaves its probabilities as they were.
TEST(Evaluate, EachModelReadsExactlyTheParametersItsTraitsName) {
    enum Source { Alpha, Unit, Lambda, Tauc, Tau };
    for (int model = 1; model <= 8; ++model) {
        const ModelTraits& m = model_traits(model);
        const bool reads[] = {m.discrimination, m.unit && m.common, m.unit && !m.common, !m.unit && m.common,
                              !m.unit && !m.common};
        for (Source s : {Alpha, Unit, Lambda, Tauc, Tau}) {
            SCOPED_TRACE("model " + std::to_string(model) + " source " + std::to_string(s));
            auto st = sample_store();
            ModelValues st_v;
            evaluate(st_v, *st, model, PROBABILITIES, 1, 5, 0.9);
            const double before = st_v.PROB(3);
            switch (s) {
                case Alpha:
                    st->ALPHA(1) += 0.5;
                    break;
                case Unit:
                    st->UNIT += 0.5;
                    break;
                case Lambda:
                    st->LAMBDA(1) += 0.5;
                    break;
                case Tauc:
                    st->TAUC(2) += 0.5;
                    break;
                case Tau:
                    st->TAU(1, 2) += 0.5;
                    break;
            }
            evaluate(st_v, *st, model, PROBABILITIES, 1, 5, 0.9);
            EXPECT_EQ(st_v.PROB(3) != before, reads[s]);
        }
    }
}

}  // namespace
}  // namespace vorm::test
