// Times the data reader on fields far wider than their lines: 2000 records of
// one number each read with (101I1000000).  Reading costs the characters on
// the line, not the width of the fields; read a column at a time, these
// records would take about a minute.
//
//   bench_textio             the best of five readings, in seconds
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "common/textio.h"

using namespace vorm;

int main() {
    std::string text;
    for (int k = 1; k <= 2000; ++k) text += std::to_string(k) + "\n";
    const auto format = RecordFormat::parse("(101I1000000)");
    if (!format) return 1;
    double best = 1e300;
    for (int run = 0; run < 5; ++run) {
        std::istringstream in(text);
        LineReader reader(in);
        std::vector<std::int64_t> values;
        const auto start = std::chrono::steady_clock::now();
        for (int k = 1; k <= 2000; ++k)
            if (format->read(reader, 101, values) != ReadStatus::Ok || values[0] != k) return 1;
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::printf("2000 records of 101 fields 1000000 wide: %.4f s\n", best);
    return 0;
}
