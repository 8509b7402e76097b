#include "UpDown.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/Limits.h"
#include "platform/Numbers.h"

namespace vormgui {

UpDown::UpDown(const QString& name, QLineEdit& buddy, int min, int max, QWidget* parent)
    : QWidget(parent), buddy_(buddy), min_(min), max_(max), value_(min) {
    setObjectName(name);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const auto arrow : {Qt::UpArrow, Qt::DownArrow}) {
        auto* button = new QToolButton(this);
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(18, 12);
        layout->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, arrow] { step(arrow == Qt::UpArrow ? 1 : -1); });
    }
}

void UpDown::setValue(int value) { value_ = std::clamp(value, min_, max_); }

void UpDown::setBoxValue(int value) {
    buddy_.setText(boxText(value));
    setValue(value);
}

void UpDown::step(int delta) {
    const std::optional<int> typed = parseCount(buddy_.text());
    const int from = typed ? *typed : value_;
    value_ = std::clamp(from + delta, min_, max_);
    buddy_.setText(QString::number(value_));
}

}  // namespace vormgui
