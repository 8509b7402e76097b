#include "simulate.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vormsim {

double Random::normal() {
    if (have_spare_) {
        have_spare_ = false;
        return spare_;
    }
    double u1 = 0.0;
    while (u1 <= 0.0) u1 = uniform();
    double u2 = uniform();
    double r = std::sqrt(-2.0 * std::log(u1));
    spare_ = r * std::sin(2.0 * M_PI * u2);
    have_spare_ = true;
    return r * std::cos(2.0 * M_PI * u2);
}

std::vector<double> probabilities(int model, const Item& item, double theta) {
    const int K = item.K;
    const int M = 2 * K - 1;
    const double a = model >= 5 ? item.alpha : 1.0;
    const bool unit_model = model == 1 || model == 2 || model == 5 || model == 6;
    const double d = theta - item.delta;
    std::vector<double> logw(static_cast<std::size_t>(K));
    double cum = 0.0;
    for (int c = 0; c < K; ++c) {
        double E;
        if (unit_model) {
            E = item.lambda * c * (M - c);
        } else {
            cum += item.tau[static_cast<std::size_t>(c)];
            E = -cum;
        }
        double u = a * (E + c * d);
        double v = a * (E + (M - c) * d);
        double hi = std::max(u, v);
        logw[static_cast<std::size_t>(c)] = hi + std::log1p(std::exp(std::min(u, v) - hi));
    }
    double top = *std::max_element(logw.begin(), logw.end());
    double sum = 0.0;
    for (double lw : logw) sum += std::exp(lw - top);
    std::vector<double> p(static_cast<std::size_t>(K));
    for (int c = 0; c < K; ++c)
        p[static_cast<std::size_t>(c)] = std::exp(logw[static_cast<std::size_t>(c)] - top) / sum;
    return p;
}

std::vector<Item> typical_items(int model, const std::vector<int>& categories, std::uint64_t seed) {
    Random rng(seed);
    const int n = static_cast<int>(categories.size());
    const bool per_item = model == 2 || model == 4 || model == 6 || model == 8;
    std::vector<Item> items(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        Item& it = items[static_cast<std::size_t>(i)];
        it.K = categories[static_cast<std::size_t>(i)];
        // Alternate sides of the scale so that both ends are covered by few items.
        double spread = n > 1 ? -2.4 + 4.8 * i / (n - 1) : 0.0;
        it.delta = spread;
        it.alpha = model >= 5 ? 0.7 + 0.7 * rng.uniform() : 1.0;
        // A unit shared by the common models, a per-item one otherwise; larger
        // with fewer categories, since the unit scales the spread of thresholds.
        double base = 1.2 / it.K;
        it.lambda = per_item ? base * (0.8 + 0.4 * rng.uniform()) : base;
        const int M = 2 * it.K - 1;
        it.tau.assign(static_cast<std::size_t>(it.K), 0.0);
        for (int c = 1; c < it.K; ++c) {
            double t = -base * (M - 2 * c + 1);
            if (per_item) t += 0.15 * (rng.uniform() - 0.5);
            it.tau[static_cast<std::size_t>(c)] = t;
        }
    }
    return items;
}

Data simulate(const Design& design) {
    Random rng(design.seed);
    Data data;
    data.theta.resize(static_cast<std::size_t>(design.nsubj));
    data.resp.assign(static_cast<std::size_t>(design.nsubj), std::vector<int>(design.items.size()));
    for (int j = 0; j < design.nsubj; ++j) {
        double th = rng.normal();
        data.theta[static_cast<std::size_t>(j)] = th;
        for (std::size_t i = 0; i < design.items.size(); ++i) {
            auto p = probabilities(design.model, design.items[i], th);
            double u = rng.uniform();
            int c = 0;
            double acc = p[0];
            while (u > acc && c + 1 < static_cast<int>(p.size())) acc += p[static_cast<std::size_t>(++c)];
            if (design.missing_rate > 0.0 && rng.uniform() < design.missing_rate) c = -9;
            data.resp[static_cast<std::size_t>(j)][i] = c;
        }
    }
    return data;
}

std::string data_text(const Data& data, int width) {
    std::string out;
    char buf[32];
    for (std::size_t j = 0; j < data.resp.size(); ++j) {
        std::snprintf(buf, sizeof buf, "%5zu ", j + 1);
        out += buf;
        for (int r : data.resp[j]) {
            std::snprintf(buf, sizeof buf, "%*d", width, r);
            out += buf;
        }
        out += '\n';
    }
    return out;
}

std::string data_format(int nitem, int width) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "(I5,1X,%dI%d)", nitem, width);
    return buf;
}

}  // namespace vormsim
