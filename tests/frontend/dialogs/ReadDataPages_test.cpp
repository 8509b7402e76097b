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

    void fillData(const char* file, const char* format, std::optional<bool> recode) {
        data.TextDataFile->setText(QString::fromLatin1(file));
        data.TextFortranFormat->setText(QString::fromLatin1(format));
        if (recode)
            data.setRecode(*recode);
        else
            clearChoice(data.OptionYes->group());
    }

    // The items box, the answer ('c' Constant, 'v' Variable, '-' neither) and
    // the categories box.
    void define(const char* count, char answer, const char* categories) {
        items.TextNumberOfItems->setText(QString::fromLatin1(count));
        if (answer == '-')
            clearChoice(items.OptionConstant->group());
        else
            items.setCategoriesConstant(answer == 'c');
        items.TextNumberOfCategories->setText(QString::fromLatin1(categories));
    }
};

TEST_F(ReadDataPagesTest, ReadDataChecksInOrderAndStoresThePathFormatAndRecodeAnswer) {
    pressEach(data, {
                        {"both boxes empty", [&] { fillData("", "", false); }, kOk,
                         "Error!: Please indicate the location of data file!"},
                        {"no format", [&] { fillData("/d/x.dat", "", true); }, kNext,
                         "Error!: Please indicate the fortran format!"},
                        {"no recode answer", [&] { fillData("/d/x.dat", "(i4,1x,25i1)", std::nullopt); }, kOk,
                         "Error!: Please indicate if you want to recode the data!"},
                        {"OK stores", [&] { fillData("/no/such file.dat", "(nonsense", true); }, kOk, "",
                         [&] {
                             EXPECT_EQ(job.dataFileName, "/no/such file.dat");
                             EXPECT_EQ(job.fortranFormat, "(nonsense");
                             EXPECT_TRUE(job.recodeData);
                             EXPECT_TRUE(modalPages().isEmpty());
                         }},
                        {"Next stores and leads on", [&] { fillData("a", "(i1)", false); }, kNext, "",
                         [&] {
                             EXPECT_EQ(job.dataFileName, "a");
                             EXPECT_EQ(modalPages(), QStringList{"FormItemDef"});
                         }},
                    });
}

TEST_F(ReadDataPagesTest, ReadDataCancelAndBrowse) {
    fillData("/d/x.dat", "(i2)", true);
    data.CommandOK_Click();
    fillData("/other", "(i9)", false);
    data.CommandCancel_Click();
    EXPECT_EQ(data.dataFileText(), "/d/x.dat");
    EXPECT_EQ(data.formatText(), "(i2)");
    EXPECT_EQ(data.recode(), true);

    rec.fileAnswers = {QString(), QStringLiteral("/data/EXAMPLE.DAT")};
    data.CommandBrowse_Click();
    EXPECT_EQ(data.dataFileText(), "/d/x.dat") << "a cancelled dialog changes nothing";
    data.CommandBrowse_Click();
    EXPECT_EQ(data.dataFileText(), "/data/EXAMPLE.DAT");
    EXPECT_EQ(data.CommonDialogOpenFile.filter, "All Files (*)");
}

