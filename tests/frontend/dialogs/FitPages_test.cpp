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

    std::function<void()> groups(char want, const char* count) {
        return [=, this] {
            answer(fitGroups.OptionYes, fitGroups.OptionNo, want);
            fitGroups.setGroupsText(QString::fromLatin1(count));
        };
    }
    std::function<void()> itemCutoffs(const char* t, const char* chiSquare) {
        return [=, this] {
            itemFit.setTCutoffText(QString::fromLatin1(t));
            itemFit.setChiSquareCutoffText(QString::fromLatin1(chiSquare));
        };
    }
    std::function<void()> personCutoffs(char print, const char* t, const char* localized, const char* chiSquare) {
        return [=, this] {
            answer(personFit.OptionYes, personFit.OptionNo, print);
            personFit.setTCutoffText(QString::fromLatin1(t));
            personFit.setLocalizedCutoffText(QString::fromLatin1(localized));
            personFit.setChiSquareCutoffText(QString::fromLatin1(chiSquare));
        };
    }
    std::function<void()> plotRequest(char want, const char* groups, const char* pairs) {
        return [=, this] {
            answer(plots.OptionYes, plots.OptionNo, want);
            plots.setPlotGroupsText(QString::fromLatin1(groups));
            plots.setThetaDeltaGroupsText(QString::fromLatin1(pairs));
        };
    }
};

TEST_F(FitPagesTest, FitGroupsTakesTwoToTwentyGroupsWhenWanted) {
    const QString range = QStringLiteral("Error!: The number of fit groups must be between 2 and 20");
    pressEach(fitGroups, {
                             {"neither", groups('-', "5"), kOk,
                              "Error!: Please indicate whether you want to fit statistics or not!"},
                             {"empty", groups('y', ""), kNext, "Error!: Please fill the number of fit groups!"},
                             {"1", groups('y', "1"), kOk, range},
                             {"21", groups('y', "21"), kNext, range},
                             {"a word", groups('y', "few"), kOk, range},
                             {"2", groups('y', "2"), kOk, "", [&] { EXPECT_EQ(job.numFitGroups, 2); }},
                             {"20", groups('y', "20.0"), kOk, "",
                              [&] {
                                  EXPECT_TRUE(job.wantFitStatistics);
                                  EXPECT_EQ(job.numFitGroups, 20);
                                  EXPECT_EQ(fitGroups.groupsText(), "20");
                              }},
                             {"No ignores an invalid box and still leads on",
                              [&] {
                                  job.wantFitStatistics = true;
                                  job.numFitGroups = 7;
                                  groups('n', "abc")();
                              },
                              kNext, "",
                              [&] {
                                  EXPECT_FALSE(job.wantFitStatistics);
                                  EXPECT_EQ(job.numFitGroups, 7);
                                  EXPECT_EQ(fitGroups.groupsText(), "abc");
                                  EXPECT_EQ(modalPages(), QStringList{"FormItemFit"});
                              }},
                         });
}

TEST_F(FitPagesTest, ItemFitNeedsTwoNumbersOfAnyValue) {
    pressEach(itemFit, {
                           {"both empty", itemCutoffs("", ""), kOk,
                            "Error!: Please fill item t-value cut-off in the text field!"},
                           {"chi-square empty, OK", itemCutoffs("2", ""), kOk,
                            "Error!: Please fill item Qui-Square probability cut-off in the text field!"},
                           {"chi-square empty, Next", itemCutoffs("2", ""), kNext,
                            "Error!: Please fill item Chi-Square probability cut-off in the text field!"},
                           {"not a number", itemCutoffs("2", "0,05"), kOk,
                            "Error!: The item chi-square probability cut-off must be a number!"},
                           {"out of the usual range", itemCutoffs("-3", "5"), kNext, "",
                            [&] {
                                EXPECT_EQ(job.itemTCutoff, -3.0);
                                EXPECT_EQ(job.itemChiSquareCutoff, 5.0);
                                EXPECT_EQ(modalPages(), QStringList{"FormPersonFit"});
                            }},
                       });
}

