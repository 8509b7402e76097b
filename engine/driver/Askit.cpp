// ASKIT: the job dialogue.  Every job setting is read, in one fixed order, from
// the job file or, when none is used, from answers typed at the console; the
// questions go to the console in both cases, so a run from a job file shows
// them too.  A value out of range is asked again and the answer is taken from
// the NEXT line: the front end's job files and its users rely on that rule.
// After the last answer the parameter listing opens the report.
//
// A job that cannot be read at all (the file cannot be opened, it ends early,
// a number is not a number) or that would not fit the engine's fixed tables
// ends the run with a console message and a status line that says why.
#include <climits>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "common/filestream.h"
#include "common/paths.h"
#include "common/status.h"
#include "common/stop.h"
#include "common/stopsignal.h"
#include "common/textio.h"
#include "driver/Listing.h"
#include "driver/Stages.h"
#include "model/Traits.h"
#include "numlib/Today_date.h"

namespace vorm {

namespace {

bool yes(char c) { return c == 'Y' || c == 'y'; }
bool no(char c) { return c == 'N' || c == 'n'; }

// The source of the answers and the console that shows the questions.
class Answers {
public:
    Answers(std::ostream& con, std::istream& in, bool from_file) : con_(con), in_(in), file_(from_file) {}

    void say(const std::vector<Val>& items = {}) { write_free(con_, items); }

    long long whole(const char* what) { return number_record(what, read_int_record, 0LL); }

    // A whole number that an int setting can hold; anything larger cannot be
    // a sensible answer and is treated like any other unreadable number.
    int number(const char* what) {
        long long v = whole(what);
        if (v < INT_MIN || v > INT_MAX) not_a_number(what);
        return static_cast<int>(v);
    }

    double real(const char* what) { return number_record(what, read_real_record, 0.0); }

    char letter(const char* what) {
        con_.flush();
        char c = ' ';
        if (read_letter_record(in_, c) != ReadStatus::Ok) ended(what);
        return c;
    }

    std::string text(const char* what) {
        con_.flush();
        std::string s;
        if (read_text_record(in_, s) != ReadStatus::Ok) ended(what);
        // A path or a format would be taken only up to the NUL.
        if (s.find('\0') != std::string::npos)
            stop({" ERROR READING THE JOB: A NUL CHARACTER" + where(), std::string(" FOR: ") + what});
        return s;
    }

    // One character read as a free-format value: leading blanks are skipped
    // and a line of blanks holds no value, so the next line is read.
    char character(const char* what) {
        con_.flush();
        std::string line;
        for (;;) {
            if (!in_.next(line)) ended(what);
            std::size_t b = line.find_first_not_of(" \t");
            if (b != std::string::npos) return line[b];
        }
    }

    [[noreturn]] void stop(const std::vector<std::string>& lines) {
        // A stop signal cuts a console read short: the input did not end, and
        // the run ends as the signal's.
        stop_point();
        std::vector<std::string> status;
        for (const auto& l : lines) {
            say({l});
            status.push_back(status_text(l));
        }
        con_.flush();
        throw EngineStop(status);
    }

private:
    template <class T>
    T number_record(const char* what, ReadStatus (*read)(LineReader&, T&), T v) {
        con_.flush();
        switch (read(in_, v)) {
            case ReadStatus::Ok:
                return v;
            case ReadStatus::End:
                ended(what);
            case ReadStatus::Error:
                break;
        }
        not_a_number(what);
    }

    [[noreturn]] void ended(const char* what) {
        if (in_.too_long())
            stop({std::string(" ERROR READING THE JOB: A LINE IS TOO LONG") +
                      (file_ ? " IN THE COMMAND FILE AT LINE " + std::to_string(in_.lines_read() + 1)
                             : std::string(" IN THE CONSOLE INPUT")),
                  std::string(" FOR: ") + what});
        if (file_)
            stop({" THE COMMAND FILE ENDED BEFORE THE JOB WAS COMPLETE.",
                  std::string(" NO ANSWER WAS FOUND FOR: ") + what});
        stop({" THE CONSOLE INPUT ENDED BEFORE THE JOB WAS COMPLETE.",
              std::string(" NO ANSWER WAS FOUND FOR: ") + what});
    }