TEST_F(ReadDataPagesTest, ItemDefinitionsChecksInOrderStoresAndLeadsOn) {
    const QString inconsistent = QStringLiteral(
        "Warning!: The response cutoff for some item is inconsistent with the number of response categories for "
        "that item!!");
    const QString between = QStringLiteral("Error!: Input Error! The number of categories should be between 2 and 10 ");
    const QString tooMany = QStringLiteral("Error!: ") + kTooManyItems;
    pressEach(items, {
                         {"no items, no categories", [&] { define("", 'c', ""); }, kOk,
                          "Error!: Please define number of items!"},
                         {"items not a number", [&] { define("x", 'v', ""); }, kNext, "Error!: " + kItemsInvalid},
                         {"no items", [&] { define("0", 'c', "3"); }, kOk, "Error!: " + kItemsInvalid},
                         {"beyond 16 bits", [&] { define("32767.5", 'c', "3"); }, kOk, "Error!: " + kItemsInvalid},
                         {"OK with Variable", [&] { define("5", 'v', "4"); }, kOk,
                          "Error!: Please press next button to fill the number of categories!"},
                         {"neither answer", [&] { define("5", '-', "4"); }, kNext,
                          "Error!: Please indicate if the number of categories is constant or not!"},
                         {"no categories", [&] { define("5", 'c', ""); }, kOk,
                          "Error!: Please fill the constant number of categories in the text field!"},
                         {"1 category", [&] { define("5", 'c', "1"); }, kOk, between},
                         {"11 categories", [&] { define("5", 'c', "11"); }, kNext, between},
                         {"categories not a number", [&] { define("5", 'c', "many"); }, kOk, between},
                         {"2.5 items, 10 categories", [&] { define("2.5", 'c', "10"); }, kOk, "",
                          [&] {
                              EXPECT_EQ(job.numItems, 2);
                              EXPECT_EQ(job.numCategories[0], 10);
                              EXPECT_EQ(items.itemsText(), "2") << "the box shows what was stored";
                          }},
                         {"3.5 items, 2 categories, Next", [&] { define(" 3.5 ", 'c', "2.0"); }, kNext, "",
                          [&] {
                              EXPECT_EQ(job.numItems, 4);
                              EXPECT_EQ(items.categoriesText(), "2");
                              EXPECT_EQ(pages.cutoff->grd->rows(), 5);
                              EXPECT_EQ(pages.cutoff->grd->textMatrix(4, 0), "4");
                              EXPECT_EQ(modalPages(), QStringList{"FormCutoff"});
                          }},
                         {"150 items, all constant", [&] { define("150", 'c', "4"); }, kOk, "",
                          [&] { EXPECT_EQ(job.numItems, 150); }},
                         {"150 items, cutoffs per item",
                          [&] {
                              define("150", 'c', "4");
                              job.cutoffConstant = false;
                          },
                          kOk, tooMany},
                         {"150 items, signs by hand",
                          [&] {
                              define("150", 'c', "4");
                              job.manualSigns = true;
                          },
                          kNext, tooMany},
                         {"150 items per item", [&] { define("150", 'v', ""); }, kNext, tooMany},
                         {"Variable leads to the categories", [&] { define("3", 'v', ""); }, kNext, "",
                          [&] {
                              EXPECT_TRUE(job.categoriesConstant) << "nothing stored yet";
                              EXPECT_EQ(job.numItems, 2);
                              EXPECT_EQ(pages.categories->grd->rows(), 4);
                              EXPECT_EQ(modalPages(), QStringList{"FormCategories"});
                          }},
                         {"cutoff 4 no longer fits 3 categories (OK)",
                          [&] {
                              job.responseCutoff[0] = 4;
                              define("5", 'c', "3");
                          },
                          kOk, inconsistent, [&] { EXPECT_EQ(job.numCategories[0], 3); }, true},
                         {"the warning replaces the cutoff page",
                          [&] {
                              job.responseCutoff[0] = 4;
                              define("5", 'c', "3");
                          },
                          kNext, inconsistent, [&] { EXPECT_TRUE(modalPages().isEmpty()); }, true},
                     });
}

TEST_F(ReadDataPagesTest, ItemDefinitionsCancelRestoresFromTheRecordAndResizesTheGrids) {
    // Per-item categories for 3 items, committed.
    job.numItems = 3;
    job.categoriesConstant = false;
    job.numCategories[1] = 4, job.numCategories[2] = 5, job.numCategories[3] = 6;
    define("7", 'c', "9");
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
    job.cutoffConstant = true;
    job.responseCutoff[0] = 7;
    items.CommandCancel_Click();
    EXPECT_EQ(items.categoriesConstant(), true);
    EXPECT_TRUE(items.TextNumberOfCategories->isEnabled());
    EXPECT_EQ(items.categoriesText(), "5");
    EXPECT_EQ(items.UpDownNumberOfCategories->value(), 5);
    EXPECT_EQ(rec.messageTexts(), QStringList{WizardPage::kInconsistentCutoffs}) << "Cancel warns as OK does";
}

}  // namespace
}  // namespace vormgui
