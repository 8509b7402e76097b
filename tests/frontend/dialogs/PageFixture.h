// What the job page tests share: the main window with every page over a
// recorder, the presses of a page from a new job, and key and mouse events
// sent straight to a widget.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <functional>

#include "app/FrontEnd.h"
#include "core/mGlobalVariables.h"
#include "dialogs/Grid.h"
#include "dialogs/JobPages.h"
#include "dialogs/WizardPage.h"
#include "gui_test_support.h"
#include "widgets/RecordingServices.h"

namespace vormgui::test {

constexpr auto kOk = WizardPage::Press::Ok;
constexpr auto kNext = WizardPage::Press::Next;

// Sets an option pair: 'y' the first, 'n' the second, '-' neither.
inline void answer(QRadioButton* yes, QRadioButton* no, char a) {
    if (a == '-')
        clearChoice(yes->group());
    else
        choose(yes, no, a == 'y');
}

class PageTest : public ::testing::Test {
protected:
    PageTest() : paths(root.file("app"), root.file("app/TEMPFILE"), root.file("home")) {
        QDir().mkpath(paths.workDir());
        QDir().mkpath(paths.helpDir());
        attachJobPages(form, pages, rec);
        form.Form_Load();
        rec.log.clear();
    }

    // The record as it lies in memory: any store changes it (a stored text is
    // a new string), so equal bytes mean that nothing was stored.
    static QByteArray bytes(const JobSettings& j) { return {reinterpret_cast<const char*>(&j), sizeof j}; }

    // The page's one message box of a press, or "" when it showed none.
    QString lastMessage(std::size_t before) const {
        if (rec.messages.size() == before) return QString();
        EXPECT_EQ(rec.messages.size(), before + 1) << "one box per press";
        return rec.messages.back().title + QStringLiteral(": ") + rec.messages.back().text;
    }

    QStringList modalPages() const {
        QStringList shown;
        for (const QString& line : rec.log)
            if (line.startsWith(QLatin1String("modal "))) shown << line.mid(6);
        return shown;
    }

    // One press of a page from a new job: `type` fills the controls, the
    // press runs, and the box it shows (title: text) must be `message`, ""
    // for none.  A refused press stores nothing and changes no control of the
    // page; `then` looks at what else should hold.
    struct Press {
        const char* what;
        std::function<void()> type;
        WizardPage::Press press;
        QString message;
        std::function<void()> then = {};
        bool stores = false;  // the message is a warning after the store
    };

    static QStringList controls(const QWidget& page) {
        QStringList state;
        for (const QLineEdit* box : page.findChildren<QLineEdit*>()) state << box->text();
        for (const QRadioButton* option : page.findChildren<QRadioButton*>())
            state << QString::number(option->isChecked());
        for (const Grid* grid : page.findChildren<Grid*>()) state << grid->values();
        return state;
    }

    void pressEach(WizardPage& page, const std::vector<Press>& cases) {
        for (const Press& c : cases) {
            SCOPED_TRACE(c.what);
            form.newJob();
            if (c.type) c.type();
            const QByteArray before = bytes(job);
            const QStringList typed = controls(page);
            const std::size_t shown = rec.messages.size();
            rec.log.clear();
            if (c.press == WizardPage::Press::Ok)
                page.CommandOK_Click();
            else
                page.CommandNext_Click();
            EXPECT_EQ(lastMessage(shown), c.message) << c.what;
            if (!c.message.isEmpty() && !c.stores) {
                EXPECT_EQ(bytes(job), before) << c.what << ": stored although refused";
                EXPECT_EQ(controls(page), typed) << c.what << ": the controls changed";
                EXPECT_TRUE(modalPages().isEmpty()) << c.what;
            }
            if (c.then) c.then();
        }
    }

    TempFolder root;
    AppPaths paths;
    RecordingServices rec;
    FormMain form{rec, paths};
    JobPages pages{rec, form.jobSettings, &form};
    JobSettings& job = form.jobSettings;
};

inline void key(QWidget* widget, Qt::Key k, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

// Printable characters one by one, as the keyboard sends them.
inline void type(QWidget* widget, const QString& text) {
    for (QChar c : text) key(widget, static_cast<Qt::Key>(c.toUpper().unicode()), QString(c));
}

inline void doubleClick(QWidget* viewport, QPoint at) {
    QMouseEvent event(QEvent::MouseButtonDblClick, at, viewport->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(viewport, &event);
}

}  // namespace vormgui::test
