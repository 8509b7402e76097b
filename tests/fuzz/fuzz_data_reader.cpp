// Fuzz target: the record-format interpreter and data input with its clean-up
// and scratch read-back.  The input is a small job and its data file:
//   line 1   the record format, as the job file gives it
//   line 2   number of items, categories and the recode flag (free format;
//            missing or out of range: 5 items, 3 categories, no recode)
//   the rest the data file
// Every way data input ends must be an abort with its status lines or data
// that later stages can index without a check.
#include <cstddef>
#include <cstdint>
#include <istream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include "common/io.h"
#include "common/stop.h"
#include "driver/Mmldat.h"
#include "driver/Stages.h"
#include "fuzz_input.h"

namespace {

std::string_view take_line(std::string_view& rest) {
    std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    return line;
}

int within(long long v, int low, int high, int fallback) {
    return v >= low && v <= high ? static_cast<int>(v) : fallback;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vorm;
    static const fuzz::ScratchFile file("data.txt");
    static const auto job = std::make_unique<JobSettings>();
    static const auto st = std::make_unique<Store>();
    static const auto records = std::make_unique<RawTable>();

    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::string_view format = take_line(rest);
    std::string_view counts = take_line(rest);
    *job = JobSettings();
    job->DATFMT = std::string(format);
    job->DATFILE = file.path();
    long long nitem = 0, ncat = 0, irecod = 0;
    std::istringstream(std::string(counts)) >> nitem >> ncat >> irecod;
    job->NITEM = within(nitem, 1, MAXITEM, 5);
    job->IRECOD = within(irecod, 0, 1, 0);
    for (int j = 1; j <= job->NITEM; ++j) job->NCAT(j) = within(ncat, 2, MAXCAT, 3);
    file.write(rest);

    std::istringstream no_input;
    Io io(fuzz::quiet_console(), no_input);
    io.units.open_in_memory();
    try {
        MMLDAT(io, *job, *records);
        READIT(io, *job, *st);
    } catch (const EngineStop& stop) {
        VORM_FUZZ_CHECK(!stop.status_lines().empty());
        return 0;
    }
    VORM_FUZZ_CHECK(job->NSUBJ >= 0 && job->NSUBJ <= MAXSUBJ);
    VORM_FUZZ_CHECK(job->NITEM >= 0 && job->NITEM <= MAXITEM);
    for (int j = 1; j <= job->NITEM; ++j)
        for (int k = 1; k <= job->NSUBJ; ++k) VORM_FUZZ_CHECK(st->RESP(k, j) < job->NCAT(j));
    return 0;
}
