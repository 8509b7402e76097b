#include "mPrintControl.h"

#include <QPrinter>
#include <QTextDocument>

#include "platform/Services.h"

namespace vormgui {

void printText(Services& services, const QString& text) {
    if (!services.choosePrinter()) return;
    const bool printed = services.print(text, [&text](QPrinter& printer) {
        QTextDocument document;
        QString plain = text;
        plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        document.setPlainText(plain);
        QFont font = document.defaultFont();
        font.setPointSize(12);
        document.setDefaultFont(font);
        document.print(&printer);
        return printer.printerState() != QPrinter::Error;
    });
    if (printed)
        services.message(QStringLiteral("Print Job Done!"), QStringLiteral("Printer"), MsgIcon::Information,
                         MsgButtons::Ok);
}

}  // namespace vormgui
