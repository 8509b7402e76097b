#include "JobFile.h"

#include <QList>

#include "platform/Numbers.h"

namespace vormgui {

namespace {

constexpr int kPrintZone = 14;

// The label starts in the first print zone after the value, never on it.
QString labelled(const QString& value, const char* label) {
    const qsizetype pad = kPrintZone - value.size() % kPrintZone;
    return value + QString(pad, QLatin1Char(' ')) + QLatin1String(label);
}

QString yesNo(bool yes, const char* label) { return labelled(yes ? QStringLiteral("Y") : QStringLiteral("N"), label); }

// A box written with the fallback value when it is empty; a box of blanks is
// not empty and goes out as it is.
QString box(const QString& text, const char* fallback) { return text.isEmpty() ? QString::fromLatin1(fallback) : text; }

// numItems value-only lines from a grid; false when the grid has fewer rows.
bool gridLines(const QStringList& cells, int count, const char* what, QStringList& lines, QString* error) {
    if (count > cells.size()) {
        if (error)
            *error =
                QStringLiteral("The %1 grid has no row for item %2").arg(QLatin1String(what)).arg(cells.size() + 1);
        return false;
    }
    for (int i = 0; i < count; ++i) lines << cells[i];
    return true;
}

// A discard list: the count box as it is, then as many grid cells as it says.
bool discardLines(const QString& countText, const QStringList& cells, const char* countLabel, const char* what,
                  QStringList& lines, QString* error) {
    const std::optional<std::int16_t> count = parseCount(countText);
    if (!count) {
        if (error)
            *error = QStringLiteral("The number of %1 to discard is not a whole number").arg(QLatin1String(what));
        return false;
    }
    if (*count > cells.size()) {
        if (error)
            *error = QStringLiteral("The list of %1 to discard has %2 rows, not %3")
                         .arg(QLatin1String(what))
                         .arg(cells.size())
                         .arg(*count);
        return false;
    }
    lines << labelled(countText, countLabel);
    for (int i = 0; i < *count; ++i) lines << cells[i];
    return true;
}

}  // namespace

std::optional<QByteArray> jobFileText(const JobControls& c, const JobSettings& job, const QString& appDir,
                                      QString* error) {
    QStringList lines;
    if (c.checkedModel >= 1 && c.checkedModel <= 8) {
        const QString digit = QString::number(c.checkedModel);
        lines << labelled(digit, "ESTIMATE PARAMETERS OF MODEL ") + digit;
    } else {
        lines << labelled(QStringLiteral("0"), "ERROR: MODEL NUMBER SHOULD BE FROM 1 TO 8");
    }
    lines << yesNo(job.useConstraint, job.useConstraint ? "CONSTRAINTS ARE USED" : "CONSTRAINTS ARE NOT USED");
    lines << yesNo(job.reverseSigns, job.reverseSigns ? "CHANGE THE SIGN OF INITIAL PARAMETER ESTIMATES"
                                                      : "DO NOT CHANGE THE SIGN OF INITIAL PARAMETER ESTIMATES");
    lines << (c.quadraturePoints.isEmpty() ? labelled(QStringLiteral("0"), "ERROR: NUMBER OF QUADRATURE POINTS INVALID")
                                           : labelled(c.quadraturePoints, "NUMBER OF QUADRATURE POINTS"));
    lines << (c.dataFile.isEmpty() ? appDir + QStringLiteral("INDATA.DAT") : c.dataFile);
    lines << box(c.fortranFormat, "(i4,1x,25i1)");
    lines << (c.numberOfItems.isEmpty() ? labelled(QStringLiteral("0"), "ERROR: NUMBER OF ITEMS MISSING")
                                        : labelled(c.numberOfItems, "NUMBER OF ITEMS"));
    lines << yesNo(c.categoriesConstant, "IS NUMBER OF CATEGORIES CONSTANT?");
    if (c.categoriesConstant) {
        lines << (c.numberOfCategories.isEmpty()
                      ? labelled(QStringLiteral("0"), "ERROR: NUMBER OF RESPONSE CATEGORIES MISSING")
                      : labelled(c.numberOfCategories, "NUMBER OF RESPONSE CATEGORIES"));
    } else if (!gridLines(c.categoryCells, job.numItems, "categories", lines, error)) {
        return std::nullopt;
    }
    lines << yesNo(c.recode, "DO YOU WANT TO RECODE THE DATA?");
    lines << yesNo(c.cutoffConstant, "IS RESPONSE CUTOFF CONSTANT?");
    if (c.cutoffConstant) {
        lines << (c.cutoff.isEmpty() ? labelled(QStringLiteral("0"), "ERROR: RESPONSE CUTOFF MISSING")
                                     : labelled(c.cutoff, "RESPONSE CUTOFF"));
    } else if (!gridLines(c.cutoffCells, job.numItems, "cutoff", lines, error)) {
        return std::nullopt;
    }
    lines << yesNo(c.discardItems, c.discardItems ? "DISCARD ANY ITMES" : "DISCARD ANY ITEMS");
    if (c.discardItems &&
        !discardLines(c.itemsToDiscard, c.itemCells, "NUMBER OF ITEMS TO DISCARD", "items", lines, error))
        return std::nullopt;
    lines << yesNo(c.discardSubjects, "DISCARD ANY PEOPLE");
    if (c.discardSubjects && !discardLines(c.subjectsToDiscard, c.subjectCells, "NUMBER OF RESPONDENTS TO DISCARD",
                                           "respondents", lines, error))
        return std::nullopt;
    lines << yesNo(job.manualSigns, job.manualSigns ? "SIGNS OF INITIAL LOCATION ESTIMATES MANUALLY ASSIGNED"
                                                    : "SIGNS OF INITIAL LOCATION ESTIMATES NOT MANUALLY ASSIGNED");
    if (job.manualSigns) {
        if (job.numItems > kMaxItems) {
            if (error) *error = QStringLiteral("There is no sign for item %1").arg(kMaxItems + 1);
            return std::nullopt;
        }
        for (int i = 1; i <= job.numItems; ++i)
            lines << (job.initialSigns[i] ? QStringLiteral("+") : QStringLiteral("-"));
    }
    lines << labelled(box(c.outerCycles, "0"), "NUMBER OF OUTER CYCLES");
    lines << labelled(box(c.innerCycles, "0"), "NUMBER OF INNER CYCLES");
    lines << labelled(box(c.thresholdIterations, "0"), "NUMBER OF FISHER SCORING ITERATIONS FOR THRESHOLDS");
    lines << labelled(box(c.itemIterations, "0"), "NUMBER OF FISHER SCORING ITERATIONS FOR DELTAS & ALPHAS");
    lines << labelled(box(c.criterion, "0"), "CRITERION");
    lines << yesNo(job.wantPlots, "WANT TO PLOT");
    if (job.wantPlots) {
        lines << labelled(box(c.plotGroups, "1"), "NUMBER OF PLOT GROUPS");
        lines << labelled(box(c.thetaDeltaGroups, "1"), "NUMBER OF THETA-DELTA PAIR GROUPS");
    }
    lines << yesNo(job.wantFitStatistics, "WANT FIT STATISTICS");
    if (job.wantFitStatistics) {
        lines << labelled(box(c.fitGroups, "1"), "NUMBER OF FIT GROUPS");
        lines << yesNo(c.printPersonFit, "PRINT FIT FOR EVERY PERSON");
        lines << labelled(box(c.itemTCutoff, "0"), "ITEM T-VALUE CUTOFF");
        lines << labelled(box(c.itemChiSquareCutoff, "0"), "ITEM CHI-SQUARE PROBABILITY CUTOFF");
        lines << labelled(box(c.personTCutoff, "0"), "PERSON T-VALUE CUTOFF");
        lines << labelled(box(c.personChiSquareCutoff, "0"), "PERSON CHI-SQUARE PROBABILITY CUTOFF");
        lines << labelled(box(c.localizedPersonTCutoff, "0"), "PERSON LOCALIZED T-VALUE CUTOFF");
    }
    QByteArray text;
    for (const QString& line : lines) text += line.toUtf8() + "\r\n";
    return text;
}

std::optional<std::int16_t> firstNumber(const QString& line) {
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    return parseCount(blank < 0 ? line : line.left(blank + 1));
}

std::optional<double> firstReal(const QString& line) {
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    return parseNumber(blank < 0 ? line : line.left(blank + 1));
}

namespace {

// The first fault of a refused job file.
struct Refused {
    QString why;
};

// The lines of a job file in order; each read takes the next line and names
// it when it refuses it.
class JobLines {
public:
    explicit JobLines(const QByteArray& bytes) {
        QList<QByteArray> raw = bytes.split('\n');
        if (!raw.isEmpty() && raw.last().isEmpty()) raw.removeLast();
        for (QByteArray& l : raw) {
            if (l.endsWith('\r')) l.chop(1);
            lines_ << QString::fromUtf8(l);
        }
    }

