#include "FormFlash.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "platform/Services.h"

namespace vormgui {

FormFlash::FormFlash(Services& services, QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::FramelessWindowHint), TimerFlash(services.newTicker()) {
    setObjectName(QStringLiteral("FormFlash"));
    setFixedSize(520, 320);
    if (mainWindow) {
        const QRect main = mainWindow->frameGeometry();
        move(main.left() + main.width() / 2 - width() / 2, main.top() + main.height() / 2 - height() / 2);
    }
    connect(TimerFlash.get(), &Ticker::tick, this, &FormFlash::TimerFlash_Timer);
}

FormFlash::~FormFlash() = default;

void FormFlash::TimerFlash_Timer() {
    TimerFlash->stop();
    accept();
}

void FormFlash::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    TimerFlash->start(kShowMs);
}

// The picture: the name over a family of single-peaked response curves, the
// shape that tells an ideal-point model from a cumulative one.
void FormFlash::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0.0, QColor(18, 44, 92));
    sky.setColorAt(1.0, QColor(46, 98, 160));
    p.fillRect(rect(), sky);

    const double baseline = height() - 40.0;
    const double left = 30.0, right = width() - 30.0;
    const QColor colours[] = {QColor(255, 204, 102), QColor(153, 221, 255), QColor(204, 255, 153)};
    for (int c = 0; c < 3; ++c) {
        const double centre = -1.5 + 1.5 * c;
        QPainterPath curve;
        for (int k = 0; k <= 200; ++k) {
            const double theta = -4.0 + 8.0 * k / 200.0;
            const double d = theta - centre;
            const double peak = 1.0 / (1.0 + 0.35 * d * d);
            const QPointF point(left + (right - left) * k / 200.0, baseline - 150.0 * peak);
            if (k == 0)
                curve.moveTo(point);
            else
                curve.lineTo(point);
        }
        p.setPen(QPen(colours[c], 2.5));
        p.drawPath(curve);
    }
    p.setPen(QPen(QColor(220, 230, 245), 1.0));
    p.drawLine(QPointF(left, baseline), QPointF(right, baseline));

    p.setPen(Qt::white);
    QFont title = font();
    title.setPointSize(30);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(0, 22, width(), 50), Qt::AlignHCenter, QStringLiteral("VORM2004"));
    QFont sub = font();
    sub.setPointSize(11);
    p.setFont(sub);
    p.drawText(QRect(0, 76, width(), 24), Qt::AlignHCenter,
               QStringLiteral("Ideal-point models for ordered polytomous responses"));
    p.drawText(QRect(0, height() - 30, width(), 22), Qt::AlignHCenter,
               QStringLiteral("Marginal maximum likelihood estimation"));
}

}  // namespace vormgui
