#include "showHelpPage.h"

#include "platform/Services.h"

namespace vormgui {

void showHelpPage(Services& services, const QString& helpDir, const QString& page) {
    QString error;
    if (!services.showHelp(helpDir + page, &error))
        services.message(QStringLiteral("Help html file is not available!"), error, MsgIcon::Critical, MsgButtons::Ok);
}

}  // namespace vormgui
