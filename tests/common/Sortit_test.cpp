#include "common/Sortit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace vorm {
namespace {

TEST(Sortit, FewerThanTwoEntriesChangeNothing) {
    std::vector<double> key{5.0, 1.0};
    std::vector<int> tag{1, 2};
    SORTIT(2, tag.data(), key.data(), 1);
    SORTIT(2, tag.data(), key.data(), 0);
    EXPECT_EQ(key, (std::vector<double>{5.0, 1.0}));
    EXPECT_EQ(tag, (std::vector<int>{1, 2}));
}

TEST(Sortit, TagsFollowTheirKeys) {
    std::vector<double> key{3, 1, 2};
    std::vector<int> tag{10, 20, 30};
    SORTIT(3, tag.data(), key.data(), 3);
    EXPECT_EQ(key, (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(tag, (std::vector<int>{20, 30, 10}));
}

TEST(Sortit, SortedInputStaysInPlaceEvenWithEqualKeys) {
    std::vector<double> key{1, 2, 2, 2, 3, 4, 4, 5, 6, 7, 8, 9, 10, 11};
    std::vector<int> tag(key.size());
    for (std::size_t k = 0; k < tag.size(); ++k) tag[k] = static_cast<int>(k);
    auto k0 = key;
    auto t0 = tag;
    SORTIT(static_cast<int>(key.size()), tag.data(), key.data(), static_cast<int>(key.size()));
    EXPECT_EQ(key, k0);
    EXPECT_EQ(tag, t0);
}

// The order of equal keys is the one the 4-1 gap passes give, not a stable one:
// with gap 4, position 5 (key 1, tag 5) passes position 1 (key 2, tag 1); equal
// keys 1 at positions 2 and 5 then keep the order the gap-4 pass left.
TEST(Sortit, EqualKeysFollowTheGapPasses) {
    std::vector<double> key{2, 1, 3, 3, 1};
    std::vector<int> tag{1, 2, 3, 4, 5};
    SORTIT(5, tag.data(), key.data(), 5);
    EXPECT_EQ(key, (std::vector<double>{1, 1, 2, 3, 3}));
    EXPECT_EQ(tag, (std::vector<int>{5, 2, 1, 3, 4}));
}

TEST(Sortit, RandomKeysComeOutAscendingWithTheirTags) {
    std::mt19937_64 rng(7);
    for (int n : {2, 3, 4, 5, 13, 14, 40, 41, 121, 500, 2000}) {
        std::vector<double> key(static_cast<std::size_t>(n));
        std::vector<int> tag(key.size());
        std::uniform_int_distribution<int> small(0, n / 3 + 1);  // plenty of ties
        for (int k = 0; k < n; ++k) {
            key[static_cast<std::size_t>(k)] = small(rng) * 0.5;
            tag[static_cast<std::size_t>(k)] = k;
        }
        auto original = key;
        SORTIT(n, tag.data(), key.data(), n);
        EXPECT_TRUE(std::is_sorted(key.begin(), key.end())) << n;
        auto perm = tag;
        std::sort(perm.begin(), perm.end());
        for (int k = 0; k < n; ++k) {
            EXPECT_EQ(perm[static_cast<std::size_t>(k)], k) << "tags must be a permutation";
            EXPECT_EQ(key[static_cast<std::size_t>(k)],
                      original[static_cast<std::size_t>(tag[static_cast<std::size_t>(k)])]);
        }
    }
}

}  // namespace
}  // namespace vorm
