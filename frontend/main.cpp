// VORM: the windowed front end.  It starts the engine VORMCALC beside it and
// reads the engine's files in the work folder; it shares no code with it.
#include <QApplication>
#include <QScreen>

#include "app/FrontEnd.h"
#include "platform/AppPaths.h"
#include "widgets/QtServices.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VORM"));
    vormgui::QtServices services;
    const vormgui::AppPaths paths = vormgui::AppPaths::forRunningProgram();
    vormgui::FrontEnd front(services, paths);
    vormgui::FormMain& form = front.form;
    // The splash centres itself over the main window, so the window's place
    // comes first.
    form.move(QApplication::primaryScreen()->availableGeometry().center() - form.rect().center());
    if (!form.Form_Load()) return 1;
    form.show();
    return app.exec();
}
