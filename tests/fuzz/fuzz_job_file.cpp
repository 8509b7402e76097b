// Fuzz target: the front end's job file reader (File Open) and writer (Save).
// Whatever the bytes, File Open either refuses them with a message, or the
// job it reads is written by Save to a file that File Open reads back to the
// same job, and that Save writes again byte for byte.
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

#include "core/JobFile.h"
#include "fuzz_input.h"

namespace {

// File Open after the job reset: the record's defaults; the controls' values
// do not matter, since Save writes only what the file has set.
bool open(const QByteArray& bytes, vormgui::JobSettings& job, vormgui::JobControls& controls, QString* why) {
    vormgui::setNewJobDefaults(job);
    controls = vormgui::JobControls{};
    return vormgui::readJobFile(bytes, job, controls, why);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vormgui;
    static JobSettings first, second;
    const QString appDir = QStringLiteral("/opt/vorm/");
    JobControls opened, reopened;
    QString why;
    if (!open(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), first, opened, &why)) {
        VORM_FUZZ_CHECK(!why.isEmpty());
        return 0;
    }
    const std::optional<QByteArray> saved = jobFileText(opened, first, appDir, &why);
    VORM_FUZZ_CHECK(saved.has_value());
    VORM_FUZZ_CHECK(open(*saved, second, reopened, &why));
    VORM_FUZZ_CHECK(reopened == opened);
    VORM_FUZZ_CHECK(jobFileText(reopened, second, appDir, &why) == saved);
    return 0;
}
