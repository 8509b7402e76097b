// What the fuzz targets share: a quiet console, a scratch file for the text
// under test, and a check that aborts, so that libFuzzer (or the replay
// driver) reports a broken promise as a crash.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <string_view>

namespace vorm::fuzz {

// A console that swallows everything: the questions and progress lines are
// not what is under test.  A stream without a buffer writes nothing.
inline std::ostream& quiet_console() {
    static std::ostream quiet(nullptr);
    return quiet;
}

// A file in a folder of this process's own, rewritten for every input and
// removed at exit: the engine reads its job and data files by path.
class ScratchFile {
public:
    explicit ScratchFile(const char* name) {
        std::string dir = (std::filesystem::temp_directory_path() / "vormfuzz-XXXXXX").string();
        if (!mkdtemp(dir.data())) std::abort();
        dir_ = dir;
        path_ = dir + "/" + name;
    }
    ~ScratchFile() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& path() const { return path_; }
    void write(std::string_view text) const {
        std::ofstream f(path_, std::ios::binary | std::ios::trunc);
        f.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (!f) std::abort();
    }

private:
    std::string dir_;
    std::string path_;
};

#define VORM_FUZZ_CHECK(cond)                                                               \
    do {                                                                                    \
        if (!(cond)) {                                                                      \
            std::fprintf(stderr, "%s:%d: broken promise: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                   \
        }                                                                                   \
    } while (0)

}  // namespace vorm::fuzz
