// Every front-end test program: the C locale first, then an offscreen
// application, whatever display the environment offers.  QApplication then
// takes the process locale from the environment, which is how the
// comma-locale run reaches the code under test.
#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "C");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
