#include "shell/FormFlash.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QMainWindow>
#include <QTimer>

#include "widgets/RecordingServices.h"

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

    // A guard against hanging only: the splash that never closes is refused.
    QTimer::singleShot(60000, &flash, &QDialog::reject);
    rec.onModal = [](QDialog& d) { return d.exec(); };
    EXPECT_EQ(rec.showModal(flash), QDialog::Accepted) << "the splash did not close on its own tick";
    EXPECT_EQ(rec.tickerStarts, QList<int>{2000}) << "two seconds on the splash's clock";
    EXPECT_EQ(rec.ticksGiven, 1) << "one tick only";
    EXPECT_FALSE(flash.isVisible());
    EXPECT_FALSE(flash.TimerFlash->isActive());
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
