#pragma once
// The size of the screen in twips, which bounds the stored window position at load.
namespace vigil::shell {

class ScreenMetrics {
public:
    virtual ~ScreenMetrics() = default;
    virtual double WidthTwips() const = 0;
    virtual double HeightTwips() const = 0;
};

} // namespace vigil::shell
