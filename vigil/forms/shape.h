#pragma once
// Drawn decorations whose size and colour the program changes: rectangles (the uptime bar) and
// pictures. Colours are 0xRRGGBB.
#include "vigil/forms/control.h"

#include <cstdint>
#include <string>

namespace vigil::forms {

class Shape : public Control {
public:
    // filled: a solid rectangle of that colour; otherwise an outline in it.
    Shape(std::string name, const Bounds& place, bool filled, std::uint32_t color)
        : Control(std::move(name)), filled_(filled), color_(color) {
        SetPlace(place);
    }

    bool Filled() const { return filled_; }
    std::uint32_t Color() const { return color_; }
    void SetColor(std::uint32_t color) { Update(color_, color); }

private:
    bool filled_;
    std::uint32_t color_;
};

// A picture; its image is named by the program's resource name (empty: none chosen yet).
class Image : public Control {
public:
    explicit Image(std::string name, std::string picture = {})
        : Control(std::move(name)), picture_(std::move(picture)) {}

    const std::string& Picture() const { return picture_; }
    void SetPicture(const std::string& picture) { Update(picture_, picture); }

private:
    std::string picture_;
};

} // namespace vigil::forms
