// Writes the shipped example: a data set simulated from the model with known
// parameters, the job file that calibrates it, and the true parameters.
//   make_example <folder> [NAME ITEMS CATEGORIES RESPONDENTS]
// The optional four make another job of the same kind (model 8) under NAME,
// such as the 10-category job that the screenshots show.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "simulate.h"

int main(int argc, char** argv) {
    if (argc != 2 && argc != 6) {
        std::cerr << "usage: make_example <folder> [NAME ITEMS CATEGORIES RESPONDENTS]\n";
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    const std::string name = argc == 6 ? argv[2] : "EXAMPLE";
    const int nitem = argc == 6 ? std::atoi(argv[3]) : 15;
    const int ncat = argc == 6 ? std::atoi(argv[4]) : 6;
    const int nsubj = argc == 6 ? std::atoi(argv[5]) : 800;
    const int model = 8;
    if (nitem < 1 || nitem > 100 || ncat < 2 || ncat > 10 || nsubj < 1 || nsubj > 2000) {
        std::cerr << "make_example: 1 to 100 items, 2 to 10 categories, 1 to 2000 respondents\n";
        return 2;
    }
    vormsim::Design design;
    design.model = model;
    design.items = vormsim::typical_items(model, std::vector<int>(nitem, ncat), 2004);
    design.nsubj = nsubj;
    design.seed = 20261209;
    vormsim::Data data = vormsim::simulate(design);

    std::ofstream(dir + name + ".DAT") << vormsim::data_text(data, 1);

    std::ofstream job(dir + name + ".CMD");
    auto line = [&](const std::string& value, const std::string& label) {
        std::string v = value;
        while (v.size() < 14) v += ' ';
        job << v << label << "\r\n";
    };
    line(std::to_string(model), "model");
    line("N", "constrain thresholds");
    line("N", "reverse initial signs");
    line("30", "quadrature points");
    job << name << ".DAT\r\n";
    job << vormsim::data_format(nitem, 1) << "\r\n";
    line(std::to_string(nitem), "items");
    line("Y", "categories constant");
    line(std::to_string(ncat), "categories");
    line("N", "subtract 1");
    line("Y", "cutoff constant");
    line("2", "cutoff");
    line("N", "discard items");
    line("N", "discard subjects");
    line("N", "specify signs");
    line("50", "outer cycles");
    line("10", "inner cycles");
    line("10", "scoring iterations for thresholds");
    line("10", "scoring iterations for items");
    line("0.001", "convergence criterion");
    line("N", "plots");
    line("N", "fit statistics");

    std::ofstream truth(dir + name + ".TRUE");
    truth << "True item parameters of " << name << ".DAT (model " << model << ")\n";
    char buf[200];
    for (int i = 0; i < nitem; ++i) {
        const auto& it = design.items[static_cast<std::size_t>(i)];
        std::snprintf(buf, sizeof buf, "ITEM %3d DELTA %9.5f ALPHA %8.5f TAU", i + 1, it.delta, it.alpha);
        truth << buf;
        for (int c = 1; c < it.K; ++c) {
            std::snprintf(buf, sizeof buf, " %9.5f", it.tau[static_cast<std::size_t>(c)]);
            truth << buf;
        }
        truth << "\n";
    }
    return 0;
}
