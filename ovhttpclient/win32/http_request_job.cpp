#include "ovhttpclient/win32/http_request_job.h"

#include <new>

namespace ovhttp {

JobTable& Jobs() {
    static JobTable table;
    return table;
}

JobPtr JobTable::Add() {
    try {
        // The record gives its event back when the last holder lets go of it.
        JobPtr job(new HttpRequestJob, [this](HttpRequestJob* ended) {
            Recycle(*ended);
            delete ended;
        });
        const common::CriticalSectionGuard guard(lock_);
        if (!spareEvents_.empty()) {
            job->doneEvent = std::move(spareEvents_.back());
            spareEvents_.pop_back();
        } else {
            job->doneEvent = common::NewEvent(/*manualReset=*/true);
            if (!job->doneEvent)
                return nullptr;
        }
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

void JobTable::Recycle(HttpRequestJob& ended) {
    // Making and closing a done event for every request costs two trips to the wineserver,
    // resetting one costs one: a few are kept, not signalled, for the next records.
    if (!ended.doneEvent || (ended.signalled && !ResetEvent(ended.doneEvent.Get())))
        return;
    try {
        const common::CriticalSectionGuard guard(lock_);
        if (spareEvents_.size() < kSpareEvents)
            spareEvents_.push_back(std::move(ended.doneEvent));
    } catch (const std::bad_alloc&) {
        // closed with the record
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
    // The event is set after the lock is left: the caller it wakes takes the lock at once, and
    // would otherwise find it held. The record, and with it the event, lives while the worker
    // holds it, so a caller that gives up meanwhile loses nothing.
    if (!Settle(job, resultType))
        return false;
    SetEvent(job.doneEvent.Get());
    return true;
}

bool JobTable::Settle(HttpRequestJob& job, int resultType) {
    const common::CriticalSectionGuard guard(lock_);
    if (!job.pending)
        return false;
    job.pending = false;
    job.resultType = resultType;
    job.signalled = true;
    return true;
}

bool JobTable::CallerWaits(const HttpRequestJob& job) {
    const common::CriticalSectionGuard guard(lock_);
    return job.pending;
}

} // namespace ovhttp
