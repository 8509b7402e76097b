// The job file: one answer per line in the order the engine reads them, each
// number and yes/no answer followed by blanks to the next 14-column print zone
// and a label for people, every line ended by CR LF.
//
// The writer takes most values from the pages' controls as they stand (a
// plain snapshot, JobControls) and the model, constraint, sign, plot and
// fit-statistics answers from the record; it checks nothing, so an empty box
// gives a fallback value and, for four boxes, an "ERROR:" label.  The reader
// is File Open's.  Both are pure: the commands that show boxes and touch
// files are FormMain's.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "mGlobalVariables.h"

namespace vormgui {

// What the job pages and the Model menu show.  Grid lists hold column 1 of
// rows 1 to Rows - 1, so a grid of n + 1 rows gives n cells.
struct JobControls {
    int checkedModel = 0;            // first checked of mnuModel1item..mnuModel8item, 0 when none
    QString quadraturePoints;        // FormQuadrature.TextNumberOfQuadraturePoints
    QString dataFile;                // FormDataFile.TextDataFile
    QString fortranFormat;           // FormDataFile.TextFortranFormat
    bool recode = false;             // FormDataFile.OptionYes selected
    QString numberOfItems;           // FormItemDef.TextNumberOfItems
    bool categoriesConstant{};       // FormItemDef.OptionConstant selected
    QString numberOfCategories;      // FormItemDef.TextNumberOfCategories
    QStringList categoryCells;       // FormCategories.grd
    bool cutoffConstant{};           // FormCutoff.OptionConstant selected
    QString cutoff;                  // FormCutoff.TextCutOff
    QStringList cutoffCells;         // FormCutoff.grd
    bool discardItems = false;       // FormDeleteItems.OptionYes selected
    QString itemsToDiscard;          // FormDeleteItems.TextNumberOfItemsToDiscard
    QStringList itemCells;           // FormItemsDiscarded.grd
    bool discardSubjects = false;    // FormDeleteSubjects.OptionYes selected
    QString subjectsToDiscard;       // FormDeleteSubjects.TextNumberOfSubjectsToDiscard
    QStringList subjectCells;        // FormSubjectsDiscarded.grd
    QStringList signCells;           // FormManualAssign.grd (File Open fills it; the writer takes the record's signs)
    QString outerCycles;             // FormAlgorithm.TextOuterCycles
    QString innerCycles;             // FormAlgorithm.TextInnerCycles
    QString thresholdIterations;     // FormAlgorithm.TextThresholds
    QString itemIterations;          // FormAlgorithm.TextItems
    QString criterion;               // FormAlgorithm.TextCriterion
    QString plotGroups;              // FormPlotGroups.TextPlotGroupNumber
    QString thetaDeltaGroups;        // FormPlotGroups.TextThetaDeltaPairGroupNumber
    QString fitGroups;               // FormFitGroups.TextNumberOfFitGroups
    bool printPersonFit = false;     // FormPersonFit.OptionYes selected
    QString itemTCutoff;             // FormItemFit.TextItemCutoff
    QString itemChiSquareCutoff;     // FormItemFit.TextItemChiSquareCutoff
    QString personTCutoff;           // FormPersonFit.TextPersonCutoff
    QString personChiSquareCutoff;   // FormPersonFit.TextChiSquareCutoff
    QString localizedPersonTCutoff;  // FormPersonFit.TextLocalizedPersonCutoff

    bool operator==(const JobControls&) const = default;
};

// The text of the job file for these controls and this record (`appDir` ends
// in '/': an empty data file box writes appDir + "INDATA.DAT").  A count box
// or cell that holds a whole number (core/Limits.h) is written in the
// number's own form, which the reader and the engine read back as the same
// number; other texts go out as they are.  Nothing when a list cannot be
// written as the file needs it (a discard count that is not a whole number,
// or a list longer than its grid) or a box or cell holds a line break;
// *error then says which.
std::optional<QByteArray> jobFileText(const JobControls& controls, const JobSettings& job, const QString& appDir,
                                      QString* error);

// A job file is bytes, as the engine reads it: a data path in any encoding
// must reach the engine as it was.  UTF-8 text becomes its characters; a
// byte that is not part of UTF-8 text becomes the lone surrogate U+DC00 plus
// the byte (no typed text holds one), and toJobBytes writes it back as that
// byte, so every line survives File Open and Save byte for byte.
QString fromJobBytes(QByteArrayView bytes);
QByteArray toJobBytes(const QString& text);

// The data file that a job names as `dataFile`, for a job whose folder is
// `folder`: a relative name is taken from that folder, as a job moved with
// its data still finds them; an absolute or empty name is as it is.
QString resolvedDataFile(const QString& dataFile, const QString& folder);

// The first value of a job-file line as the engine reads it: blanks and tabs
// before it skipped, the value ending at a blank, a tab, a comma or a slash.
// firstNumber takes a count (core/Limits.h) of the 16-bit range; firstReal a
// number with an optional fraction and an exponent written with E, D or Q
// ("1.D-3").  Nothing when the value is not that, or the line holds none.
std::optional<std::int16_t> firstNumber(const QString& line);
std::optional<double> firstReal(const QString& line);

// File Open's reading of a whole job file (CR LF or LF line ends), line by
// line as the engine reads it: a number line that holds only blanks is passed
// over, a yes/no answer is its line's first character (Y or y is yes, any
// other character or an empty line no), and where the engine asks again
// because a line cannot be its answer (a sign that is not + or -, a print-
// every-person answer that is not Y or N) the line is passed over.  Each
// answer goes into the record and into the controls that show it, numbers
// written back as the boxes show them ("0.010" shows as "0.01"); the model
// number is stored whatever it is, and checks the menu item only for 1 to 8.
// What the file does not reach keeps its value; the cutoff grid takes
// numItems rows whatever the cutoff setting is; an empty path or format line
// leaves its box empty.  Respondent identifiers are any whole numbers the
// engine reads (64 bits), counts 16-bit.  False when the file is refused: a
// line that is not the number it should be, a path or format longer than a
// box holds or with a carriage return inside it, the end of the file before
// the last line the job needs, a negative count, or a list beyond the
// record's room (100 items, 2000 respondents); *error then names the line
// and the fault, and what was read before it is in the record and controls.  Whether a file is refused
// depends on its bytes alone.  Lines after the last one needed are not read.
bool readJobFile(const QByteArray& bytes, JobSettings& job, JobControls& controls, QString* error);

}  // namespace vormgui