    QString line() {
        if (next_ >= lines_.size())
            throw Refused{QStringLiteral("The file ends before line %1, which the job needs").arg(next_ + 1)};
        return lines_[next_++];
    }

    std::int16_t number() {
        const std::optional<std::int16_t> n = firstNumber(line());
        if (!n) refuse(QStringLiteral("is not a whole number from -32768 to 32767"));
        return *n;
    }

    double real(bool delimited = false) {
        const QString l = line();
        const std::optional<double> x = firstReal(delimited ? delimitedField(l) : l);
        if (!x) refuse(QStringLiteral("is not a number"));
        return *x;
    }

    // A count that sizes a grid and a list: never negative, at most `limit`.
    std::int16_t count(int limit, const char* what) {
        const std::int16_t n = number();
        if (n < 0) refuse(QStringLiteral("is a negative number of %1").arg(QLatin1String(what)));
        if (n > limit)
            refuse(QStringLiteral("asks for %1 %2; a job holds at most %3").arg(n).arg(QLatin1String(what)).arg(limit));
        return n;
    }

    // "Y" or "y" first is yes, any other first character no.
    bool yesNo(bool delimited = false) {
        const QString l = line();
        const QString field = delimited ? delimitedField(l) : l;
        if (field.isEmpty()) refuse(QStringLiteral("is empty where Y or N is needed"));
        return field.front() == QLatin1Char('Y') || field.front() == QLatin1Char('y');
    }

