#pragma once
// Bounded integer controls: the slider and the progress bar. Values are clamped to the range.
#include "vigil/forms/control.h"

#include <algorithm>

namespace vigil::forms {

class RangeControl : public Control {
public:
    RangeControl(std::string name, int min, int max, int value = 0)
        : Control(std::move(name)), min_(min), max_(max), value_(std::clamp(value, min, max)) {}

    int Min() const { return min_; }
    int Max() const { return max_; }
    void SetRange(int min, int max) {
        min_ = min;
        max_ = std::max(min, max);
        SetValue(value_);
        StateChanged.Raise();
    }

    int Value() const { return value_; }
    void SetValue(int value) {
        value = std::clamp(value, min_, max_);
        if (value == value_)
            return;
        value_ = value;
        Change.Raise();
    }

    Event<> Change;

private:
    int min_;
    int max_;
    int value_;
};

class Slider : public RangeControl {
public:
    using RangeControl::RangeControl;
};

class ProgressBar : public RangeControl {
public:
    using RangeControl::RangeControl;
};

} // namespace vigil::forms
