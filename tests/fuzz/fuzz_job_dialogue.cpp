// Fuzz target: the job dialogue and the parameter listing, from a job file
// and from the console.  Whatever the text, the dialogue either stops with its
// status lines or leaves settings that fit the engine's fixed tables.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "common/io.h"
#include "common/stop.h"
#include "driver/Stages.h"
#include "fuzz_input.h"

namespace {

void run(vorm::JobSettings& job, const std::string& cmdfile, const std::string& console_input) {
    using namespace vorm;
    job = JobSettings();
    job.CMDFILE = cmdfile;
    std::istringstream in(console_input);
    Io io(fuzz::quiet_console(), in);
    io.units.open_in_memory();
    try {
        ASKIT(io, job);
    } catch (const EngineStop& stop) {
        VORM_FUZZ_CHECK(!stop.status_lines().empty());
        return;
    }
    VORM_FUZZ_CHECK(job.MODEL >= 1 && job.MODEL <= 8);
    VORM_FUZZ_CHECK(job.NQUAD >= 1 && job.NQUAD <= MAXQUAD);
    VORM_FUZZ_CHECK(job.NITEM >= 1 && job.NITEM <= MAXITEM);
    for (int j = 1; j <= job.NITEM; ++j) {
        VORM_FUZZ_CHECK(job.NCAT(j) >= 2 && job.NCAT(j) <= MAXCAT);
        VORM_FUZZ_CHECK(job.ICUT(j) >= 0 && job.ICUT(j) < MAXCAT);
    }
    VORM_FUZZ_CHECK(job.NDELI <= MAXITEM && job.NDELS <= MAXSUBJ);
    VORM_FUZZ_CHECK(job.IFITAN == 0 || (job.NFITG >= 1 && job.NFITG <= 20));
    VORM_FUZZ_CHECK(!io.units.contents(Unit::FT06).empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const vorm::fuzz::ScratchFile file("CMDFLE");
    static const auto job = std::make_unique<vorm::JobSettings>();
    std::string text(reinterpret_cast<const char*>(data), size);
    file.write(text);
    run(*job, file.path(), "");
    run(*job, "", "N\n" + text);
    return 0;
}
