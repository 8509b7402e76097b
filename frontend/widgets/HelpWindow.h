// The window that shows one help page of the help folder, in place of a
// browser window.  Links between help pages open in the same window; links to
// the web go to the desktop's browser.
//
// The window is no page's child, so it outlives the page it was opened from,
// and it is never modal.  A modal page blocks every window but its own, so
// while one is open the help window joins it (as its transient window) and
// stays usable; it leaves the page when the page is hidden.
#pragma once

#include <QMetaObject>
#include <QWidget>

class QTextBrowser;

namespace vormgui {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Loads the page; false with *error set when the file cannot be read.
    bool open(const QString& pagePath, QString* error);
    QTextBrowser* browser() const { return browser_; }

protected:
    bool event(QEvent* event) override;

private:
    void joinBlockingWindow();
    void leaveModalWindow();

    QTextBrowser* browser_;
    QMetaObject::Connection ownerHidden_;
};

}  // namespace vormgui
