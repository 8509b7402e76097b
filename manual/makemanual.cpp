// Turns one manual written in HTML into a PDF, through Qt's text document
// and PDF writer, so that the manuals are built from their sources rather
// than kept as binaries.
//
// Usage: makemanual SOURCE.html TARGET.pdf
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>
#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: makemanual SOURCE.html TARGET.pdf\n");
        return 2;
    }
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "makemanual: %s: %s\n", argv[1], qPrintable(source.errorString()));
        return 1;
    }
    QTextDocument document;
    QFont font(QStringLiteral("DejaVu Sans"), 10);
    document.setDefaultFont(font);
    document.setDefaultStyleSheet(
        QStringLiteral("h1 { font-size: 22pt; color: #17365d; } h2 { font-size: 14pt; color: #17365d; }"
                       "h3 { font-size: 11pt; color: #17365d; } th { background-color: #e4ecf5; }"
                       "pre, tt { font-family: 'DejaVu Sans Mono'; font-size: 9pt; }"));
    // Pictures are named relative to the source, as a browser would find them.
    document.setBaseUrl(QUrl::fromLocalFile(QFileInfo(source).absolutePath() + QLatin1Char('/')));
    document.setHtml(QString::fromUtf8(source.readAll()));
    // A picture that cannot be loaded would print as an empty box, silently.
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat()) continue;
            const QString name = format.toImageFormat().name();
            const QImage picture(document.baseUrl().resolved(QUrl(name)).toLocalFile());
            if (picture.isNull()) {
                std::fprintf(stderr, "makemanual: %s: cannot load the picture %s\n", argv[1], qPrintable(name));
                return 1;
            }
            // Held by the document itself, so the copy that printing makes has it too.
            document.addResource(QTextDocument::ImageResource, QUrl(name), picture);
        }

    // Written to a temporary name first, so a failed run never leaves a
    // half-written manual that looks finished.
    const QString target = QString::fromLocal8Bit(argv[2]);
    const QString partial = target + QStringLiteral(".part");
    {
        QPdfWriter writer(partial);
        writer.setTitle(document.metaInformation(QTextDocument::DocumentTitle));
        writer.setCreator(QStringLiteral("VORM2004"));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 20, 20, 20),
                                         QPageLayout::Millimeter));
        document.print(&writer);
    }
    QFile::remove(target);
    if (QFile(partial).size() == 0 || !QFile::rename(partial, target)) {
        std::fprintf(stderr, "makemanual: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
