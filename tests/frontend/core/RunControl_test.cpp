#include "core/RunControl.h"

#include <gtest/gtest.h>

#include <cmath>

#include "JobTestSupport.h"
#include "gui_test_support.h"

namespace vormgui {
namespace {

using test::readFile;
using test::treeOf;
using test::writeFile;

// The next double above `bound`, in as many digits as tell it apart.
QString justPast(double bound) { return QString::number(std::nextafter(bound, 1.0), 'g', 17); }

// A job that can run, changed by each case; the first refusal in Run's order
// must come out, word for word.
TEST(RunChecks, TheFirstRefusalInOrderNamesTheValueAndItsPage) {
    const struct {
        std::function<void(JobSettings&, JobControls&)> change;
        const char* refusal;  // null: the job runs
    } cases[] = {
        {[](JobSettings&, JobControls&) {}, nullptr},
        {[](JobSettings& j, JobControls& c) { j.modelNumber = 0, j.dataFileName.clear(), c.quadraturePoints = "0"; },
         "Please indicate the model!"},
        {[](JobSettings& j, JobControls&) { j.dataFileName.clear(), j.fortranFormat.clear(); },
         "Please indicate the data file path!"},
        {[](JobSettings& j, JobControls&) { j.fortranFormat.clear(); }, "Please fill in the fortran format!"},
        {[](JobSettings& j, JobControls& c) { j.modelNumber = 3, c.checkedModel = 3, c.categoriesConstant = false; },
         "Variable categories cannot be selected with models 1, 3, 5, or 7."},
        {[](JobSettings&, JobControls& c) {
             c.categoriesConstant = false, c.categoryCells = {"3", "10"};
         },
         nullptr},
        {[](JobSettings&, JobControls& c) { c.quadraturePoints = "30.0"; },
         "The number of quadrature points on the Quadrature page must be a whole number from 1 to 50."},
        {[](JobSettings&, JobControls& c) { c.numberOfItems = "101"; },
         "The number of items on the Item Definitions page must be a whole number from 1 to 100."},
        {[](JobSettings&, JobControls& c) { c.numberOfCategories = "11"; },
         "The number of response categories on the Item Definitions page must be a whole number from 2 to 10."},
        {[](JobSettings&, JobControls& c) {
             c.categoriesConstant = false, c.categoryCells = {"3", ""};
         },
         "The number of response categories of item 2 on the Response Category Definitions page must be a whole "
         "number from 2 to 10."},
        {[](JobSettings&, JobControls& c) { c.cutoff = "3"; },
         "The response cutoff on the Response Cutoffs page must be a whole number from 0 to 2."},
        {[](JobSettings&, JobControls& c) {
             c.categoriesConstant = c.cutoffConstant = false;
             c.categoryCells = {"5", "2"}, c.cutoffCells = {"4", "2"};
         },
         "The response cutoff of item 2 on the Response Cutoffs page must be a whole number from 0 to 1."},
        {[](JobSettings&, JobControls& c) { c.discardItems = true, c.itemsToDiscard = "0"; },
         "The number of items to discard on the Delete Items page must be a whole number from 1 to 100."},
        {[](JobSettings&, JobControls& c) { c.discardItems = true, c.itemCells = {"3.0"}; },
         "The item number in row 1 on the Choose Items to Delete page must be a whole number from 1 to 2."},
        {[](JobSettings&, JobControls& c) {
             c.numberOfItems = "10", c.discardItems = true, c.itemsToDiscard = "2", c.itemCells = {"4", "15"};
         },
         "The item number in row 2 on the Choose Items to Delete page must be a whole number from 1 to 10."},
        {[](JobSettings&, JobControls& c) {
             c.numberOfItems = " 10", c.discardItems = true, c.itemsToDiscard = "+2 ", c.itemCells = {"4", "10"};
         },
         nullptr},
        {[](JobSettings&, JobControls& c) {
             c.discardSubjects = true, c.subjectsToDiscard = "2", c.subjectCells = {"7"};
         },
         "The respondent identifier in row 2 on the Choose Respondents to Delete page must be a whole number from "
         "-9223372036854775808 to 9223372036854775807."},
        {[](JobSettings&, JobControls& c) {
             c.discardSubjects = true, c.subjectsToDiscard = "3";
             c.subjectCells = {"2400901", "-9223372036854775808", "9223372036854775807"};
         },
         nullptr},
        {[](JobSettings&, JobControls& c) {
             c.discardSubjects = true, c.subjectsToDiscard = "2", c.subjectCells = {"40001", "9223372036854775808"};
         },
         "The respondent identifier in row 2 on the Choose Respondents to Delete page must be a whole number from "
         "-9223372036854775808 to 9223372036854775807."},
        {[](JobSettings&, JobControls& c) { c.outerCycles = "4"; },
         "The number of outer cycles on the Algorithm page must be a whole number from 5 to 32767."},
        {[](JobSettings&, JobControls& c) { c.thresholdIterations.clear(); },
         "The number of Fisher scoring iterations for thresholds on the Algorithm page must be a whole number from 1 "
         "to 32767."},
        {[](JobSettings&, JobControls& c) { c.criterion = "0,001"; },
         "The convergence criterion on the Algorithm page must be a number of at most 0.01."},
        {[](JobSettings&, JobControls& c) { c.criterion = "-1"; }, nullptr},
        // The bounds themselves go to the engine, which takes them; the
        // next number past each does not.
        {[](JobSettings&, JobControls& c) { c.criterion = "0.01"; }, nullptr},
        {[](JobSettings&, JobControls& c) { c.criterion = justPast(0.01); },
         "The convergence criterion on the Algorithm page must be a number of at most 0.01."},
        {[](JobSettings& j, JobControls& c) {
             j.wantFitStatistics = true, c.itemChiSquareCutoff = c.personChiSquareCutoff = "0.2";
         },
         nullptr},
        {[](JobSettings& j, JobControls& c) { j.wantFitStatistics = true, c.itemChiSquareCutoff = justPast(0.2); },
         "The item chi-square probability cutoff on the Item Fit page must be a number of at most 0.2."},
        {[](JobSettings& j, JobControls& c) { j.wantFitStatistics = true, c.personChiSquareCutoff = justPast(0.2); },
         "The person chi-square probability cutoff on the Person Fit page must be a number of at most 0.2."},
        {[](JobSettings&, JobControls& c) { c.plotGroups = "21", c.fitGroups = "0"; }, nullptr},
        {[](JobSettings& j, JobControls& c) { j.wantPlots = true, c.thetaDeltaGroups = "2001"; },
         "The number of theta-delta pair groups on the Plot Requests page must be a whole number from 2 to 2000."},
        {[](JobSettings& j, JobControls& c) { j.wantFitStatistics = true, c.fitGroups = "21"; },
         "The number of fit groups on the Fit Groups page must be a whole number from 1 to 20."},
        {[](JobSettings& j, JobControls& c) { j.wantFitStatistics = true, c.itemChiSquareCutoff = "0.21"; },
         "The item chi-square probability cutoff on the Item Fit page must be a number of at most 0.2."},
        {[](JobSettings& j, JobControls& c) { j.wantFitStatistics = true, c.localizedPersonTCutoff = "x"; },
         "The localized person t-value cutoff on the Person Fit page must be a number."},
    };
    for (const auto& k : cases) {
        JobSettings job;
        setNewJobDefaults(job);
        job.modelNumber = 4;
        job.dataFileName = "EXAMPLE.DAT";
        job.fortranFormat = "(I5,1X,2I1)";
        JobControls controls = test::newJobControls();
        controls.checkedModel = 4;
        controls.numberOfCategories = "3";
        k.change(job, controls);
        const std::optional<QString> refusal = runRefusal(job, controls);
        EXPECT_EQ(refusal, k.refusal ? std::optional<QString>(QString::fromLatin1(k.refusal)) : std::nullopt);
    }
}

TEST(ShortPathName, ComponentsWithBlanksBecomeSixCharactersAndTilde1) {
    const struct {
        const char* path;
        const char* shortForm;
    } cases[] = {
        {"C:/Program Files/Scaling", "C:/PROGRA~1/Scaling"},
        {"C:/Program Files/Common Files/A B C D E F G", "C:/PROGRA~1/COMMON~1/ABCDEF~1"},
        {"C:/My Data.folder/x", "C:/MYDATA~1.FOL/x"},
        {"C:/LongFolderName/sub dir", "C:/LongFolderName/SUBDIR~1"},
        {"C:/a b/", "C:/AB~1/"},
        {"/x y/z", "/XY~1/z"},
        {"/", "/"},
        {"  /home/my user/app  ", "/home/MYUSER~1/app"},
        {"/a//b c", "/a//BC~1"},
        {"/tab\there", "/tab\there"},
    };
    for (const auto& k : cases)
        EXPECT_EQ(shortPathName(QString::fromLatin1(k.path)), QString::fromLatin1(k.shortForm)) << k.path;
}

}  // namespace
}  // namespace vormgui
