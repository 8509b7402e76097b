// Reads the scratch units that MMLDAT left rewound into the store and closes
// them: the retained counts, the data-file numbers of the retained items, and
// each retained respondent's identifier and responses.
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "common/status.h"
#include "common/stop.h"
#include "common/textio.h"
#include "driver/Mmldat.h"
#include "driver/Stages.h"

namespace vorm {

namespace {

// The scratch units are written by this run a moment earlier, so a failure
// here is the file system's, not the user's; it must not pass unnoticed.
[[noreturn]] void scratch_failure(Io& io, const char* unit) {
    std::string text = std::string(" THE SCRATCH FILE ") + unit + " CANNOT BE READ BACK. JOB IS ABORTING.";
    write_free(io.con, {text});
    write_free(io.report(), {text});
    throw EngineStop({status_text(text)});
}

void read_scratch(Io& io, Unit u, const char* layout, int count, std::vector<std::int64_t>& v) {
    auto format = RecordFormat::parse(layout);
    LineReader in(io.units[u]);
    if (!format || format->read(in, count, v) != ReadStatus::Ok) scratch_failure(io, unit_file_name(u));
}

}  // namespace

void READIT(Io& io, JobSettings& job, Store& st) {
    std::vector<std::int64_t> v;
    read_scratch(io, Unit::FT14, kScratchCountsLayout, 2, v);
    io.units.close(Unit::FT14);
    if (v[0] < 0 || v[0] > MAXSUBJ || v[1] < 0 || v[1] > MAXITEM) scratch_failure(io, unit_file_name(Unit::FT14));
    const int nsubj = static_cast<int>(v[0]);
    const int nitem = static_cast<int>(v[1]);

    {
        auto format = RecordFormat::parse(kScratchItemLayout);
        LineReader in(io.units[Unit::FT08]);
        for (int j = 1; j <= nitem; ++j) {
            if (format->read(in, 1, v) != ReadStatus::Ok) scratch_failure(io, unit_file_name(Unit::FT08));
            st.ITEMID(j) = static_cast<int>(v[0]);
        }
        io.units.close(Unit::FT08);
    }
    {
        auto format = RecordFormat::parse(kScratchRespondentLayout);
        LineReader in(io.units[Unit::FT13]);
        for (int k = 1; k <= nsubj; ++k) {
            if (format->read(in, 1 + nitem, v) != ReadStatus::Ok) scratch_failure(io, unit_file_name(Unit::FT13));
            st.PERSID(k) = v[0];
            for (int j = 1; j <= nitem; ++j) {
                std::int64_t r = v[static_cast<std::size_t>(j)];
                if (r < INT_MIN || r > INT_MAX) scratch_failure(io, unit_file_name(Unit::FT13));
                st.RESP(k, j) = static_cast<int>(r);
            }
        }
        io.units.close(Unit::FT13);
    }
    job.NSUBJ = nsubj;
    job.NITEM = nitem;

    const char* layout = "(' PROCESSED RESPONSES FROM ',I4,' SUBJECTS TO ',I3,' ITEMS HAVE BEEN READ.')";
    for (std::ostream* os : {static_cast<std::ostream*>(&io.report()), &io.con}) {
        write_free(*os);
        write_fixed(*os, layout, {nsubj, nitem});
    }
}

}  // namespace vorm
