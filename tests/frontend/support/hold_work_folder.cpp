// A second program for the tests of the work folder's lock: holds the folder
// named by its argument as VORM does, says "held" and keeps it until its
// standard input closes or it is killed.  When another program holds the
// folder it prints the refusal and ends with 1.
#include <QCoreApplication>
#include <cstdio>

#include "shell/TempOutputs.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) return 2;
    vormgui::WorkFolder folder(QString::fromLocal8Bit(argv[1]));
    QString refusal;
    if (!folder.hold(&refusal)) {
        std::printf("%s\n", refusal.toLocal8Bit().constData());
        return 1;
    }
    std::printf("held\n");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    return 0;
}
