#include "JobFile.h"

#include <QDir>
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

// A whole number in its own form ("15" for " 15"), so that the reader and
// the engine take the number the box stands for; any other text as it is.
QString count(const QString& text) {
    const std::optional<std::int64_t> n = parseWhole(text);
    return n ? QString::number(*n) : text;
}

// A box written with the fallback value when it is empty; a box of blanks is
// not empty and goes out as it is.
QString box(const QString& text, const char* fallback) { return text.isEmpty() ? QString::fromLatin1(fallback) : text; }
QString countBox(const QString& text, const char* fallback) { return count(box(text, fallback)); }

// A count box whose emptiness the file flags: 0 with an "ERROR:" label.
QString flaggedBox(const QString& text, const char* label, const char* emptyLabel) {
    return text.isEmpty() ? labelled(QStringLiteral("0"), emptyLabel) : labelled(count(text), label);
}

// numItems value-only lines from a grid of counts; false when the grid has
// fewer rows.
bool gridLines(const QStringList& cells, int n, const char* what, QStringList& lines, QString* error) {
    if (n > cells.size()) {
        if (error)
            *error =
                QStringLiteral("The %1 grid has no row for item %2").arg(QLatin1String(what)).arg(cells.size() + 1);
        return false;
    }
    for (int i = 0; i < n; ++i) lines << count(cells[i]);
    return true;
}

// A discard list: the count box as it is, then as many grid cells as it says.
bool discardLines(const QString& countText, const QStringList& cells, const char* countLabel, const char* what,
                  QStringList& lines, QString* error) {
    const std::optional<int> n = parseCount(countText);
    if (!n) {
        if (error)
            *error = QStringLiteral("The number of %1 to discard is not a whole number").arg(QLatin1String(what));
        return false;
    }
    if (*n > cells.size()) {
        if (error)
            *error = QStringLiteral("The list of %1 to discard has %2 rows, not %3")
                         .arg(QLatin1String(what))
                         .arg(cells.size())
                         .arg(*n);
        return false;
    }
    lines << labelled(QString::number(*n), countLabel);
    for (int i = 0; i < *n; ++i) lines << count(cells[i]);
    return true;
}

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

// The first value of a line as the engine's free-format reading takes it.
QString firstToken(const QString& line) {
    qsizetype b = 0;
    while (b < line.size() && isBlank(line[b])) ++b;
    qsizetype e = b;
    while (e < line.size() && !isBlank(line[e]) && line[e] != QLatin1Char(',') && line[e] != QLatin1Char('/')) ++e;
    return line.mid(b, e - b);
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
    lines << labelled(countBox(c.outerCycles, "0"), "NUMBER OF OUTER CYCLES");
    lines << labelled(countBox(c.innerCycles, "0"), "NUMBER OF INNER CYCLES");
    lines << labelled(countBox(c.thresholdIterations, "0"), "NUMBER OF FISHER SCORING ITERATIONS FOR THRESHOLDS");
    lines << labelled(countBox(c.itemIterations, "0"), "NUMBER OF FISHER SCORING ITERATIONS FOR DELTAS & ALPHAS");
    lines << labelled(box(c.criterion, "0"), "CRITERION");
    lines << yesNo(job.wantPlots, "WANT TO PLOT");
    if (job.wantPlots) {
        lines << labelled(countBox(c.plotGroups, "1"), "NUMBER OF PLOT GROUPS");
        lines << labelled(countBox(c.thetaDeltaGroups, "1"), "NUMBER OF THETA-DELTA PAIR GROUPS");
    }
    lines << yesNo(job.wantFitStatistics, "WANT FIT STATISTICS");
    if (job.wantFitStatistics) {
        lines << labelled(countBox(c.fitGroups, "1"), "NUMBER OF FIT GROUPS");
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
    for (const QString& line : lines) text += toJobBytes(line) + "\r\n";
    return text;
}

namespace {

// The length of the UTF-8 sequence that starts at b[k], 0 when none does:
// no overlong forms, no surrogates, nothing above U+10FFFF.
qsizetype utf8Length(QByteArrayView b, qsizetype k) {
    const auto at = [&](qsizetype i) { return static_cast<unsigned char>(b[i]); };
    const unsigned char c = at(k);
    qsizetype n;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0) low = 0xA0;
        if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0) low = 0x90;
        if (c == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (k + n > b.size() || at(k + 1) < low || at(k + 1) > high) return 0;
    for (qsizetype i = 2; i < n; ++i)
        if (at(k + i) < 0x80 || at(k + i) > 0xBF) return 0;
    return n;
}

constexpr char16_t kEscapedByte = 0xDC00;

}  // namespace

