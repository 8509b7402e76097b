#include "mayReplaceFile.h"

#include <QFileInfo>

#include "platform/Services.h"

namespace vormgui {

bool mayReplaceFile(Services& services, const QString& path, const QString& title) {
    if (!QFileInfo::exists(path)) return true;
    return services.message(QStringLiteral("File  '%1' exists! Do you want to overwrite it?").arg(path), title,
                            MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::Yes;
}

}  // namespace vormgui