TEST_F(FitPagesTest, PersonFitChecksTheAnswerThenTheBoxesTopToBottom) {
    pressEach(personFit, {
                             {"neither", personCutoffs('-', "", "", ""), kOk,
                              "Error!: Please indicate whether you want to print fit for each respondent or not!"},
                             {"all empty", personCutoffs('n', "", "", ""), kOk,
                              "Error!: Please fill person t-value cut-off in the text field!"},
                             {"localized empty", personCutoffs('n', "3", "", ""), kOk,
                              "Error!: Please fill localized persoin t-value cut-off in the text field!"},
                             {"chi-square empty", personCutoffs('y', "3", "2", ""), kOk,
                              "Error!: Please fill persoon Chi-Square probability cut-off in the text field!"},
                             {"a word", personCutoffs('y', "three", "2", "0.1"), kOk,
                              "Error!: The person t-value cut-off must be a number!"},
                             {"stores", personCutoffs('y', "3.5", "2.25", " 0.0010 "), kOk, "",
                              [&] {
                                  EXPECT_TRUE(job.printPersonFit);
                                  EXPECT_EQ(job.personTCutoff, 3.5);
                                  EXPECT_EQ(job.localizedPersonTCutoff, 2.25);
                                  EXPECT_EQ(job.personChiSquareCutoff, 0.001);
                                  EXPECT_EQ(personFit.chiSquareCutoffText(), "0.001");
                              }},
                         });
}

TEST_F(FitPagesTest, PlotRequestsChecksBothCountsAndKeepsThePairsOnlyInTheBox) {
    const QString groupsRange = QStringLiteral("Error!: The number of fit plot groups must be between 2 and 20");
    const QString pairsRange =
        QStringLiteral("Error!: The number of theta-delta pair groups must be between 2 and 2000");
    pressEach(
        plots,
        {
            {"neither", plotRequest('-', "2", "2"), kOk, "Error!: Please indicate whether you want to plot or not!"},
            {"groups empty", plotRequest('y', "", ""), kOk, ": Please fill the number of plot groups!"},
            {"groups 1", plotRequest('y', "1", ""), kOk, groupsRange},
            {"groups a word", plotRequest('y', "some", "5"), kOk, groupsRange},
            {"pairs empty", plotRequest('y', "20", ""), kOk, ": Please fill the number of theta-delta pair groups!"},
            {"pairs 2001", plotRequest('y', "2", "2001"), kOk, pairsRange},
            {"pairs 2000.4", plotRequest('y', "2", "2000.4"), kOk, pairsRange},
            {"pairs beyond 16 bits", plotRequest('y', "2", "40000"), kOk, pairsRange},
            {"pairs 1.4", plotRequest('y', "2", "1.4"), kOk, pairsRange},
            {"pairs 2000", plotRequest('y', "20", "2000"), kOk, "",
             [&] {
                 EXPECT_TRUE(job.wantPlots);
                 EXPECT_EQ(job.numPlotGroups, 20);
                 EXPECT_EQ(job.numThetaDeltaGroups, 2) << "no page stores the pairs";
             }},
            {"pairs 1.5 rounds to 2", plotRequest('y', "3", "1.5"), kOk, "",
             [&] { EXPECT_EQ(plots.thetaDeltaGroupsText(), "2"); }},
            {"No checks nothing",
             [&] {
                 job.numPlotGroups = 9;
                 plotRequest('n', "x", "")();
             },
             kOk, "",
             [&] {
                 EXPECT_FALSE(job.wantPlots);
                 EXPECT_EQ(job.numPlotGroups, 9);
                 EXPECT_FALSE(plots.TextPlotGroupNumber->isEnabled());
                 EXPECT_FALSE(plots.UpDownThetaDeltaPairGroupNumber->isEnabled());
             }},
        });
}

TEST_F(FitPagesTest, CancelPutsBackTheStoredAnswersButNotThePairs) {
    job.wantFitStatistics = true;
    job.numFitGroups = 12;
    job.itemChiSquareCutoff = 0.05;
    job.printPersonFit = true;
    job.localizedPersonTCutoff = 1.5;
    job.wantPlots = true;
    job.numPlotGroups = 4;
    groups('n', "3")();
    itemCutoffs("1", "1")();
    personCutoffs('n', "1", "1", "1")();
    plotRequest('n', "5", "77")();
    for (WizardPage* page : std::initializer_list<WizardPage*>{&fitGroups, &itemFit, &personFit, &plots})
        page->CommandCancel_Click();
    EXPECT_EQ(fitGroups.wanted(), true);
    EXPECT_TRUE(fitGroups.TextNumberOfFitGroups->isEnabled());
    EXPECT_EQ(fitGroups.groupsText(), "12");
    EXPECT_EQ(fitGroups.UpDownNumberOfFitGroups->value(), 12);
    EXPECT_EQ(itemFit.chiSquareCutoffText(), "0.05");
    EXPECT_EQ(itemFit.tCutoffText(), "2.576");
    EXPECT_EQ(personFit.printAll(), true);
    EXPECT_EQ(personFit.localizedCutoffText(), "1.5");
    EXPECT_EQ(plots.wanted(), true);
    EXPECT_EQ(plots.plotGroupsText(), "4");
    EXPECT_EQ(plots.UpDownPlotGroupNumber->value(), 4);
    EXPECT_EQ(plots.thetaDeltaGroupsText(), "77");
}

}  // namespace
}  // namespace vormgui
