// The run driver as a whole: the built program in a temporary folder, and one
// in-process run with a clock that passes midnight.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <thread>

#include "common/clock.h"
#include "common/stopsignal.h"
#include "common/zeroed.h"
#include "driver/Vormrun.h"
#include "job_helpers.h"
#include "simulate.h"
#include "test_support.h"

namespace vorm {
namespace {

using test::read_file;
using test::run_engine;
using test::split_lines;
using test::TempDir;
using test::write_file;

// A small job of simulated data: quick to estimate, enough to exercise every
// stage, and converging within its cycles, so that its status after a
// completed run is " end" alone; `last` holds the answers from the plot
// question on.
std::string small_job(const std::string& datfile, int model = 1, std::vector<std::string> last = {"N", "N"},
                      const std::string& format = "(I5,1X,6I1)", int nitem = 6) {
    std::vector<std::string> lines{std::to_string(model),
                                   "N",
                                   "N",
                                   "11",
                                   datfile,
                                   format,
                                   std::to_string(nitem),
                                   "Y",
                                   "3",
                                   "N",
                                   "Y",
                                   "1",
                                   "N",
                                   "N",
                                   "N",
                                   "30",
                                   "2",
                                   "3",
                                   "3",
                                   "0.01"};
    lines.insert(lines.end(), last.begin(), last.end());
    return test::crlf(lines);
}

void write_small_data(const std::string& path, int nsubj = 150, int nitem = 6) {
    vormsim::Design design;
    design.model = 1;
    design.items = vormsim::typical_items(1, std::vector<int>(static_cast<std::size_t>(nitem), 3), 5);
    design.nsubj = nsubj;
    design.seed = 11;
    write_file(path, vormsim::data_text(vormsim::simulate(design), 1));
}

const std::string kStarLine = std::string(2, ' ').append(48, '*');

std::string last_line(const std::string& text) {
    auto lines = split_lines(text);
    return lines.empty() ? std::string() : lines.back();
}

TEST(EngineRun, MissingWorkFolderEndsAtOnceWithAMessage) {
    TempDir cwd;
    std::string console;
    EXPECT_EQ(run_engine({"job.txt", "no/such/folder/"}, cwd.path().string(), "", &console), 1);
    EXPECT_NE(console.find("CANNOT WRITE THE STATUS FILE"), std::string::npos) << console;
}

TEST(EngineRun, WorkFolderGetsItsSeparatorAndLosesTrailingBlanks) {
    TempDir cwd;
    write_small_data(cwd.file("d.dat"));
    write_file(cwd.file("job.txt"), small_job("d.dat"));
    for (const std::string arg : {"wfolder", "wfolder/", "wfolder   ", "wfolder\\"}) {
        std::filesystem::remove_all(cwd.path() / "wfolder");
        std::filesystem::create_directory(cwd.path() / "wfolder");
        EXPECT_EQ(run_engine({"job.txt", arg}, cwd.path().string(), ""), 0) << "[" << arg << "]";
        EXPECT_EQ(read_file(cwd.file("wfolder/status")), " end\n") << "[" << arg << "]";
        EXPECT_TRUE(std::filesystem::exists(cwd.path() / "wfolder" / "FT06F001"));
    }
}

TEST(EngineRun, WithoutAFolderArgumentEverythingGoesToTempfile) {
    TempDir cwd;
    std::filesystem::create_directory(cwd.path() / "TEMPFILE");
    write_small_data(cwd.file("d.dat"));
    write_file(cwd.file("job.txt"), small_job("d.dat"));
    std::string console;
    EXPECT_EQ(run_engine({"job.txt"}, cwd.path().string(), "", &console), 0);
    EXPECT_EQ(read_file(cwd.file("TEMPFILE/status")), " end\n");
    EXPECT_EQ(console.find("Press Enter"), std::string::npos) << "no title pages with a job file";
    for (const char* f :
         {"FT06F001", "FT15F001", "FT08F001", "FT13F001", "FT14F001", "FT16F001", "FT17F001", "FT19F001", "FT18F001"})
        EXPECT_TRUE(std::filesystem::exists(cwd.path() / "TEMPFILE" / f)) << f;
}

TEST(EngineRun, LongWorkFolderPathsAreNotCut) {
    TempDir cwd;
    std::string deep = "a_folder_name_that_is_long/another_folder_name_that_is_longer/and_a_third_one_to_pass_70";
    std::filesystem::create_directories(cwd.path() / deep);
    write_small_data(cwd.file("d.dat"));
    write_file(cwd.file("job.txt"), small_job("d.dat"));
    EXPECT_EQ(run_engine({"job.txt", deep}, cwd.path().string(), ""), 0);
    EXPECT_EQ(read_file(cwd.file(deep + "/status")), " end\n");
}

TEST(EngineRun, NoArgumentsShowTheTitlePagesThenAskForTheJob) {
    TempDir cwd;
    std::filesystem::create_directory(cwd.path() / "TEMPFILE");
    std::string console;
    // Three pauses answered, then no answer to the first question: the run ends.
    EXPECT_EQ(run_engine({}, cwd.path().string(), "\n\n\n", &console), 1);
    EXPECT_NE(console.find("guide should cite the following publication(s):"), std::string::npos);
    // The pages send a user only where the program folder leads: no address.
    EXPECT_NE(console.find("are in the folder manual/ beside this program:"), std::string::npos);
    for (const char* address : {"http", "www.", "@", ".org", ".com"})
        EXPECT_EQ(console.find(address), std::string::npos) << address;
    EXPECT_NE(console.find(" DO YOU WANT TO READ IN THE PROGRAM COMMANDS"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(cwd.path() / "TEMPFILE" / "status"));
    EXPECT_NE(read_file(cwd.file("TEMPFILE/status")), " start\n") << "the status must not stay at start";
}

TEST(EngineRun, NormalRunEndsWithCriteriaAndTimeAndLeavesFitFilesEmpty) {
    TempDir work;
    write_small_data(work.file("d.dat"));
    write_file(work.file("job.txt"), small_job(work.file("d.dat")));
    ASSERT_EQ(run_engine({work.file("job.txt"), work.folder()}, work.path().string(), ""), 0);
    EXPECT_EQ(read_file(work.file("status")), " end\n");
    auto rep = split_lines(read_file(work.file("FT06F001")));
    ASSERT_GT(rep.size(), 20u);
    std::size_t n = rep.size();
    EXPECT_EQ(rep[n - 1], "  seconds to execute on this machine.");
    EXPECT_EQ(rep[n - 3], "  This analysis required ");
    EXPECT_EQ(rep[n - 2].size(), 21u);
    for (std::size_t k : {4, 5, 6, 7, 9, 11, 13, 15, 19}) EXPECT_EQ(rep[n - k], " ") << k;
    EXPECT_EQ(rep[n - 8], kStarLine);
    EXPECT_EQ(rep[n - 18], kStarLine);
    EXPECT_EQ(rep[n - 10].rfind("  CAIC=", 0), 0u);
    EXPECT_EQ(rep[n - 12].rfind("  BIC=", 0), 0u);
    EXPECT_EQ(rep[n - 14].rfind("  AIC=", 0), 0u);
    EXPECT_EQ(rep[n - 16], " 7 ITEM PARAMETERS HAVE BEEN ESTIMATED");  // model 1, six items: n + 1
    EXPECT_EQ(rep[n - 17].rfind("  MARGINAL LOG-LIKELIHOOD FOR MODEL=1 IS: ", 0), 0u);
    EXPECT_EQ(read_file(work.file("FT15F001")), "");
    EXPECT_EQ(read_file(work.file("FT18F001")), "");
    for (const auto& e : std::filesystem::directory_iterator(work.path()))
        EXPECT_NE(e.path().filename().string().rfind("PLOT", 0), 0u) << "no plot files without plots";
}

// The run's tables have the capacity of the largest job; the shipped example
// (800 x 15) must map in only the part it uses, a small share of the pages
// that constructing them whole would touch.  Page faults are counted, not
// timed; the sanitizer's own memory would be counted too.
TEST(EngineRun, SmallJobLeavesTheUnusedCapacityUnmapped) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the sanitizer's shadow memory is counted too";
#endif
    TempDir work;
    write_file(work.file("EXAMPLE.DAT"), read_file(test::source_dir() + "/examples/EXAMPLE.DAT"));
    write_file(work.file("EXAMPLE.CMD"), read_file(test::source_dir() + "/examples/EXAMPLE.CMD"));
    rusage before{}, after{};
    getrusage(RUSAGE_CHILDREN, &before);
    ASSERT_EQ(run_engine({"EXAMPLE.CMD", work.folder()}, work.path().string(), ""), 0);
    getrusage(RUSAGE_CHILDREN, &after);
    const long faults = after.ru_minflt - before.ru_minflt;
    const long capacity_pages = static_cast<long>((sizeof(Store) + sizeof(Workspace)) / sysconf(_SC_PAGESIZE));
    EXPECT_LT(faults, capacity_pages / 4);
}

TEST(EngineRun, AbortLeavesItsLinesInTheStatusFile) {
    TempDir work;
    write_file(work.file("job.txt"), small_job(work.file("missing.dat")));
    EXPECT_EQ(run_engine({work.file("job.txt"), work.folder()}, work.path().string(), ""), 1);
    EXPECT_EQ(read_file(work.file("status")),
              "  CANNOT OPEN DATA FILE. CHECK ACCURACY OF \n  SPECIFIED DRIVE:\\PATH\\FILENAME.EXT       \n  " +
                  work.file("missing.dat") + ": No such file or directory\n");
    EXPECT_EQ(last_line(read_file(work.file("FT06F001"))), kStarLine);
}

// A console reader that has gone away (VORMCALC job work | head -1) leaves
// the engine writing into a pipe nobody reads.
TEST(EngineRun, ConsoleReaderThatGoesAwayDoesNotStopTheRun) {
    TempDir work;
    write_small_data(work.file("d.dat"));
    write_file(work.file("job.txt"), small_job(work.file("d.dat")));
    const std::string job = work.file("job.txt");
    const std::string folder = work.folder();
    int pipe_ends[2];
    ASSERT_EQ(pipe(pipe_ends), 0);
    close(pipe_ends[0]);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        std::signal(SIGPIPE, SIG_DFL);  // as a shell leaves it
        dup2(pipe_ends[1], 1);
        close(pipe_ends[1]);
        execl(VORMCALC_PATH, "VORMCALC", job.c_str(), folder.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipe_ends[1]);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(read_file(work.file("status")), " end\n");
    EXPECT_EQ(last_line(read_file(work.file("FT06F001"))), "  seconds to execute on this machine.");
}

// An engine started on the arguments, its console input read from `input`
// (the null device when negative) and its output written to `output`.
pid_t start_engine(const std::vector<std::string>& args, int input = -1, const std::string& output = "/dev/null") {
    std::vector<std::string> words{"VORMCALC"};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        int null = open("/dev/null", O_RDWR);
        int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(input >= 0 ? input : null, 0);
        dup2(out, 1);
        dup2(out, 2);
        execv(VORMCALC_PATH, argv.data());
        _exit(127);
    }
    return pid;
}

// What is in a folder, file by file: contents and the time of the last write.
std::map<std::string, std::pair<std::string, std::filesystem::file_time_type>> snapshot(const TempDir& dir) {
    std::map<std::string, std::pair<std::string, std::filesystem::file_time_type>> files;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        if (e.is_regular_file())
            files[e.path().filename().string()] = {read_file(e.path().string()), e.last_write_time()};
    return files;
}

bool wait_until(const std::function<bool()>& condition) {
    // A guard against hanging only: the engines here wait for nothing else.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// The exit status of an engine, or -1 for one that did not end in the time
// of wait_until (it is killed then): an engine that blocks fails the test
// instead of holding it up.
int wait_engine(pid_t pid) {
    int status = 0;
    if (!wait_until([&] { return waitpid(pid, &status, WNOHANG) == pid; })) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A pipe that feeds an engine's console; the engine's end is closed here once
// the engine has it.
struct ConsoleFeed {
    int ends[2] = {-1, -1};
    ConsoleFeed() { EXPECT_EQ(pipe2(ends, O_CLOEXEC), 0); }
    ~ConsoleFeed() {
        for (int fd : ends)
            if (fd >= 0) close(fd);
    }
    int engine_end() const { return ends[0]; }
    void started() {
        close(ends[0]);
        ends[0] = -1;
    }
    void say(const std::string& text) {
        EXPECT_EQ(write(ends[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
};

// An engine without a job file, past its title pages: it has written " start"
// and created its unit files in `folder`, and waits for its first answer on
// the console, which writes into `output`.
pid_t engine_waiting_for_its_job(ConsoleFeed& feed, const std::string& folder, const std::string& output) {
    const pid_t pid = start_engine({"", folder}, feed.engine_end(), output);
    feed.started();
    feed.say("\n\n\n");
    EXPECT_TRUE(wait_until([&] { return read_file(output).find(" COMMAND FILE?") != std::string::npos; }));
    return pid;
}

// An engine whose console the test reads through a pipe: started on `args`,
// its console input read from `input` (the null device when negative), the
// stop signals as a shell in the foreground leaves them, and its files
// limited to `file_limit` bytes (ulimit -f), which the pipe is not.
struct WatchedEngine {
    pid_t pid = -1;
    int console = -1;
    std::string seen;
    bool closed = false;

    explicit WatchedEngine(const std::vector<std::string>& args, int input = -1, rlim_t file_limit = RLIM_INFINITY) {
        std::vector<std::string> words{"VORMCALC"};
        words.insert(words.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& w : words) argv.push_back(w.data());
        argv.push_back(nullptr);
        int ends[2];
        if (pipe(ends) != 0) return;
        pid = fork();
        if (pid == 0) {
            for (int s : {SIGINT, SIGTERM, SIGHUP, SIGXFSZ}) std::signal(s, SIG_DFL);
            const rlimit limit{file_limit, file_limit};
            if (file_limit != RLIM_INFINITY && setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(126);
            int null = open("/dev/null", O_RDWR);
            dup2(input >= 0 ? input : null, 0);
            dup2(ends[1], 1);
            dup2(null, 2);
            close(ends[0]);
            close(ends[1]);
            execv(VORMCALC_PATH, argv.data());
            _exit(127);
        }
        close(ends[1]);
        console = ends[0];
        fcntl(console, F_SETFL, O_NONBLOCK);
    }
    ~WatchedEngine() {
        if (console >= 0) close(console);
        if (pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    // Takes what the console has written so far.
    void read_console() {
        char buf[4096];
        for (ssize_t n; !closed && (n = read(console, buf, sizeof buf)) != 0;) {
            if (n < 0) return;  // nothing more for now
            seen.append(buf, static_cast<std::size_t>(n));
        }
        closed = true;
    }
    // Whether the console has shown `text`, waiting for it while the engine runs.
    bool shown(const std::string& text) {
        wait_until([&] {
            read_console();
            return seen.find(text) != std::string::npos || closed;
        });
        return seen.find(text) != std::string::npos;
    }
    // Whether the engine sleeps in a call that waits, as the system shows it.
    bool sleeping() const {
        const std::string stat = read_file("/proc/" + std::to_string(pid) + "/stat");
        const std::size_t name_end = stat.rfind(')');
        return name_end != std::string::npos && stat.compare(name_end, 3, ") S") == 0;
    }
    // The exit status once the engine has ended, its console read to the end.
    int wait_for_end() {
        int status = 0;
        if (!wait_until([&] {
                read_console();
                return closed;
            }) ||
            waitpid(pid, &status, 0) != pid)
            return -1;
        pid = -1;
        return status;
    }
};

// An engine without a job file, past its title pages, that waits for its
// first answer on the console: its files are created and its status is
// " start".  Once it has asked, the console read is the one call it can wait
// in; a signal that came before that read began would wait with it.
void wait_for_the_first_question(WatchedEngine& engine, ConsoleFeed& feed) {
    feed.started();
    feed.say("\n\n\n");
    EXPECT_TRUE(engine.shown(" COMMAND FILE?\n")) << engine.seen;
    EXPECT_TRUE(wait_until([&] { return engine.sleeping(); }));
}

// A file-size limit (ulimit -f) lets writes fail as on a full disk, and the
// signal that the system sends with them must not end the engine silently.
// The limit lies between the sizes of the files that a run without it
// leaves, so that one file alone cannot be written whole: the report, found
// at the end of a stage; the person file, which must end the run before the
// plot stage; the fit report, found only when the run closes it.  A status
// file that cannot take " start" leaves the console the only place to say so.
// None of these runs ends " end" or exits 0.
TEST(EngineRun, FileSizeLimitFailsTheRunLikeAFullDisk) {
    struct Case {
        std::string file;               // the one that passes the limit
        int nsubj, nitem;               // the person file outgrows the respondents' scratch file with two items only
        std::vector<std::string> last;  // the job's answers from the plot question on
    };
    const Case cases[] = {
        {"FT06F001", 30, 6, {"N", "N"}},
        {"FT17F001", 600, 2, {"Y", "5", "10", "N"}},
        {"FT15F001", 150, 6, {"N", "Y", "5", "Y", "2.0", "0.05", "2.0", "0.01", "2.0"}},
        {"status", 150, 6, {"N", "N"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        TempDir work;
        write_small_data(work.file("d.dat"), c.nsubj, c.nitem);
        const std::string format = "(I5,1X," + std::to_string(c.nitem) + "I1)";
        write_file(work.file("job.txt"), small_job(work.file("d.dat"), 1, c.last, format, c.nitem));
        rlim_t limit = 6;  // short of " start" and its line end
        if (c.file != "status") {
            // The plot files come after every file that can pass the limit.
            TempDir free_run;
            ASSERT_EQ(run_engine({work.file("job.txt"), free_run.folder()}, free_run.path().string(), ""), 0);
            std::uintmax_t others = 0;
            for (const auto& e : std::filesystem::directory_iterator(free_run.path())) {
                const std::string name = e.path().filename().string();
                if (name != c.file && name.rfind("PLOT", 0) != 0) others = std::max(others, e.file_size());
            }
            const std::uintmax_t size = std::filesystem::file_size(free_run.file(c.file));
            ASSERT_LT(others, size);
            limit = (others + size) / 2;
        }
        WatchedEngine engine({work.file("job.txt"), work.folder()}, -1, limit);
        ASSERT_GT(engine.pid, 0);
        const int status = engine.wait_for_end();
        ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 1);
        if (c.file == "status") {
            EXPECT_EQ(engine.seen, "  CANNOT WRITE THE STATUS FILE IN THE WORK FOLDER " + work.folder() + "\n  " +
                                       work.file("status") + ": File too large\n");
            continue;
        }
        const std::vector<std::string> lines{"  ERROR WRITING THE FILE " + work.file(c.file),
                                             "  THE DISK MAY BE FULL OR THE FILE NOT WRITABLE.  JOB IS ABORTING."};
        EXPECT_EQ(split_lines(read_file(work.file("status"))), lines);
        const auto console = split_lines(engine.seen);
        ASSERT_GE(console.size(), 2u);
        EXPECT_EQ(std::vector<std::string>(console.end() - 2, console.end()), lines) << "the console says it too";
        std::size_t plots = 0;
        for (const auto& e : std::filesystem::directory_iterator(work.path()))
            plots += e.path().filename().string().rfind("PLOT", 0) == 0 ? 1 : 0;
        EXPECT_EQ(plots, 0u) << "plot files written after the run failed";
    }
}

// The status file is replaced by a folder while the engine waits for its
// first answer: the run goes to its end, but a run whose " end" nobody can
// read has not ended well.
TEST(EngineRun, CompletedRunWhoseEndCannotBeWrittenFails) {
    TempDir work;
    write_small_data(work.file("d.dat"));
    write_file(work.file("job.txt"), small_job(work.file("d.dat")));
    ConsoleFeed feed;
    WatchedEngine engine({"", work.folder()}, feed.engine_end());
    ASSERT_GT(engine.pid, 0);
    wait_for_the_first_question(engine, feed);
    std::filesystem::remove(work.file("status"));
    std::filesystem::create_directory(work.file("status"));
    feed.say("Y\n" + work.file("job.txt") + "\n");
    const int status = engine.wait_for_end();
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    const auto console = split_lines(engine.seen);
    ASSERT_GE(console.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(console.end() - 3, console.end()),
              (std::vector<std::string>{"  CANNOT WRITE THE STATUS FILE IN THE WORK FOLDER " + work.folder(),
                                        "  " + work.file("status") + ": Is a directory", " end"}));
    EXPECT_EQ(last_line(read_file(work.file("FT06F001"))), "  seconds to execute on this machine.");
}

// The first engine waits with its files open for its first answer on the
// console: a second engine on the same folder must leave every file as it is
// and say why on its console; the first then runs to its end.  An engine
// that was killed leaves its lock file behind, and that holds nobody up.
TEST(EngineRun, ASecondEngineInAWorkFolderInUseWritesNothingThereAndEnds) {
    TempDir work;
    write_small_data(work.file("d.dat"));
    write_file(work.file("job.txt"), small_job(work.file("d.dat")));

    TempDir consoles;
    ConsoleFeed feed;
    const pid_t first = engine_waiting_for_its_job(feed, work.folder(), consoles.file("first"));
    ASSERT_GT(first, 0);
    const auto before = snapshot(work);
    std::string console;
    EXPECT_EQ(run_engine({work.file("job.txt"), work.folder()}, work.path().string(), "", &console), 1);
    EXPECT_EQ(console, "  THE WORK FOLDER " + work.folder() + " IS IN USE BY ANOTHER RUN (PROCESS " +
                           std::to_string(first) + ").\n  THIS RUN ENDS WITHOUT WRITING ANYTHING THERE.\n");
    EXPECT_TRUE(snapshot(work) == before) << "the second engine wrote into the folder";

    feed.say("Y\n" + work.file("job.txt") + "\n");
    EXPECT_EQ(wait_engine(first), 0);
    EXPECT_EQ(read_file(work.file("status")), " end\n");

    ConsoleFeed killed_feed;
    const pid_t killed = engine_waiting_for_its_job(killed_feed, work.folder(), consoles.file("killed"));
    EXPECT_EQ(read_file(work.file("status")), " start\n");
    kill(killed, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(killed, &status, 0), killed);
    EXPECT_TRUE(std::filesystem::exists(work.file("VORMCALC.lock")));
    EXPECT_EQ(run_engine({work.file("job.txt"), work.folder()}, work.path().string(), ""), 0);
    EXPECT_EQ(read_file(work.file("status")), " end\n");
}

// A named pipe would hold the engine until somebody writes into it, with the
// folder locked; a device would feed it without end.
TEST(EngineRun, JobOrDataFileThatIsNoPlainFileEndsTheRunAtOnce) {
    TempDir work;
    const std::string job_pipe = work.file("job.pipe"), data_pipe = work.file("data.pipe");
    ASSERT_EQ(mkfifo(job_pipe.c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(data_pipe.c_str(), 0600), 0);
    write_file(work.file("pipe.txt"), small_job(data_pipe));
    write_file(work.file("zero.txt"), small_job("/dev/zero"));
    const std::string open_data[] = {"  CANNOT OPEN DATA FILE. CHECK ACCURACY OF ",
                                     "  SPECIFIED DRIVE:\\PATH\\FILENAME.EXT       "};
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {job_pipe,
         {"  CANNOT OPEN THE COMMAND FILE: " + job_pipe, "  " + job_pipe + ": Is a named pipe, not a plain file"}},
        {work.file("pipe.txt"), {open_data[0], open_data[1], "  " + data_pipe + ": Is a named pipe, not a plain file"}},
        {work.file("zero.txt"), {open_data[0], open_data[1], "  /dev/zero: Is a device, not a plain file"}},
    };
    for (const auto& [job, status] : cases) {
        EXPECT_EQ(wait_engine(start_engine({job, work.folder()})), 1) << job;
        EXPECT_EQ(split_lines(read_file(work.file("status"))), status) << job;
    }
    write_small_data(work.file("d.dat"));
    write_file(work.file("job.txt"), small_job(work.file("d.dat")));
    EXPECT_EQ(wait_engine(start_engine({work.file("job.txt"), work.folder()})), 0);
    EXPECT_EQ(read_file(work.file("status")), " end\n");
}

// Entries under the names of the engine's files: a pipe would block the run
// for ever, a link would take a file to somewhere else (to nothing, for
// /dev/null, while the run ends " end").  The run ends at once naming the
// entry, and the entry stays as it was.
TEST(EngineRun, EntriesThatAreNoPlainFilesEndTheRunAtOnceNamingThem) {
    enum class Owner { Status, Lock, Unit, Plot };
    struct Case {
        const char* name;
        const char* planted;  // "pipe", "folder", or the target of a link
        Owner owner;
    };
    const Case cases[] = {
        {"status", "pipe", Owner::Status},      {"VORMCALC.lock", "pipe", Owner::Lock},
        {"FT13F001", "pipe", Owner::Unit},      {"FT06F001", "/dev/null", Owner::Unit},
        {"FT16F001", "/dev/null", Owner::Unit}, {"FT17F001", "/dev/full", Owner::Unit},
        {"FT18F001", "folder", Owner::Unit},    {"PLOT4.DAT", "pipe", Owner::Plot},
        {"PLOT501.DAT", "pipe", Owner::Plot},
    };
    for (const auto& c : cases) {
        TempDir work;
        write_small_data(work.file("d.dat"));
        write_file(work.file("job.txt"), small_job(work.file("d.dat"), 1, {"Y", "5", "10", "N"}));
        const std::string entry = work.file(c.name);
        const std::string planted = c.planted;
        std::string why = "Is a symbolic link, not a plain file";
        if (planted == "pipe") {
            ASSERT_EQ(mkfifo(entry.c_str(), 0600), 0);
            why = "Is a named pipe, not a plain file";
        } else if (planted == "folder") {
            std::filesystem::create_directory(entry);
            why = "Is a directory";
        } else {
            std::filesystem::create_symlink(planted, entry);
        }
        struct stat before {};
        ASSERT_EQ(lstat(entry.c_str(), &before), 0);

        EXPECT_EQ(wait_engine(start_engine({work.file("job.txt"), work.folder()}, -1, work.file("console.txt"))), 1)
            << c.name;
        const std::string named = "  " + entry + ": " + why;
        std::vector<std::string> status;
        switch (c.owner) {
            case Owner::Status:
                EXPECT_EQ(read_file(work.file("console.txt")),
                          "  CANNOT WRITE THE STATUS FILE IN THE WORK FOLDER " + work.folder() + "\n" + named + "\n");
                break;
            case Owner::Lock:
                status = {"  CANNOT CREATE THE RUN LOCK FILE IN THE WORK FOLDER", named};
                break;
            case Owner::Unit:
                status = {"  CANNOT CREATE THE ENGINE'S FILES IN THE WORK FOLDER", named};
                break;
            case Owner::Plot:
                status = {" Cannot write the plot file " + std::string(c.name) + ": " + why + "."};
                break;
        }
        // A pipe is never read here: that would block the test.
        if (c.owner != Owner::Status) {
            EXPECT_EQ(split_lines(read_file(work.file("status"))), status) << c.name;
        }
        struct stat after {};
        ASSERT_EQ(lstat(entry.c_str(), &after), 0);
        EXPECT_EQ(after.st_mode, before.st_mode) << c.name;
        EXPECT_EQ(after.st_ino, before.st_ino) << c.name;
    }
}

// A folder used again holds one run's plots: every run first removes the
// plain files under the plot files' names, in any letter case, whether it
// writes plots or not.  An entry of such a name that is no plain file stays,
// and a link's target is never touched.
TEST(EngineRun, AFolderUsedAgainHoldsOnlyTheLastRunsPlots) {
    TempDir work;
    write_small_data(work.file("d.dat"));
    write_file(work.file("mine.txt"), "kept");
    std::filesystem::create_symlink(work.file("mine.txt"), work.file("PLOT9.DAT"));
    std::filesystem::create_directory(work.path() / "PLOTS");
    write_file(work.file("plot106.dat"), "left by an earlier run");
    auto plot_files = [](int items) {
        std::set<std::string> names{"PLOTS", "PLOT9.DAT"};
        for (const char* kind : {"PLOT4", "PLOT6", "PLOT7", "PLOTEAP", "PLOTLAT", "PLOTLOC"})
            names.insert({std::string(kind) + ".DAT", std::string(kind) + ".SCR"});
        for (int i = 1; i <= items; ++i)
            for (int kind : {1, 2, 3, 5})
                for (const char* ext : {".DAT", ".SCR"})
                    names.insert("PLOT" + std::to_string(kind) + "0" + std::to_string(i) + ext);
        return names;
    };
    const struct {
        int items;
        bool plots;
        std::set<std::string> expected;
    } runs[] = {{6, true, plot_files(6)}, {4, true, plot_files(4)}, {4, false, {"PLOTS", "PLOT9.DAT"}}};
    for (const auto& r : runs) {
        std::string job =
            small_job(work.file("d.dat"), 1,
                      r.plots ? std::vector<std::string>{"Y", "5", "10", "N"} : std::vector<std::string>{"N", "N"},
                      "(I5,1X," + std::to_string(r.items) + "I1)");
        job.replace(job.find("\r\n6\r\n"), 5, "\r\n" + std::to_string(r.items) + "\r\n");
        write_file(work.file("job.txt"), job);
        ASSERT_EQ(run_engine({"job.txt", work.folder()}, work.path().string(), ""), 0) << r.items << r.plots;
        std::set<std::string> plots;
        for (const auto& e : std::filesystem::directory_iterator(work.path())) {
            const std::string name = e.path().filename().string();
            if (name.size() >= 4 && std::equal(name.begin(), name.begin() + 4, "plot", [](char a, char b) {
                    return std::tolower(static_cast<unsigned char>(a)) == b;
                }))
                plots.insert(name);
        }
        EXPECT_EQ(plots, r.expected) << r.items << " items, plots " << r.plots;
        EXPECT_EQ(read_file(work.file("mine.txt")), "kept");
        EXPECT_EQ(read_file(work.file("status")), " end\n");
    }
}

// The folder is moved away or removed while the engine waits for its first
// answer, with its unit files open, and mostly a new one is made under its
// name.  The run then goes to its end in the folder it started in, and the
// path gets nothing.  A removed folder cannot take the status file either.
TEST(EngineRun, WorkFolderReplacedDuringTheRunNeverEndsThere) {
    enum class Fate { Replaced, Moved, Removed };
    for (const Fate fate : {Fate::Replaced, Fate::Moved, Fate::Removed}) {
        TempDir cwd;
        write_small_data(cwd.file("d.dat"));
        // Plots and fit statistics open their files after the folder is gone;
        // a removed folder takes no new file, so that run has neither.
        const std::vector<std::string> fit{"Y", "5", "10", "Y", "4", "N", "2.0", "0.05", "2.0", "0.01", "2.0"};
        write_file(cwd.file("job.txt"),
                   small_job(cwd.file("d.dat"), 2, fate == Fate::Removed ? std::vector<std::string>{"N", "N"} : fit));
        const std::string folder = cwd.file("work") + "/";
        const std::string old = cwd.file("old") + "/";
        std::filesystem::create_directory(folder);

        ConsoleFeed feed;
        const pid_t pid = engine_waiting_for_its_job(feed, folder, cwd.file("console.txt"));
        if (fate == Fate::Removed)
            std::filesystem::remove_all(folder);
        else
            std::filesystem::rename(cwd.file("work"), cwd.file("old"));
        if (fate != Fate::Moved) std::filesystem::create_directory(folder);
        feed.say("Y\n" + cwd.file("job.txt") + "\n");
        EXPECT_EQ(wait_engine(pid), 1);

        const auto console = split_lines(read_file(cwd.file("console.txt")));
        if (fate == Fate::Removed) {
            EXPECT_TRUE(std::filesystem::is_empty(folder)) << "the run wrote into the new folder";
            const std::vector<std::string> gone{"  THE WORK FOLDER " + folder + " WAS REMOVED DURING THE RUN.",
                                                "  THE RUN'S FILES WENT WITH IT.  JOB IS ABORTING."};
            ASSERT_GE(console.size(), 6u);
            EXPECT_EQ(std::vector<std::string>(console.end() - 6, console.end()),
                      (std::vector<std::string>{
                          gone[0], gone[1], "  CANNOT WRITE THE STATUS FILE IN THE WORK FOLDER " + folder,
                          "  " + folder + "status: No such file or directory", gone[0], gone[1]}));
            continue;
        }
        if (fate == Fate::Replaced) {
            EXPECT_TRUE(std::filesystem::is_empty(folder)) << "the run wrote into the new folder";
        } else {
            EXPECT_FALSE(std::filesystem::exists(folder)) << "the run made a folder of its own";
        }
        const std::vector<std::string> lines{"  THE WORK FOLDER " + folder +
                                                 (fate == Fate::Replaced ? " WAS REPLACED" : " WAS MOVED") +
                                                 " DURING THE RUN.",
                                             "  THE RUN'S FILES ARE IN THE FOLDER IT STARTED IN.  JOB IS ABORTING."};
        ASSERT_GE(console.size(), 2u);
        EXPECT_EQ(std::vector<std::string>(console.end() - 2, console.end()), lines);
        EXPECT_EQ(split_lines(read_file(old + "status")), lines);
        EXPECT_EQ(last_line(read_file(old + "FT06F001")), "  seconds to execute on this machine.");
        for (const char* f : {"FT15F001", "FT16F001", "FT17F001", "PLOT4.DAT", "PLOTLOC.SCR"})
            EXPECT_FALSE(read_file(old + f).empty()) << f;
    }
}

// The job dialogue takes the date and the time of day; the next reading is the
// start of the analysis.  The clock reads 23:59:59.50 until then and 00:00:01.25
// afterwards, so the analysis passes midnight once.
TEST(EngineRun, ElapsedTimeCountsOnePassageOfMidnight) {
    TempDir work;
    write_small_data(work.file("d.dat"));
    write_file(work.file("job.txt"), small_job(work.file("d.dat")));
    int calls = 0;
    set_clock([&calls] {
        ClockReading r;
        r.year = 2026;
        r.month = 12;
        r.day = ++calls <= 3 ? 31 : 1;
        r.hour = calls <= 3 ? 23 : 0;
        r.minute = calls <= 3 ? 59 : 0;
        r.second = calls <= 3 ? 59 : 1;
        r.hundredths = calls <= 3 ? 50 : 25;
        return r;
    });
    auto job = std::make_unique<JobSettings>();
    auto st = std::make_unique<Store>();
    auto ws = std::make_unique<Workspace>();
    std::ostringstream con;
    std::istringstream in;
    int rc;
    {
        Io io(con, in);
        rc = VORMRUN({"VORMCALC", work.file("job.txt"), work.folder()}, io, *job, *st, *ws);
    }
    set_clock({});
    ASSERT_EQ(rc, 0) << con.str();
    auto rep = split_lines(read_file(work.file("FT06F001")));
    ASSERT_GE(rep.size(), 3u);
    EXPECT_EQ(rep[rep.size() - 2], "                 1.75");
    EXPECT_EQ(rep[0], " ***** TODAY'S DATE: 12/31/2026 TODAY'S TIME: 23:59:59 *****");
}

// The fit analysis runs after the parameter and plot files are written, and
// writes neither the estimates nor the data nor the job's settings: the run
// with it ends with the store and the respondents' count of the run without.
TEST(EngineRun, FitAnalysisLeavesTheParameterAndPlotFilesAsTheyWere) {
    test::fixed_clock(2026, 3, 14, 9, 5, 7);
    std::map<std::string, std::string> files[2];
    std::unique_ptr<Store> stores[2];
    int nsubj[2] = {};
    for (int fit = 0; fit < 2; ++fit) {
        TempDir work;
        write_small_data(work.file("d.dat"));
        std::vector<std::string> last{"Y", "5", "10"};
        if (fit)
            last.insert(last.end(), {"Y", "4", "N", "2.0", "0.05", "2.0", "0.01", "2.0"});
        else
            last.push_back("N");
        write_file(work.file("job.txt"), small_job(work.file("d.dat"), 2, last));
        auto job = std::make_unique<JobSettings>();
        auto st = std::make_unique<Store>();
        auto ws = std::make_unique<Workspace>();
        std::ostringstream con;
        std::istringstream in;
        {
            Io io(con, in);
            ASSERT_EQ(VORMRUN({"VORMCALC", work.file("job.txt"), work.folder()}, io, *job, *st, *ws), 0) << con.str();
        }
        for (const auto& e : std::filesystem::directory_iterator(work.path()))
            files[fit][e.path().filename().string()] = read_file(e.path().string());
        if (fit) {
            EXPECT_EQ(split_lines(files[1]["FT19F001"]).size(), static_cast<std::size_t>(job->NSUBJ));
            EXPECT_EQ(con.str().find("ITMAX"), std::string::npos);
        }
        stores[fit] = std::move(st);
        nsubj[fit] = job->NSUBJ;
    }
    set_clock({});
    EXPECT_EQ(std::memcmp(stores[1].get(), stores[0].get(), sizeof(Store)), 0);
    EXPECT_EQ(nsubj[1], nsubj[0]);
    int compared = 0;
    for (const auto& [name, text] : files[0]) {
        if (name != "FT16F001" && name != "FT17F001" && name.rfind("PLOT", 0) != 0) continue;
        EXPECT_EQ(files[1][name], text) << name;
        ++compared;
    }
    EXPECT_GT(compared, 20);
    EXPECT_EQ(files[0]["FT15F001"], "");
    EXPECT_NE(files[1]["FT15F001"].find("\n LIKELIHOOD RATIO GLOBAL CHI-SQUARE="), std::string::npos);
    EXPECT_EQ(files[1]["status"], " end\n");
}

// Lines of a report that hold `text`.
std::size_t count_lines(const std::vector<std::string>& lines, const std::string& text) {
    std::size_t n = 0;
    for (const auto& l : lines) n += l.find(text) != std::string::npos ? 1 : 0;
    return n;
}

// The number-correct section's lines for `items` items after its title.
void expect_number_correct_blocks(const std::vector<std::string>& rep, std::size_t first, std::size_t items) {
    ASSERT_EQ(rep.size(), first + 6 * items);
    const char* labels[] = {"      S-X**2 =", "     cS-X**2 =", "      s-X**2 =", "     cs-X**2 ="};
    for (std::size_t b = 0; b < items; ++b) {
        EXPECT_EQ(rep[first + 6 * b], " ");
        EXPECT_EQ(rep[first + 6 * b + 1].rfind(" ITEM# ", 0), 0u);
        for (std::size_t l = 0; l < 4; ++l) {
            const std::string& line = rep[first + 6 * b + 2 + l];
            EXPECT_EQ(line.rfind(labels[l], 0), 0u) << line;
            EXPECT_EQ(line.size(), 90u) << line;
            EXPECT_EQ(line.find("nan"), std::string::npos) << line;
        }
    }
}

// A job with missing responses, run as the built program: the fit report has
// every section, the earlier ones over every respondent, the number-correct
// section over those who answered every item.
TEST(EngineRun, FitReportOfAJobWithMissingResponsesHasEverySection) {
    TempDir work;
    vormsim::Design design;
    design.model = 2;
    design.items = vormsim::typical_items(2, std::vector<int>(6, 3), 9);
    design.nsubj = 300;
    design.missing_rate = 0.03;
    design.seed = 12;
    write_file(work.file("d.dat"), vormsim::data_text(vormsim::simulate(design), 2));
    const std::vector<std::string> fit{"N", "Y", "5", "Y", "2.0", "0.05", "2.0", "0.01", "2.0"};
    write_file(work.file("job.txt"), small_job(work.file("d.dat"), 2, fit, vormsim::data_format(6, 2)));
    ASSERT_EQ(run_engine({work.file("job.txt"), work.folder()}, work.path().string(), ""), 0);
    EXPECT_EQ(read_file(work.file("status")), " end\n");

    // The respondents data input kept, and those among them with every response.
    std::size_t kept = 0, complete = 0;
    for (const auto& record : split_lines(read_file(work.file("FT13F001")))) {
        ++kept;
        complete += record.find('-') == std::string::npos ? 1 : 0;
    }
    ASSERT_LT(complete, kept);
    const auto rep = split_lines(read_file(work.file("FT15F001")));
    ASSERT_GT(rep.size(), 2u);
    EXPECT_EQ(rep[0], "  FIT STATISTICS");
    EXPECT_EQ(rep[1].rfind("  ***** TODAY'S DATE: ", 0), 0u);
    EXPECT_EQ(count_lines(rep, " TAU# "), 6u * 3);
    EXPECT_EQ(count_lines(rep, " SUBJECT# "), kept);
    EXPECT_EQ(count_lines(rep, "  INFIT="), 6 + kept);
    EXPECT_EQ(count_lines(rep, " G**2="), 6u);
    EXPECT_EQ(count_lines(rep, " LIKELIHOOD RATIO GLOBAL CHI-SQUARE="), 1u);
    EXPECT_FALSE(read_file(work.file("FT18F001")).empty());
    std::size_t at = 0;
    while (at < rep.size() && rep[at] != "  *****  ITEM LEVEL CHI-SQUARES CONDITIONED ON NC SCORE *****") ++at;
    ASSERT_LT(at + 5, rep.size());
    EXPECT_EQ(rep[at + 2], "  **  NOTE: LISTWISE DELETION PERFORMED FOR CASES WITH' MISSING RESPONSES **");
    EXPECT_EQ(rep[at + 4], "  **  THE NUMBER OF SUBJECTS RETAINED WAS EQUAL TO " + std::to_string(complete) + "  **");
    expect_number_correct_blocks(rep, at + 6, 6);
}

// The shipped example with fit statistics asked for runs to its end.
TEST(EngineRun, ExampleJobWithFitStatisticsEnds) {
    TempDir work;
    write_file(work.file("EXAMPLE.DAT"), read_file(test::source_dir() + "/examples/EXAMPLE.DAT"));
    std::string job = read_file(test::source_dir() + "/examples/EXAMPLE.CMD");
    const std::string off = "N             fit statistics";
    const std::size_t at_off = job.find(off);
    ASSERT_NE(at_off, std::string::npos);
    job[at_off] = 'Y';
    job += test::crlf({"10", "N", "2.0", "0.05", "2.0", "0.01", "2.0"});
    write_file(work.file("EXAMPLE.CMD"), job);
    ASSERT_EQ(run_engine({"EXAMPLE.CMD", work.folder()}, work.path().string(), ""), 0);
    EXPECT_EQ(read_file(work.file("status")), " end\n");
    const auto rep = split_lines(read_file(work.file("FT15F001")));
    std::size_t at = 0;
    while (at < rep.size() && rep[at] != "  *****  ITEM LEVEL CHI-SQUARES CONDITIONED ON NC SCORE *****") ++at;
    expect_number_correct_blocks(rep, at + 2, 15);
}

// The shipped example as it stands converges: " end" alone.  With 5 outer
// cycles it stops at its cycle limit; the report says so below its
// convergence line, and the completed run's status keeps the warning below
// " end".
TEST(EngineRun, CompletedRunKeepsItsWarningBelowEnd) {
    struct Case {
        const char* cycles;
        std::string status;
    };
    const Case cases[] = {{"50", " end\n"}, {"5 ", " end\n  MAXIMUM NUMBER OF ITERATIONS EXCEEDED\n"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cycles);
        TempDir work;
        write_file(work.file("EXAMPLE.DAT"), read_file(test::source_dir() + "/examples/EXAMPLE.DAT"));
        std::string job = read_file(test::source_dir() + "/examples/EXAMPLE.CMD");
        const std::size_t at = job.find("50            outer cycles");
        ASSERT_NE(at, std::string::npos);
        job.replace(at, 2, c.cycles);
        write_file(work.file("EXAMPLE.CMD"), job);
        ASSERT_EQ(run_engine({"EXAMPLE.CMD", work.folder()}, work.path().string(), ""), 0);
        EXPECT_EQ(read_file(work.file("status")), c.status);
        if (std::string(c.cycles) == "50") continue;
        const auto rep = split_lines(read_file(work.file("FT06F001")));
        const auto met =
            std::find(rep.begin(), rep.end(), "  MML ITEM SOLUTIONS CRITERION MET AFTER 5 OUTER ITERATIONS");
        ASSERT_NE(met, rep.end());
        ASSERT_NE(met + 1, rep.end());
        EXPECT_EQ(met[1], "  MAXIMUM NUMBER OF ITERATIONS EXCEEDED");
    }
}

// Start signs that contradict the data on three far-out items: the start-up
// model keeps their mirrored locations, and model 8 drives their
// discriminations through zero and their locations off until item 1 gives
// some answers the probability 0: the marginal log-likelihood is no longer
// finite at the next expectation step.
TEST(EngineRun, EstimationThatLeavesTheFiniteNumbersEndsTheRunThere) {
    TempDir work;
    write_file(work.file("EXAMPLE.DAT"), read_file(test::source_dir() + "/examples/EXAMPLE.DAT"));
    std::vector<std::string> job{"8", "N", "N", "21", "EXAMPLE.DAT", "(I5,1X,15I1)", "15", "N"};
    job.insert(job.end(), 15, "6");
    job.insert(job.end(), {"N", "N"});
    job.insert(job.end(), 15, "2");
    job.insert(job.end(), {"Y", "2", "3", "7", "Y", "3", "1", "2", "-5", "Y"});
    for (int i = 1; i <= 15; ++i) job.push_back(i % 2 ? "+" : "-");
    job.insert(job.end(), {"50", "10", "30", "30", "0.001", "N", "N"});
    write_file(work.file("job.txt"), test::lf(job));
    ASSERT_EQ(run_engine({"job.txt", work.folder()}, work.path().string(), ""), 1);
    const std::vector<std::string> reason{
        "  THE ESTIMATION DID NOT REACH FINITE ESTIMATES.  JOB IS ABORTING.",
        "  FIRST CONCERNED: THE MARGINAL LOG-LIKELIHOOD OF MODEL 8, THROUGH ITEM #1 (ITEM 1 OF THE DATA FILE)."};
    EXPECT_EQ(split_lines(read_file(work.file("status"))), reason);
    const auto rep = split_lines(read_file(work.file("FT06F001")));
    ASSERT_GE(rep.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(rep.end() - 2, rep.end()), reason);
    EXPECT_EQ(read_file(work.file("FT16F001")), "");
    EXPECT_EQ(read_file(work.file("FT17F001")), "");
}

// ---- a run stopped by a signal ----------------------------------------------

// A job that runs for a long time unless it is stopped: 2000 respondents and
// 100 items of model 8, a criterion of 1e-7 and room for 2000 outer cycles.
void write_long_job(const TempDir& work) {
    vormsim::Design design;
    design.model = 8;
    design.items = vormsim::typical_items(8, std::vector<int>(100, 6), 3);
    design.nsubj = 2000;
    design.seed = 5;
    write_file(work.file("long.dat"), vormsim::data_text(vormsim::simulate(design), 1));
    std::vector<std::string> job{"8", "N", "N", "30", work.file("long.dat"), vormsim::data_format(100, 1), "100"};
    job.insert(job.end(), {"Y", "6", "N", "Y", "1", "N", "N", "N", "2000", "10", "10", "10", "1e-7", "N", "N"});
    write_file(work.file("long.txt"), test::lf(job));
}

// The line that the console, the report and the status file get for a run
// that the signal stopped.
std::string stop_line(int sig) {
    const std::string name = sig == SIGINT ? "SIGINT" : sig == SIGTERM ? "SIGTERM" : "SIGHUP";
    return "  THE RUN WAS STOPPED BY " + name + " BEFORE IT ENDED.";
}

class EngineStopSignal : public ::testing::TestWithParam<int> {};

// The signal comes once the console says that the estimation has begun: the
// run ends at its next safe point, with every report line written so far and
// then the line that names the signal, a status of that line alone, exit
// status 1, and a folder that the next run can use.
TEST_P(EngineStopSignal, EndsTheRunWithTheReportWholeAndTheFolderFree) {
    const int sig = GetParam();
    TempDir work;
    write_long_job(work);
    WatchedEngine engine({work.file("long.txt"), work.folder()});
    ASSERT_GT(engine.pid, 0);
    ASSERT_TRUE(engine.shown("  ESTIMATING ITEM PARAMETERS\n")) << engine.seen;
    ASSERT_FALSE(engine.closed) << engine.seen;
    ASSERT_EQ(kill(engine.pid, sig), 0);
    const int status = engine.wait_for_end();
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 1);

    const std::string line = stop_line(sig);
    EXPECT_EQ(read_file(work.file("status")), line + "\n");
    EXPECT_EQ(last_line(engine.seen), line);
    const auto rep = split_lines(read_file(work.file("FT06F001")));
    ASSERT_GT(rep.size(), 100u);
    EXPECT_EQ(rep[0].rfind(" ***** TODAY'S DATE: ", 0), 0u);
    EXPECT_EQ(rep.back(), line);
    // The response tables, the last lines before the estimation, are whole.
    const auto across = std::find(rep.begin(), rep.end(), "  ***** RESPONSE FREQUENCY COUNTS ACROSS ITEMS *****");
    ASSERT_LT(across + 4, rep.end());
    EXPECT_EQ(across[4].find_first_not_of(" 0123456789"), std::string::npos) << across[4];
    EXPECT_GT(across[4].find_first_not_of(' '), 0u);

    write_small_data(work.file("d.dat"));
    write_file(work.file("job.txt"), small_job(work.file("d.dat")));
    EXPECT_EQ(run_engine({work.file("job.txt"), work.folder()}, work.path().string(), ""), 0);
    EXPECT_EQ(read_file(work.file("status")), " end\n");
}

// The signal comes while the engine waits for its first answer: the console
// read that it cuts short is no end of the console input, and no line says
// so; the signal's line is all that the console, the report and the status
// file get.
TEST_P(EngineStopSignal, AtAConsoleQuestionLeavesTheSignalLineAlone) {
    const int sig = GetParam();
    TempDir work;
    ConsoleFeed feed;
    WatchedEngine engine({"", work.folder()}, feed.engine_end());
    ASSERT_GT(engine.pid, 0);
    wait_for_the_first_question(engine, feed);
    const std::size_t asked = engine.seen.size();
    ASSERT_EQ(kill(engine.pid, sig), 0);
    const int status = engine.wait_for_end();
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    const std::string line = stop_line(sig);
    EXPECT_EQ(engine.seen.substr(asked), line + "\n");
    EXPECT_EQ(read_file(work.file("status")), line + "\n");
    EXPECT_EQ(read_file(work.file("FT06F001")), line + "\n");
}

INSTANTIATE_TEST_SUITE_P(EngineRun, EngineStopSignal, ::testing::Values(SIGINT, SIGTERM, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param == SIGINT ? "Sigint" : info.param == SIGTERM ? "Sigterm" : "Sighup";
                         });

// The console of an engine run in a child of the test: its input gives the
// answers `before`, then, at the next read, raises the signals `at_question`
// one after the other, as a keyboard would while a question waits, and gives
// `after`; its output goes to the file `fd` character by character and
// raises `at_stop_line` once it has the line of a stopped run, when the engine
// is already stopping.
class SignallingConsole : public std::streambuf {
public:
    SignallingConsole(std::string before, std::vector<int> at_question, std::string after)
        : before_(std::move(before)), at_question_(std::move(at_question)), after_(std::move(after)) {}
    SignallingConsole(int fd, std::vector<int> at_stop_line) : fd_(fd), at_stop_line_(std::move(at_stop_line)) {}

protected:
    int_type underflow() override {
        if (reads_++ == 0) {
            setg(before_.data(), before_.data(), before_.data() + before_.size());
        } else if (!asked_) {
            asked_ = true;
            for (int s : at_question_) std::raise(s);
            setg(after_.data(), after_.data(), after_.data() + after_.size());
        }
        return gptr() < egptr() ? traits_type::to_int_type(*gptr()) : traits_type::eof();
    }
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        const char ch = traits_type::to_char_type(c);
        if (write(fd_, &ch, 1) != 1) return traits_type::eof();
        if (ch != '\n') {
            line_ += ch;
            return c;
        }
        if (line_.find("BEFORE IT ENDED.") != std::string::npos)
            for (int s : at_stop_line_) std::raise(s);
        line_.clear();
        return c;
    }

private:
    std::string before_;
    std::vector<int> at_question_;
    std::string after_;
    int reads_ = 0;
    bool asked_ = false;
    int fd_ = -1;
    std::vector<int> at_stop_line_;
    std::string line_;
};

// Signals that come together, and signals that the engine was started with
// ignored (nohup), raised in a child of the test that runs the engine as its
// program does, on a console that raises them at a known point of the run.
TEST(EngineRun, SignalsThatComeTogetherOrWereIgnoredAtTheStart) {
    struct Case {
        const char* what;
        std::vector<int> ignored;       // as the engine finds them at its start
        std::vector<int> at_question;   // while the first question waits for its answer
        std::vector<int> at_stop_line;  // once the engine is stopping
        int killed_by;                  // 0: the engine ends by itself
        std::string status;             // as the engine leaves it
    };
    const Case cases[] = {
        {"two at once: the first is named", {}, {SIGINT, SIGTERM}, {}, 0, stop_line(SIGINT) + "\n"},
        {"two at once, the other order", {}, {SIGTERM, SIGHUP}, {}, 0, stop_line(SIGTERM) + "\n"},
        {"a second of the same kind ends it at once", {}, {SIGTERM, SIGTERM}, {}, SIGTERM, " start\n"},
        {"any second one while it stops ends it at once", {}, {SIGINT}, {SIGHUP}, SIGHUP, " start\n"},
        {"ignored at the start stays ignored", {SIGHUP}, {SIGHUP}, {}, 0, " end\n"},
        {"ignored at the start stays ignored while it stops",
         {SIGHUP},
         {SIGTERM},
         {SIGHUP},
         0,
         stop_line(SIGTERM) + "\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir work;
        write_small_data(work.file("d.dat"));
        write_file(work.file("job.txt"), small_job(work.file("d.dat")));
        const std::string folder = work.folder() + "run/";
        std::filesystem::create_directory(folder);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            for (int s : {SIGINT, SIGTERM, SIGHUP}) std::signal(s, SIG_DFL);
            for (int s : c.ignored) std::signal(s, SIG_IGN);
            catch_stop_signals();
            const int out = open(work.file("console.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            SignallingConsole input("\n\n\n", c.at_question, "Y\n" + work.file("job.txt") + "\n");
            SignallingConsole output(out, c.at_stop_line);
            std::istream in(&input);
            std::ostream con(&output);
            auto job = std::make_unique<JobSettings>();
            ZeroedBlock<Store> st;
            ZeroedBlock<Workspace> ws;
            int rc;
            {
                Io io(con, in);
                rc = VORMRUN({"VORMCALC", "", folder}, io, *job, *st, *ws);
            }
            _exit(rc);
        }
        int status = 0;
        if (!wait_until([&] { return waitpid(pid, &status, WNOHANG) == pid; })) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            FAIL() << "the engine did not end";
        }
        const std::string ended = WIFSIGNALED(status) ? "by signal " + std::to_string(WTERMSIG(status))
                                                      : "with exit status " + std::to_string(WEXITSTATUS(status));
        EXPECT_EQ(ended, c.killed_by != 0       ? "by signal " + std::to_string(c.killed_by)
                         : c.status == " end\n" ? "with exit status 0"
                                                : "with exit status 1");
        EXPECT_EQ(read_file(folder + "status"), c.status);
        if (c.status != " end\n" && c.killed_by == 0) {
            EXPECT_EQ(last_line(read_file(work.file("console.txt"))), split_lines(c.status).at(0));
        }
    }
}

}  // namespace
}  // namespace vorm
