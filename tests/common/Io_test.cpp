// Unit files that lose what is written to them, and units used while closed.
// /dev/full takes a file open but refuses every write, as a full disk does.
#include "common/io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "common/stop.h"
#include "test_support.h"

namespace vorm {
namespace {

using test::TempDir;

TEST(UnitFiles, LostWritesEndTheRunNamingTheFile) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
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
        std::filesystem::create_symlink("/dev/full", work.file(unit_file_name(c.full)));
        UnitFiles units;
        std::string failed;
        ASSERT_TRUE(units.open_in_folder(work.folder(), &failed)) << failed;
        units[c.full] << " a line that never reaches the disk\n";
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
        EXPECT_EQ(test::read_file(work.file("FT17F001")), " a line that does\n");
    }
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
