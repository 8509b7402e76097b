// The window that shows one help page of the help folder, in place of a
// browser window.  Links between help pages open in the same window; links to
// the web go to the desktop's browser.
#pragma once

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

private:
    QTextBrowser* browser_;
};

}  // namespace vormgui
