// Running plot routines in-process into a fresh work folder and reading back
// what they wrote.
#pragma once

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/Store.h"
#include "common/io.h"
#include "common/stop.h"
#include "plotdata/Plotdata.h"
#include "test_support.h"

namespace vorm::test {

// A plot file's text: the same line n times, each ended by CR LF.
inline std::string repeat_lines(const std::string& line, int n) {
    std::string s;
    for (int k = 0; k < n; ++k) s += line + "\r\n";
    return s;
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
