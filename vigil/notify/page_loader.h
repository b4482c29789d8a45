#pragma once
// Port: the page loader that stands in for a hidden browser control. It loads one address
// with a plain GET and tells, through its completion callback, the title of the page it got;
// the caller's completion flag is set from that callback.
#include "vigil/engine/page_transfer.h"

#include <functional>
#include <string>

namespace vigil::notify {

struct PageLoadResult {
    bool ok = false;   // the page arrived (whatever its title)
    std::string title; // the page's title; empty when it has none or did not arrive
    std::string error; // what went wrong, when not ok (for diagnostics only)
};

class PageLoader {
public:
    using Completed = std::function<void(const PageLoadResult&)>;

    virtual ~PageLoader() = default;
    // Loads the address. completed runs once, when the page has arrived or the load failed
    // or ran out of time (which leaves no title).
    virtual void Navigate(const std::string& address, const Completed& completed) = 0;
    // The title of the page loaded last: empty before the first load and after a failure.
    virtual const std::string& LocationName() const = 0;
};

inline constexpr int kDefaultPageLoadTimeoutSeconds = 60;

// The page loader over a page transfer. Navigate blocks until the page has arrived (the
// transfer keeps the user interface running meanwhile) and runs completed before it returns.
// The transfer uses the system's connection settings, as a browser does.
class TransferPageLoader : public PageLoader {
public:
    explicit TransferPageLoader(engine::PageTransfer& transfer,
                                int timeoutSeconds = kDefaultPageLoadTimeoutSeconds)
        : transfer_(transfer), timeoutSeconds_(timeoutSeconds) {}

    void Navigate(const std::string& address, const Completed& completed) override;
    const std::string& LocationName() const override { return title_; }

private:
    engine::PageTransfer& transfer_;
    int timeoutSeconds_;
    std::string title_;
};

} // namespace vigil::notify
