// Data input and clean-up: reads the data file with the job's record format,
// echoes the first two records, recodes, applies the user's discards, removes
// respondents and items without information until a pass removes nothing,
// and leaves the retained data in the scratch units for READIT.
//
// The raw table holds MAXSUBJ records of MAXITEM responses in the run's
// workspace (it is too large for the stack and lives once per run).  A file with
// more records (blank lines, respondents the user discards) keeps the rest
// beside the table, since only the retained count after the clean-up decides
// whether the job fits.  A file with more than kMaxDataRecords records, or
// with a line longer than any record, cannot be a data set (a file that keeps
// growing, one that is no text) and ends with the read-error abort.  Only a
// plain file is read: a named pipe, a device or a folder fails to open.
#include "driver/Mmldat.h"

#include <cctype>
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "common/filestream.h"
#include "common/paths.h"
#include "common/status.h"
#include "common/stop.h"
#include "common/textio.h"
#include "driver/Stages.h"

namespace vorm {

namespace {

// The item is a blank and 48 asterisks, so the free-format line has two blanks.
const std::string kStars48 = std::string(1, ' ').append(48, '*');
const std::string kStars50(50, '*');
constexpr const char* kAbortLine = "                  ABORT                   ";
constexpr const char* kCleanupStars = "(1X,'************************************************')";

// The abort block shared by every data-input failure: report lines, then the
// stop with the status lines.
[[noreturn]] void data_abort(Io& io, const std::vector<std::vector<Val>>& report_lines,
                             const std::vector<std::vector<Val>>& status_lines) {
    std::ostream& rep = io.report();
    write_free(rep, {kStars48});
    write_free(rep, {kStars48});
    write_free(rep);
    for (const auto& l : report_lines) write_free(rep, l);
    write_free(rep);
    for (int k = 0; k < 3; ++k) write_free(rep, {kAbortLine});
    write_free(rep, {kStars48});
    write_free(rep, {kStars48});
    rep.flush();
    std::vector<std::string> status;
    for (const auto& l : status_lines) status.push_back(format_free(l));
    throw EngineStop(std::move(status));
}

[[noreturn]] void same_abort(Io& io, const std::vector<std::vector<Val>>& lines) { data_abort(io, lines, lines); }

// The message's last line says what went wrong: the file as the engine
// looked for it and the system's reason.
[[noreturn]] void open_failure(Io& io, const std::string& path, const std::string& reason) {
    same_abort(io, {{" CANNOT OPEN DATA FILE. CHECK ACCURACY OF "},
                    {" SPECIFIED DRIVE:\\PATH\\FILENAME.EXT       "},
                    {file_and_reason(absolute_path(path), reason)}});
}

// `where` is the message's last line: the record and the place in it where
// reading failed, or what is wrong with the format.
[[noreturn]] void read_error(Io& io, const std::string& where) {
    same_abort(io, {{" ERROR ATTEMPTING TO READ YOUR DATA SET.  "},
                    {" CHECK YOUR INPUT FORMAT AGAINST THE DATA "},
                    {" TO SEE IF IT MATCHES CORRECTLY           "},
                    {where}});
}

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// Where reading record `record` failed: the field's column (and its line
// when that is not the record's number, as in a record over several lines),
// or what is wrong with a line as a whole.
std::string failure_place(int record, const FieldPlace& at, bool line_too_long) {
    const std::string s = " THE ERROR IS IN RECORD " + std::to_string(record);
    const std::string line = std::to_string(at.line);
    if (line_too_long)
        return s + ": LINE " + line + " IS LONGER THAN " + std::to_string(LineReader::kMaxLineLength) + " CHARACTERS.";
    if (at.column == 0) return s + ": THE FORMAT READS NO VALUE FROM LINE " + line + ".";
    return s + (at.line != record ? " (LINE " + line + ")" : "") + ", COLUMN " + std::to_string(at.column) + ".";
}

[[noreturn]] void recode_abort(Io& io) {
    same_abort(io, {{" RECODING HAS LED TO AN INVALID (NEGATIVE)"}, {" RESPONSE CODE.  JOB IS ABORTING.         "}});
}

[[noreturn]] void respondent_limit(Io& io) {
    data_abort(
        io, {{" NO MORE THAN 2000 RETAINED RESPONDENTS CAN   "}, {" CAN BE USED IN A SINGLE CALIBRATION.         "}},
        {{" NO MORE THAN 2000 RETAINED RESPONDENTS CAN   "}, {" CAN BE USED IN A SINGLE CALIBRATION          "}});
}

[[noreturn]] void item_limit(Io& io) {
    data_abort(io, {{" NO MORE THAN 100 RETAINED ITEMS CAN      "}, {" BE USED IN A SINGLE CALIBRATION.         "}},
               {{" NO MORE THAN 100 RETAINED ITEMS CAN      "}, {" BE USED IN A SINGLE CALIBRATION          "}});
}

// Every later stage indexes its tables by the response, so a category that the
// item does not have must not get past data input.
[[noreturn]] void category_abort(Io& io, std::int64_t id, int item, int value, int ncat) {
    same_abort(io, {{" A RESPONSE CODE IS AT OR ABOVE THE NUMBER OF "},
                    {" RESPONSE CATEGORIES OF ITS ITEM.  JOB IS ABORTING."},
                    {" SUBJECT ID: ", static_cast<long long>(id), "  ITEM #", item, "  RESPONSE: ", value,
                     "  CATEGORIES: ", ncat}});
}

void echo_header(std::ostream& rep) {
    write_free(rep, {kStars50});
    write_free(rep);
    write_free(rep, {" FIRST TWO CASES FROM DATA FILE AS READ BY PROGRAM:"});
    write_free(rep);
    write_free(rep, {kStars50});
}

void echo_record(std::ostream& rep, const std::vector<std::int64_t>& v, int nitem) {
    write_free(rep);
    write_free(rep);
    write_free(rep, {" SUBJECT ID:", static_cast<long long>(v[0])});
    for (int j = 1; j <= nitem; ++j)
        write_free(rep, {" ITEM #", j, ":", static_cast<long long>(v[static_cast<std::size_t>(j)])});
}

// Reads and holds every record; returns the number read.
int read_records(Io& io, const JobSettings& job, RawTable& t) {
    std::string why;
    FileStream data(open_plain_file(job.DATFILE, &why), std::ios::in);
    if (!data.is_open()) open_failure(io, job.DATFILE, why);
    auto format = RecordFormat::parse(job.DATFMT, &why);
    if (!format) read_error(io, " THE FORMAT CANNOT BE USED: " + upper(why) + ".");

    std::ostream& rep = io.report();
    LineReader in(data);
    std::vector<std::int64_t> v;
    std::vector<FieldPlace> places;
    const int nitem = job.NITEM;
    int nrec = 0;
    for (;;) {
        ReadStatus s = format->read(in, 1 + nitem, v, &places);
        if (s == ReadStatus::End) break;
        if (s == ReadStatus::Error)
            read_error(io, failure_place(nrec + 1, places.empty() ? FieldPlace{} : places.back(), in.too_long()));
        // A response beyond the integer range does not fit an integer field.
        for (int j = 1; j <= nitem; ++j) {
            std::int64_t x = v[static_cast<std::size_t>(j)];
            if (x < INT_MIN || x > INT_MAX)
                read_error(io, failure_place(nrec + 1, places[static_cast<std::size_t>(j)], false));
        }
        if (++nrec > kMaxDataRecords)
            read_error(io, " THE DATA FILE HOLDS MORE THAN " + std::to_string(kMaxDataRecords) + " RECORDS.");
        if (nrec == 1) echo_header(rep);
        if (nrec <= 2) echo_record(rep, v, nitem);
        t.hold(nrec, v);
    }
    write_free(rep);
    write_free(rep);
    return nrec;
}

void recode(Io& io, const JobSettings& job, RawTable& t, int nrec) {
    for (int k = 1; k <= nrec; ++k) {
        for (int j = 1; j <= job.NITEM; ++j) {
            int& r = t.resp(k, j);
            if (r >= 0) r -= job.IRECOD;
            if (r == -1) recode_abort(io);
        }
    }
}

void user_discards(const JobSettings& job, RawTable& t, int nrec) {
    int ndeli = std::min(std::max(job.NDELI, 0), MAXITEM);
    for (int e = 1; e <= ndeli; ++e) {
        for (int j = 1; j <= job.NITEM; ++j) {
            if (t.itemno(j) != job.IDELI(e)) continue;
            for (int k = 1; k <= nrec; ++k) t.resp(k, j) = 0;
            break;
        }
    }
    int ndels = std::min(std::max(job.NDELS, 0), MAXSUBJ);
    for (int e = 1; e <= ndels; ++e) {
        for (int k = nrec; k >= 1; --k) {  // the last record with that identifier
            if (t.id(k) != job.IDELS(e)) continue;
            for (int j = 1; j <= job.NITEM; ++j) t.resp(k, j) = 0;
            break;
        }
    }
}

void check_categories(Io& io, const JobSettings& job, RawTable& t, int nrec) {
    for (int k = 1; k <= nrec; ++k) {
        for (int j = 1; j <= job.NITEM; ++j) {
            int limit = std::min(job.NCAT(j), MAXCAT);
            int r = t.resp(k, j);
            if (r >= limit) category_abort(io, t.id(k), t.itemno(j), r, job.NCAT(j));
        }
    }
}

// Clean-up passes until one removes nothing.  Compacts the table, NCAT and ICUT.
void clean_up(Io& io, JobSettings& job, RawTable& t, int& nsubj, int& nitem) {
    std::ostream& rep = io.report();
    ItemInts maxv;
    ItemInts sum;
    for (int pass = 1;; ++pass) {
        bool removed = false;
        for (int j = 1; j <= nitem; ++j) {
            int answered = 0;
            for (int k = 1; k <= nsubj; ++k)
                if (t.resp(k, j) >= 0) ++answered;
            maxv(j) = (job.NCAT(j) - 1) * answered;
            sum(j) = 0;
        }

        int kept = 0;
        for (int k = 1; k <= nsubj; ++k) {
            int score = 0;
            for (int j = 1; j <= nitem; ++j) {
                int r = t.resp(k, j);
                if (r >= 0 && r >= job.ICUT(j)) score += r;
            }
            if (score < 1) {
                const char* layout = "(1X,'SUBJECT #',I8,1X,'DISCARDED DUE TO',' COMPLETE DISAGREEMENT')";
                write_fixed(io.con, layout, {static_cast<long long>(t.id(k))});
                write_free(rep);
                write_fixed(rep, layout, {static_cast<long long>(t.id(k))});
                write_free(rep);
                continue;
            }
            ++kept;
            t.id(kept) = t.id(k);
            for (int j = 1; j <= nitem; ++j) {
                int r = t.resp(k, j);
                t.resp(kept, j) = r;
                if (r >= 0) sum(j) += r;
            }
        }
        if (kept < nsubj) {
            int gone = nsubj - kept;
            nsubj = kept;
            removed = true;
            const char* layout =
                "(1X,I5,' SUBJECTS WERE DISCARDED ON DATA CLEAN-UP',/,1X,'PASS',1X,I2,1X,"
                "'BECAUSE OF INVARIANT RESPONSE PATTERNS')";
            for (std::ostream* os : {&io.con, static_cast<std::ostream*>(&rep)}) {
                write_fixed(*os, kCleanupStars);
                write_fixed(*os, layout, {gone, pass});
                write_fixed(*os, kCleanupStars);
            }
        }

        int kept_items = 0;
        for (int j = 1; j <= nitem; ++j) {
            bool disagreement = sum(j) < 1;
            bool agreement = sum(j) >= maxv(j);
            for (std::ostream* os : {&io.con, static_cast<std::ostream*>(&rep)}) {
                if (disagreement)
                    write_fixed(*os, "(1X,'ITEM #',I3,' IS DISCARDED DUE TO COMPLETE',' DISAGREEMENT')", {t.itemno(j)});
                if (agreement)
                    write_fixed(*os, "(1X,'ITEM #',I3,' IS DISCARDED DUE TO COMPLETE',' AGREEMENT')", {t.itemno(j)});
            }
            if (disagreement || agreement) continue;
            ++kept_items;
            t.itemno(kept_items) = t.itemno(j);
            job.NCAT(kept_items) = job.NCAT(j);
            job.ICUT(kept_items) = job.ICUT(j);
            for (int k = 1; k <= nsubj; ++k) t.resp(k, kept_items) = t.resp(k, j);
        }
        if (kept_items < nitem) {
            int gone = nitem - kept_items;
            nitem = kept_items;
            removed = true;
            const char* layout =
                "(1X,I4,' ITEMS WERE DISCARDED ON DATA CLEAN-UP PASS',I2,' DUE TO TOTAL LACK OF VARIATION IN "
                "SUBJECTS'' RESPONSES')";
            for (std::ostream* os : {&io.con, static_cast<std::ostream*>(&rep)}) {
                write_fixed(*os, kCleanupStars);
                write_fixed(*os, layout, {gone, pass});
                write_fixed(*os, kCleanupStars);
            }
        }
        if (!removed) break;
    }
}

}  // namespace

void MMLDAT(Io& io, JobSettings& job, RawTable& t) {
    // The per-item settings and the raw table hold MAXITEM items.
    if (job.NITEM > MAXITEM) item_limit(io);
    for (int j = 1; j <= job.NITEM; ++j) t.itemno(j) = j;

    RawOverflow extra(t, job.NITEM);
    int nrec = read_records(io, job, t);
    job.NSUBJ = nrec;
    recode(io, job, t, nrec);
    user_discards(job, t, nrec);
    check_categories(io, job, t, nrec);

    int nsubj = nrec;
    int nitem = job.NITEM;
    clean_up(io, job, t, nsubj, nitem);
    job.NSUBJ = nsubj;
    job.NITEM = nitem;

    std::iostream& f13 = io.units[Unit::FT13];
    std::vector<Val> rec;
    for (int k = 1; k <= nsubj; ++k) {
        rec.clear();
        rec.emplace_back(static_cast<long long>(t.id(k)));
        for (int j = 1; j <= nitem; ++j) rec.emplace_back(t.resp(k, j));
        write_fixed(f13, kScratchRespondentLayout, rec);
    }
    std::iostream& f14 = io.units[Unit::FT14];
    write_fixed(f14, kScratchCountsLayout, {nsubj, nitem});

    if (nsubj > MAXSUBJ) respondent_limit(io);
    if (nitem > MAXITEM) item_limit(io);

    std::iostream& f08 = io.units[Unit::FT08];
    for (int j = 1; j <= nitem; ++j) write_fixed(f08, kScratchItemLayout, {t.itemno(j)});
    io.units.rewind(Unit::FT13);
    io.units.rewind(Unit::FT14);
    io.units.rewind(Unit::FT08);
}

}  // namespace vorm
