#include "driver/Vormrun.h"

#include <cmath>
#include <exception>
#include <iostream>

#include "common/filestream.h"
#include "common/paths.h"
#include "common/runlock.h"
#include "common/status.h"
#include "common/stop.h"
#include "common/stopsignal.h"
#include "common/textio.h"
#include "common/workfolder.h"
#include "driver/Stages.h"
#include "estimation/Initvl.h"
#include "estimation/Mmlest.h"
#include "model/Fittedmodel.h"
#include "model/Marglike.h"
#include "model/Traits.h"
#include "numlib/Numlib_error.h"
#include "plotdata/Plotdata.h"
#include "statistics/Diamml2.h"
#include "statistics/Stderrc.h"

namespace vorm {

namespace {

// The version a user cites and gives with a report of a problem.
const std::string kVersion = "1.0";
const std::string kStars51(51, '*');
// The item is a blank and 48 asterisks, so the free-format line has two blanks.
const std::string kStars48 = std::string(1, ' ').append(48, '*');

void blank_lines(std::ostream& os, int n) {
    for (int k = 0; k < n; ++k) write_free(os);
}

void pause(Io& io) {
    write_free(io.con, {"Press Enter to continue."});
    io.con.flush();
    std::string line;
    std::getline(io.cin, line);
}

// Shown only when no job file is given, so a console user knows what runs.
void title_pages(Io& io) {
    std::ostream& c = io.con;
    blank_lines(c, 60);
    write_free(c, {kStars51});
    write_free(c);
    write_free(c, {"                    VORMCALC"});
    write_free(c, {"    Marginal maximum likelihood calibration of"});
    write_free(c, {"    ideal-point (unfolding) models for ordered"});
    write_free(c, {"            polytomous responses"});
    write_free(c, {"                  Version " + kVersion});
    write_free(c, {"          Date of last update: 12/09/2026"});
    write_free(c, {"      Written by the VORM development team"});
    write_free(c, {"     with thanks to everyone who tested it"});
    write_free(c);
    write_free(c, {"   Free for research and teaching; no warranty."});
    write_free(c);
    write_free(c, {kStars51});
    blank_lines(c, 6);
    pause(io);

    blank_lines(c, 60);
    write_free(c, {kStars51});
    write_free(c);
    write_free(c, {"This is VORMCALC, version " + kVersion + ", the engine of the"});
    write_free(c, {"VORM package.  The package's readme and manuals"});
    write_free(c, {"are in the folder manual/ beside this program:"});
    write_free(c, {"    readme.txt    what is where, how to start"});
    write_free(c, {"    uguide.pdf    the user's guide"});
    write_free(c, {"    techman.pdf   the technical manual"});
    write_free(c, {"Keep that folder with the program: its manuals"});
    write_free(c, {"describe this version."});
    write_free(c);
    write_free(c, {kStars51});
    blank_lines(c, 6);
    pause(io);

    blank_lines(c, 60);
    write_free(c, {kStars51});
    write_free(c);
    write_free(c, {"Any publications that include results provided"});
    write_free(c, {"by this program  or information from the user's"});
    write_free(c, {"guide should cite the following publication(s):"});
    write_free(c);
    write_free(c, {"VORM development team (2026). VORMCALC: marginal"});
    write_free(c, {"   maximum likelihood estimation of ideal-point"});
    write_free(c, {"   models for ordered polytomous responses."});
    write_free(c, {"   User's guide, version " + kVersion + "."});
    write_free(c);
    write_free(c);
    write_free(c, {"The author is not liable for any damages or losses"});
    write_free(c, {"incurred from the use of this program.  Please"});
    write_free(c, {"give the version, " + kVersion + ", and the run's job, data"});
    write_free(c, {"and status files with a report of a problem."});
    write_free(c);
    write_free(c, {kStars51});
    write_free(c);
    pause(io);
    blank_lines(c, 60);
}

void information_criteria(std::ostream& rep, const JobSettings& job, double XLOGL) {
    int p = item_parameter_count(job.MODEL, job.NITEM, job.NCAT);
    double l = XLOGL;
    double lnn = std::log(static_cast<double>(job.NSUBJ));
    // Every penalty uses twice the parameter count; the count printed is P itself.
    double aic = 2.0 * p - 2.0 * l;
    double bic = 2.0 * p * lnn - 2.0 * l;
    double caic = 2.0 * p * (lnn + 1.0) - 2.0 * l;
    write_free(rep);
    write_free(rep, {kStars48});
    write_free(rep, {" MARGINAL LOG-LIKELIHOOD FOR MODEL=", job.MODEL, " IS: ", l});
    write_free(rep, {p, " ITEM PARAMETERS HAVE BEEN ESTIMATED"});
    write_free(rep);
    write_free(rep, {" AIC=", aic});
    write_free(rep);
    write_free(rep, {" BIC=", bic});
    write_free(rep);
    write_free(rep, {" CAIC=", caic});
    write_free(rep);
    write_free(rep, {kStars48});
    write_free(rep);
    write_free(rep);
}

// Between two stages: what the report holds so far is passed on to its file,
// so that a run that ends early leaves it whole, and a stop signal ends the
// run here.
void stage_boundary(Io& io) {
    io.units.check(Unit::FT06);
    stop_point();
}

void run_stages(Io& io, JobSettings& job, Store& st, Workspace& ws) {
    stop_point();
    ASKIT(io, job);
    stage_boundary(io);
    if (job.NCAT(1) == -1) return;  // constant-categories abort: no stage runs
    ClockReading start = read_clock();
    MMLDAT(io, job, ws.records);
    READIT(io, job, st);
    stage_boundary(io);
    CONTIN(io, job, st);
    stage_boundary(io);
    INITVL(io, job, st, ws.start);
    stage_boundary(io);
    // The quadrature grid's mean and standard deviation: held by the run, printed by no report.
    [[maybe_unused]] const EstimationResult estimation = MMLEST(io, job, st, ws.estimation, ws.ptab);
    stage_boundary(io);
    STDERRC(io, job, st, ws.stderrs, ws.ptab);
    stage_boundary(io);
    const FittedModel fm = fitted_model(job, st);
    const double XLOGL = MARGLIKE(io.con, fm, ws.ptab);
    information_criteria(io.report(), job, XLOGL);
    WRITIT(io, job, st);
    stage_boundary(io);
    // The run's information maximum, held here as a result of the run; no
    // report prints it.
    [[maybe_unused]] int INFMAX = 0;
    if (job.IPLOT == -1) INFMAX = plot_files(io, job, fm, ws.plots);
    stage_boundary(io);
    if (job.IFITAN == 1) {
        write_free(io.con, {" PERFORMING FIT ANALYSES"});
        DIAMML2(io, job, fm, ws.fit, ws.ptab);
    }
    stage_boundary(io);
    ClockReading end = read_clock();
    std::ostream& rep = io.report();
    write_free(rep);
    write_free(rep);
    write_free(rep, {" This analysis required "});
    write_fixed(rep, "(1X,F20.2)", {elapsed_seconds(start, end)});
    write_free(rep, {" seconds to execute on this machine."});
}

// The console is the only place left to say that the status file, at
// `failed`, cannot be written, and why.
void status_not_written(Io& io, const std::string& wrkdir, const std::string& failed, const std::string& why) {
    write_free(io.con, {" CANNOT WRITE THE STATUS FILE IN THE WORK FOLDER ", wrkdir});
    write_free(io.con, {file_and_reason(failed, why)});
}

// Every ending writes the status file last; when even that fails, the console
// is the only place left to say so.
int end_run(Io& io, const JobSettings& job, const std::vector<std::string>& status, int exit_code) {
    std::string why;
    if (write_status(job.WRKDIR, status, &why)) return exit_code;
    status_not_written(io, job.WRKDIR, work_file(job.WRKDIR, "status"), why);
    for (const auto& l : status) io.con << l << '\n';
    io.con.flush();
    return 1;
}

// Every file of the run is in the folder it started in; when the path names
// another folder now (or none), the run must not report its end to whoever
// reads the status file there.
void check_work_folder(Io& io, const WorkFolder& folder) {
    const WorkFolder::Now now = folder.now();
    if (now == WorkFolder::Now::Here) return;
    const bool removed = now == WorkFolder::Now::Removed;
    const char* what = removed                            ? " WAS REMOVED DURING THE RUN."
                       : now == WorkFolder::Now::Replaced ? " WAS REPLACED DURING THE RUN."
                                                          : " WAS MOVED DURING THE RUN.";
    const std::string line = " THE WORK FOLDER " + folder.path() + what;
    const std::string files = removed ? " THE RUN'S FILES WENT WITH IT.  JOB IS ABORTING."
                                      : " THE RUN'S FILES ARE IN THE FOLDER IT STARTED IN.  JOB IS ABORTING.";
    write_free(io.con, {line});
    write_free(io.con, {files});
    throw EngineStop({status_text(line), status_text(files)});
}

// A run that finds its folder held writes nothing there, not even the status
// file, which belongs to the run that holds it.
int folder_in_use(Io& io, const std::string& wrkdir, long holder) {
    std::string by = " IS IN USE BY ANOTHER RUN";
    if (holder > 0) by += " (PROCESS " + std::to_string(holder) + ")";
    write_free(io.con, {" THE WORK FOLDER ", wrkdir, by + "."});
    write_free(io.con, {" THIS RUN ENDS WITHOUT WRITING ANYTHING THERE."});
    io.con.flush();
    return 1;
}

// A folder used again keeps one run's plots: whatever an earlier run left
// under the plot files' names goes before this run may write its own, with or
// without plots.  What stays is said in the report and the run's warnings.
void remove_earlier_plots(Io& io, const WorkFolder& folder) {
    std::vector<std::string> kept;
    std::string why;
    if (!folder.remove_plain_files("PLOT", &kept, &why))
        kept.push_back("THE WORK FOLDER CANNOT BE LISTED (" + why + ")");
    for (const std::string& k : kept) {
        const std::string line = format_free({" THE PLOT FILES OF AN EARLIER RUN MAY STAY: " + k + "."});
        io.report() << line << '\n';
        io.warnings.warn(folder.path(), line);
    }
}

}  // namespace

int plot_files(Io& io, const JobSettings& job, const FittedModel& fm, PlotWork& work) {
    write_free(io.con, {" GENERATING PLOT DATA FILES"});
    const std::string& w = job.WRKDIR;
    PLOTDATA1(io, fm, work, job.NTHGRP, w);
    int largest = 0;
    for (int i = 1; i <= fm.NITEM; ++i) {
        stop_point();
        PLOTDATA2(io, fm, i, w);
        PLOTDATA3(io, fm, i, w);
        const int INFMAX = PLOTDATA5(io, fm, i, w);
        if (INFMAX > largest) largest = INFMAX;
    }
    // One common vertical range for every item-information script.
    for (int i = 1; i <= fm.NITEM; ++i) PLOTDATA5B(io, fm, i, w, largest + 1);
    stop_point();
    PLOTDATA4(io, fm, w);
    PLOTDATA6(io, fm, w);  // reads what PLOTDATA5 wrote
    stop_point();
    PLOTDATA7(io, fm, work, job.NTDGRP, w);
    stop_point();
    PLOTLAT(io, fm, w);
    PLOTEAP(io, fm, w);
    PLOTLOC(io, fm, w);
    return largest;
}

int item_parameter_count(int model, int nitem, const ItemInts& ncat) {
    const ModelTraits& m = model_traits(model);
    if (!m.valid) return 0;
    int thresholds = 0;
    for (int j = 1; j <= nitem; ++j) thresholds += ncat(j) - 1;
    const int own = m.discrimination ? 2 * nitem : nitem;
    if (m.unit) return own + (m.common ? 1 : nitem);
    return own + (m.common ? ncat(1) - 1 : thresholds);
}

double elapsed_seconds(const ClockReading& start, const ClockReading& end) {
    int end_hour = end.hour < start.hour ? end.hour + 24 : end.hour;  // one passage of midnight
    long long t0 = start.hour * 360000LL + start.minute * 6000LL + start.second * 100LL + start.hundredths;
    long long t1 = end_hour * 360000LL + end.minute * 6000LL + end.second * 100LL + end.hundredths;
    return static_cast<double>(t1 - t0) * 0.01;
}

int VORMRUN(const std::vector<std::string>& args, Io& io, JobSettings& job, Store& st, Workspace& ws) {
    // Kept as given: the job dialogue lists it so and opens its native form.
    job.CMDFILE = args.size() > 1 ? args[1] : std::string();
    job.WRKDIR = work_folder(args.size() > 2 ? args[2] : std::string());
    job.LWRK = static_cast<int>(job.WRKDIR.size());
    const WorkFolder folder(job.WRKDIR);
    if (!folder.is_open()) {
        status_not_written(io, job.WRKDIR, job.WRKDIR, folder.error());
        return 1;
    }
    const HoldWorkFolder hold(folder);
    // Held to the end of the run, the title pages and the console's answers
    // included: another run in this folder would write the same files.
    const RunLock lock(job.WRKDIR);
    if (lock.state() == RunLock::State::Busy) return folder_in_use(io, job.WRKDIR, lock.holder());
    if (trim_right(job.CMDFILE).empty()) title_pages(io);
    numlib_set_console(&io.con);

    std::string why;
    if (!write_status(job.WRKDIR, {status_text("start")}, &why)) {
        status_not_written(io, job.WRKDIR, work_file(job.WRKDIR, "status"), why);
        return 1;
    }
    if (lock.state() != RunLock::State::Held) {
        const std::string failed = file_and_reason(lock.path(), lock.why());
        write_free(io.con, {" CANNOT CREATE THE RUN LOCK FILE ", lock.path()});
        write_free(io.con, {failed});
        write_status(job.WRKDIR,
                     {status_text(" CANNOT CREATE THE RUN LOCK FILE IN THE WORK FOLDER"), status_text(failed)});
        return 1;
    }
    std::string failed;
    if (!io.units.open_in_folder(job.WRKDIR, &failed)) {
        write_free(io.con, {" CANNOT CREATE THE FILE ", failed});
        write_status(job.WRKDIR, {status_text(" CANNOT CREATE THE ENGINE'S FILES IN THE WORK FOLDER"),
                                  status_text(std::string(1, ' ').append(failed))});
        return 1;
    }
    remove_earlier_plots(io, folder);
    std::vector<std::string> status;
    int exit_code = 1;
    try {
        run_stages(io, job, st, ws);
        io.con.flush();
        io.units.close_all();  // a report or file that lost lines fails the run
        check_work_folder(io, folder);
        // The warnings that the run went on after stand below " end", which
        // stays the first line that every reader tests.
        std::vector<std::string> ended{status_text("end")};
        ended.insert(ended.end(), io.warnings.lines().begin(), io.warnings.lines().end());
        return end_run(io, job, ended, 0);
    } catch (const UnitWriteFailure& lost) {
        for (const auto& l : lost.status_lines()) io.con << l << '\n';
        status = lost.status_lines();
        exit_code = lost.exit_code();
    } catch (const EngineStop& stop) {
        status = stop.status_lines();
        exit_code = stop.exit_code();
    } catch (const std::exception& e) {
        write_free(io.con, {" INTERNAL ERROR: ", e.what()});
        status = {status_text(" THE ENGINE STOPPED ON AN INTERNAL ERROR"), status_text(e.what())};
    }
    // A stop signal that came before the run ended is what ended it: a
    // console read that the signal cut short ends the dialogue as missing
    // input would, and the status must not blame the input.
    if (const int sig = stop_signal()) {
        release_stop_signals();
        const std::string line = signal_stop_line(sig);
        io.con << line << '\n';
        if (io.units.is_open(Unit::FT06)) io.report() << line << '\n';
        status = {line};
        exit_code = 1;
    }
    io.con.flush();
    io.units.close_all_unchecked();
    return end_run(io, job, status, exit_code);
}

}  // namespace vorm
