// Small simulated jobs that the real engine runs in a temporary folder, and
// the response counts tabulated here from the same data file, so that what
// the front end reads out of the engine's report can be checked against
// counts that owe nothing to either program.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <random>
#include <vector>

#include "gui_test_support.h"

namespace vormgui::test {

struct EngineJob {
    int model = 2;
    std::vector<int> categories;  // per item; one "constant" line when all are equal
    std::vector<int> discarded;   // item numbers the job discards
    double missingRate = 0.0;
    int respondents = 200;
    unsigned seed = 1;
};

// A row as the report's table must hold it: the item's number, the counts of
// categories 0 to Kmax - 1, then the count of missing responses.
struct CountRow {
    int item = 0;
    std::vector<int> values;
};

inline bool isDiscarded(const EngineJob& job, int item) {
    return std::find(job.discarded.begin(), job.discarded.end(), item) != job.discarded.end();
}

// Records of an identifier in columns 1-5, a blank, then one response per
// item in 3 columns (-9 for missing).  Category weights differ per item so
// that neighbouring columns differ.  Every respondent answers some retained
// item above 0, so the engine's clean-up removes nobody.
inline QByteArray simulatedData(const EngineJob& job) {
    std::mt19937 random(job.seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<std::vector<double>> weights;
    for (int k : job.categories) {
        std::vector<double> w;
        for (int c = 0; c < k; ++c) w.push_back(0.2 + unit(random));
        weights.push_back(w);
    }
    QByteArray text;
    for (int person = 1; person <= job.respondents; ++person) {
        std::vector<int> row;
        bool answered = false;
        for (std::size_t j = 0; j < job.categories.size(); ++j) {
            std::discrete_distribution<int> category(weights[j].begin(), weights[j].end());
            const int value = unit(random) < job.missingRate ? -9 : category(random);
            row.push_back(value);
            if (value > 0 && !isDiscarded(job, static_cast<int>(j) + 1)) answered = true;
        }
        if (!answered)
            for (std::size_t j = 0; j < row.size(); ++j)
                if (!isDiscarded(job, static_cast<int>(j) + 1)) {
                    row[j] = 1;
                    break;
                }
        text += QByteArray::number(person).rightJustified(5) + ' ';
        for (int value : row) text += QByteArray::number(value).rightJustified(3);
        text += '\n';
    }
    return text;
}

inline QByteArray jobText(const EngineJob& job, const QString& dataFile) {
    const int items = static_cast<int>(job.categories.size());
    const bool constant =
        std::all_of(job.categories.begin(), job.categories.end(), [&](int k) { return k == job.categories[0]; });
    QStringList lines{QString::number(job.model),
                      "N",
                      "N",
                      "11",
                      dataFile,
                      QStringLiteral("(I5,1X,%1I3)").arg(items),
                      QString::number(items),
                      constant ? "Y" : "N"};
    if (constant)
        lines << QString::number(job.categories[0]);
    else
        for (int k : job.categories) lines << QString::number(k);
    lines << "N"
          << "Y"
          << "0";
    if (job.discarded.empty()) {
        lines << "N";
    } else {
        lines << "Y" << QString::number(job.discarded.size());
        for (int item : job.discarded) lines << QString::number(item);
    }
    lines << "N"
          << "N"
          << "5"
          << "1"
          << "1"
          << "1"
          << "0.01"
          << "N"
          << "N";
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1();
}

// Writes the data and the job into `folder`, runs the engine with the work
// folder `folder`/work/ and returns that work folder ('/' at the end).
inline QString runEngineJob(const EngineJob& job, const QString& folder) {
    QDir(folder).mkpath(QStringLiteral("work"));
    const QString data = folder + QStringLiteral("data.dat");
    writeFile(data, simulatedData(job));
    writeFile(folder + QStringLiteral("job.cmd"), jobText(job, data));
    QProcess engine;
    engine.setWorkingDirectory(folder);
    engine.setStandardInputFile(QProcess::nullDevice());
    engine.setStandardOutputFile(QProcess::nullDevice());
    engine.start(QStringLiteral(VORMCALC_PATH), {folder + QStringLiteral("job.cmd"), folder + QStringLiteral("work/")});
    EXPECT_TRUE(engine.waitForFinished(60000)) << "the engine did not finish";
    return folder + QStringLiteral("work/");
}

// The counts of the data file, item by retained item.
inline std::vector<CountRow> tabulate(const EngineJob& job, const QByteArray& data) {
    int widest = 2;
    for (std::size_t j = 0; j < job.categories.size(); ++j)
        if (!isDiscarded(job, static_cast<int>(j) + 1)) widest = std::max(widest, job.categories[j]);
    std::vector<CountRow> rows;
    for (std::size_t j = 0; j < job.categories.size(); ++j) {
        const int item = static_cast<int>(j) + 1;
        if (isDiscarded(job, item)) continue;
        CountRow row{item, std::vector<int>(static_cast<std::size_t>(widest) + 1, 0)};
        for (const QByteArray& record : data.split('\n')) {
            if (record.isEmpty()) continue;
            const int value = record.mid(6 + 3 * static_cast<int>(j), 3).trimmed().toInt();
            ++row.values[value < 0 ? static_cast<std::size_t>(widest) : static_cast<std::size_t>(value)];
        }
        rows.push_back(row);
    }
    return rows;
}

inline bool operator==(const CountRow& a, const CountRow& b) { return a.item == b.item && a.values == b.values; }

inline void PrintTo(const CountRow& row, std::ostream* os) {
    *os << "item " << row.item << ":";
    for (int v : row.values) *os << ' ' << v;
}

}  // namespace vormgui::test
