#include "widgets/QtServices.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QThread>
#include <QTimer>
#include <filesystem>
#include <optional>

#include "gui_test_support.h"
#include "platform/AppPaths.h"
#include "platform/NativePath.h"
#include "widgets/HelpWindow.h"

namespace vormgui {
namespace {

using test::readFile;
using test::TempFolder;
using test::writeFile;

// A guard against hanging only, generous for a loaded machine.
bool waitFor(const std::function<bool()>& condition, int ms = 60000) {
    QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QThread::msleep(10);
    }
    return true;
}

TEST(QtServicesEngine, StartsWithSeparateArgumentsInTheWorkingFolder) {
    TempFolder work;
    QtServices services;
    const qint64 pid = services.startEngine(
        QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"), QStringLiteral("printf '%s|%s' \"$1\" \"$(pwd)\" > out.tmp && mv out.tmp out"),
         QStringLiteral("sh"), QStringLiteral("job file/with blanks")},
        work.path());
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(waitFor([&] { return QFile::exists(work.file(QStringLiteral("out"))); }));
    EXPECT_EQ(readFile(work.file(QStringLiteral("out"))),
              "job file/with blanks|" + QDir(work.path()).canonicalPath().toUtf8());
}

// The whole way from a program folder whose name Qt cannot hold to the
// engine: the folders are found, the work folder is the program folder's own,
// and the engine gets the folder's bytes as its working folder and in its
// arguments, and is known as running while it runs.
TEST(QtServicesEngine, StartsFromAProgramFolderWhoseNameIsNotUtf8) {
    namespace fs = std::filesystem;
    const test::NonUtf8Folder program;
    const QByteArray& folder = program.bytes();
    const fs::path real = program.path();
    fs::copy_file(VORM_FAKE_ENGINE, real / "VORMCALC");

    const AppPaths paths = AppPaths::forProgramFolder(folder);
    ASSERT_TRUE(QFileInfo::exists(paths.engineProgram())) << paths.engineProgram().toStdString();
    EXPECT_EQ(nativePath(paths.workDir()), folder + "/TEMPFILE/") << "not the fallback work folder";
    writeFile(paths.workFile(QStringLiteral("fakeplan")), "where\nawait go\n");
    QtServices services;
    const qint64 pid = services.startEngine(
        paths.engineProgram(), {paths.workFile(QStringLiteral("CMDFLE")), paths.workDir()}, paths.appDir());
    ASSERT_GT(pid, 0);
    const QString status = paths.workFile(QStringLiteral("status"));
    const QByteArray where = folder + "|" + folder + "/TEMPFILE/CMDFLE\n";
    EXPECT_TRUE(waitFor([&] { return readFile(status) == where; })) << readFile(status).toStdString();
    EXPECT_TRUE(services.engineRunning(pid, paths.engineProgram()));
    writeFile(paths.workFile(QStringLiteral("go")));
    EXPECT_TRUE(waitFor([&] { return !services.engineRunning(pid, paths.engineProgram()); }));
    EXPECT_TRUE(fs::exists(real / "TEMPFILE" / "status"));

    const QString shown =
        withFolderNames(QStringLiteral("Plot data file %1PLOT1* are not available.").arg(paths.workDir()));
    // A person reads the folder's name, its two odd bytes as U+FFFD.
    EXPECT_EQ(shown, QStringLiteral("Plot data file %1/prog dir \uFFFD\uFFFD/TEMPFILE/PLOT1* are not available.")
                         .arg(program.parent()));
}

TEST(QtServicesEngine, AProgramThatCannotStartGivesZero) {
    QtServices services;
    EXPECT_EQ(services.startEngine(QStringLiteral("/nonexistent/VORMCALC"), {}, QDir::tempPath()), 0);
    EXPECT_EQ(services.startEngine(QStringLiteral("/bin/sh"), {}, QStringLiteral("/nonexistent/folder")), 0)
        << "a working folder that cannot be entered";
}

TEST(QtServicesEngine, StopsOnlyTheProcessThatRunsTheEngine) {
    QtServices services;
    const QString sleep = QStringLiteral("/bin/sleep");
    const qint64 pid = services.startEngine(sleep, {QStringLiteral("30")}, QDir::tempPath());
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(waitFor([&] { return processRunsProgram(pid, sleep); }));

    EXPECT_FALSE(services.stopEngine(pid, QStringLiteral("/bin/sh")));
    EXPECT_TRUE(processRunsProgram(pid, sleep)) << "a process of another program was stopped";
    EXPECT_FALSE(services.stopEngine(0, sleep));
    EXPECT_FALSE(services.stopEngine(-1, sleep));

    EXPECT_TRUE(services.stopEngine(pid, sleep));
    EXPECT_TRUE(waitFor([&] { return !processRunsProgram(pid, sleep); }));
    EXPECT_FALSE(services.stopEngine(pid, sleep)) << "an ended engine was signalled again";
}

