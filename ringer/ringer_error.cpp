#include "ringer/ringer_error.h"

#include <new>

namespace ringer {

ErrorInfo Chained(const ErrorInfo& error, const std::string& ownSource) {
    ErrorInfo out = error;
    if (error.Source.empty() || error.Source == ownSource)
        out.Source = ownSource;
    else
        out.Source = ownSource + ";" + error.Source;
    return out;
}

ErrorInfo Resourced(const ErrorInfo& error, const std::string& ownSource) {
    ErrorInfo out = error;
    out.Source = ownSource;
    return out;
}

ErrorInfo CurrentError() {
    try {
        throw;
    } catch (const RingerError& e) {
        return e.Info();
    } catch (const std::bad_alloc&) {
        return {7, kRuntimeSource, "Out of memory"};
    } catch (const std::exception& e) {
        return {51, kRuntimeSource, std::string("Internal error: ") + e.what()};
    } catch (...) {
        return {51, kRuntimeSource, "Internal error"};
    }
}

} // namespace ringer