    [[noreturn]] void refuse(const QString& why) const {
        throw Refused{QStringLiteral("Line %1 %2").arg(next_).arg(why)};
    }

private:
    // A field as a list read takes it: leading blanks skipped, up to a comma.
    static QString delimitedField(const QString& l) {
        qsizetype b = 0;
        while (b < l.size() && (l[b] == QLatin1Char(' ') || l[b] == QLatin1Char('\t'))) ++b;
        const qsizetype comma = l.indexOf(QLatin1Char(','), b);
        return l.mid(b, comma < 0 ? -1 : comma - b);
    }

    QStringList lines_;
    qsizetype next_ = 0;
};

std::vector<std::int16_t> numbers(JobLines& in, int count) {
    std::vector<std::int16_t> out;
    for (int i = 0; i < count; ++i) out.push_back(in.number());
    return out;
}

JobFileContents readAll(JobLines& in) {
    JobFileContents f;
    f.modelNumber = in.number();
    f.useConstraint = in.yesNo();
    f.reverseSigns = in.yesNo();
    f.numQuadraturePoints = in.number();
    f.dataFileName = in.line();
    f.fortranFormat = in.line();
    f.numItems = in.count(32767, "items");
    // The record holds per-item values for 100 items.
    const auto perItem = [&] {
        if (f.numItems > kMaxItems)
            in.refuse(QStringLiteral("asks for a value per item for %1 items; a job holds at most %2")
                          .arg(f.numItems)
                          .arg(kMaxItems));
        return f.numItems;
    };
    f.categoriesConstant = in.yesNo();
    f.numCategories = numbers(in, f.categoriesConstant ? 1 : perItem());
    f.recodeData = in.yesNo();
    f.cutoffConstant = in.yesNo();
    f.responseCutoff = numbers(in, f.cutoffConstant ? 1 : perItem());
    f.discardItems = in.yesNo();
    if (f.discardItems) f.itemsToDiscard = numbers(in, in.count(kMaxItems, "items to discard"));
    f.discardSubjects = in.yesNo(true);
    if (f.discardSubjects) f.subjectsToDiscard = numbers(in, in.count(kMaxSubjects, "respondents to discard"));
    f.manualSigns = in.yesNo();
    if (f.manualSigns) {
        const int items = perItem();
        for (int i = 1; i <= items; ++i) {
            const QString sign = in.line();
            if (sign.isEmpty()) in.refuse(QStringLiteral("is empty where the sign of item %1 is needed").arg(i));
            f.initialSigns.push_back(sign.front() == QLatin1Char('+'));
        }
    }
    f.numOuterCycles = in.number();
    f.numInnerCycles = in.number();
    f.numThresholdIterations = in.number();
    f.numItemIterations = in.number();
    f.convergenceCriterion = in.real();
    f.wantPlots = in.yesNo();
    if (f.wantPlots) {
        f.numPlotGroups = in.number();
        f.numThetaDeltaGroups = in.number();
    }
    f.wantFitStatistics = in.yesNo();
    if (!f.wantFitStatistics) return f;
    f.numFitGroups = in.number();
    f.printPersonFit = in.yesNo();
    f.itemTCutoff = in.real();
    f.itemChiSquareCutoff = in.real();
    f.personTCutoff = in.real(true);
    f.personChiSquareCutoff = in.real(true);
    f.localizedPersonTCutoff = in.real(true);
    return f;
}

QString count(std::int16_t n) { return QString::number(n); }

}  // namespace

std::optional<JobFileContents> readJobFile(const QByteArray& bytes, QString* error) {
    JobLines in(bytes);
    try {
        return readAll(in);
    } catch (const Refused& r) {
        if (error) *error = r.why;
        return std::nullopt;
    }
}

void storeInRecord(const JobFileContents& f, JobSettings& job) {
    job.modelNumber = f.modelNumber;
    job.useConstraint = f.useConstraint;
    job.reverseSigns = f.reverseSigns;
    job.numQuadraturePoints = f.numQuadraturePoints;
    job.dataFileName = f.dataFileName;
    job.fortranFormat = f.fortranFormat;
    job.numItems = f.numItems;
    job.categoriesConstant = f.categoriesConstant;
    // A constant setting's one value is element 0; per-item values from 1.
    const std::size_t first = f.categoriesConstant ? 0 : 1;
    for (std::size_t i = 0; i < f.numCategories.size(); ++i) job.numCategories[first + i] = f.numCategories[i];
    job.recodeData = f.recodeData;
    job.cutoffConstant = f.cutoffConstant;
    const std::size_t firstCutoff = f.cutoffConstant ? 0 : 1;
    for (std::size_t i = 0; i < f.responseCutoff.size(); ++i) job.responseCutoff[firstCutoff + i] = f.responseCutoff[i];
    job.discardItems = f.discardItems;
    if (f.discardItems) {
        job.numItemsToDiscard = static_cast<std::int16_t>(f.itemsToDiscard.size());
        for (std::size_t i = 0; i < f.itemsToDiscard.size(); ++i) job.itemsToDiscard[i + 1] = f.itemsToDiscard[i];
    }
    job.discardSubjects = f.discardSubjects;
    if (f.discardSubjects) {
        job.numSubjectsToDiscard = static_cast<std::int16_t>(f.subjectsToDiscard.size());
        for (std::size_t i = 0; i < f.subjectsToDiscard.size(); ++i)
            job.subjectsToDiscard[i + 1] = f.subjectsToDiscard[i];
    }
    job.manualSigns = f.manualSigns;
    for (std::size_t i = 0; i < f.initialSigns.size(); ++i) job.initialSigns[i + 1] = f.initialSigns[i];
    job.numOuterCycles = f.numOuterCycles;
    job.numInnerCycles = f.numInnerCycles;
    job.numThresholdIterations = f.numThresholdIterations;
    job.numItemIterations = f.numItemIterations;
    job.convergenceCriterion = f.convergenceCriterion;
    job.wantPlots = f.wantPlots;
    if (f.wantPlots) {
        job.numPlotGroups = f.numPlotGroups;
        job.numThetaDeltaGroups = f.numThetaDeltaGroups;
    }
    job.wantFitStatistics = f.wantFitStatistics;
    if (f.wantFitStatistics) {
        job.numFitGroups = f.numFitGroups;
        job.printPersonFit = f.printPersonFit;
        job.itemTCutoff = f.itemTCutoff;
        job.itemChiSquareCutoff = f.itemChiSquareCutoff;
        job.personTCutoff = f.personTCutoff;
        job.personChiSquareCutoff = f.personChiSquareCutoff;
        job.localizedPersonTCutoff = f.localizedPersonTCutoff;
    }
}

void showInControls(const JobFileContents& f, JobControls& c) {
    c.checkedModel = f.modelNumber >= 1 && f.modelNumber <= 8 ? f.modelNumber : 0;
    c.quadraturePoints = count(f.numQuadraturePoints);
    c.dataFile = f.dataFileName;
    c.fortranFormat = f.fortranFormat;
    c.numberOfItems = count(f.numItems);
    c.cutoffCells.resize(f.numItems);
    c.categoriesConstant = f.categoriesConstant;
    if (f.categoriesConstant) {
        c.numberOfCategories = count(f.numCategories.front());
    } else {
        c.categoryCells.clear();
        for (std::int16_t n : f.numCategories) c.categoryCells << count(n);
    }
    c.recode = f.recodeData;
    c.cutoffConstant = f.cutoffConstant;
    if (f.cutoffConstant) {
        c.cutoff = count(f.responseCutoff.front());
    } else {
        for (std::size_t i = 0; i < f.responseCutoff.size(); ++i) c.cutoffCells[i] = count(f.responseCutoff[i]);
    }
    c.discardItems = f.discardItems;
    if (f.discardItems) {
        c.itemsToDiscard = count(static_cast<std::int16_t>(f.itemsToDiscard.size()));
        c.itemCells.clear();
        for (std::int16_t n : f.itemsToDiscard) c.itemCells << count(n);
    }
    c.discardSubjects = f.discardSubjects;
    if (f.discardSubjects) {
        c.subjectsToDiscard = count(static_cast<std::int16_t>(f.subjectsToDiscard.size()));
        c.subjectCells.clear();
        for (std::int16_t n : f.subjectsToDiscard) c.subjectCells << count(n);
    }
    if (f.manualSigns) {
        c.signCells.clear();
        for (bool plus : f.initialSigns) c.signCells << (plus ? QStringLiteral("+") : QStringLiteral("-"));
    }
    c.outerCycles = count(f.numOuterCycles);
    c.innerCycles = count(f.numInnerCycles);
    c.thresholdIterations = count(f.numThresholdIterations);
    c.itemIterations = count(f.numItemIterations);
    c.criterion = boxText(f.convergenceCriterion);
    if (f.wantPlots) {
        c.plotGroups = count(f.numPlotGroups);
        c.thetaDeltaGroups = count(f.numThetaDeltaGroups);
    }
    if (f.wantFitStatistics) {
        c.fitGroups = count(f.numFitGroups);
        c.printPersonFit = f.printPersonFit;
        c.itemTCutoff = boxText(f.itemTCutoff);
        c.itemChiSquareCutoff = boxText(f.itemChiSquareCutoff);
        c.personTCutoff = boxText(f.personTCutoff);
        c.personChiSquareCutoff = boxText(f.personChiSquareCutoff);
        c.localizedPersonTCutoff = boxText(f.localizedPersonTCutoff);
    }
}

}  // namespace vormgui
