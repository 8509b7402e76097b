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

// A box whose emptiness the file flags: 0 with an "ERROR:" label.
QString flaggedBox(const QString& text, const char* label, const char* emptyLabel) {
    return text.isEmpty() ? labelled(QStringLiteral("0"), emptyLabel) : labelled(text, label);
}

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

// The line up to its first blank; left() of -1 keeps a line without one whole.
QString firstToken(const QString& line) { return line.left(line.indexOf(QLatin1Char(' '))); }

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
    lines << flaggedBox(c.quadraturePoints, "NUMBER OF QUADRATURE POINTS",
                        "ERROR: NUMBER OF QUADRATURE POINTS INVALID");
    lines << (c.dataFile.isEmpty() ? appDir + QStringLiteral("INDATA.DAT") : c.dataFile);
    lines << box(c.fortranFormat, "(i4,1x,25i1)");
    lines << flaggedBox(c.numberOfItems, "NUMBER OF ITEMS", "ERROR: NUMBER OF ITEMS MISSING");
    lines << yesNo(c.categoriesConstant, "IS NUMBER OF CATEGORIES CONSTANT?");
    if (c.categoriesConstant) {
        lines << flaggedBox(c.numberOfCategories, "NUMBER OF RESPONSE CATEGORIES",
                            "ERROR: NUMBER OF RESPONSE CATEGORIES MISSING");
    } else if (!gridLines(c.categoryCells, job.numItems, "categories", lines, error)) {
        return std::nullopt;
    }
    lines << yesNo(c.recode, "DO YOU WANT TO RECODE THE DATA?");
    lines << yesNo(c.cutoffConstant, "IS RESPONSE CUTOFF CONSTANT?");
    if (c.cutoffConstant) {
        lines << flaggedBox(c.cutoff, "RESPONSE CUTOFF", "ERROR: RESPONSE CUTOFF MISSING");
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
    // A line break pasted into a box (a path copied with its line end) would
    // move every later answer one line down from where the engine reads it.
    for (qsizetype k = 0; k < lines.size(); ++k) {
        if (lines[k].contains(QLatin1Char('\n')) || lines[k].contains(QLatin1Char('\r'))) {
            if (error) *error = QStringLiteral("Line %1 of the job would hold a line break").arg(k + 1);
            return std::nullopt;
        }
    }
    QByteArray text;
    for (const QString& line : lines) text += line.toUtf8() + "\r\n";
    return text;
}

std::optional<std::int16_t> firstNumber(const QString& line) { return parseCount(firstToken(line)); }

std::optional<double> firstReal(const QString& line) { return parseNumber(firstToken(line)); }

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

QString text(std::int16_t n) { return QString::number(n); }

void readAll(JobLines& in, JobSettings& j, JobControls& c) {
    j.modelNumber = in.number();
    c.checkedModel = j.modelNumber >= 1 && j.modelNumber <= 8 ? j.modelNumber : 0;
    j.useConstraint = in.yesNo();
    j.reverseSigns = in.yesNo();
    c.quadraturePoints = text(j.numQuadraturePoints = in.number());
    c.dataFile = j.dataFileName = in.line();
    c.fortranFormat = j.fortranFormat = in.line();
    c.numberOfItems = text(j.numItems = in.count(kMaxCount, "items"));
    c.cutoffCells.resize(j.numItems);
    // The record holds per-item values for 100 items.
    const auto perItem = [&] {
        if (j.numItems > kMaxItems)
            in.refuse(QStringLiteral("asks for a value per item for %1 items; a job holds at most %2")
                          .arg(j.numItems)
                          .arg(kMaxItems));
        return j.numItems;
    };
    c.categoriesConstant = j.categoriesConstant = in.yesNo();
    if (j.categoriesConstant) {
        c.numberOfCategories = text(j.numCategories[0] = in.number());
    } else {
        c.categoryCells.clear();
        for (int i = 1, n = perItem(); i <= n; ++i) c.categoryCells << text(j.numCategories[i] = in.number());
    }
    c.recode = j.recodeData = in.yesNo();
    c.cutoffConstant = j.cutoffConstant = in.yesNo();
    if (j.cutoffConstant) {
        c.cutoff = text(j.responseCutoff[0] = in.number());
    } else {
        for (int i = 1, n = perItem(); i <= n; ++i) c.cutoffCells[i - 1] = text(j.responseCutoff[i] = in.number());
    }
    if ((c.discardItems = j.discardItems = in.yesNo())) {
        c.itemsToDiscard = text(j.numItemsToDiscard = in.count(kMaxItems, "items to discard"));
        c.itemCells.clear();
        for (int i = 1; i <= j.numItemsToDiscard; ++i) c.itemCells << text(j.itemsToDiscard[i] = in.number());
    }
    if ((c.discardSubjects = j.discardSubjects = in.yesNo(true))) {
        c.subjectsToDiscard = text(j.numSubjectsToDiscard = in.count(kMaxSubjects, "respondents to discard"));
        c.subjectCells.clear();
        for (int i = 1; i <= j.numSubjectsToDiscard; ++i) c.subjectCells << text(j.subjectsToDiscard[i] = in.number());
    }
    if ((j.manualSigns = in.yesNo())) {
        c.signCells.clear();
        for (int i = 1, n = perItem(); i <= n; ++i) {
            const QString sign = in.line();
            if (sign.isEmpty()) in.refuse(QStringLiteral("is empty where the sign of item %1 is needed").arg(i));
            j.initialSigns[i] = sign.front() == QLatin1Char('+');
            c.signCells << (j.initialSigns[i] ? QStringLiteral("+") : QStringLiteral("-"));
        }
    }
    c.outerCycles = text(j.numOuterCycles = in.number());
    c.innerCycles = text(j.numInnerCycles = in.number());
    c.thresholdIterations = text(j.numThresholdIterations = in.number());
    c.itemIterations = text(j.numItemIterations = in.number());
    c.criterion = boxText(j.convergenceCriterion = in.real());
    if ((j.wantPlots = in.yesNo())) {
        c.plotGroups = text(j.numPlotGroups = in.number());
        c.thetaDeltaGroups = text(j.numThetaDeltaGroups = in.number());
    }
    if (!(j.wantFitStatistics = in.yesNo())) return;
    c.fitGroups = text(j.numFitGroups = in.number());
    c.printPersonFit = j.printPersonFit = in.yesNo();
    c.itemTCutoff = boxText(j.itemTCutoff = in.real());
    c.itemChiSquareCutoff = boxText(j.itemChiSquareCutoff = in.real());
    c.personTCutoff = boxText(j.personTCutoff = in.real(true));
    c.personChiSquareCutoff = boxText(j.personChiSquareCutoff = in.real(true));
    c.localizedPersonTCutoff = boxText(j.localizedPersonTCutoff = in.real(true));
}

}  // namespace

bool readJobFile(const QByteArray& bytes, JobSettings& job, JobControls& controls, QString* error) {
    JobLines in(bytes);
    try {
        readAll(in, job, controls);
        return true;
    } catch (const Refused& r) {
        if (error) *error = r.why;
        return false;
    }
}

}  // namespace vormgui
