#include "vigil/notify/window_places.h"

namespace vigil::notify {

RememberedPlace::RememberedPlace(forms::Form& form, std::string applicationName,
                                 WindowPlaceStore& store)
    : form_(form), name_(std::move(applicationName)), store_(store) {
    last_ = {form_.Place().left, form_.Place().top};
    if (std::optional<WindowPosition> stored = store_.Load(name_)) {
        forms::Bounds place = form_.Place();
        place.left = stored->left;
        place.top = stored->top;
        last_ = *stored;
        form_.SetPlace(place);
    }
    subscription_ = form_.StateChanged.Subscribe([this] { Changed(); });
}

void RememberedPlace::Changed() {
    // A minimised window's place is the platform's parking spot, not the user's choice.
    if (form_.State() == forms::WindowState::Minimized)
        return;
    const WindowPosition now{form_.Place().left, form_.Place().top};
    if (now == last_)
        return;
    last_ = now;
    store_.Save(name_, now);
}

} // namespace vigil::notify
