// Running plot routines in-process into a fresh work folder and reading back
// what they wrote.
#pragma once

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/Store.h"
#include "common/io.h"
#include "common/stop.h"
#include "model/Fittedmodel.h"
#include "plotdata/Plotdata.h"
#include "test_support.h"

namespace vorm::test {

// A plot file's text: the same line n times, each ended by CR LF.
inline std::string repeat_lines(const std::string& line, int n) {
    std::string s;
    for (int k = 0; k < n; ++k) s += line + "\r\n";
    return s;
}

// The item parameters, common parameters and person estimates of the store,
// written exactly (hexadecimal floating point), to tell whether a stage
// changed any of them.
inline std::string estimates_of(const JobSettings& job, const Store& st) {
    std::string out;
    char buf[64];
    auto put = [&](const char* name, int k, double v) {
        std::snprintf(buf, sizeof buf, "%s %d %a\n", name, k, v);
        out += buf;
    };
    put("UNIT", 0, st.UNIT);
    for (int k = 0; k < MAXCAT; ++k) put("TAUC", k, st.TAUC(k));
    for (int i = 1; i <= job.NITEM; ++i) {
        put("DELTA", i, st.DELTA(i));
        put("ALPHA", i, st.ALPHA(i));
        put("LAMBDA", i, st.LAMBDA(i));
        for (int k = 0; k < MAXCAT; ++k) put("TAU", 100 * i + k, st.TAU(i, k));
    }
    for (int j = 1; j <= job.NSUBJ; ++j) put("THETA", j, st.THETA(j));
    return out;
}

// The lines of estimates_of(job, st) that differ from those of `before`.
inline std::vector<std::string> changed_estimates(const std::string& before, const JobSettings& job, const Store& st) {
    const std::vector<std::string> was = split_lines(before), now = split_lines(estimates_of(job, st));
    std::vector<std::string> changed;
    for (std::size_t k = 0; k < now.size(); ++k)
        if (k >= was.size() || now[k] != was[k]) changed.push_back(now[k]);
    if (was.size() > now.size()) changed.emplace_back("fewer values than before");
    return changed;
}

struct PlotRun {
    std::ostringstream con;
    std::istringstream in;
    Io io{con, in};
    std::unique_ptr<JobSettings> job = std::make_unique<JobSettings>();
    std::unique_ptr<Store> st = std::make_unique<Store>();
    std::unique_ptr<PlotWork> work = std::make_unique<PlotWork>();
    TempDir dir;

    PlotRun() {
        job->WRKDIR = dir.folder();
        io.units.open_in_memory();
    }

    std::string report() const { return io.units.contents(Unit::FT06); }

    // The fitted model of the job and the store as they are now.
    FittedModel fitted() const { return fitted_model(*job, *st); }

    // Runs f; the status lines when it stopped the run, else nothing.
    template <class F>
    std::vector<std::string> stops(F f) {
        try {
            f();
        } catch (const EngineStop& stop) {
            return stop.status_lines();
        }
        return {};
    }

    // The lines of a file in the work folder; every line must end in CR LF.
    std::vector<std::string> lines(const std::string& name) const {
        std::vector<std::string> out;
        for (std::string l : split_lines(read_file(dir.file(name)))) {
            EXPECT_TRUE(!l.empty() && l.back() == '\r') << name << ": a line without CR LF: " << l;
            if (!l.empty() && l.back() == '\r') l.pop_back();
            out.push_back(l);
        }
        return out;
    }

    // The numbers of every line of a data file.
    std::vector<std::vector<double>> table(const std::string& name) const {
        std::vector<std::vector<double>> rows;
        for (const std::string& l : lines(name)) {
            std::istringstream s(l);
            std::vector<double> row;
            for (double x; s >> x;) row.push_back(x);
            rows.push_back(row);
        }
        return rows;
    }
};

}  // namespace vorm::test
