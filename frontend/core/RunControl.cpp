#include "RunControl.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "platform/Numbers.h"

namespace vormgui {

namespace {

bool within(const QString& text, Range range) { return parseCount(text, range).has_value(); }

QString mustBe(const QString& what, const char* page, const QString& rule) {
    return QStringLiteral("%1 on the %2 page must be %3.").arg(what, QLatin1String(page), rule);
}

QString wholeFrom(std::int64_t low, std::int64_t high) {
    return QStringLiteral("a whole number from %1 to %2").arg(low).arg(high);
}
QString wholeFrom(Range range) { return wholeFrom(range.low, range.high); }

// Refusal of a count box, or nothing.
std::optional<QString> count(const QString& text, Range range, const char* what, const char* page) {
    if (within(text, range)) return std::nullopt;
    return mustBe(QString::fromLatin1(what), page, wholeFrom(range));
}

// Refusal of a real box that the engine takes up to `high` (no limit when
// high is infinite), or nothing.
std::optional<QString> real(const QString& text, double high, const char* what, const char* page) {
    const std::optional<double> v = parseNumber(text);
    if (v && *v <= high) return std::nullopt;
    const QString rule = std::isinf(high) ? QStringLiteral("a number")
                                          : QStringLiteral("a number of at most %1").arg(messageNumber(high));
    return mustBe(QString::fromLatin1(what), page, rule);
}

std::optional<QString> categoriesAndCutoffs(const JobSettings& job, const JobControls& c) {
    // The per-item lists are as long as the record's item count says.
    const int items = std::clamp<int>(job.numItems, 0, kMaxItems);
    std::vector<int> categories;
    if (c.categoriesConstant) {
        if (auto r = count(c.numberOfCategories, limits::kCategories, "The number of response categories",
                           "Item Definitions"))
            return r;
        categories.assign(std::max(items, 1), *parseCount(c.numberOfCategories));
    } else {
        for (int i = 0; i < items; ++i) {
            const QString cell = i < c.categoryCells.size() ? c.categoryCells[i] : QString();
            if (!within(cell, limits::kCategories))
                return mustBe(QStringLiteral("The number of response categories of item %1").arg(i + 1),
                              "Response Category Definitions", wholeFrom(limits::kCategories));
            categories.push_back(*parseCount(cell));
        }
    }
    if (categories.empty()) return std::nullopt;
    // The engine takes a constant cutoff up to the first item's categories.
    if (c.cutoffConstant) {
        const Range cutoffs{0, categories.front() - 1};
        if (!within(c.cutoff, cutoffs))
            return mustBe(QStringLiteral("The response cutoff"), "Response Cutoffs", wholeFrom(cutoffs));
        return std::nullopt;
    }
    for (int i = 0; i < items; ++i) {
        const QString cell = i < c.cutoffCells.size() ? c.cutoffCells[i] : QString();
        const Range cutoffs{0, categories[c.categoriesConstant ? 0 : i] - 1};
        if (!within(cell, cutoffs))
            return mustBe(QStringLiteral("The response cutoff of item %1").arg(i + 1), "Response Cutoffs",
                          wholeFrom(cutoffs));
    }
    return std::nullopt;
}

// A discard list: its count, then as many entries, each from `low` to
// `high`.  An item list kept from a job with more items names items this job
// has not.
std::optional<QString> discardList(const QString& countText, const QStringList& cells, Range range, const char* what,
                                   const char* countPage, const char* entry, std::int64_t low, std::int64_t high,
                                   const char* listPage) {
    if (!within(countText, range))
        return mustBe(QStringLiteral("The number of %1 to discard").arg(QLatin1String(what)), countPage,
                      wholeFrom(range));
    const int n = *parseCount(countText);
    for (int i = 0; i < n; ++i) {
        const std::optional<std::int64_t> value = i < cells.size() ? parseWhole(cells[i]) : std::nullopt;
        if (!value || *value < low || *value > high)
            return mustBe(QStringLiteral("The %1 in row %2").arg(QLatin1String(entry)).arg(i + 1), listPage,
                          wholeFrom(low, high));
    }
    return std::nullopt;
}

}  // namespace

std::optional<QString> runRefusal(const JobSettings& job, const JobControls& c) {
    if (job.modelNumber < 1 || job.modelNumber > 8) return QStringLiteral("Please indicate the model!");
    if (job.dataFileName.isEmpty()) return QStringLiteral("Please indicate the data file path!");
    if (job.fortranFormat.isEmpty()) return QStringLiteral("Please fill in the fortran format!");
    if (!c.categoriesConstant && commonModel(c.checkedModel))
        return QStringLiteral("Variable categories cannot be selected with models 1, 3, 5, or 7.");

    if (auto r = count(c.quadraturePoints, limits::kQuadraturePoints, "The number of quadrature points", "Quadrature"))
        return r;
    if (auto r = count(c.numberOfItems, limits::kItems, "The number of items", "Item Definitions")) return r;
    if (auto r = categoriesAndCutoffs(job, c)) return r;
    if (c.discardItems)
        if (auto r = discardList(c.itemsToDiscard, c.itemCells, limits::kItemsToDiscard, "items", "Delete Items",
                                 "item number", 1, *parseCount(c.numberOfItems), "Choose Items to Delete"))
            return r;
    if (c.discardSubjects)
        if (auto r = discardList(c.subjectsToDiscard, c.subjectCells, limits::kSubjectsToDiscard, "respondents",
                                 "Delete Respondents", "respondent identifier", limits::kMinSubjectId,
                                 limits::kMaxSubjectId, "Choose Respondents to Delete"))
            return r;
    if (auto r = count(c.outerCycles, limits::kOuterCycles, "The number of outer cycles", "Algorithm")) return r;
    if (auto r = count(c.innerCycles, limits::kIterations, "The number of inner cycles", "Algorithm")) return r;
    if (auto r = count(c.thresholdIterations, limits::kIterations,
                       "The number of Fisher scoring iterations for thresholds", "Algorithm"))
        return r;
    if (auto r = count(c.itemIterations, limits::kIterations, "The number of Fisher scoring iterations for items",
                       "Algorithm"))
        return r;
    if (auto r = real(c.criterion, limits::kMaxCriterion, "The convergence criterion", "Algorithm")) return r;
    if (job.wantPlots) {
        if (auto r = count(c.plotGroups, limits::kPlotGroups, "The number of plot groups", "Plot Requests")) return r;
        if (auto r = count(c.thetaDeltaGroups, limits::kThetaDeltaGroups, "The number of theta-delta pair groups",
                           "Plot Requests"))
            return r;
    }
    if (job.wantFitStatistics) {
        const double any = std::numeric_limits<double>::infinity();
        if (auto r = count(c.fitGroups, limits::kFitGroups, "The number of fit groups", "Fit Groups")) return r;
        if (auto r = real(c.itemTCutoff, any, "The item t-value cutoff", "Item Fit")) return r;
        if (auto r = real(c.itemChiSquareCutoff, limits::kMaxChiSquareCutoff, "The item chi-square probability cutoff",
                          "Item Fit"))
            return r;
        if (auto r = real(c.personTCutoff, any, "The person t-value cutoff", "Person Fit")) return r;
        if (auto r = real(c.personChiSquareCutoff, limits::kMaxChiSquareCutoff,
                          "The person chi-square probability cutoff", "Person Fit"))
            return r;
        if (auto r = real(c.localizedPersonTCutoff, any, "The localized person t-value cutoff", "Person Fit")) return r;
    }
    return std::nullopt;
}

QString shortPathName(const QString& path) {
    const QChar sep = QLatin1Char('/');
    const QChar blank = QLatin1Char(' ');
    QString rest = path;
    while (rest.startsWith(blank)) rest.remove(0, 1);
    while (rest.endsWith(blank)) rest.chop(1);
    const bool leading = rest.startsWith(sep);
    const bool trailing = rest.endsWith(sep) && rest != sep;

    QString result;
    while (!rest.isEmpty()) {
        const qsizetype at = rest.indexOf(sep);
        QString component = at < 0 ? rest : rest.left(at);
        rest = at < 0 ? QString() : rest.mid(at + 1);
        if (component.contains(blank)) {
            QString extension;
            const qsizetype dot = component.indexOf(QLatin1Char('.'));
            if (dot >= 0) {
                extension = component.mid(dot + 1, 3).toUpper();
                component.truncate(dot);
            }
            component.remove(blank);
            component = (component.left(6) + QStringLiteral("~1")).toUpper();
            if (!extension.isEmpty()) component += QLatin1Char('.') + extension;
        }
        result = result.isEmpty() ? component : result + sep + component;
    }
    if (leading) result.prepend(sep);
    if (trailing) result.append(sep);
    return result;
}

}  // namespace vormgui
