#include "ovhttpclient/win32/http_request_job.h"

#include <new>

namespace ovhttp {

JobTable& Jobs() {
    static JobTable table;
    return table;
}

JobPtr JobTable::Add() {
    try {
        auto job = std::make_shared<HttpRequestJob>();
        job->doneEvent = common::NewEvent(/*manualReset=*/true);
        if (!job->doneEvent)
            return nullptr;
        const common::CriticalSectionGuard guard(lock_);
        // Serials go round; one still in flight is passed over.
        do {
            if (++lastSerial_ == 0)
                lastSerial_ = 1;
        } while (jobs_.count(lastSerial_) != 0);
        job->serial = lastSerial_;
        jobs_.emplace(job->serial, job);
        return job;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

JobPtr JobTable::Find(RequestSerial serial) {
    const common::CriticalSectionGuard guard(lock_);
    const auto it = jobs_.find(serial);
    return it == jobs_.end() ? nullptr : it->second;
}

void JobTable::Remove(RequestSerial serial) {
    JobPtr last; // released outside the lock
    const common::CriticalSectionGuard guard(lock_);
    const auto it = jobs_.find(serial);
    if (it == jobs_.end())
        return;
    last = std::move(it->second);
    jobs_.erase(it);
}

bool JobTable::GiveUp(HttpRequestJob& job) {
    const common::CriticalSectionGuard guard(lock_);
    const bool wasPending = job.pending;
    job.pending = false;
    return wasPending;
}

bool JobTable::Complete(HttpRequestJob& job, int resultType) {
    const common::CriticalSectionGuard guard(lock_);
    if (!job.pending)
        return false;
    job.pending = false;
    job.resultType = resultType;
    SetEvent(job.doneEvent.Get());
    return true;
}

bool JobTable::CallerWaits(const HttpRequestJob& job) {
    const common::CriticalSectionGuard guard(lock_);
    return job.pending;
}

} // namespace ovhttp
