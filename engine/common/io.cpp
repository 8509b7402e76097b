#include "common/io.h"

#include <fstream>
#include <sstream>

namespace vorm {

namespace {
constexpr const char* kNames[UNIT_COUNT] = {"FT06F001", "FT15F001", "FT08F001", "FT13F001", "FT14F001",
                                            "FT16F001", "FT17F001", "FT19F001", "FT18F001"};
}

const char* unit_file_name(Unit u) { return kNames[static_cast<int>(u)]; }

UnitFiles::UnitFiles() = default;
UnitFiles::~UnitFiles() { close_all(); }

bool UnitFiles::open_in_folder(const std::string& folder, std::string* failed) {
    in_memory_ = false;
    for (int k = 0; k < UNIT_COUNT; ++k) {
        std::string path = folder + kNames[k];
        auto f = std::make_unique<std::fstream>(path, std::ios::in | std::ios::out | std::ios::trunc);
        if (!f->is_open()) {
            if (failed) *failed = path;
            return false;
        }
        units_[k] = std::move(f);
    }
    return true;
}

void UnitFiles::open_in_memory() {
    in_memory_ = true;
    for (auto& u : units_) u = std::make_unique<std::stringstream>();
}

std::iostream& UnitFiles::operator[](Unit u) {
    auto& p = units_[static_cast<int>(u)];
    // A unit written after it was closed (or before start-up, in a test) goes
    // to memory rather than nowhere.
    if (!p) p = std::make_unique<std::stringstream>();
    return *p;
}

bool UnitFiles::is_open(Unit u) const { return units_[static_cast<int>(u)] != nullptr; }

void UnitFiles::close(Unit u) {
    auto& p = units_[static_cast<int>(u)];
    if (!p) return;
    p->flush();
    if (in_memory_) return;  // keep the text readable by the test
    p.reset();
}

void UnitFiles::close_all() {
    for (int k = 0; k < UNIT_COUNT; ++k) close(static_cast<Unit>(k));
}

std::string UnitFiles::contents(Unit u) const {
    auto* s = dynamic_cast<std::stringstream*>(units_[static_cast<int>(u)].get());
    return s ? s->str() : std::string();
}

}  // namespace vorm
