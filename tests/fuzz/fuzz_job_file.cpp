// Fuzz target: the front end's job file reader (File Open) and writer (Save).
// Whatever the bytes, File Open either refuses them with a message, or the
// job it reads is written by Save to a file that File Open reads back to the
// same job (its data file named as it was, relative or not), and that Save
// writes again byte for byte; the engine's copy names the data file in full.
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
    // The data file goes out as the file named it, relative or not; an empty
    // data file or format box goes out as the writer's fallback.
    JobControls expected = opened;
    if (expected.dataFile.isEmpty()) expected.dataFile = appDir + QStringLiteral("INDATA.DAT");
    if (expected.fortranFormat.isEmpty()) expected.fortranFormat = QStringLiteral("(i4,1x,25i1)");
    VORM_FUZZ_CHECK(reopened == expected);
    VORM_FUZZ_CHECK(jobFileText(reopened, second, appDir, &why) == saved);

    // The engine's copy names the data file in full, taken from the job's
    // folder, on the line where the engine reads it.
    JobControls forEngine = reopened;
    forEngine.dataFile = resolvedDataFile(reopened.dataFile, QStringLiteral("/home/u/my jobs"));
    VORM_FUZZ_CHECK(forEngine.dataFile.startsWith(QLatin1Char('/')));
    if (reopened.dataFile.startsWith(QLatin1Char('/'))) VORM_FUZZ_CHECK(forEngine.dataFile == reopened.dataFile);
    const std::optional<QByteArray> engineJob = jobFileText(forEngine, second, appDir, &why);
    VORM_FUZZ_CHECK(engineJob.has_value());
    VORM_FUZZ_CHECK(engineJob->split('\n').value(4) == toJobBytes(forEngine.dataFile) + '\r');
    return 0;
}