QList<HelpWindow*> visibleHelpWindows() {
    QList<HelpWindow*> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* h = qobject_cast<HelpWindow*>(w); h && h->isVisible()) windows << h;
    return windows;
}

// Clicks the link that reads `text` in the help window as a user does:
// through the window system, where a modal window blocks what it blocks.
void clickLink(HelpWindow& window, const QString& text) {
    QTextBrowser& browser = *window.browser();
    const QTextCursor found = browser.document()->find(text);
    ASSERT_FALSE(found.isNull()) << text.toStdString();
    QTextCursor inside(browser.document());
    inside.setPosition(found.selectionStart() + 1);
    const QPoint at = browser.viewport()->mapTo(&window, browser.cursorRect(inside).center());
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
    QCoreApplication::processEvents();
}

// The box shows its text as it is: a status line that holds markup is
// neither bold nor coloured, and shows no picture.
TEST(QtServicesMessage, TheTextIsPlainText) {
    QtServices services;
    const QString text = QStringLiteral("<b>bold</b> <font color=red>red</font> <img src=x.png>");
    std::optional<Qt::TextFormat> format;
    QString shown;
    const auto look = [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            format = box->textFormat();
            shown = box->text();
            box->accept();
        }
    };
    QTimer peek;
    QObject::connect(&peek, &QTimer::timeout, look);
    peek.start(10);
    // A guard against hanging only, should the box never be found.
    QTimer::singleShot(60000, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    EXPECT_EQ(services.message(text, QStringLiteral("title"), MsgIcon::Critical, MsgButtons::Ok), MsgAnswer::Ok);
    ASSERT_TRUE(format.has_value()) << "the box was not seen";
    EXPECT_EQ(*format, Qt::PlainText);
    EXPECT_EQ(shown, text);
}

TEST(QtServicesHelp, AMissingPageFailsWithItsReasonAndOneWindowServesEveryPage) {
    TempFolder help;
    QtServices services;
    QString error;
    EXPECT_FALSE(services.showHelp(help.file(QStringLiteral("Missing.htm")), &error));
    EXPECT_EQ(error, QStringLiteral("File not found"));
    EXPECT_FALSE(services.showHelp(help.path(), &error));
    EXPECT_EQ(error, QStringLiteral("Not a file"));

    writeFile(help.file(QStringLiteral("Page.htm")),
              "<html><head><title>Read Data</title></head><body><p>Where the data are.</p></body></html>");
    writeFile(help.file(QStringLiteral("Other.htm")), "<html><head><title>Quadrature</title></head></html>");
    ASSERT_TRUE(services.showHelp(help.file(QStringLiteral("Other.htm")), &error));
    ASSERT_TRUE(services.showHelp(help.file(QStringLiteral("Page.htm")), &error));
    const QList<HelpWindow*> windows = visibleHelpWindows();
    ASSERT_EQ(windows.size(), 1) << "every Help opens one window, reused";
    EXPECT_EQ(windows[0]->windowTitle(), QStringLiteral("Read Data"));
    EXPECT_TRUE(windows[0]->browser()->toPlainText().contains(QStringLiteral("Where the data are.")));
}

TEST(QtServicesHelp, TheHelpWindowTakesClicksWhileAPageIsOpenAndAfterItCloses) {
    TempFolder help;
    writeFile(help.file(QStringLiteral("Main.htm")),
              "<html><head><title>Contents</title></head><body><p><a href=\"Page.htm\">Reading the data</a></p>"
              "</body></html>");
    writeFile(help.file(QStringLiteral("Page.htm")),
              "<html><head><title>Read Data</title></head><body><p><a href=\"Main.htm\">Contents</a></p>"
              "</body></html>");
    QtServices services;
    // Opened from the main window, before any page.
    ASSERT_TRUE(services.showHelp(help.file(QStringLiteral("Main.htm")), nullptr));
    HelpWindow& window = *visibleHelpWindows().value(0);
    QCoreApplication::processEvents();

    QDialog page;
    page.setWindowTitle(QStringLiteral("Read Data"));
    QStringList titles;
    QTimer::singleShot(0, &page, [&] {
        clickLink(window, QStringLiteral("Reading the data"));
        titles << window.windowTitle();
        // The page's own Help opens the same window.
        services.showHelp(help.file(QStringLiteral("Main.htm")), nullptr);
        QCoreApplication::processEvents();
        clickLink(window, QStringLiteral("Reading the data"));
        titles << window.windowTitle() << QString::number(visibleHelpWindows().size());
        page.accept();
    });
    page.exec();
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.isVisible()) << "the help window closed with the page";
    clickLink(window, QStringLiteral("Contents"));
    titles << window.windowTitle();
    EXPECT_EQ(titles, (QStringList{"Read Data", "Read Data", "1", "Contents"}));
}

}  // namespace
}  // namespace vormgui
