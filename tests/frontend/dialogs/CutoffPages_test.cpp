#include "dialogs/CutoffPages.h"

#include "PageFixture.h"
#include "dialogs/ReadDataPages.h"
#include "dialogs/UpDown.h"
#include "dialogs/mGridEdit.h"

namespace vormgui {
namespace {

using test::kNext;
using test::kOk;

class CutoffPagesTest : public test::PageTest {
protected:
    FormCategories& categories = *pages.categories;
    FormCutoff& cutoff = *pages.cutoff;

    // A committed job with these numbers of categories per item.
    void perItem(const QList<int>& counts) {
        job.numItems = static_cast<std::int16_t>(counts.size());
        job.categoriesConstant = false;
        QStringList cells;
        for (int i = 1; i <= counts.size(); ++i) cells << QString::number(job.numCategories[i] = counts[i - 1]);
        pages.itemDef->setItemsText(QString::number(counts.size()));
        pages.itemDef->setCategoriesConstant(false);
        categories.setValues(cells);
        cutoff.setDataRows(job.numItems);
    }
    // A committed job of `items` items with `count` categories each.
    void constant(int items, int count) {
        job.numItems = static_cast<std::int16_t>(items);
        job.numCategories[0] = static_cast<std::int16_t>(count);
        pages.itemDef->setItemsText(QString::number(items));
        pages.itemDef->setCategoriesText(QString::number(count));
        cutoff.setDataRows(items);
    }
    // The cutoff page in per-item mode with these cells, or constant with one box.
    void cells(const QStringList& cells) {
        cutoff.setCutoffConstant(false);
        for (int i = 1; i <= cells.size(); ++i) cutoff.grd->setTextMatrix(i, 1, cells[i - 1]);
    }
    void box(const char* text) {
        cutoff.setCutoffConstant(true);
        cutoff.setCutoffText(text);
    }
    std::function<void()> typed(const QStringList& cells) {
        return [this, cells] {
            pages.itemDef->setItemsText(QString::number(cells.size()));
            categories.setValues(cells);
        };
    }
};

TEST_F(CutoffPagesTest, CategoriesChecksEveryRowInOrderAndStoresPerItem) {
    const QString between = "Error!: Input Error! Each number of categories should be between 2 and 10 ";
    const QString warning = "Warning!: " + WizardPage::kInconsistentCutoffs;
    const auto underCutoff3 = [&] { job.responseCutoff[0] = 3, typed({"4", "2"})(); };
    pressEach(categories, {
                              {"empty second row", typed({"4", "", "3"}), kOk,
                               "Error!: Input Error! Each number of categories must be a number!"},
                              {"letters after a bad row", typed({"1", "x"}), kOk, between},
                              {"fraction", typed({"2.5"}), kNext,
                               "Error!: Input Error! Each number of categories must be an integer!"},
                              {"rounds above 10", typed({"3", "10.6"}), kOk, between},
                              {"11", typed({"11"}), kOk, between},
                              {"150 items", typed(QStringList(150, "4")), kOk, "Error!: " + kTooManyItems},
                              {"a whole number written with a point", typed({"4", "7.0"}), kOk,
                               "Error!: Input Error! Each number of categories must be an integer!"},
                              {"stores", typed({"4", " 6 ", "+07"}), kOk, "",
                               [&] {
                                   EXPECT_FALSE(job.categoriesConstant);
                                   EXPECT_EQ(job.numItems, 3);
                                   EXPECT_EQ(job.numCategories[2], 6);
                                   EXPECT_EQ(categories.values(), (QStringList{"4", "6", "7"}));
                                   EXPECT_EQ(cutoff.grd->textMatrix(3, 0), "3");
                               }},
                              {"Next leads to the cutoffs", typed({"2", "10"}), kNext, "",
                               [&] { EXPECT_EQ(modalPages(), QStringList{"FormCutoff"}); }},
                              {"2 categories under a cutoff of 3", underCutoff3, kOk, warning,
                               [&] { EXPECT_EQ(job.numCategories[2], 2); }, true},
                              {"the warning replaces the cutoff page", underCutoff3, kNext, warning,
                               [&] { EXPECT_TRUE(modalPages().isEmpty()); }, true},
                          });
}

TEST_F(CutoffPagesTest, CutoffsChecksInOrderWithTheBoundOfEachItem) {
    const auto range = [](int item, const char* suffix, int top) {
        return QStringLiteral("Error!: The %1%2 response cutoff must be between 0 and %3")
            .arg(item)
            .arg(suffix)
            .arg(top);
    };
    // 23 items of 3 categories but item 2 of 4; item `bad` gets a cutoff of
    // its number of categories, the others 0.
    const auto ordinal = [&](int bad) {
        return [this, bad] {
            QList<int> counts(23, 3);
            counts[1] = 4;
            perItem(counts);
            QStringList zeros(23, QStringLiteral("0"));
            zeros[bad - 1] = QString::number(counts[bad - 1]);
            cells(zeros);
        };
    };
    pressEach(
        cutoff,
        {
            {"empty constant", [&] { box(""); }, kOk, "Error!: Please fill in the constant response cutoff!"},
            {"5 of 5 categories", [&] { constant(3, 5), box("5"); }, kOk,
             "Error!: The response cutoff must be between 0 and 4"},
            {"the fewest of 4, 6, 7",
             [&] {
                 perItem({4, 6, 7}), box("4");
             },
             kNext, "Error!: The response cutoff must be between 0 and 3"},
            {"3.5 is no cutoff",
             [&] {
                 perItem({4, 6, 7}), box("3.5");
             },
             kOk, "Error!: The response cutoff must be between 0 and 3"},
            {"negative", [&] { box("-1"); }, kOk, "Error!: The response cutoff must be between 0 and 1"},
            {"no number", [&] { box("one"); }, kOk, "Error!: The response cutoff must be between 0 and 1"},
            {"neither", [&] { clearChoice(cutoff.OptionConstant->group()); }, kOk,
             "Error!: Please indicate the response cutoff is constant or not!"},
            {"an empty cell before a bad one",
             [&] {
                 perItem({3, 3}), cells({"9", ""});
             },
             kOk, "Error!: Please fill the empty text cells!"},
            {"1st", ordinal(1), kOk, range(1, "st", 2)},
            {"2nd", ordinal(2), kOk, range(2, "nd", 3)},
            {"12th", ordinal(12), kOk, range(12, "th", 2)},
            {"13th", ordinal(13), kNext, range(13, "th", 2)},
            {"22nd", ordinal(22), kOk, range(22, "nd", 2)},
            {"23rd", ordinal(23), kOk, range(23, "rd", 2)},
            {"negative per item",
             [&] {
                 perItem({3, 3}), cells({"0", "-1"});
             },
             kOk, range(2, "nd", 2)},
            {"constant categories",
             [&] {
                 constant(2, 3), cells({"2", "3"});
             },
             kOk, "Error!: Each response cutoff must be between 0 and 2"},
            {"150 items", [&] { constant(150, 3), cells(QStringList(150, "0")); }, kOk, "Error!: " + kTooManyItems},
            {"4.0 is no cutoff", [&] { constant(3, 5), box("4.0"); }, kOk,
             "Error!: The response cutoff must be between 0 and 4"},
            {"per item 3.0 is no cutoff",
             [&] {
                 perItem({3, 4}), cells({"2", "3.0"});
             },
             kOk, range(2, "nd", 3)},
            {"constant stored", [&] { constant(3, 5), box(" +4 "); }, kOk, "",
             [&] {
                 EXPECT_EQ(QStringList({QString::number(job.responseCutoff[0]), cutoff.cutoffText()}),
                           QStringList({"4", "4"}));
             }},
            {"per item stored, Next",
             [&] {
                 perItem({3, 4}), cells({"2", " 03 "});
             },
             kNext, "",
             [&] {
                 EXPECT_FALSE(job.cutoffConstant);
                 EXPECT_EQ(job.responseCutoff[2], 3);
                 EXPECT_EQ(cutoff.values(), (QStringList{"2", "3"}));
                 EXPECT_EQ(modalPages(), QStringList{"FormDeleteItems"});
             }},
        });
}

TEST_F(CutoffPagesTest, CutoffModesListsAndCancel) {
    // Variable needs an item count, and falls back to Constant without one.
    pages.itemDef->setItemsText(QString());
    choose(cutoff.OptionVariable);
    EXPECT_EQ(rec.messageTexts(), QStringList{"Please define number of items first!"});
    EXPECT_TRUE(cutoff.OptionConstant->isChecked());
    EXPECT_TRUE(cutoff.grd->isHidden());

    // Per-item categories: a double-click lists the row's cutoffs, and Enter
    // keeps that list for the next row.
    perItem({4, 2, 6});
    choose(cutoff.OptionVariable);
    EXPECT_TRUE(cutoff.TextCutOff->isHidden());
    EXPECT_EQ(cutoff.Combo1->count(), 0);
    cutoff.grd->setCurrentDataRow(1);
    cutoff.grd->setTextMatrix(1, 1, QStringLiteral("2"));
    cutoff.editor->grd_DblClick();
    EXPECT_EQ(cutoff.Combo1->count(), 4);
    EXPECT_EQ(cutoff.Combo1->currentText(), "2") << "the list keeps the cell's text";
    test::key(cutoff.Combo1, Qt::Key_Return, "\r");
    EXPECT_EQ(cutoff.Combo1->count(), 4);

    // Constant categories list 0 .. n-1 on choosing Variable; neither answer
    // on the item page is reported by the double-click, the editor stays.
    pages.itemDef->setCategoriesConstant(true);
    pages.itemDef->setCategoriesText(QStringLiteral("3"));
    choose(cutoff.OptionVariable);
    EXPECT_EQ(cutoff.Combo1->count(), 3);
    clearChoice(pages.itemDef->OptionConstant->group());
    cutoff.editor->grd_DblClick();
    EXPECT_EQ(rec.messages.back().text, "Please define item first! ");
    EXPECT_TRUE(cutoff.editor->isOpen());

    // Cancel puts the stored cutoffs back and warns when they no longer fit.
    rec.messages.clear();
    perItem({4, 2, 6});
    job.cutoffConstant = false;
    job.responseCutoff[1] = 1, job.responseCutoff[2] = 2, job.responseCutoff[3] = 5;
    box("8");
    cutoff.CommandCancel_Click();
    EXPECT_FALSE(cutoff.editor->isOpen());
    EXPECT_TRUE(cutoff.OptionVariable->isChecked());
    EXPECT_EQ(cutoff.values(), (QStringList{"1", "2", "5"}));
    EXPECT_EQ(rec.messageTexts(), QStringList{WizardPage::kInconsistentCutoffs});
    job.cutoffConstant = true;
    job.responseCutoff[0] = 1;
    cutoff.CommandCancel_Click();
    EXPECT_EQ(cutoff.cutoffText(), "1");
    EXPECT_EQ(cutoff.UpDownCutoff->value(), 1);
    EXPECT_FALSE(cutoff.TextCutOff->isHidden());
    EXPECT_EQ(rec.messages.size(), 1u);
}

}  // namespace
}  // namespace vormgui
