#include "core/mGlobalVariables.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace vormgui {
namespace {

// The defaults themselves are one list in the code; what a new job must not
// touch is what later pages rely on.
TEST(NewJobDefaults, LeaveTheFoldersAndTheListsBeyondElementZeroAlone) {
    JobSettings job;
    job.helpDir = QStringLiteral("/app/help/");
    job.appDir = QStringLiteral("/app/");
    job.jobFileName = QStringLiteral("/jobs/old.cmd");
    job.modelNumber = 6;
    job.numItems = 5;
    job.categoriesConstant = job.cutoffConstant = false;
    job.numCategories[3] = 7;
    job.responseCutoff[5] = 4;
    job.initialSigns[2] = true;
    job.itemsToDiscard[1] = 9;
    job.subjectsToDiscard[2000] = 1234;

    setNewJobDefaults(job);

    EXPECT_EQ(job.helpDir, QStringLiteral("/app/help/"));
    EXPECT_EQ(job.appDir, QStringLiteral("/app/"));
    EXPECT_TRUE(job.jobFileName.isEmpty());
    EXPECT_EQ(job.modelNumber, 0);
    EXPECT_EQ(job.numItems, 2);
    EXPECT_EQ(job.numCategories[3], 7);
    EXPECT_EQ(job.responseCutoff[5], 4);
    EXPECT_TRUE(job.initialSigns[2]);
    EXPECT_EQ(job.itemsToDiscard[1], 9);
    EXPECT_EQ(job.subjectsToDiscard[2000], 1234);
    EXPECT_TRUE(cutoffsConsistent(job)) << "a new job is consistent";
}

struct CutoffCase {
    const char* what;
    bool categoriesConstant;
    bool cutoffConstant;
    int numItems;
    std::vector<int> categories;  // element 0 first, then items 1, 2, ...
    std::vector<int> cutoffs;
    bool consistent;
};

void fill(JobSettings& job, const CutoffCase& c) {
    job.categoriesConstant = c.categoriesConstant;
    job.cutoffConstant = c.cutoffConstant;
    job.numItems = static_cast<std::int16_t>(c.numItems);
    for (std::size_t i = 0; i < c.categories.size(); ++i)
        job.numCategories[i] = static_cast<std::int16_t>(c.categories[i]);
    for (std::size_t i = 0; i < c.cutoffs.size(); ++i) job.responseCutoff[i] = static_cast<std::int16_t>(c.cutoffs[i]);
}

TEST(CutoffsConsistent, EdgeCases) {
    const CutoffCase cases[] = {
        {"both constant, cutoff = categories", true, true, 2, {3}, {3}, false},
        {"both constant, cutoff below", true, true, 2, {3}, {2}, true},
        {"both constant ignore numItems 0", true, true, 0, {3}, {3}, false},
        {"both constant ignore 150 items", true, true, 150, {3}, {2}, true},
        {"both constant ignore per-item values", true, true, 3, {4, 1, 1, 1}, {0, 9, 9, 9}, true},
        {"per-item cutoffs, third inconsistent", true, false, 3, {4}, {9, 0, 3, 4}, false},
        {"per-item cutoffs, item 3 not examined", true, false, 2, {4}, {9, 0, 3, 4}, true},
        {"per-item categories, one item with 2", false, true, 4, {9, 5, 3, 2, 6}, {2}, false},
        {"per-item categories, the 2 beyond numItems", false, true, 3, {9, 5, 3, 3, 2}, {2}, true},
        {"numItems 0, per-item", false, false, 0, {1, 1}, {5, 5}, true},
        {"negative numItems, per-item", false, false, -3, {1, 1}, {5, 5}, true},
        {"both per-item, all fit", false, false, 3, {0, 2, 10, 5}, {0, 1, 9, 0}, true},
        {"both per-item, cutoff = categories", false, false, 3, {0, 2, 10, 5}, {0, 1, 10, 0}, false},
        {"per-item with 101 items", true, false, 101, {4}, {0}, false},
        {"per-item with 100 items", true, false, 100, {4}, {0}, true},
    };
    for (const CutoffCase& c : cases) {
        JobSettings job;
        fill(job, c);
        EXPECT_EQ(cutoffsConsistent(job), c.consistent) << c.what;
    }
}

// The definition read plainly: with both settings constant only the constant
// values count; otherwise every item 1..numItems must have its cutoff below
// its number of categories, and no more than 100 items can be held.
bool reference(const JobSettings& job) {
    if (job.categoriesConstant && job.cutoffConstant) return job.responseCutoff[0] < job.numCategories[0];
    if (job.numItems > kMaxItems) return false;
    std::vector<int> c, k;
    for (int i = 1; i <= job.numItems; ++i) {
        c.push_back(job.categoriesConstant ? job.numCategories[0] : job.numCategories[i]);
        k.push_back(job.cutoffConstant ? job.responseCutoff[0] : job.responseCutoff[i]);
    }
    for (std::size_t i = 0; i < c.size(); ++i)
        if (!(k[i] < c[i])) return false;
    return true;
}

TEST(CutoffsConsistent, AgreesWithTheDefinitionOverRandomSmallJobs) {
    std::mt19937 rng(2004);
    std::uniform_int_distribution<int> items(-1, 7), categories(0, 11), cutoff(0, 11), coin(0, 1);
    int consistent = 0;
    for (int trial = 0; trial < 20000; ++trial) {
        JobSettings job;
        job.categoriesConstant = coin(rng);
        job.cutoffConstant = coin(rng);
        job.numItems = static_cast<std::int16_t>(items(rng));
        for (int i = 0; i <= 8; ++i) {
            job.numCategories[i] = static_cast<std::int16_t>(categories(rng));
            job.responseCutoff[i] = static_cast<std::int16_t>(cutoff(rng) / (1 + coin(rng) * 3));
        }
        const bool expected = reference(job);
        consistent += expected;
        ASSERT_EQ(cutoffsConsistent(job), expected) << "trial " << trial;
    }
    // Both outcomes must be well represented, or the comparison proves little.
    EXPECT_GT(consistent, 3000);
    EXPECT_LT(consistent, 17000);
}

// Elements 1..100 are all consistent, so only refusing the count can give
// false; reading past item 100 trips the bounds checks of the sanitizer build.
TEST(CutoffsConsistent, PerItemSettingsWithMoreThan100ItemsAreInconsistentWithoutReadingPastTheLists) {
    for (const auto& [categoriesConstant, cutoffConstant] : {std::pair{true, false}, {false, true}, {false, false}}) {
        JobSettings job;
        job.categoriesConstant = categoriesConstant;
        job.cutoffConstant = cutoffConstant;
        job.numItems = 150;
        job.numCategories.fill(5);
        job.responseCutoff.fill(1);
        EXPECT_FALSE(cutoffsConsistent(job));
        job.numItems = 100;
        EXPECT_TRUE(cutoffsConsistent(job));
    }
}

}  // namespace
}  // namespace vormgui
