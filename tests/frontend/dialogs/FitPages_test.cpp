#include "dialogs/FitPages.h"

#include "PageFixture.h"
#include "dialogs/UpDown.h"

namespace vormgui {
namespace {

using test::answer;
using test::kNext;
using test::kOk;

class FitPagesTest : public test::PageTest {
protected:
    FormFitGroups& fitGroups = *pages.fitGroups;
    FormItemFit& itemFit = *pages.itemFit;
    FormPersonFit& personFit = *pages.personFit;
    FormPlotGroups& plots = *pages.plotGroups;

    // Each page's answer ('y', 'n', '-' for neither) and boxes, top to bottom.
    std::function<void()> groups(char want, const char* count) {
        return [=, this] { answer(fitGroups.OptionYes, fitGroups.OptionNo, want), fitGroups.setGroupsText(count); };
    }
    std::function<void()> item(const char* t, const char* chiSquare) {
        return [=, this] { itemFit.setTCutoffText(t), itemFit.setChiSquareCutoffText(chiSquare); };
    }
    std::function<void()> person(char print, const char* t, const char* localized, const char* chiSquare) {
        return [=, this] {
            answer(personFit.OptionYes, personFit.OptionNo, print);
            personFit.setTCutoffText(t), personFit.setLocalizedCutoffText(localized);
            personFit.setChiSquareCutoffText(chiSquare);
        };
    }
    std::function<void()> plot(char want, const char* groups, const char* pairs) {
        return [=, this] {
            answer(plots.OptionYes, plots.OptionNo, want);
            plots.setPlotGroupsText(groups), plots.setThetaDeltaGroupsText(pairs);
        };
    }
};

TEST_F(FitPagesTest, FitGroupsTakesTwoToTwentyGroupsWhenWanted) {
    const QString range = "Error!: The number of fit groups must be between 2 and 20";
    const auto stored = [&](int n) { return [=, this] { EXPECT_EQ(job.numFitGroups, n); }; };
    pressEach(
        fitGroups,
        {
            {"neither", groups('-', "5"), kOk, "Error!: Please indicate whether you want to fit statistics or not!"},
            {"empty", groups('y', ""), kNext, "Error!: Please fill the number of fit groups!"},
            {"1", groups('y', "1"), kOk, range},
            {"21", groups('y', "21"), kNext, range},
            {"a word", groups('y', "few"), kOk, range},
            {"2", groups('y', "2"), kOk, "", stored(2)},
            {"20.0", groups('y', "20.0"), kOk, range},
            {"20", groups('y', " +20 "), kOk, "", [&] { EXPECT_EQ(fitGroups.groupsText(), "20"); }},
            {"No ignores an invalid box and leads on", [&] { job.numFitGroups = 7, groups('n', "abc")(); }, kNext, "",
             [&] {
                 stored(7)();
                 EXPECT_FALSE(job.wantFitStatistics);
                 EXPECT_EQ(modalPages(), QStringList{"FormItemFit"});
             }},
        });
}

TEST_F(FitPagesTest, ItemAndPersonFitNeedEveryBoxFilledWithANumberOfAnyValue) {
    pressEach(itemFit,
              {
                  {"both empty", item("", ""), kOk, "Error!: Please fill item t-value cut-off in the text field!"},
                  {"chi-square empty, OK", item("2", ""), kOk,
                   "Error!: Please fill item Qui-Square probability cut-off in the text field!"},
                  {"chi-square empty, Next", item("2", ""), kNext,
                   "Error!: Please fill item Chi-Square probability cut-off in the text field!"},
                  {"not a number", item("2", "0,05"), kOk,
                   "Error!: The item chi-square probability cut-off must be a number!"},
                  {"any value", item("-3", "5"), kNext, "",
                   [&] {
                       EXPECT_EQ(job.itemTCutoff, -3.0);
                       EXPECT_EQ(job.itemChiSquareCutoff, 5.0);
                       EXPECT_EQ(modalPages(), QStringList{"FormPersonFit"});
                   }},
              });
    pressEach(
        personFit,
        {
            {"neither", person('-', "", "", ""), kOk,
             "Error!: Please indicate whether you want to print fit for each respondent or not!"},
            {"all empty", person('n', "", "", ""), kOk,
             "Error!: Please fill person t-value cut-off in the text field!"},
            {"localized empty", person('n', "3", "", ""), kOk,
             "Error!: Please fill localized persoin t-value cut-off in the text field!"},
            {"chi-square empty", person('y', "3", "2", ""), kOk,
             "Error!: Please fill persoon Chi-Square probability cut-off in the text field!"},
            {"a word", person('y', "three", "2", "0.1"), kOk, "Error!: The person t-value cut-off must be a number!"},
            {"stores", person('y', "3.5", "2.25", " 0.0010 "), kOk, "",
             [&] {
                 EXPECT_TRUE(job.printPersonFit);
                 EXPECT_EQ(QList<double>({job.personTCutoff, job.localizedPersonTCutoff, job.personChiSquareCutoff}),
                           QList<double>({3.5, 2.25, 0.001}));
                 EXPECT_EQ(personFit.chiSquareCutoffText(), "0.001");
             }},
        });
}

TEST_F(FitPagesTest, PlotRequestsChecksBothCountsAndKeepsThePairsOnlyInTheBox) {
    const QString groupsRange = "Error!: The number of fit plot groups must be between 2 and 20";
    const QString pairsRange = "Error!: The number of theta-delta pair groups must be between 2 and 2000";
    pressEach(plots,
              {
                  {"neither", plot('-', "2", "2"), kOk, "Error!: Please indicate whether you want to plot or not!"},
                  {"groups empty", plot('y', "", ""), kOk, ": Please fill the number of plot groups!"},
                  {"groups 1", plot('y', "1", ""), kOk, groupsRange},
                  {"groups a word", plot('y', "some", "5"), kOk, groupsRange},
                  {"pairs empty", plot('y', "20", ""), kOk, ": Please fill the number of theta-delta pair groups!"},
                  {"pairs 2001", plot('y', "2", "2001"), kOk, pairsRange},
                  {"pairs 2000.4", plot('y', "2", "2000.4"), kOk, pairsRange},
                  {"pairs beyond 16 bits", plot('y', "2", "40000"), kOk, pairsRange},
                  {"pairs 1.4", plot('y', "2", "1.4"), kOk, pairsRange},
                  {"pairs 2000", plot('y', "20", "2000"), kOk, "",
                   [&] {
                       EXPECT_TRUE(job.wantPlots);
                       EXPECT_EQ(job.numPlotGroups, 20);
                       EXPECT_EQ(job.numThetaDeltaGroups, 2) << "no page stores the pairs";
                   }},
                  {"pairs 1.5", plot('y', "3", "1.5"), kOk, pairsRange},
                  {"pairs 2.0", plot('y', "3", "2.0"), kOk, pairsRange},
                  {"pairs written back as counts", plot('y', " 03", " +2 "), kOk, "",
                   [&] {
                       EXPECT_EQ(plots.plotGroupsText(), "3");
                       EXPECT_EQ(plots.thetaDeltaGroupsText(), "2");
                   }},
                  {"No checks nothing", [&] { job.numPlotGroups = 9, plot('n', "x", "")(); }, kOk, "",
                   [&] {
                       EXPECT_EQ(job.numPlotGroups, 9);
                       EXPECT_FALSE(plots.UpDownThetaDeltaPairGroupNumber->isEnabled());
                   }},
              });
}

TEST_F(FitPagesTest, CancelPutsBackTheStoredAnswersButNotThePairs) {
    job.wantFitStatistics = job.printPersonFit = job.wantPlots = true;
    job.numFitGroups = 12;
    job.itemChiSquareCutoff = 0.05;
    job.localizedPersonTCutoff = 1.5;
    job.numPlotGroups = 4;
    groups('n', "3")(), item("1", "1")(), person('n', "1", "1", "1")(), plot('n', "5", "77")();
    for (WizardPage* page : std::initializer_list<WizardPage*>{&fitGroups, &itemFit, &personFit, &plots})
        page->CommandCancel_Click();
    EXPECT_EQ(fitGroups.wanted(), true);
    EXPECT_TRUE(fitGroups.TextNumberOfFitGroups->isEnabled());
    EXPECT_EQ(fitGroups.groupsText(), "12");
    EXPECT_EQ(fitGroups.UpDownNumberOfFitGroups->value(), 12);
    EXPECT_EQ(QStringList({itemFit.tCutoffText(), itemFit.chiSquareCutoffText()}), QStringList({"2.576", "0.05"}));
    EXPECT_EQ(personFit.printAll(), true);
    EXPECT_EQ(personFit.localizedCutoffText(), "1.5");
    EXPECT_EQ(plots.wanted(), true);
    EXPECT_EQ(plots.plotGroupsText(), "4");
    EXPECT_EQ(plots.UpDownPlotGroupNumber->value(), 4);
    EXPECT_EQ(plots.thetaDeltaGroupsText(), "77");
}

}  // namespace
}  // namespace vormgui