    // The line just read.
    std::string where() const {
        return file_ ? " IN THE COMMAND FILE AT LINE " + std::to_string(in_.lines_read())
                     : std::string(" IN THE CONSOLE ANSWER");
    }

    [[noreturn]] void not_a_number(const char* what) {
        stop({" ERROR READING THE JOB: A NUMBER WAS EXPECTED" + where(), std::string(" FOR: ") + what});
    }

    std::ostream& con_;
    LineReader in_;
    bool file_;
};

void ask_model(Answers& a) {
    a.say({" WHICH QAV DO YOU WANT TO ESTIMATE?"});
    a.say({" 1) QAV WITH A SINGLE UNIT PARAMETER THAT REMAINS"});
    a.say({"    CONSTANT ACROSS ITEMS"});
    a.say({" 2) QAV WITH A UNIT PARAMTER THAT VARIES FOR EACH", " ITEM"});
    a.say({" 3) QAV WITH THRESHOLD PARAMETERS THAT REMAIN", " CONSTANT"});
    a.say({"    ACROSS ITEMS"});
    a.say({" 4) QAV WITH THRESHOLD PARAMETERS THAT VARY ACROSS", " ITEMS"});
    a.say({" 5) QAV WITH A SINGLE UNIT PARAMETER THAT REMAINS"});
    a.say({"    CONSTANT ACROSS ITEMS AND A DISCRIMINATION"});
    a.say({"    PARAMETER FOR EACH ITEM"});
    a.say({" 6) QAV WITH A UNIT PARAMTER THAT VARIES FOR EACH", " ITEM"});
    a.say({"    AND A DISCRIMINATION PARAMETER FOR EACH ITEM"});
    a.say({" 7) QAV WITH THRESHOLD PARAMETERS THAT REMAIN", " CONSTANT"});
    a.say({"    ACROSS ITEMS AND A DISCRIMINATION PARAMETER", " FOR EACH ITEM"});
    a.say({" 8) QAV WITH THRESHOLD PARAMETERS THAT VARY ACROSS", " ITEMS"});
    a.say({"    AND A DISCRIMINATION PARAMETER FOR EACH ITEM"});
    a.say();
}

void ask_scoring(Answers& a, const char* second_line) {
    a.say({" WHAT IS THE MAXIMUM NUMBER OF FISHER SCORING"});
    a.say({second_line});
    a.say({" SINGLE INNER CYCLE (MUST BE GREATER OR EQUAL TO 1)? "});
}

// Shows the question and reads the answer until it lies in [low, high].
int in_range(Answers& a, int low, int high, void (*ask)(Answers&), const char* what) {
    for (;;) {
        ask(a);
        int v = a.number(what);
        if (v >= low && v <= high) return v;
    }
}

// The same for a real answer that must not exceed `high` (no lower bound).
double at_most(Answers& a, double high, void (*ask)(Answers&), const char* what) {
    for (;;) {
        ask(a);
        double v = a.real(what);
        if (v <= high) return v;
    }
}

int at_least(Answers& a, int low, void (*ask)(Answers&), const char* what) {
    return in_range(a, low, INT_MAX, ask, what);
}

// Records 9 and 10 of the job: the category counts.  Returns false for the
// constant-categories abort.
bool categories(Answers& a, JobSettings& job) {
    a.say({" IS NUMBER OF CATEGORIES CONSTANT ACROSS ITEMS? "});
    if (yes(a.letter("CATEGORIES CONSTANT"))) {
        job.LCATC = -1;
        job.NCAT(1) = in_range(
            a, 2, MAXCAT,
            [](Answers& q) {
                q.say({" HOW MANY RESPONSE CATEGORIES DOES EACH ITEM ", "HAVE?"});
                q.say({" NOTE THAT THIS NUMBER MUST BE AT LEAST 2 AND ", "LESS THAN OR EQUAL TO 10."});
            },
            "NUMBER OF RESPONSE CATEGORIES");
        for (int j = 2; j <= job.NITEM; ++j) job.NCAT(j) = job.NCAT(1);
        return true;
    }
    job.LCATC = 0;
    // Common thresholds or a common unit need one category count for all items.
    if (model_traits(job.MODEL).common) return false;
    for (int j = 1; j <= job.NITEM; ++j) {
        for (;;) {
            a.say({"HOW MANY RESPONSE CATEGORIES DOES ITEM ", j, " HAVE?"});
            int n = a.number("NUMBER OF RESPONSE CATEGORIES OF AN ITEM");
            if (n >= 2 && n <= MAXCAT) {
                job.NCAT(j) = n;
                break;
            }
            a.say({" NOTE THAT THIS NUMBER MUST BE AT LEAST 2", " LESS THAN OR EQUAL TO 10."});
        }
    }
    return true;
}

void cutoff_note(Answers& a) {
    a.say({" NOTE THAT THIS NUMBER MUST BE AT LEAST 0 AND ", "LESS THAN OR EQUAL TO THE CORRESPONDING NUMBER OF ",
           "CATEGORIES MINUS 1."});
}

bool cutoffs(Answers& a, JobSettings& job) {
    a.say({" IS RESPONSE CUTOFF VALUE CONSTANT ACROSS ITEMS? "});
    if (yes(a.letter("CUTOFF CONSTANT"))) {
        for (;;) {
            a.say({" WHAT SHOULD THE MINUMUM ITEM SCORE CUTOFF BE?"});
            cutoff_note(a);
            int c = a.number("RESPONSE CUTOFF");
            if (c >= 0 && c <= job.NCAT(1) - 1) {
                job.ICUT(1) = c;
                break;
            }
        }
        for (int j = 2; j <= job.NITEM; ++j) job.ICUT(j) = job.ICUT(1);
        return true;
    }
    for (int j = 1; j <= job.NITEM; ++j) {
        for (;;) {
            a.say({"WHAT IS THE RESPONSE CUTOFF VALUE OF ITEM ", j, "?"});
            int c = a.number("RESPONSE CUTOFF OF AN ITEM");
            if (c >= 0 && c <= job.NCAT(j) - 1) {
                job.ICUT(j) = c;
                break;
            }
            cutoff_note(a);
        }
    }
    return false;
}

void constant_categories_abort(Io& io, JobSettings& job) {
    std::ostream& rep = io.report();
    write_free(io.con);
    write_free(io.con);
    write_free(io.con, {" ************************************"});
    write_free(io.con);
    write_free(io.con, {"NUMBER OF RESPONSE CATEGORIES MUST BE", " CONSTANT FOR MODEL=", job.MODEL});
    write_free(rep, {"NUMBER OF RESPONSE CATEGOTIES MUST BE", " CONSTANT FOR MODEL=", job.MODEL});
    write_free(io.con, {" ANALYSIS WILL ABORT"});
    write_free(rep, {" ANALYSIS WILL ABORT"});
    // The prompt stays for the user's eyes; the run does not wait for it.
    write_free(io.con, {"Press Enter to continue."});
    io.con.flush();
    job.NCAT(1) = -1;
    // A failed run: its message, not " end", is what the status file keeps.
    throw EngineStop({format_free({"NUMBER OF RESPONSE CATEGORIES MUST BE", " CONSTANT FOR MODEL=", job.MODEL}),
                      status_text(" ANALYSIS WILL ABORT")});
}

// Records 1 to 34 in order.
void dialogue(Io& io, Answers& a, JobSettings& job, JobEcho& echo) {
    job.MODEL = in_range(a, 1, 8, ask_model, "MODEL NUMBER");
    // A bad quadrature count sends the dialogue back to the constraint question.
    for (;;) {
        a.say({" DO YOU WANT TO CONSTRAIN THE LAMBDA/THRESHOLD"});
        a.say({" PARAMETERS?"});
        job.ICONST = yes(a.letter("CONSTRAINTS")) ? 1 : 0;
        a.say({" DO YOU WANT TO REVERSE THE SIGN OF INITIAL ", "PARAMETER ESTIMATES?"});
        a.say();
        job.SIGNR = yes(a.letter("SIGN REVERSAL")) ? -1.0 : 1.0;
        a.say({" HOW MANY QUADRATURE POINTS DO YOU WANT TO USE? "});
        a.say({" NOTE THAT THIS NUMBER SHOULD BE BETWEEN 1 AND 50"});
        int q = a.number("NUMBER OF QUADRATURE POINTS");
        if (q >= 1 && q <= MAXQUAD) {
            job.NQUAD = q;
            break;
        }
    }

    a.say({" WHAT IS THE DRIVE:\\PATH\\FILENAME.EXT OF THE DATA", " FILE CONTAINING THE RESPONSES? "});
    echo.datfile = a.text("DATA FILE");
    job.DATFILE = native_path(trim_right(echo.datfile));
    a.say({" WHAT IS THE FORMAT OF THE DATA (SUBJECT # AND", " ITEMS)?"});
    echo.datfmt = a.text("DATA FORMAT");
    job.DATFMT = trim_right(echo.datfmt);

    a.say({" HOW MANY ITEMS DID EACH SUBJECT RESPOND TO? "});
    job.NITEM = a.number("NUMBER OF ITEMS");
    // Every per-item setting holds MAXITEM entries, and data input reads at
    // least one response per record.
    if (job.NITEM > MAXITEM)
        a.stop({" NO MORE THAN 100 ITEMS CAN BE USED IN A SINGLE CALIBRATION.",
                " THE JOB ASKS FOR " + std::to_string(job.NITEM) + " ITEMS.  JOB IS ABORTING."});
    if (job.NITEM < 1)
        a.stop({" AT LEAST 1 ITEM MUST BE USED IN A CALIBRATION.",
                " THE JOB ASKS FOR " + std::to_string(job.NITEM) + " ITEMS.  JOB IS ABORTING."});

    if (!categories(a, job)) constant_categories_abort(io, job);

    a.say({" RESPONSE CATEGORIES SHOULD BE SUCCESSIVE INTEGERS ", "BEGINNING WITH THE NUMBER 0."});
    a.say({" DO YOU WANT TO SUBTRACT 1 FROM EACH ", "RESPONSE (Y/N)? "});
    job.IRECOD = yes(a.letter("RECODE")) ? 1 : 0;

    echo.cutoff_constant = cutoffs(a, job);

    a.say({" ARE THERE ANY ITEMS YOU WANT TO DISCARD (Y/N)? "});
    job.NDELI = 0;
    if (yes(a.letter("DISCARD ITEMS"))) {
        a.say({" HOW MANY ITEMS DO YOU WANT TO DISCARD? "});
        int n = a.number("NUMBER OF ITEMS TO DISCARD");
        if (n > MAXITEM)
            a.stop({" NO MORE THAN 100 ITEMS CAN BE DISCARDED.",
                    " THE JOB ASKS TO DISCARD " + std::to_string(n) + " ITEMS.  JOB IS ABORTING."});
        job.NDELI = n;
        a.say({" ENTER IN EACH ITEM NUMBER ONE AT A TIME FOLLOWED ", " BY THE ENTER KEY: "});
        a.say();
        for (int k = 1; k <= job.NDELI; ++k) job.IDELI(k) = a.number("ITEM TO DISCARD");
    }

    a.say({" ARE THERE ANY SUBJECTS THAT YOU WANT TO DISCARD", "  (Y/N)? "});
    job.NDELS = 0;
    if (yes(a.letter("DISCARD SUBJECTS"))) {
        a.say({" HOW MANY SUBJECTS DO YOU WANT TO DISCARD? "});
        int n = a.number("NUMBER OF SUBJECTS TO DISCARD");
        if (n > MAXSUBJ)
            a.stop({" NO MORE THAN 2000 SUBJECTS CAN BE DISCARDED.",
                    " THE JOB ASKS TO DISCARD " + std::to_string(n) + " SUBJECTS.  JOB IS ABORTING."});
        job.NDELS = n;
        a.say({" ENTER IN EACH SUBJECT ID NUMBER ONE AT A TIME", " FOLLOWED BY THE ENTER KEY: "});
        for (int k = 1; k <= job.NDELS; ++k) job.IDELS(k) = a.whole("SUBJECT TO DISCARD");
    }

    a.say({" DO YOU WANT TO SPECIFY THE SIGNS OF INITIAL ITEM", " LOCATIONS  (Y/N)? "});
    job.ISGNSP = yes(a.letter("SIGNS GIVEN")) ? 1 : 0;
    if (job.ISGNSP == 1) {
        a.say({" ENTER IN EACH SIGN (+ OR -) ONE AT A TIME", " FOLLOWED BY THE ENTER KEY: "});
        for (int j = 1; j <= job.NITEM; ++j) {
            for (;;) {
                char c = a.character("SIGN OF AN ITEM");
                if (c == '+' || c == '-') {
                    job.ISIGN(j) = c == '+' ? 1 : 0;
                    break;
                }
            }
        }
    }

    job.MAXOUT = at_least(
        a, 5,
        [](Answers& q) {
            q.say({" WHAT IS THE MAXIMUM NUMBER OF OUTER (EXPECTATION)"});
            q.say({" CYCLES YOU WANT TO PERFORM (MUST BE GREATER THAN"});
            q.say({" OR EQUAL TO 5)? "});
        },
        "MAXIMUM OUTER CYCLES");
    job.MAXIN = at_least(
        a, 1,
        [](Answers& q) {
            q.say({" WHAT IS THE MAXIMUM NUMBER OF INNER (MAXIMIZATION)"});
            q.say({" CYCLES YOU WANT TO PERFORM (MUST BE GREATER THAN"});
            q.say({" OR EQUAL TO 1)? "});
        },
        "MAXIMUM INNER CYCLES");
    if (model_traits(job.MODEL).unit)
        job.MAXFSU = at_least(
            a, 1, [](Answers& q) { ask_scoring(q, " ITERATIONS ALLOWED FOR UNIT ESTIMATES WITHIN ANY"); },
            "FISHER SCORING ITERATIONS FOR UNIT");
    else
        job.MAXFST = at_least(
            a, 1, [](Answers& q) { ask_scoring(q, " ITERATIONS ALLOWED FOR TAU ESTIMATES WITHIN ANY"); },
            "FISHER SCORING ITERATIONS FOR TAU");
    job.MAXFSI = at_least(
        a, 1, [](Answers& q) { ask_scoring(q, " ITERATIONS ALLOWED FOR ITEM ESTIMATES WITHIN ANY"); },
        "FISHER SCORING ITERATIONS FOR ITEMS");

    job.CONVC = at_most(
        a, 0.01,
        [](Answers& q) {
            q.say({" WHAT IS THE CONVERGENCE CRITERION (MUST BE LESS"});
            q.say({" THAN OR EQUAL TO .01)? "});
        },
        "CONVERGENCE CRITERION");

    a.say({" DO YOU WANT TO PRODUCE PLOTS (Y/N)?"});
    job.IPLOT = yes(a.letter("PLOTS")) ? -1 : 0;
    if (job.IPLOT == -1) {
        job.NTHGRP = in_range(
            a, 2, 20,
            [](Answers& q) {
                q.say();
                q.say({" HOW MANY THETA GROUPS DO YOU WANT TO PLOT?"});
            },
            "NUMBER OF THETA GROUPS");
        job.NTDGRP = in_range(
            a, 2, 2000,
            [](Answers& q) {
                q.say();
                q.say({" HOW MANY GROUPS OF THETA-DELTA PAIRS DO YOU ", " WANT TO PLOT?"});
            },
            "NUMBER OF THETA-DELTA GROUPS");
    }

    a.say({" DO YOU WANT ANY FIT STATISTICS COMPUTED (Y/N)? "});
    job.IFITAN = yes(a.letter("FIT STATISTICS")) ? 1 : 0;
    if (job.IFITAN == 1) {
        a.say();
        a.say({" HOW MANY FIT GROUPS DO YOU WANT TO CONSTRUCT? "});
        job.NFITG = a.number("NUMBER OF FIT GROUPS");
        // Every fit-group table has MAXFITG rows.
        if (job.NFITG < 1 || job.NFITG > MAXFITG)
            a.stop({" THE NUMBER OF FIT GROUPS MUST BE FROM 1 TO 20.",
                    " THE JOB ASKS FOR " + std::to_string(job.NFITG) + " FIT GROUPS.  JOB IS ABORTING."});
        for (;;) {
            a.say();
            a.say({" DO YOU WANT TO PRINT FIT INDICES FOR ALL PERSONS"});
            a.say({" REGARDLESS OF THE DEGREE OF FIT (Y/N)? "});
            char c = a.letter("PRINT FIT FOR ALL PERSONS");
            if (yes(c) || no(c)) {
                job.IPRALL = yes(c) ? 1 : 0;
                break;
            }
        }
        a.say();
        a.say({" WHAT CUT-OFF VALUE SHOULD BE USED TO FLAG", " STANDARDIZED ITEM FIT"});
        a.say({" (I.E., INFIT AND OUTFIT) MEASURES?  "});
        job.ITTCUT = a.real("ITEM T-VALUE CUTOFF");
        job.ITALPH = at_most(
            a, 0.2,
            [](Answers& q) {
                q.say();
                q.say({" WHAT ALPHA LEVEL SHOULD BE USED TO FLAG ITEM FIT", " CHI-SQUARE VALUES? "});
            },
            "ITEM ALPHA LEVEL");
        a.say();
        a.say({" WHAT CUT-OFF VALUE SHOULD BE USED TO FLAG AND", " PRINT STANDARDIZED"});
        a.say({" PERSON FIT (I.E., INFIT AND OUTFIT) MEASURES?  "});
        job.PSTCUT = a.real("PERSON T-VALUE CUTOFF");
        job.PSALPH = at_most(
            a, 0.2,
            [](Answers& q) {
                q.say();
                q.say({" WHAT ALPHA LEVEL SHOULD BE USED TO FLAG AND PRINT", " PERSON FIT", " CHI-SQUARE VALUES? "});
            },
            "PERSON ALPHA LEVEL");
        a.say();
        a.say({" WHAT LOCALIZED FIT CUTOFF SHOULD BE USED TO ",
               " FLAG AND PRINT PERSON FIT STATISTICS (I.E., INFIT AND OUTFIT)", " MEASURES? "});
        job.PSLCUT = a.real("LOCALIZED PERSON CUTOFF");
    }
}

}  // namespace

void ASKIT(Io& io, JobSettings& job) {
    TODAY_DATE(job.IDAY, job.IMONTH, job.IYEAR);
    TIME_OF_DAY(job.IHOUR, job.IMIN, job.ISEC);

    JobEcho echo;
    if (trim_right(job.CMDFILE).empty()) {
        Answers console(io.con, io.cin, false);
        for (;;) {
            console.say({" DO YOU WANT TO READ IN THE PROGRAM COMMANDS", " FROM A"});
            console.say({" COMMAND FILE?"});
            char c = console.letter("READ A COMMAND FILE");
            if (no(c)) {
                dialogue(io, console, job, echo);
                write_parameter_listing(io.report(), job, echo);
                return;
            }
            // Any other answer is asked again: a blank path would open nothing.
            if (yes(c)) break;
        }
        console.say({" WHAT IS THE NAME OF THE COMMAND FILE YOU WANT", " TO USE? "});
        echo.cmdfile = console.text("NAME OF THE COMMAND FILE");
        job.CMDFILE = native_path(trim_right(echo.cmdfile));
    } else {
        // The listing shows the path as the command line gave it.
        echo.cmdfile = job.CMDFILE;
        job.CMDFILE = native_path(trim_right(job.CMDFILE));
    }

    std::string why;
    FileStream file(open_plain_file(job.CMDFILE, &why), std::ios::in | std::ios::binary);
    Answers from_file(io.con, file, true);
    if (!file.is_open())
        from_file.stop(
            {" CANNOT OPEN THE COMMAND FILE: " + job.CMDFILE, file_and_reason(absolute_path(job.CMDFILE), why)});
    dialogue(io, from_file, job, echo);
    write_parameter_listing(io.report(), job, echo);
}

}  // namespace vorm
