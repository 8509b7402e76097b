#include "HelpWindow.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

namespace vormgui {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpWindow"));
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(760, 560);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] { setWindowTitle(browser_->documentTitle()); });
}

bool HelpWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowBlocked) joinBlockingWindow();
    return QWidget::event(event);
}

void HelpWindow::joinBlockingWindow() {
    const QWidget* modal = QApplication::activeModalWidget();
    QWindow* own = windowHandle();
    QWindow* owner = modal ? modal->windowHandle() : nullptr;
    if (!own || !owner || own->transientParent() == owner) return;
    disconnect(ownerHidden_);
    ownerHidden_ = connect(owner, &QWindow::visibleChanged, this, [this](bool visible) {
        if (!visible) leaveModalWindow();
    });
    // A window is not blocked by a modal window that it belongs to.
    own->setTransientParent(owner);
}

void HelpWindow::leaveModalWindow() {
    disconnect(ownerHidden_);
    // Another modal window still open blocks the help window again, which
    // then joins that one.
    if (QWindow* own = windowHandle()) own->setTransientParent(nullptr);
}

bool HelpWindow::open(const QString& pagePath, QString* error) {
    // QTextBrowser shows an empty page for a file it cannot read and says
    // nothing, so the file is tried first.
    const QFileInfo info(pagePath);
    QFile page(pagePath);
    QString failure;
    if (!info.exists())
        failure = QStringLiteral("File not found");
    else if (!info.isFile())
        failure = QStringLiteral("Not a file");
    else if (!page.open(QIODevice::ReadOnly))
        failure = page.errorString();
    if (!failure.isEmpty()) {
        if (error) *error = failure;
        return false;
    }
    page.close();
    browser_->setSource(QUrl::fromLocalFile(pagePath));
    setWindowTitle(browser_->documentTitle());
    return true;
}

}  // namespace vormgui
