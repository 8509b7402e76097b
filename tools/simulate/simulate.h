// Simulated response data for the engine's tests, benchmarks and examples.
//
// The model is evaluated here on its own, on a log scale, without the engine's
// routines, so data made here are an independent check of what the engine
// recovers.  Random numbers come from mt19937_64 with our own transforms, so a
// seed gives the same data on every machine.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace vormsim {

struct Item {
    int K = 2;                // categories 0..K-1
    double delta = 0.0;       // location
    double alpha = 1.0;       // discrimination (models 5..8)
    double lambda = 0.5;      // unit parameter (models 1, 2, 5, 6)
    std::vector<double> tau;  // thresholds 0..K-1, tau[0] = 0 (models 3, 4, 7, 8)
};

// The design of a simulated study: the model with its items' true
// parameters, the number of respondents, the share of responses left missing
// and the seed of the random numbers.
struct Design {
    int model = 1;
    std::vector<Item> items;
    int nsubj = 1000;
    double missing_rate = 0.0;  // share of responses coded missing (-9)
    std::uint64_t seed = 1;
};

struct Data {
    std::vector<double> theta;           // true locations, one per respondent
    std::vector<std::vector<int>> resp;  // resp[j][i], -9 for missing
};

// Category probabilities of one item at theta under the model.
std::vector<double> probabilities(int model, const Item& item, double theta);

// Items with true parameters spread over the scale: locations from -2.4 to 2.4,
// discriminations 0.7..1.4 (models 5..8), units near 0.6 and thresholds near
// those a unit gives, with a little variation per item for the per-item models.
std::vector<Item> typical_items(int model, const std::vector<int>& categories, std::uint64_t seed);

// Respondents drawn from a standard normal and their responses under the design.
Data simulate(const Design& design);

// The data as fixed-format text: identifier in columns 1-5, a blank, then one
// response per item in fields of `width` (1 for up to 10 categories without
// missing codes, 2 or more otherwise).  The matching format is data_format().
std::string data_text(const Data& data, int width);
std::string data_format(int nitem, int width);

class Random {
public:
    explicit Random(std::uint64_t seed) : gen_(seed) {}
    double uniform() { return static_cast<double>(gen_() >> 11) * 0x1.0p-53; }
    double normal();

private:
    std::mt19937_64 gen_;
    bool have_spare_ = false;
    double spare_ = 0.0;
};

}  // namespace vormsim
