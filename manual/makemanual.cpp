// Turns one manual written in HTML into a PDF, through Qt's text document
// and PDF writer, so that the manuals are built from their sources rather
// than kept as binaries.  A level-2 heading "Contents" is followed by the
// list of the level-2 and level-3 headings after it, each with the number of
// the page it stands on; the pages are numbered at their foot.
//
// Usage: makemanual SOURCE.html TARGET.pdf
#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <QUrl>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

const QString kContents = QStringLiteral("Contents");
// The body's margin inside the page layout's, in the document's pixels of
// 1/96 inch: 2 cm, as Qt's own printing of a document leaves.
constexpr double kBodyMargin = 2 / 2.54 * 96;

struct Heading {
    int level;
    QString text;
    int page;
};

bool isHeading(const QTextBlock& block, int level) { return block.blockFormat().headingLevel() == level; }

// The page, from 1, on which the block's first line stands.
int pageOf(const QTextBlock& block, double pageHeight) {
    const QTextLayout* layout = block.layout();
    double top = layout->position().y();
    if (layout->lineCount() > 0) top += layout->lineAt(0).position().y();
    return static_cast<int>(std::floor(top / pageHeight)) + 1;
}

// The headings after the contents heading, with their pages as the document
// is laid out now; empty when there is no contents heading.
std::vector<Heading> headingsAfterContents(const QTextDocument& document, double pageHeight) {
    std::vector<Heading> headings;
    document.pageCount();  // lays out what is not laid out yet
    bool after = false;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (!after) {
            after = isHeading(block, 2) && block.text().trimmed() == kContents;
            continue;
        }
        if (isHeading(block, 2) || isHeading(block, 3))
            headings.push_back({block.blockFormat().headingLevel(), block.text().trimmed(), pageOf(block, pageHeight)});
    }
    return headings;
}

// The list of contents, one row a heading: its text (a subsection's
// indented) and its page on the right.  Returns the table, or nothing when
// the document has no contents heading.
QTextTable* insertContents(QTextDocument& document, const std::vector<Heading>& headings) {
    QTextBlock block = document.begin();
    while (block.isValid() && !(isHeading(block, 2) && block.text().trimmed() == kContents)) block = block.next();
    if (!block.isValid() || headings.empty()) return nullptr;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock);
    cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    QTextTableFormat format;
    format.setBorder(0);
    format.setCellPadding(1);
    format.setCellSpacing(0);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    format.setColumnWidthConstraints(
        {QTextLength(QTextLength::PercentageLength, 92), QTextLength(QTextLength::PercentageLength, 8)});
    QTextTable* table = cursor.insertTable(static_cast<int>(headings.size()), 2, format);
    for (int row = 0; row < static_cast<int>(headings.size()); ++row) {
        QTextBlockFormat entry;
        if (headings[row].level == 3) entry.setIndent(1);
        QTextCursor title = table->cellAt(row, 0).firstCursorPosition();
        title.setBlockFormat(entry);
        title.insertText(headings[row].text, QTextCharFormat());
        QTextBlockFormat right;
        right.setAlignment(Qt::AlignRight);
        QTextCursor page = table->cellAt(row, 1).firstCursorPosition();
        page.setBlockFormat(right);
        page.insertText(QString::number(headings[row].page), QTextCharFormat());
    }
    return table;
}

void setPages(QTextTable& table, const std::vector<Heading>& headings) {
    for (int row = 0; row < static_cast<int>(headings.size()); ++row) {
        QTextCursor cell = table.cellAt(row, 1).firstCursorPosition();
        cell.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cell.insertText(QString::number(headings[row].page), QTextCharFormat());
    }
}

