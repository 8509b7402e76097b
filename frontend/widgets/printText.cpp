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

// Lines from the top left of the printable area, each cut into pieces that
// fit the page's width, on as many pages as they need.  A fixed-pitch face
// keeps the columns of the reports and of the job file lined up.
bool drawText(QPrinter& printer, const QString& text) {
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
    for (QString line : lines) {
        // Trailing blanks (the engine pads its path lines) print nothing but
        // would wrap into empty lines.
        while (!line.isEmpty() && (line.back() == QLatin1Char('\r') || line.back() == QLatin1Char(' '))) line.chop(1);
        qsizetype from = 0;
        do {
            if (!pageEmpty && y + metrics.descent() > pageHeight) {
                if (!printer.newPage()) return false;
                y = metrics.ascent();
            }
            painter.drawText(QPointF(0, y), line.mid(from, perLine));
            pageEmpty = false;
            y += metrics.lineSpacing();
            from += perLine;
        } while (from < line.size());
    }
    return painter.end();
}

}  // namespace

void printText(Services& services, const QString& text) {
    if (!services.choosePrinter()) return;
    const bool printed = services.print(text, [&text](QPrinter& printer) { return drawText(printer, text); });
    if (printed)
        services.message(QStringLiteral("Print Job Done!"), QStringLiteral("Printer"), MsgIcon::Information,
                         MsgButtons::Ok);
}

}  // namespace vormgui
