// Small simulated jobs that the real engine runs in a temporary folder, and
// the response counts tabulated here from the same data file, so that what
// the front end reads out of the report is checked against counts that owe
// nothing to either program.
#pragma once

#include <gtest/gtest.h>

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <random>
#include <vector>

#include "gui_test_support.h"

namespace vormgui::test {

struct EngineJob {
    std::vector<int> categories;  // per item
    std::vector<int> discarded;   // item numbers
    double missingRate = 0.0;
    int respondents = 200;
    std::vector<int> discardedRespondents = {};  // identifiers
    std::vector<int> cutoffs = {};               // per item; none: 0

    bool kept(std::size_t j) const {
        return std::find(discarded.begin(), discarded.end(), int(j) + 1) == discarded.end();
    }
    int cutoff(std::size_t j) const { return j < cutoffs.size() ? cutoffs[j] : 0; }
};

// Identifier in columns 1-5, a blank, one response per item in 3 columns
// (-9 missing).  Every respondent answers a kept item above 0, so the
// engine's clean-up removes nobody.
inline QByteArray simulatedData(const EngineJob& job) {
    std::mt19937 random(static_cast<unsigned>(job.categories.size()));
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    QByteArray text;
    for (int person = 1; person <= job.respondents; ++person) {
        std::vector<int> row;
        for (int k : job.categories) row.push_back(unit(random) < job.missingRate ? -9 : int(random() % unsigned(k)));
        bool answered = false;
        for (std::size_t j = 0; j < row.size(); ++j) answered = answered || (job.kept(j) && row[j] > 0);
        std::size_t first = 0;
        while (!job.kept(first)) ++first;
        if (!answered) row[first] = 1;
        text += QByteArray::number(person).rightJustified(5) + ' ';
        for (int value : row) text += QByteArray::number(value).rightJustified(3);
        text += '\n';
    }
    return text;
}

// Writes data and job into `folder`, runs the engine (model 2, per-item
// categories, cutoff 0, short cycles) and returns its work folder.
inline QString runEngineJob(const EngineJob& job, const QString& folder) {
    QDir(folder).mkpath(QStringLiteral("work"));
    writeFile(folder + "data.dat", simulatedData(job));
    QStringList lines{"2",
                      "N",
                      "N",
                      "11",
                      folder + "data.dat",
                      QStringLiteral("(I5,1X,%1I3)").arg(job.categories.size()),
                      QString::number(job.categories.size()),
                      "N"};
    for (int k : job.categories) lines << QString::number(k);
    lines << "N"
          << "Y"
          << "0" << (job.discarded.empty() ? "N" : "Y");
    if (!job.discarded.empty()) lines << QString::number(job.discarded.size());
    for (int item : job.discarded) lines << QString::number(item);
    lines << "N"
          << "N"
          << "5"
          << "1"
          << "1"
          << "1"
          << "0.01"
          << "N"
          << "N";
    writeFile(folder + "job.cmd", (lines.join("\r\n") + "\r\n").toLatin1());

    QProcess engine;
    engine.setWorkingDirectory(folder);
    engine.setStandardOutputFile(QProcess::nullDevice());
    engine.start(QStringLiteral(VORM_ENGINE), {folder + "job.cmd", folder + "work/"});
    EXPECT_TRUE(engine.waitForFinished(60000)) << "the engine did not finish";
    return folder + "work/";
}

// The example job (model 8, 800 respondents, 15 items) with plots (10 theta
// groups, 20 theta-delta groups) and fit statistics (5 fit groups, every
// person's fit printed), run by the engine in `folder` (ending in '/');
// returns its work folder.
inline QString runExampleWithPlotsAndFit(const QString& folder) {
    const QString examples = sourceDir() + "examples/";
    QDir(folder).mkpath(QStringLiteral("work"));
    QFile::copy(examples + "EXAMPLE.DAT", folder + "EXAMPLE.DAT");
    QString job = QString::fromLatin1(readFile(examples + "EXAMPLE.CMD"));
    const auto answer = [&job](const char* label, const char* lines) {
        job.replace(QRegularExpression(QStringLiteral("^N( +%1)\\r?$").arg(QLatin1String(label)),
                                       QRegularExpression::MultilineOption),
                    QStringLiteral("Y\\1\r\n") + QLatin1String(lines));
    };
    answer("plots", "10            theta groups\r\n20            theta-delta groups");
    answer("fit statistics",
           "5             fit groups\r\nY             print every person\r\n2.576\r\n0.01\r\n3.291\r\n0.001\r\n2.576");
    writeFile(folder + "JOB.CMD", job.toLatin1());
    QProcess engine;
    engine.setWorkingDirectory(folder);
    engine.setStandardOutputFile(QProcess::nullDevice());
    engine.start(QStringLiteral(VORM_ENGINE), {folder + "JOB.CMD", folder + "work/"});
    EXPECT_TRUE(engine.waitForFinished(120000)) << "the engine did not finish";
    EXPECT_EQ(readFile(folder + "work/status"), " end\n") << "the example did not run";
    return folder + "work/";
}

// Per kept item: its number, then the counts of categories 0 to Kmax - 1 and
// of missing responses over the kept respondents, Kmax the most categories of
// a kept item (at least 2).  A respondent is kept when not discarded and some
// kept item has an answer of 1 or more at or above its cutoff: the engine's
// clean-up removes the others (no item loses all its variation here).  The
// data hold the identifier in columns 1-5, a blank and one response per item
// in fields of `width`.
inline std::vector<std::vector<int>> tabulate(const EngineJob& job, const QByteArray& data, int width = 3) {
    std::size_t widest = 2;
    for (std::size_t j = 0; j < job.categories.size(); ++j)
        if (job.kept(j)) widest = std::max(widest, std::size_t(job.categories[j]));
    const auto response = [width](const QByteArray& record, std::size_t j) {
        return record.mid(6 + width * int(j), width).trimmed().toInt();
    };
    std::vector<QByteArray> respondents;
    for (const QByteArray& record : data.split('\n')) {
        const int id = record.left(5).trimmed().toInt();
        if (record.isEmpty() || std::count(job.discardedRespondents.begin(), job.discardedRespondents.end(), id))
            continue;
        bool agrees = false;
        for (std::size_t j = 0; j < job.categories.size(); ++j)
            agrees = agrees || (job.kept(j) && response(record, j) >= std::max(1, job.cutoff(j)));
        if (agrees) respondents.push_back(record);
    }
    std::vector<std::vector<int>> rows;
    for (std::size_t j = 0; j < job.categories.size(); ++j) {
        if (!job.kept(j)) continue;
        std::vector<int> row(widest + 2, 0);
        row[0] = int(j) + 1;
        for (const QByteArray& record : respondents) {
            const int value = response(record, j);
            ++row[value < 0 ? widest + 1 : std::size_t(value) + 1];
        }
        rows.push_back(row);
    }
    return rows;
}

// The frequency chart as the user reads it: the caption under the bars, then
// per bar its legend name and its height.
inline QStringList shownBy(const QChartView& chartView) {
    QChart* chart = chartView.chart();
    QStringList shown{chart->axes(Qt::Horizontal).value(0)->titleText()};
    for (QAbstractSeries* series : chart->series())
        for (QBarSet* bar : static_cast<QBarSeries*>(series)->barSets())
            shown << bar->label() + " " + QString::number(bar->at(0));
    return shown;
}

// What shownBy should read for a row of tabulate(): every category count,
// not the missing one.
inline QStringList chartOf(const std::vector<int>& row) {
    QStringList shown{QStringLiteral("Response Frequency of Item #%1").arg(row.front())};
    for (std::size_t k = 1; k + 1 < row.size(); ++k) shown << QStringLiteral("Response %1 %2").arg(k).arg(row[k]);
    return shown;
}

}  // namespace vormgui::test