bool samePages(const std::vector<Heading>& a, const std::vector<Heading>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k)
        if (a[k].page != b[k].page) return false;
    return true;
}

}  // namespace

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
    // Written to a temporary name first, so a failed run never leaves a
    // half-written manual that looks finished.
    const QString target = QString::fromLocal8Bit(argv[2]);
    const QString partial = target + QStringLiteral(".part");
    const bool written = [&] {
        QPdfWriter writer(partial);
        writer.setCreator(QStringLiteral("VORM2004"));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 20, 20, 20),
                                         QPageLayout::Millimeter));
        // The document is laid out for the writer's pages from the start, and
        // that one layout both gives the contents their page numbers and is
        // printed, so the two cannot disagree.
        QTextDocument document;
        QAbstractTextDocumentLayout* layout = document.documentLayout();
        layout->setPaintDevice(&writer);
        QFont font(QStringLiteral("DejaVu Sans"), 10);
        document.setDefaultFont(font);
        document.setDefaultStyleSheet(
            QStringLiteral("h1 { font-size: 22pt; color: #17365d; } h2 { font-size: 14pt; color: #17365d; }"
                           "h3 { font-size: 11pt; color: #17365d; } th { background-color: #e4ecf5; }"
                           "pre, tt { font-family: 'DejaVu Sans Mono'; font-size: 9pt; }"));
        // Pictures are named relative to the source, as a browser would find them.
        document.setBaseUrl(QUrl::fromLocalFile(QFileInfo(source).absolutePath() + QLatin1Char('/')));
        document.setHtml(QString::fromUtf8(source.readAll()));
        writer.setTitle(document.metaInformation(QTextDocument::DocumentTitle));
        // A picture that cannot be loaded would print as an empty box, silently.
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                if (!format.isImageFormat()) continue;
                const QString name = format.toImageFormat().name();
                const QImage picture(document.baseUrl().resolved(QUrl(name)).toLocalFile());
                if (picture.isNull()) {
                    std::fprintf(stderr, "makemanual: %s: cannot load the picture %s\n", argv[1], qPrintable(name));
                    return false;
                }
                document.addResource(QTextDocument::ImageResource, QUrl(name), picture);
            }
        QTextFrameFormat body = document.rootFrame()->frameFormat();
        body.setMargin(kBodyMargin);
        document.rootFrame()->setFrameFormat(body);
        const QSizeF page(writer.width(), writer.height());
        // Laid out whole after every change: an edit is otherwise laid out
        // around its place only, and blocks further on can be left without
        // their lines, printing as empty space.
        const auto layOut = [&] {
            document.setPageSize(QSizeF());
            document.setPageSize(page);
        };
        layOut();

        // Page numbers of up to three digits fit their column, so setting
        // them moves no heading; should one move all the same, they are set
        // again until they hold.
        std::vector<Heading> headings = headingsAfterContents(document, page.height());
        if (QTextTable* contents = insertContents(document, headings)) {
            for (int round = 0;; ++round) {
                layOut();
                std::vector<Heading> now = headingsAfterContents(document, page.height());
                if (round > 0 && samePages(now, headings)) break;
                if (round == 5) {
                    std::fprintf(stderr, "makemanual: %s: the contents' page numbers do not settle\n", argv[1]);
                    return false;
                }
                headings = now;
                setPages(*contents, headings);
            }
        }

        if (qEnvironmentVariableIsSet("MM_DEBUG")) {
            std::fprintf(stderr, "pages %d\n", document.pageCount());
            for (QTextBlock b = document.begin(); b.isValid(); b = b.next())
                std::fprintf(stderr, "y=%.0f lines=%d h=%.0f %s\n", b.layout()->position().y(), b.layout()->lineCount(),
                             b.layout()->boundingRect().height(), qPrintable(b.text().left(30)));
        }
        QPainter painter(&writer);
        const double dpi = writer.logicalDpiY();
        const double margin = kBodyMargin * dpi / 96;
        const QFontMetricsF metrics(document.defaultFont(), &writer);
        const int pages = document.pageCount();
        for (int index = 0; index < pages; ++index) {
            if (index > 0 && !writer.newPage()) return false;
            const QRectF view(0, index * page.height(), page.width(), page.height());
            painter.save();
            painter.translate(0, -view.top());
            painter.setClipRect(view);
            QAbstractTextDocumentLayout::PaintContext context;
            context.clip = view;
            context.palette.setColor(QPalette::Text, Qt::black);
            layout->draw(&painter, context);
            painter.restore();
            // Below the body's right edge, as Qt's own printing numbers pages.
            const QString number = QString::number(index + 1);
            painter.setFont(document.defaultFont());
            painter.drawText(QPointF(page.width() - margin - metrics.horizontalAdvance(number),
                                     page.height() - margin + metrics.ascent() + 5 * dpi / 72),
                             number);
        }
        return painter.end();
    }();
    QFile::remove(target);
    if (!written || QFile(partial).size() == 0 || !QFile::rename(partial, target)) {
        QFile::remove(partial);
        if (written) std::fprintf(stderr, "makemanual: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
