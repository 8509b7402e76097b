#include "dialogs/EstimationPages.h"

#include <QLabel>

#include "PageFixture.h"
#include "dialogs/UpDown.h"

namespace vormgui {
namespace {

using test::answer;
using test::kNext;
using test::kOk;

class EstimationPagesTest : public test::PageTest {
protected:
    FormQuadrature& quadrature = *pages.quadrature;
    FormAlgorithm& algorithm = *pages.algorithm;
    FormConstraint& constraint = *pages.constraint;

    std::function<void()> points(const char* text) {
        return [=, this] { quadrature.setPointsText(text); };
    }
    // The five boxes in order; those not given keep the defaults.
    std::function<void()> limits(std::initializer_list<const char*> texts) {
        const std::vector<const char*> given(texts);
        return [=, this] {
            for (std::size_t b = 0; b < given.size(); ++b) algorithm.setText(FormAlgorithm::Box(b), given[b]);
        };
    }
};

TEST_F(EstimationPagesTest, QuadratureTakesOneToFiftyPointsWrittenAsWholeNumbers) {
    const QString range = "Error!: Number of quadrature points must be between 1 and 50";
    const auto stored = [&](int n, const char* shown) {
        return [=, this] {
            EXPECT_EQ(QStringList({QString::number(job.numQuadraturePoints), quadrature.pointsText()}),
                      QStringList({QString::number(n), shown}));
        };
    };
    pressEach(quadrature, {
                              {"empty", points(""), kOk, "Error!: Please fill in the number of quadrature points!"},
                              {"51", points("51"), kOk, range},
                              {"0", points("0"), kNext, range},
                              {"-3", points("-3"), kOk, range},
                              {"a word", points("many"), kOk, range},
                              {"beyond 16 bits", points("40000"), kOk, range},
                              {"0.4", points("0.4"), kOk, range},
                              {"50", points("50"), kOk, "", stored(50, "50")},
                              {"2.5", points("2.5"), kOk, range},
                              {"7.0", points(" 7.0 "), kOk, range},
                              {"an exponent", points("1e1"), kOk, range},
                              {"blanks, a sign and a zero are written back as stored", points(" +07 "), kNext, "",
                               [&] {
                                   stored(7, "7")();
                                   EXPECT_EQ(modalPages(), QStringList{"FormAlgorithm"});
                               }},
                          });
}

TEST_F(EstimationPagesTest, AlgorithmChecksTheFiveBoxesInOrder) {
    const QString numeric = "Error!: All the values must be numeric!";
    const QString whole = "Error!: The numbers of cycles and iterations must be whole numbers up to 32767!";
    const QString criterion = "Error!: The convergence criterion must be greater than 0 and no more than 0.01!";
    pressEach(algorithm,
              {
                  {"outer empty", limits({""}), kOk, "Error!: Please fill in the number of outer cycles!"},
                  {"outer 4", limits({"4"}), kOk, "Error!: The number of outer cycles must be at least 5!"},
                  {"outer 3 before an empty inner", limits({"3", ""}), kNext,
                   "Error!: The number of outer cycles must be at least 5!"},
                  {"inner empty", limits({"5", ""}), kOk, "Error!: Please fill in the number of inner cycles!"},
                  {"inner 0", limits({"5", "0"}), kOk, "Error!: The number of inner cycles must be at least 1!"},
                  {"thresholds empty", limits({"5", "1", ""}), kOk,
                   "Error!: Please fill in the number of iterations for thresholds!"},
                  {"thresholds 0.4", limits({"5", "1", "0.4"}), kOk, whole},
                  {"outer 7.0", limits({"7.0"}), kOk, whole},
                  {"inner an exponent", limits({"5", "1e1"}), kOk, whole},
                  {"items empty", limits({"5", "1", "1", ""}), kOk,
                   "Error!: Please fill in the number of iterations for items!"},
                  {"items -2", limits({"5", "1", "1", "-2"}), kOk,
                   "Error!: Number of Fisher scoring for items must be at least 1!"},
                  {"criterion empty", limits({"5", "1", "1", "1", ""}), kOk,
                   "Error!: Please fill in the converge criterion!"},
                  {"criterion just above", limits({"5", "1", "1", "1", "0.0100001"}), kOk, criterion},
                  {"criterion 0", limits({"5", "1", "1", "1", "0"}), kOk, criterion},
                  {"criterion negative", limits({"5", "1", "1", "1", "-0.001"}), kOk, criterion},
                  {"criterion a word", limits({"5", "1", "1", "1", "small"}), kOk, numeric},
                  {"outer beyond 16 bits", limits({"99999"}), kOk, whole},
                  {"inner a word after a good outer", limits({"6", "ten"}), kOk, numeric},
                  {"criterion 0.01", limits({"5", "1", "1", "1", "0.01"}), kOk, "",
                   [&] { EXPECT_EQ(job.convergenceCriterion, 0.01); }},
                  {"stores and writes back", limits({" +8", " 20000 ", "02", "4", "1e-3"}), kNext, "",
                   [&] {
                       EXPECT_EQ(QList<int>({job.numOuterCycles, job.numInnerCycles, job.numThresholdIterations,
                                             job.numItemIterations}),
                                 QList<int>({8, 20000, 2, 4}));
                       EXPECT_EQ(job.convergenceCriterion, 0.001);
                       EXPECT_EQ(QStringList(
                                     {algorithm.text(FormAlgorithm::Outer), algorithm.text(FormAlgorithm::Criterion)}),
                                 QStringList({"8", "0.001"}));
                       EXPECT_EQ(modalPages(), QStringList{"FormConstraint"});
                   }},
              });
}

TEST_F(EstimationPagesTest, CancelPutsBackTheStoredValuesAndTheConstraintAnswer) {
    job.numQuadraturePoints = 21;
    job.numOuterCycles = 20000;
    job.convergenceCriterion = 0.0005;
    choose(quadrature.OptionEmpirical);
    points("3")(), limits({"6", "6", "6", "6", "0.002"})();
    quadrature.CommandCancel_Click();
    algorithm.CommandCancel_Click();
    EXPECT_EQ(quadrature.pointsText(), "21");
    EXPECT_EQ(quadrature.UpDownNumberOfQuadraturePoints->value(), 21);
    EXPECT_TRUE(quadrature.OptionEmpirical->isChecked()) << "the prior choice is no part of the job";
    EXPECT_EQ(algorithm.text(FormAlgorithm::Outer), "20000");
    EXPECT_EQ(algorithm.UpDownOuterCycles->value(), 10000) << "held at the spin button's end";
    EXPECT_EQ(QStringList({algorithm.text(FormAlgorithm::Items), algorithm.text(FormAlgorithm::Criterion)}),
              QStringList({"30", "0.0005"}));
    form.newJob();
    EXPECT_TRUE(quadrature.OptionEmpirical->isChecked());
    const auto* note = quadrature.findChild<QLabel*>("LabelPriorNote");
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->parentWidget()->objectName(), "FramePrior") << "the page says it beside the choice";
    EXPECT_EQ(note->text(),
              "The engine always uses the standard normal distribution: the other two choices are not "
              "passed to it.");

    // The constraint page has no checks: Yes or neither constrains, No does not.
    for (const auto& [yes, stored] : {std::pair{'y', true}, {'n', false}, {'-', true}}) {
        answer(constraint.OptionYes, constraint.OptionNo, yes);
        constraint.CommandOK_Click();
        EXPECT_EQ(job.useConstraint, stored) << yes;
        constraint.setConstrain(!stored);
        constraint.CommandCancel_Click();
        EXPECT_EQ(constraint.constrain(), stored) << yes;
    }
    EXPECT_TRUE(rec.messages.empty());
}

}  // namespace
}  // namespace vormgui
