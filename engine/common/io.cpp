#include "common/io.h"

#include <sstream>
#include <stdexcept>

#include "common/filestream.h"
#include "common/status.h"
#include "common/stop.h"
#include "common/workfolder.h"

namespace vorm {

namespace {
constexpr const char* kNames[UNIT_COUNT] = {"FT06F001", "FT15F001", "FT08F001", "FT13F001", "FT14F001",
                                            "FT16F001", "FT17F001", "FT19F001", "FT18F001"};

int index(Unit u) { return static_cast<int>(u); }

[[noreturn]] void write_failure(const std::string& path) {
    throw UnitWriteFailure({status_text(" ERROR WRITING THE FILE " + path),
                            status_text(" THE DISK MAY BE FULL OR THE FILE NOT WRITABLE.  JOB IS ABORTING.")});
}
}  // namespace

const char* unit_file_name(Unit u) { return kNames[index(u)]; }

UnitFiles::UnitFiles() = default;
UnitFiles::~UnitFiles() { close_all_unchecked(); }

bool UnitFiles::open_in_folder(const std::string& folder, std::string* failed) {
    in_memory_ = false;
    for (int k = 0; k < UNIT_COUNT; ++k) {
        std::string path = folder + kNames[k];
        std::string why;
        auto f = std::make_unique<FileStream>(open_work_file(folder, kNames[k], WorkFolder::Mode::Update, &why),
                                              std::ios::in | std::ios::out);
        if (!f->is_open()) {
            if (failed) *failed = path + ": " + why;
            return false;
        }
        units_[k] = std::move(f);
        paths_[k] = path;
        closed_[k] = false;
    }
    return true;
}

void UnitFiles::open_in_memory() {
    in_memory_ = true;
    for (int k = 0; k < UNIT_COUNT; ++k) {
        units_[k] = std::make_unique<std::stringstream>();
        paths_[k] = kNames[k];
        closed_[k] = false;
    }
}

std::iostream& UnitFiles::operator[](Unit u) {
    int k = index(u);
    if (!units_[k] || closed_[k])
        throw std::logic_error(std::string("the unit file ") + kNames[k] + " is used while it is not open");
    return *units_[k];
}

bool UnitFiles::is_open(Unit u) const { return units_[index(u)] != nullptr && !closed_[index(u)]; }

bool UnitFiles::finish(Unit u) {
    int k = index(u);
    auto& p = units_[k];
    if (!p || closed_[k]) return true;
    closed_[k] = true;
    bool ok = !p->flush().fail();
    if (in_memory_) return ok;  // keep the text readable by the test
    ok = static_cast<FileStream*>(p.get())->close() && ok;
    p.reset();
    return ok;
}

void UnitFiles::check(Unit u) {
    int k = index(u);
    if ((*this)[u].flush().fail()) write_failure(paths_[k]);
}

void UnitFiles::rewind(Unit u) {
    check(u);
    std::iostream& s = (*this)[u];
    s.clear();
    s.seekg(0);
}

void UnitFiles::rewrite(Unit u) {
    check(u);
    const int k = index(u);
    if (in_memory_) {
        auto* s = static_cast<std::stringstream*>(units_[k].get());
        s->str(std::string());
        s->clear();
        return;
    }
    if (!static_cast<FileStream*>(units_[k].get())->empty()) write_failure(paths_[k]);
}

void UnitFiles::close(Unit u) {
    if (!finish(u)) write_failure(paths_[index(u)]);
}

void UnitFiles::close_all() {
    int failed = -1;
    for (int k = 0; k < UNIT_COUNT; ++k)
        if (!finish(static_cast<Unit>(k)) && failed < 0) failed = k;
    if (failed >= 0) write_failure(paths_[failed]);
}

void UnitFiles::close_all_unchecked() {
    for (int k = 0; k < UNIT_COUNT; ++k) finish(static_cast<Unit>(k));
}

std::string UnitFiles::contents(Unit u) const {
    auto* s = dynamic_cast<std::stringstream*>(units_[index(u)].get());
    return s ? s->str() : std::string();
}

}  // namespace vorm
