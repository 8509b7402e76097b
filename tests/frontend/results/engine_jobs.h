// Small simulated jobs that the real engine runs in a temporary folder, and
// the response counts tabulated here from the same data file, so that what
// the front end reads out of the report is checked against counts that owe
// nothing to either program.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
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

    bool kept(std::size_t j) const {
        return std::find(discarded.begin(), discarded.end(), int(j) + 1) == discarded.end();
    }
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
    engine.start(QStringLiteral(VORMCALC_PATH), {folder + "job.cmd", folder + "work/"});
    EXPECT_TRUE(engine.waitForFinished(60000)) << "the engine did not finish";
    return folder + "work/";
}

// Per kept item: its number, then the counts of categories 0 to Kmax - 1 and
// of missing responses, Kmax the most categories of a kept item (at least 2).
inline std::vector<std::vector<int>> tabulate(const EngineJob& job, const QByteArray& data) {
    std::size_t widest = 2;
    for (std::size_t j = 0; j < job.categories.size(); ++j)
        if (job.kept(j)) widest = std::max(widest, std::size_t(job.categories[j]));
    std::vector<std::vector<int>> rows;
    for (std::size_t j = 0; j < job.categories.size(); ++j) {
        if (!job.kept(j)) continue;
        std::vector<int> row(widest + 2, 0);
        row[0] = int(j) + 1;
        for (const QByteArray& record : data.split('\n')) {
            if (record.isEmpty()) continue;
            const int value = record.mid(6 + 3 * int(j), 3).trimmed().toInt();
            ++row[value < 0 ? widest + 1 : std::size_t(value) + 1];
        }
        rows.push_back(row);
    }
    return rows;
}

}  // namespace vormgui::test
