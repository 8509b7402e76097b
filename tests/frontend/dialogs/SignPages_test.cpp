#include "dialogs/SignPages.h"

#include <QGroupBox>

#include "PageFixture.h"
#include "dialogs/ReadDataPages.h"

namespace vormgui {
namespace {

using test::answer;
using test::kNext;
using test::kOk;

class SignPagesTest : public test::PageTest {
protected:
    FormInitSigns& initSigns = *pages.initSigns;
    FormManualAssign& manualAssign = *pages.manualAssign;

    // The two answers: 'y', 'n' or '-' for neither.
    std::function<void()> answers(char reverse, char manual) {
        return [=, this] {
            answer(initSigns.OptionYes, initSigns.OptionNo, reverse);
            answer(initSigns.OptionYes2, initSigns.OptionNo2, manual);
        };
    }
    std::function<void()> signs(int items, const QStringList& cells) {
        return [=, this] {
            job.numItems = static_cast<std::int16_t>(items);
            manualAssign.setValues(cells);
        };
    }
};

TEST_F(SignPagesTest, InitialSignsChecksTheAnswersAndLeadsOn) {
    const QString reverseMissing =
        "Error!: Please indicate whether you would reverse signs of initial location estimates or not!";
    const QString manualMissing =
        "Error!: Please indicate whether you would manually assign signs to initial location estimates or not!";
    pressEach(
        initSigns,
        {
            {"no reverse answer", answers('-', 'n'), kOk, reverseMissing},
            {"no reverse answer, Next", answers('-', 'y'), kNext, reverseMissing},
            {"no manual answer", answers('n', '-'), kNext, manualMissing},
            {"OK never takes a manual Yes", answers('n', 'y'), kOk,
             "Error!: Please press next button to assign the signs to initial location estimates!"},
            {"150 items by hand", [&] { answers('n', 'y')(), job.numItems = 150; }, kNext, "Error!: " + kTooManyItems},
            {"reverse shows the stored manual answer", [&] { job.manualSigns = true, answers('y', 'n')(); }, kOk, "",
             [&] {
                 EXPECT_TRUE(job.reverseSigns);
                 EXPECT_TRUE(job.manualSigns);
                 EXPECT_EQ(initSigns.manual(), true);
                 EXPECT_FALSE(initSigns.OptionYes2->isEnabled());
             }},
            {"reverse, Next", answers('y', 'n'), kNext, "",
             [&] { EXPECT_EQ(modalPages(), QStringList{"FormQuadrature"}); }},
            {"neither reversed nor by hand", [&] { job.reverseSigns = job.manualSigns = true, answers('n', 'n')(); },
             kNext, "",
             [&] {
                 EXPECT_FALSE(job.reverseSigns || job.manualSigns);
                 EXPECT_EQ(modalPages(), QStringList{"FormQuadrature"});
             }},
            {"by hand: a row per item, chosen signs kept",
             [&] {
                 answers('n', 'y')(), signs(5, {"+", "-", "+"})();
             },
             kNext, "",
             [&] {
                 EXPECT_EQ(manualAssign.values(), (QStringList{"+", "-", "+", "", ""}));
                 EXPECT_FALSE(job.manualSigns) << "committed by the sign page";
                 EXPECT_EQ(modalPages(), QStringList{"FormManualAssign"});
             }},
        });
}

TEST_F(SignPagesTest, SignAssignmentTakesExactlyOnePlusOrMinusPerItem) {
    const QString bad = "Error!: Input Error! Each sign must be '+' or '-'";
    pressEach(manualAssign,
              {
                  {"an empty fourth", signs(4, {"+", "-", "+", ""}), kOk, bad},
                  {"a blank before the sign", signs(2, {"+", " -"}), kOk, bad},
                  {"a letter", signs(2, {"p", "-"}), kNext, bad},
                  {"two characters", signs(2, {"++", "-"}), kOk, bad},
                  {"an item without a row", signs(3, {"+", "-"}), kOk, bad},
                  {"stores", signs(4, {"+", "-", "+", "-"}), kOk, "",
                   [&] {
                       EXPECT_FALSE(job.reverseSigns);
                       EXPECT_TRUE(job.manualSigns);
                       const auto& s = job.initialSigns;
                       EXPECT_EQ(QList<bool>({s[1], s[2], s[3], s[4]}), QList<bool>({true, false, true, false}));
                   }},
                  {"Next leads to quadrature", signs(1, {"-"}), kNext, "",
                   [&] { EXPECT_EQ(modalPages(), QStringList{"FormQuadrature"}); }},
              });
}

TEST_F(SignPagesTest, ReversingGreysOutTheManualQuestionAndCancelBringsBackTheCommittedSigns) {
    const QList<QWidget*> manualQuestion{initSigns.FrameManualAssign, initSigns.LabelYes2, initSigns.OptionYes2,
                                         initSigns.LabelNo2, initSigns.OptionNo2};
    choose(initSigns.OptionYes);
    for (QWidget* w : manualQuestion) EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    choose(initSigns.OptionNo);
    for (QWidget* w : manualQuestion) EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();

    // A committed assignment for 3 items, then edits on both pages.
    signs(3, {"-", "+", "-"})();
    manualAssign.CommandOK_Click();
    manualAssign.setValues({"+", "+", ""});
    answers('y', 'n')();
    manualAssign.CommandCancel_Click();
    EXPECT_EQ(manualAssign.values(), (QStringList{"-", "+", "-"}));
    EXPECT_EQ(initSigns.reverse(), false);
    EXPECT_EQ(initSigns.manual(), true);
    EXPECT_TRUE(initSigns.OptionYes2->isEnabled());
    answers('y', 'n')();
    initSigns.CommandCancel_Click();
    EXPECT_EQ(initSigns.reverse(), false);
    EXPECT_EQ(initSigns.manual(), true);

    // A new job shows no signs by hand and leaves the stored list alone.
    form.newJob();
    EXPECT_EQ(manualAssign.values(), (QStringList{"", ""}));
    EXPECT_EQ(initSigns.manual(), false);
    EXPECT_TRUE(job.initialSigns[2]);
}

}  // namespace
}  // namespace vormgui
