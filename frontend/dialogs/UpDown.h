// The spin button beside a number box: two arrows that step the number in
// the box by 1 between a minimum and a maximum.  Typing into the box stays
// free (a QSpinBox would limit it); the pages read the box, never this.
#pragma once

#include <QWidget>

#include "core/Limits.h"

class QLineEdit;
class QToolButton;

namespace vormgui {

class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(const QString& name, QLineEdit& buddy, int min, int max, QWidget* parent);
    UpDown(const QString& name, QLineEdit& buddy, Range range, QWidget* parent)
        : UpDown(name, buddy, range.low, range.high, parent) {}

    int value() const { return value_; }
    int min() const { return min_; }
    int max() const { return max_; }
    // Takes a stored number; one outside the range is held at the nearer
    // end, so the box may show a count the arrows cannot reach.
    void setValue(int value);
    // A stored number into the box as the box shows numbers, and held as
    // setValue holds it.
    void setBoxValue(int value);

    // Steps from the number the box shows when it holds one (the user may
    // have typed it), else from the held value, and writes the result into
    // the box.
    void stepUp() { step(1); }
    void stepDown() { step(-1); }

private:
    void step(int delta);

    QLineEdit& buddy_;
    int min_;
    int max_;
    int value_;
};

}  // namespace vormgui
