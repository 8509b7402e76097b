#include "dialogs/DiscardPages.h"

#include <QPushButton>
#include <cstdint>
#include <vector>

#include "PageFixture.h"
#include "dialogs/ReadDataPages.h"
#include "dialogs/UpDown.h"

namespace vormgui {
namespace {

using test::answer;
using test::kNext;
using test::kOk;

class DiscardPagesTest : public test::PageTest {
protected:
    FormDeleteItems& deleteItems = *pages.deleteItems;
    FormItemsDiscarded& itemList = *pages.itemsDiscarded;
    FormDeleteSubjects& deleteSubjects = *pages.deleteSubjects;
    FormSubjectsDiscarded& subjectList = *pages.subjectsDiscarded;

    // A job of `n` items; the question answered ('y', 'n', '-') with a count,
    // and the list page holding `list`.
    std::function<void()> items(int n, char yesNo, const char* count, const QStringList& list = {}) {
        return [=, this] {
            job.numItems = static_cast<std::int16_t>(n);
            pages.itemDef->setItemsText(QString::number(n));
            answer(deleteItems.OptionYes, deleteItems.OptionNo, yesNo);
            deleteItems.setCountText(count);
            itemList.setValues(list);
        };
    }
    std::function<void()> subjects(char yesNo, const char* count, const QStringList& list = {}) {
        return [=, this] {
            answer(deleteSubjects.OptionYes, deleteSubjects.OptionNo, yesNo);
            deleteSubjects.setCountText(count);
            subjectList.setValues(list);
        };
    }
};

TEST_F(DiscardPagesTest, DeleteItemsChecksTheAnswerAndTheCount) {
    const QString invalid = "Error!: " + kItemCountInvalid;
    pressEach(
        deleteItems,
        {
            {"neither", items(5, '-', "1"), kOk, "Error!: Please indicate whether you would discard item or not!"},
            {"empty count", items(5, 'y', ""), kNext, "Error!: Please fill the number of items to be discarded!"},
            {"a fraction", items(5, 'y', "2.5"), kNext, invalid},
            {"a whole number written with a point", items(5, 'y', " 3.0 "), kNext, invalid},
            {"an exponent", items(5, 'y', "2e0"), kNext, invalid},
            {"zero", items(5, 'y', "0"), kOk, invalid},
            {"above the list", items(150, 'y', "101"), kNext, invalid},
            {"a greyed-out count is not checked", items(5, 'n', "x"), kOk, "",
             [&] {
                 EXPECT_FALSE(job.discardItems);
                 EXPECT_EQ(job.numItemsToDiscard, 1) << "the stored count stays";
                 EXPECT_EQ(deleteItems.countText(), "1");
             }},
            {"nor with Next", items(5, 'n', ""), kNext, "",
             [&] { EXPECT_EQ(modalPages(), QStringList{"FormDeleteSubjects"}); }},
            {"all the items", items(5, 'y', "5"), kOk,
             "Error!: Number of deleted items should be smaller than that of total items!"},
            {"OK never takes a Yes", items(5, 'y', "4"), kOk,
             "Error!: Please press next button to indicate the items to be discarded!"},
            {"Next opens the list", items(5, 'y', " 4", {"2", "3"}), kNext, "",
             [&] {
                 EXPECT_EQ(deleteItems.countText(), "4") << "the count as the job file takes it";
                 EXPECT_EQ(itemList.values(), (QStringList{"2", "3", "", ""}));
                 EXPECT_FALSE(job.discardItems) << "a Yes is committed by the list";
                 EXPECT_EQ(modalPages(), QStringList{"FormItemsDiscarded"});
             }},
            {"No stores", items(5, 'n', " +03 "), kNext, "",
             [&] {
                 EXPECT_EQ(job.numItemsToDiscard, 3);
                 EXPECT_EQ(deleteItems.countText(), "3");
                 EXPECT_EQ(modalPages(), QStringList{"FormDeleteSubjects"});
             }},
        });
}

TEST_F(DiscardPagesTest, ItemListChecksEachRowAndCommitsTheYes) {
    const QString range = "Error!: Input Error! The numbers should be between 1 and  5.";
    const QString number = "Error!: Input Error! Please input a number!";
    pressEach(itemList,
              {
                  {"empty cell", items(5, 'y', "1", {""}), kOk, number},
                  {"stops at the first bad row", items(5, 'y', "3", {"2", "x", "9"}), kOk, number},
                  {"above the items", items(5, 'y', "1", {"6"}), kOk, range},
                  {"zero", items(5, 'y', "1", {"0"}), kOk, range},
                  {"rounds to zero", items(5, 'y', "1", {"0.4"}), kOk, range},
                  {"beyond 16 bits", items(5, 'y', "1", {"40000"}), kOk, range},
                  {"Next says it without the count", items(5, 'y', "1", {"6"}), kNext,
                   "Error!: Input Error! The number should be between 1 and number of items"},
                  {"fraction", items(5, 'y', "1", {"2.5"}), kOk, "Error!: Input Error! Please input an integer!"},
                  {"a whole number written with a point", items(5, 'y', "1", {"3.0"}), kOk,
                   "Error!: Input Error! Please input an integer!"},
                  {"stores", items(5, 'y', "2", {" +3 ", "5"}), kOk, "",
                   [&] {
                       EXPECT_TRUE(job.discardItems);
                       EXPECT_EQ(job.numItemsToDiscard, 2);
                       EXPECT_EQ(QList<int>({job.itemsToDiscard[1], job.itemsToDiscard[2]}), QList<int>({3, 5}));
                       EXPECT_EQ(itemList.values(), (QStringList{"3", "5"}));
                   }},
                  {"Next leads to the respondents", items(5, 'y', "1", {"1"}), kNext, "",
                   [&] { EXPECT_EQ(modalPages(), QStringList{"FormDeleteSubjects"}); }},
              });
}

TEST_F(DiscardPagesTest, DeleteRespondentsChecksTheAnswerAndTheCount) {
    const QString fill = "Error!: Please fill the number of people to be discarded!";
    pressEach(
        deleteSubjects,
        {
            {"neither", subjects('-', "1"), kOk, "Error!: Please indicate whether you want to discard people or not!"},
            {"OK never takes a Yes", subjects('y', "3"), kOk,
             "Warning!: Please press next button to fill indices of people to be discarded!"},
            {"empty count", subjects('y', ""), kOk, fill},
            {"empty count, Next", subjects('y', ""), kNext, fill},
            {"above the list", subjects('y', "2001"), kNext, "Error!: " + kSubjectCountInvalid},
            {"a greyed-out count is not checked", subjects('n', "-2"), kOk, "",
             [&] {
                 EXPECT_FALSE(job.discardSubjects);
                 EXPECT_EQ(job.numSubjectsToDiscard, 1) << "the stored count stays";
                 EXPECT_EQ(deleteSubjects.countText(), "1");
             }},
            {"Next opens 2000 rows", subjects('y', "2000"), kNext, "",
             [&] {
                 EXPECT_EQ(subjectList.grd->rows(), 2001);
                 EXPECT_EQ(modalPages(), QStringList{"FormSubjectsDiscarded"});
             }},
            {"No stores", subjects('n', "7"), kOk, "", [&] { EXPECT_EQ(job.numSubjectsToDiscard, 7); }},
        });
}

// Identifiers, not counts: every whole number that the engine's data reader
// and job dialogue take, which is every number of 64 bits.
TEST_F(DiscardPagesTest, RespondentListTakesOnlyWholeNumbers) {
    const QString integers = "Error!: Input Error! Please input only integers in the table!";
    const QString beyond =
        "Error!: Input Error! Respondent IDs must be whole numbers from -9223372036854775808 to "
        "9223372036854775807!";
    pressEach(
        subjectList,
        {
            {"fraction", subjects('y', "2", {"1017", "12.5"}), kOk, integers},
            {"empty", subjects('y', "1", {""}), kOk, integers},
            {"letters, later rows unread", subjects('y', "3", {"ab", "1.5", "40000"}), kOk, integers},
            {"one past the largest", subjects('y', "2", {"2400901", "9223372036854775808"}), kOk, beyond},
            {"one past the smallest", subjects('y', "1", {"-9223372036854775809"}), kOk, beyond},
            {"far beyond, as a fraction", subjects('y', "1", {"1e30"}), kOk, beyond},
            {"a whole number written with a point", subjects('y', "1", {"7.0"}), kOk, integers},
            {"a plus and a minus", subjects('y', "1", {"+-7"}), kOk, integers},
            {"stores", subjects('y', "6", {"1017", "-5", " +07", "40001", "2400901", "-9223372036854775808"}), kOk, "",
             [&] {
                 EXPECT_TRUE(job.discardSubjects);
                 EXPECT_EQ(job.numSubjectsToDiscard, 6);
                 const std::vector<std::int64_t> stored(job.subjectsToDiscard.begin() + 1,
                                                        job.subjectsToDiscard.begin() + 7);
                 EXPECT_EQ(stored, (std::vector<std::int64_t>{1017, -5, 7, 40001, 2400901, INT64_MIN}));
                 EXPECT_EQ(subjectList.values(),
                           (QStringList{"1017", "-5", "7", "40001", "2400901", "-9223372036854775808"}));
             }},
            {"the largest", subjects('y', "1", {"009223372036854775807"}), kOk, "",
             [&] {
                 EXPECT_EQ(job.subjectsToDiscard[1], INT64_MAX);
                 EXPECT_EQ(subjectList.values(), QStringList{"9223372036854775807"});
             }},
        });
}

TEST_F(DiscardPagesTest, AnswersEnableTheCountAndCancelBringsBackTheCommittedList) {
    EXPECT_FALSE(deleteItems.TextNumberOfItemsToDiscard->isEnabled());
    pages.itemDef->setItemsText(QString());
    choose(deleteItems.OptionYes);
    EXPECT_EQ(rec.messageTexts(), QStringList{"Please define number of items first!"});
    EXPECT_TRUE(deleteItems.OptionNo->isChecked());
    pages.itemDef->setItemsText("5");
    choose(deleteItems.OptionYes);
    EXPECT_TRUE(deleteItems.UpDownNumberOfItemsToDiscard->isEnabled());
    choose(deleteSubjects.OptionNo);
    EXPECT_FALSE(deleteSubjects.CommandNext->isEnabled());
    EXPECT_FALSE(deleteSubjects.UpDownNumberOfSubjectsToDiscard->isEnabled());
    choose(deleteSubjects.OptionYes);
    EXPECT_TRUE(deleteSubjects.CommandNext->isEnabled());
    EXPECT_FALSE(subjectList.CommandNext->isEnabled());

    // Committed lists: items 3 and 7, respondents 1017, -5, 8; then edits.
    items(9, 'y', "2", {"3", "7"})();
    itemList.CommandOK_Click();
    subjects('y', "3", {"1017", "-5", "8"})();
    subjectList.CommandOK_Click();
    items(9, 'n', "4", {"1"})();
    subjects('n', "1", {"2"})();
    itemList.CommandCancel_Click();
    subjectList.CommandCancel_Click();
    EXPECT_EQ(deleteItems.discard(), true);
    EXPECT_EQ(deleteItems.countText(), "2");
    EXPECT_EQ(itemList.values(), (QStringList{"3", "7"}));
    EXPECT_EQ(deleteSubjects.discard(), true);
    EXPECT_EQ(deleteSubjects.countText(), "3");
    EXPECT_EQ(subjectList.values(), (QStringList{"1017", "-5", "8"}));
    items(9, 'n', "4")();
    deleteItems.CommandCancel_Click();
    EXPECT_EQ(deleteItems.discard(), true);
    EXPECT_EQ(deleteItems.UpDownNumberOfItemsToDiscard->value(), 2);

    // Before any job reset the counts are 0; Cancel shows 1.
    job.numItemsToDiscard = job.numSubjectsToDiscard = 0;
    job.discardItems = job.discardSubjects = false;
    deleteItems.CommandCancel_Click();
    deleteSubjects.CommandCancel_Click();
    EXPECT_EQ(QStringList({deleteItems.countText(), deleteSubjects.countText()}), QStringList({"1", "1"}));
    EXPECT_FALSE(deleteSubjects.CommandNext->isEnabled());
}

}  // namespace
}  // namespace vormgui
