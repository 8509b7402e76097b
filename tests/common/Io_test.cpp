// Unit files that lose what is written to them, entries of their names that
// are no plain files, and units used while closed.  A file-size limit lets
// writes to a plain file fail as a full disk does; the full device takes
// nothing at all.
#include "common/io.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <stdexcept>

#include "common/filestream.h"
#include "common/stop.h"
#include "test_support.h"

namespace vorm {
namespace {

using test::TempDir;

// Writes past `bytes` fail while it lives, with an error instead of the
// signal that would end the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : previous_(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        ok_ = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    bool ok() const { return ok_; }

private:
    void (*previous_)(int);
    rlimit saved_{};
    bool ok_ = false;
};

TEST(UnitFiles, LostWritesEndTheRunNamingTheFile) {
    struct Case {
        Unit full;
        void (*finish)(UnitFiles&, Unit);
    };
    const Case cases[] = {
        {Unit::FT16, [](UnitFiles& u, Unit f) { u.close(f); }},
        {Unit::FT13, [](UnitFiles& u, Unit f) { u.check(f); }},  // a scratch unit before it is read back
        {Unit::FT06, [](UnitFiles& u, Unit) { u.close_all(); }},
    };
    for (const auto& c : cases) {
        TempDir work;
        UnitFiles units;
        std::string failed;
        ASSERT_TRUE(units.open_in_folder(work.folder(), &failed)) << failed;
        {
            const FileSizeLimit limit(4096);
            ASSERT_TRUE(limit.ok());
            for (int k = 0; k < 500; ++k) units[c.full] << " a line that never reaches the disk\n";
            units[Unit::FT17] << " a line that does\n";
            try {
                c.finish(units, c.full);
                ADD_FAILURE() << unit_file_name(c.full) << " failed without a word";
            } catch (const EngineStop& stop) {
                ASSERT_EQ(stop.status_lines().size(), 2u);
                EXPECT_EQ(stop.status_lines()[0], "  ERROR WRITING THE FILE " + work.file(unit_file_name(c.full)));
                EXPECT_EQ(stop.exit_code(), 1);
            }
            // The other files are whole, however the failed one was found.
            units.close_all_unchecked();
        }
        EXPECT_EQ(test::read_file(work.file("FT17F001")), " a line that does\n");
    }
}

// The stream under the unit files and the status file, over a device that
// takes nothing, as a full disk: a line is lost when the close passes it on,
// a block longer than the stream's buffer as it is written, which only the
// stream's state remembers.  Neither close reports success.
TEST(UnitFiles, StreamOverAFullDiskReportsTheLostWritesAtItsClose) {
    for (const std::size_t length : {std::size_t{40}, std::size_t{1} << 20}) {
        FileStream f(open("/dev/full", O_WRONLY | O_CLOEXEC), std::ios::out);
        ASSERT_TRUE(f.is_open());
        f << std::string(length, 'x') << '\n';
        EXPECT_FALSE(f.close()) << length << " characters";
    }
}

// A pipe would block the open or the first write, a link would write through
// to whatever it names: nothing is opened, and the entry and what it names
// stay as they were.
TEST(UnitFiles, EntriesThatAreNoPlainFilesAreRefusedAndLeftAsTheyWere) {
    TempDir elsewhere;
    test::write_file(elsewhere.file("kept.txt"), "somebody's file\n");
    struct Case {
        const char* unit;
        void (*plant)(const std::string& path, const std::string& target);
        const char* why;
    };
    const Case cases[] = {
        {"FT13F001", [](const std::string& p, const std::string&) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); },
         "Is a named pipe, not a plain file"},
        {"FT06F001", [](const std::string& p, const std::string&) { std::filesystem::create_symlink("/dev/null", p); },
         "Is a symbolic link, not a plain file"},
        {"FT16F001", [](const std::string& p, const std::string& t) { std::filesystem::create_symlink(t, p); },
         "Is a symbolic link, not a plain file"},
        {"FT18F001", [](const std::string& p, const std::string&) { std::filesystem::create_directory(p); },
         "Is a directory"},
    };
    for (const auto& c : cases) {
        TempDir work;
        const std::string path = work.file(c.unit);
        c.plant(path, elsewhere.file("kept.txt"));
        struct stat before {};
        ASSERT_EQ(lstat(path.c_str(), &before), 0);
        UnitFiles units;
        std::string failed;
        EXPECT_FALSE(units.open_in_folder(work.folder(), &failed)) << c.unit;
        EXPECT_EQ(failed, path + ": " + c.why);
        struct stat after {};
        ASSERT_EQ(lstat(path.c_str(), &after), 0);
        EXPECT_EQ(after.st_mode, before.st_mode) << c.unit;
        EXPECT_EQ(after.st_ino, before.st_ino) << c.unit;
    }
    EXPECT_EQ(test::read_file(elsewhere.file("kept.txt")), "somebody's file\n");
}

TEST(UnitFiles, AUnitUsedWhileClosedIsAFaultNotAStream) {
    TempDir work;
    UnitFiles disk;
    std::string failed;
    ASSERT_TRUE(disk.open_in_folder(work.folder(), &failed)) << failed;
    UnitFiles memory;
    memory.open_in_memory();
    for (UnitFiles* u : {&disk, &memory}) {
        (*u)[Unit::FT16] << " item file\n";
        u->close(Unit::FT16);
        EXPECT_THROW((*u)[Unit::FT16], std::logic_error);
        EXPECT_THROW(u->check(Unit::FT16), std::logic_error);
        u->close(Unit::FT16);  // closing twice is harmless
    }
    EXPECT_EQ(memory.contents(Unit::FT16), " item file\n");
    UnitFiles never_opened;
    EXPECT_THROW(never_opened[Unit::FT06], std::logic_error);
}

}  // namespace
}  // namespace vorm
