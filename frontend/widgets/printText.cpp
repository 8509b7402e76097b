#include "printText.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>

#include "platform/Services.h"

namespace vormgui {

namespace {

QString withoutTrailingBlanks(QString line) {
    while (!line.isEmpty() && (line.back() == QLatin1Char('\r') || line.back() == QLatin1Char(' '))) line.chop(1);
    return line;
}

// The job's lines in pieces cut at the page's edge.
QStringList cutPieces(const QString& line, qsizetype width) {
    QStringList pieces;
    qsizetype from = 0;
    do {
        pieces << line.mid(from, width);
        from += width;
    } while (from < line.size());
    return pieces;
}

// Lines from the top left of the printable area, each in the pieces that
// `pieces` makes to fit the page's width, on as many pages as they need.  A
// fixed-pitch face keeps the columns of the reports and of the job file
// lined up.
bool drawText(QPrinter& printer, const QString& text, QStringList (*pieces)(const QString&, qsizetype)) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(12);
    painter.setFont(font);
    const QFontMetricsF metrics(painter.font(), &printer);
    const double pageWidth = printer.width();
    const double pageHeight = printer.height();
    const qsizetype perLine = std::max<qsizetype>(
        1, static_cast<qsizetype>(std::floor(pageWidth / metrics.horizontalAdvance(QLatin1Char('M')))));

    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() > 1 && lines.back().isEmpty()) lines.removeLast();
    double y = metrics.ascent();
    bool pageEmpty = true;
    for (const QString& line : lines) {
        // Trailing blanks (the engine pads its path lines) print nothing but
        // would wrap into empty lines.
        for (const QString& piece : pieces(withoutTrailingBlanks(line), perLine)) {
            if (!pageEmpty && y + metrics.descent() > pageHeight) {
                if (!printer.newPage()) return false;
                y = metrics.ascent();
            }
            painter.drawText(QPointF(0, y), piece);
            pageEmpty = false;
            y += metrics.lineSpacing();
        }
    }
    return painter.end();
}

void print(Services& services, const QString& text, QStringList (*pieces)(const QString&, qsizetype)) {
    if (!services.choosePrinter()) return;
    const bool printed =
        services.print(text, [&text, pieces](QPrinter& printer) { return drawText(printer, text, pieces); });
    if (printed)
        services.message(QStringLiteral("Print Job Done!"), QStringLiteral("Printer"), MsgIcon::Information,
                         MsgButtons::Ok);
}

}  // namespace

QStringList reportLinePieces(const QString& line, qsizetype width) {
    const QChar blank = QLatin1Char(' ');
    const qsizetype indent = std::min(kReportIndent, width / 2);
    QStringList pieces;
    QString rest = withoutTrailingBlanks(line);
    QString lead;
    qsizetype room = std::max<qsizetype>(width, 1);
    while (rest.size() > room) {
        qsizetype start = 0;
        while (rest[start] == blank) ++start;
        // rest[room] is the first character past the edge: a blank there
        // ends a piece that fills the line.
        qsizetype cut = room;
        while (cut > start && rest[cut] != blank) --cut;
        qsizetype next = cut;
        if (cut <= start) {
            cut = next = room;
        } else {
            while (rest[cut - 1] == blank) --cut;
            while (rest[next] == blank) ++next;
        }
        pieces << lead + rest.left(cut);
        rest = rest.mid(next);
        lead = QString(indent, blank);
        room = std::max<qsizetype>(width - indent, 1);
    }
    pieces << lead + rest;
    return pieces;
}

void printText(Services& services, const QString& text) { print(services, text, cutPieces); }

void printReport(Services& services, const QString& text) { print(services, text, reportLinePieces); }

}  // namespace vormgui
