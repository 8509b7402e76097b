// The splash window: shown modally at start-up, centred over the main
// window; it closes itself on the first tick of its two-second timer.
#pragma once

#include <QDialog>
#include <memory>

namespace vormgui {

class Services;
class Ticker;

class FormFlash : public QDialog {
    Q_OBJECT
public:
    static constexpr int kShowMs = 2000;

    FormFlash(Services& services, QWidget* mainWindow);
    ~FormFlash() override;

    std::unique_ptr<Ticker> TimerFlash;
    void TimerFlash_Timer();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace vormgui
