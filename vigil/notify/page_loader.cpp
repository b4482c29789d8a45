#include "vigil/notify/page_loader.h"

#include "vigil/notify/page_title.h"

namespace vigil::notify {

void TransferPageLoader::Navigate(const std::string& address, const Completed& completed) {
    title_.clear();
    engine::TransferRequest request;
    request.address = address;
    request.accessType = engine::AccessType::Default;
    request.timeoutSeconds = timeoutSeconds_;
    const engine::TransferResult transfer = transfer_.Open(request);

    PageLoadResult result;
    result.ok = transfer.ok;
    if (transfer.ok)
        result.title = ExtractTitle(transfer.body);
    else
        result.error = transfer.error;
    title_ = result.title;
    if (completed)
        completed(result);
}

} // namespace vigil::notify
