#include "ovhttpclient/win32/http_request_job.h"

#include <new>
#include <unordered_set>

namespace ovhttp {

namespace {
CRITICAL_SECTION g_jobLock;
// The records handed out and not freed yet: the worker accepts only these, so a freed or
// foreign pointer in a message is never dereferenced.
std::unordered_set<const void*>* g_liveJobs = nullptr;
LPARAM g_lastSerial = 0;
} // namespace

void EnterJobLock() {
    EnterCriticalSection(&g_jobLock);
}
void LeaveJobLock() {
    LeaveCriticalSection(&g_jobLock);
}

void InitializeJobLock() {
    InitializeCriticalSection(&g_jobLock);
    g_liveJobs = new (std::nothrow) std::unordered_set<const void*>;
}

void DeleteJobLock() {
    delete g_liveJobs;
    g_liveJobs = nullptr;
    DeleteCriticalSection(&g_jobLock);
}

HttpRequestJob* NewJob() {
    auto* job = new (std::nothrow) HttpRequestJob;
    if (!job)
        return nullptr;
    job->doneEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    bool known = false;
    if (job->doneEvent && g_liveJobs) {
        JobLockGuard lock;
        try {
            g_liveJobs->insert(job);
            known = true;
            if (++g_lastSerial <= 0)
                g_lastSerial = 1;
            job->serial = g_lastSerial;
        } catch (const std::bad_alloc&) {
        }
    }
    if (!known) {
        if (job->doneEvent)
            CloseHandle(job->doneEvent);
        delete job;
        return nullptr;
    }
    return job;
}

void FreeJob(HttpRequestJob* job) {
    if (!job)
        return;
    {
        JobLockGuard lock;
        g_liveJobs->erase(job);
    }
    job->magic = 0;
    if (job->doneEvent)
        CloseHandle(job->doneEvent);
    delete job;
}

bool IsLiveJobLocked(const void* p) {
    if (!p || !g_liveJobs || g_liveJobs->count(p) == 0)
        return false;
    return static_cast<const HttpRequestJob*>(p)->magic == kJobMagic;
}

bool IsLiveJob(const void* p, LPARAM serial) {
    JobLockGuard lock;
    if (!IsLiveJobLocked(p))
        return false;
    return serial == 0 || static_cast<const HttpRequestJob*>(p)->serial == serial;
}

} // namespace ovhttp
