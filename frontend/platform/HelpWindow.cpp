#include "HelpWindow.h"

#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace vormgui {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(760, 560);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] { setWindowTitle(browser_->documentTitle()); });
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