QString fromJobBytes(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    for (qsizetype k = 0; k < bytes.size();) {
        const unsigned char c = static_cast<unsigned char>(bytes[k]);
        if (c < 0x80) {
            text += QChar(c);
            ++k;
        } else if (const qsizetype n = utf8Length(bytes, k)) {
            text += QString::fromUtf8(bytes.sliced(k, n));
            k += n;
        } else {
            text += QChar(static_cast<char16_t>(kEscapedByte + c));
            ++k;
        }
    }
    return text;
}

QByteArray toJobBytes(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    qsizetype from = 0;  // start of the run of ordinary text not yet written
    for (qsizetype k = 0; k < text.size(); ++k) {
        const char16_t c = text[k].unicode();
        if (c < kEscapedByte + 0x80 || c > kEscapedByte + 0xFF) continue;
        // A lone low surrogate: no high one before it.
        if (k > 0 && text[k - 1].isHighSurrogate()) continue;
        bytes += text.mid(from, k - from).toUtf8();
        bytes += static_cast<char>(c - kEscapedByte);
        from = k + 1;
    }
    bytes += text.mid(from).toUtf8();
    return bytes;
}

QString resolvedDataFile(const QString& dataFile, const QString& folder) {
    if (dataFile.isEmpty() || dataFile.startsWith(QLatin1Char('/'))) return dataFile;
    return QDir::cleanPath(folder + QLatin1Char('/') + dataFile);
}

std::optional<std::int16_t> firstNumber(const QString& line) {
    const std::optional<int> n = parseCount(firstToken(line));
    if (!n) return std::nullopt;
    return static_cast<std::int16_t>(*n);
}

std::optional<double> firstReal(const QString& line) {
    QString token = firstToken(line);
    // Fortran writes the exponent of a double with D (and of a quadruple with Q).
    for (QChar& c : token) {
        if (QStringView(u"DdQq").contains(c)) {
            c = QLatin1Char('E');
            break;
        }
    }
    return parseNumber(token);
}

namespace {

// The first fault of a refused job file.
struct Refused {
    QString why;
};

// The lines of a job file in order, read as the engine reads its job: each
// read takes the lines its answer needs and names the last when it refuses it.
class JobLines {
public:
    explicit JobLines(const QByteArray& bytes) {
        lines_ = bytes.split('\n');
        if (!lines_.isEmpty() && lines_.last().isEmpty()) lines_.removeLast();
        for (QByteArray& l : lines_)
            if (l.endsWith('\r')) l.chop(1);
    }

    QString line() {
        if (next_ >= lines_.size())
            throw Refused{QStringLiteral("The file ends before line %1, which the job needs").arg(next_ + 1)};
        return fromJobBytes(lines_[next_++]);
    }

    // A path or a format, the whole line, which must fit the box that shows
    // it and go out again as itself: one line.  An empty one leaves its box
    // empty, for Run to ask for.
    QString text() {
        QString l = line();
        if (l.size() > kMaxBoxText)
            refuse(QStringLiteral("is longer than the %1 characters a box holds").arg(kMaxBoxText));
        if (l.contains(QLatin1Char('\r'))) refuse(QStringLiteral("holds a carriage return inside it"));
        return l;
    }

