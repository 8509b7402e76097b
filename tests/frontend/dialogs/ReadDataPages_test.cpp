#include "dialogs/ReadDataPages.h"

#include "PageFixture.h"
#include "dialogs/CutoffPages.h"
#include "dialogs/UpDown.h"

namespace vormgui {
namespace {

using test::answer;
using test::kNext;
using test::kOk;

class ReadDataPagesTest : public test::PageTest {
protected:
    FormDataFile& data = *pages.dataFile;
    FormItemDef& items = *pages.itemDef;

    // The two boxes and the recode answer ('y', 'n', '-' for neither).
    std::function<void()> read(const char* file, const char* format, char recode) {
        return [=, this] {
            data.setDataFileText(file);
            data.setFormatText(format);
            answer(data.OptionYes, data.OptionNo, recode);
        };
    }
    // The items box, 'y' Constant, 'n' Variable or '-', and the categories box.
    std::function<void()> define(const char* count, char constant, const char* categories) {
        return [=, this] {
            items.setItemsText(count);
            answer(items.OptionConstant, items.OptionVariable, constant);
            items.setCategoriesText(categories);
        };
    }
};

TEST_F(ReadDataPagesTest, ReadDataChecksInOrderAndStoresThePathFormatAndRecodeAnswer) {
    pressEach(data,
              {
                  {"both boxes empty", read("", "", 'n'), kOk, "Error!: Please indicate the location of data file!"},
                  {"no format", read("/d/x.dat", "", 'y'), kNext, "Error!: Please indicate the fortran format!"},
                  {"no recode answer", read("/d/x.dat", "(i4)", '-'), kOk,
                   "Error!: Please indicate if you want to recode the data!"},
                  {"nothing checks the texts", read("/no/such file", "(nonsense", 'y'), kOk, "",
                   [&] {
                       EXPECT_EQ(job.dataFileName, "/no/such file");
                       EXPECT_EQ(job.fortranFormat, "(nonsense");
                       EXPECT_TRUE(job.recodeData);
                       EXPECT_TRUE(modalPages().isEmpty());
                   }},
                  {"Next leads on", read("a", "(i1)", 'n'), kNext, "",
                   [&] { EXPECT_EQ(modalPages(), QStringList{"FormItemDef"}); }},
              });

    read("/d/x.dat", "(i2)", 'y')();
    data.CommandOK_Click();
    read("/other", "(i9)", 'n')();
    data.CommandCancel_Click();
    EXPECT_EQ(QStringList({data.dataFileText(), data.formatText()}), QStringList({"/d/x.dat", "(i2)"}));
    EXPECT_EQ(data.recode(), true);
    rec.fileAnswers = {QString(), QStringLiteral("/data/EXAMPLE.DAT")};
    data.CommandBrowse_Click();
    EXPECT_EQ(data.dataFileText(), "/d/x.dat") << "a cancelled dialog changes nothing";
    data.CommandBrowse_Click();
    EXPECT_EQ(data.dataFileText(), "/data/EXAMPLE.DAT");
}

TEST_F(ReadDataPagesTest, ItemDefinitionsChecksInOrderStoresAndLeadsOn) {
    const QString between = "Error!: Input Error! The number of categories should be between 2 and 10 ";
    const QString invalid = "Error!: " + kItemsInvalid, tooMany = "Error!: " + kTooManyItems;
    const QString warning = "Warning!: " + WizardPage::kInconsistentCutoffs;
    const auto withCutoff4 = [&](std::function<void()> typed) {
        return [this, typed] {
            job.responseCutoff[0] = 4;
            typed();
        };
    };
    pressEach(
        items,
        {
            {"no items, no categories", define("", 'y', ""), kOk, "Error!: Please define number of items!"},
            {"items not a number", define("x", 'n', ""), kNext, invalid},
            {"no items", define("0", 'y', "3"), kOk, invalid},
            {"beyond 16 bits", define("32768", 'y', "3"), kOk, invalid},
            {"2.5 items", define("2.5", 'y', "10"), kOk, invalid},
            {"2.0 items", define("2.0", 'n', ""), kNext, invalid},
            {"2.0 categories", define("2", 'y', "2.0"), kOk, between},
            {"OK with Variable", define("5", 'n', "4"), kOk,
             "Error!: Please press next button to fill the number of categories!"},
            {"neither", define("5", '-', "4"), kNext,
             "Error!: Please indicate if the number of categories is constant or not!"},
            {"no categories", define("5", 'y', ""), kOk,
             "Error!: Please fill the constant number of categories in the text field!"},
            {"1 category", define("5", 'y', "1"), kOk, between},
            {"11 categories", define("5", 'y', "11"), kNext, between},
            {"categories not a number", define("5", 'y', "many"), kOk, between},
            {"2 items, 10 categories", define("+2", 'y', "010"), kOk, "",
             [&] {
                 EXPECT_EQ(job.numItems, 2);
                 EXPECT_EQ(job.numCategories[0], 10);
                 EXPECT_EQ(items.itemsText(), "2") << "the box shows what was stored";
                 EXPECT_EQ(items.categoriesText(), "10");
             }},
            {"4 items with blanks, Next", define(" 4 ", 'y', " 2"), kNext, "",
             [&] {
                 EXPECT_EQ(job.numItems, 4);
                 EXPECT_EQ(items.categoriesText(), "2");
                 EXPECT_EQ(pages.cutoff->grd->textMatrix(4, 0), "4");
                 EXPECT_EQ(modalPages(), QStringList{"FormCutoff"});
             }},
            {"150 items, all constant", define("150", 'y', "4"), kOk, "", [&] { EXPECT_EQ(job.numItems, 150); }},
            {"150 items, cutoffs per item", [&] { define("150", 'y', "4")(), job.cutoffConstant = false; }, kOk,
             tooMany},
            {"150 items, signs by hand", [&] { define("150", 'y', "4")(), job.manualSigns = true; }, kNext, tooMany},
            {"150 items per item", define("150", 'n', ""), kNext, tooMany},
            {"Variable leads to the categories", define(" 3", 'n', ""), kNext, "",
             [&] {
                 EXPECT_EQ(job.numItems, 2) << "nothing stored yet";
                 EXPECT_EQ(items.itemsText(), "3") << "the count as the job file takes it";
                 EXPECT_EQ(pages.categories->grd->rows(), 4);
                 EXPECT_EQ(modalPages(), QStringList{"FormCategories"});
             }},
            {"a cutoff of 4 with 3 categories", withCutoff4(define("5", 'y', "3")), kOk, warning,
             [&] { EXPECT_EQ(job.numCategories[0], 3); }, true},
            {"the warning replaces the cutoff page", withCutoff4(define("5", 'y', "3")), kNext, warning,
             [&] { EXPECT_TRUE(modalPages().isEmpty()); }, true},
        });
}

TEST_F(ReadDataPagesTest, ItemDefinitionsCancelRestoresFromTheRecordAndResizesTheGrids) {
    job.numItems = 3;
    job.categoriesConstant = false;
    job.numCategories[1] = 4, job.numCategories[2] = 5, job.numCategories[3] = 6;
    define("7", 'y', "9")();
    pages.categories->setValues({"x", "y"});
    items.CommandCancel_Click();
    EXPECT_EQ(items.itemsText(), "3");
    EXPECT_EQ(items.UpDownNumberOfItems->value(), 3);
    EXPECT_EQ(items.categoriesConstant(), false);
    EXPECT_FALSE(items.TextNumberOfCategories->isEnabled());
    EXPECT_EQ(pages.categories->values(), (QStringList{"4", "5", "6"}));
    EXPECT_TRUE(rec.messages.empty());

    job.categoriesConstant = true;
    job.numCategories[0] = 5;
    job.responseCutoff[0] = 7;
    items.CommandCancel_Click();
    EXPECT_EQ(items.categoriesConstant(), true);
    EXPECT_TRUE(items.UpDownNumberOfCategories->isEnabled());
    EXPECT_EQ(items.categoriesText(), "5");
    EXPECT_EQ(items.UpDownNumberOfCategories->value(), 5);
    EXPECT_EQ(rec.messageTexts(), QStringList{WizardPage::kInconsistentCutoffs}) << "Cancel warns as OK does";
}

}  // namespace
}  // namespace vormgui
