#include "shell/FormFlash.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QElapsedTimer>
#include <QMainWindow>

#include "platform/RecordingServices.h"

namespace vormgui {
namespace {

TEST(FormFlash, IsCentredOverTheMainWindowAndClosesItselfOnTheFirstTick) {
    RecordingServices rec;
    rec.clockScale = 0.005;  // two seconds become ten milliseconds
    QMainWindow main;
    main.setGeometry(100, 80, 900, 700);
    FormFlash flash(rec, &main);
    const QRect m = main.frameGeometry();
    EXPECT_EQ(flash.pos(),
              QPoint(m.left() + m.width() / 2 - flash.width() / 2, m.top() + m.height() / 2 - flash.height() / 2));

    QElapsedTimer clock;
    clock.start();
    rec.onModal = [](QDialog& d) { return d.exec(); };
    EXPECT_EQ(rec.showModal(flash), QDialog::Accepted);
    EXPECT_LT(clock.elapsed(), 1500) << "the shortened clock did not reach the splash";
    EXPECT_FALSE(flash.isVisible());
    EXPECT_FALSE(flash.TimerFlash->isActive()) << "one tick only";
}

TEST(FormFlash, WaitsForItsTimerAndDoesNotCloseBeforeIt) {
    RecordingServices rec;
    FormFlash flash(rec, nullptr);
    flash.show();
    EXPECT_TRUE(flash.TimerFlash->isActive());
    EXPECT_TRUE(flash.isVisible());
    rec.fireTickers();
    EXPECT_FALSE(flash.isVisible());
    EXPECT_EQ(flash.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace vormgui