    // The engine passes over lines that hold no value before a number.
    std::int16_t number() {
        const std::optional<std::int16_t> n = firstNumber(valueLine());
        if (!n) refuse(QStringLiteral("is not a whole number from -32768 to 32767"));
        return *n;
    }

    // A respondent identifier: any whole number that the engine reads.
    std::int64_t identifier() {
        const std::optional<std::int64_t> n = parseWhole(firstToken(valueLine()));
        if (!n)
            refuse(QStringLiteral("is not a respondent identifier, a whole number from %1 to %2")
                       .arg(limits::kMinSubjectId)
                       .arg(limits::kMaxSubjectId));
        return *n;
    }

    double real() {
        const std::optional<double> x = firstReal(valueLine());
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

    // "Y" or "y" first is yes; any other first character, or none, no.
    bool yesNo() {
        const QString l = line();
        return !l.isEmpty() && (l.front() == QLatin1Char('Y') || l.front() == QLatin1Char('y'));
    }

    // An answer that the engine asks again until a line begins with Y or N.
    bool strictYesNo() {
        for (;;) {
            const QString l = line();
            if (l.isEmpty()) continue;
            if (l.front() == QLatin1Char('Y') || l.front() == QLatin1Char('y')) return true;
            if (l.front() == QLatin1Char('N') || l.front() == QLatin1Char('n')) return false;
        }
    }

    // A sign: the first character after blanks of a line that has one; the
    // engine asks again, from the next line, until it is + or -.
    bool plus() {
        for (;;) {
            const QString l = line();
            qsizetype b = 0;
            while (b < l.size() && isBlank(l[b])) ++b;
            if (b < l.size() && (l[b] == QLatin1Char('+') || l[b] == QLatin1Char('-'))) return l[b] == QLatin1Char('+');
        }
    }

    [[noreturn]] void refuse(const QString& why) const {
        throw Refused{QStringLiteral("Line %1 %2").arg(next_).arg(why)};
    }

private:
    QString valueLine() {
        for (;;) {
            const QString l = line();
            for (QChar c : l)
                if (!isBlank(c)) return l;
        }
    }

    QList<QByteArray> lines_;
    qsizetype next_ = 0;
};

QString text(std::int16_t n) { return QString::number(n); }

void readAll(JobLines& in, JobSettings& j, JobControls& c) {
    j.modelNumber = in.number();
    c.checkedModel = j.modelNumber >= 1 && j.modelNumber <= 8 ? j.modelNumber : 0;
    j.useConstraint = in.yesNo();
    j.reverseSigns = in.yesNo();
    c.quadraturePoints = text(j.numQuadraturePoints = in.number());
    c.dataFile = j.dataFileName = in.text();
    c.fortranFormat = j.fortranFormat = in.text();
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
    if ((c.discardSubjects = j.discardSubjects = in.yesNo())) {
        c.subjectsToDiscard = text(j.numSubjectsToDiscard = in.count(kMaxSubjects, "respondents to discard"));
        c.subjectCells.clear();
        for (int i = 1; i <= j.numSubjectsToDiscard; ++i)
            c.subjectCells << QString::number(j.subjectsToDiscard[i] = in.identifier());
    }
    if ((j.manualSigns = in.yesNo())) {
        c.signCells.clear();
        for (int i = 1, n = perItem(); i <= n; ++i) {
            j.initialSigns[i] = in.plus();
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
    c.printPersonFit = j.printPersonFit = in.strictYesNo();
    c.itemTCutoff = boxText(j.itemTCutoff = in.real());
    c.itemChiSquareCutoff = boxText(j.itemChiSquareCutoff = in.real());
    c.personTCutoff = boxText(j.personTCutoff = in.real());
    c.personChiSquareCutoff = boxText(j.personChiSquareCutoff = in.real());
    c.localizedPersonTCutoff = boxText(j.localizedPersonTCutoff = in.real());
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
