#pragma once
// The record that carries one request from the calling thread to the worker and back.
#include "ovhttpclient/response.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ovhttp {

inline constexpr DWORD kJobMagic = 0x749DB473;

struct HttpRequestJob {
    DWORD magic = kJobMagic;
    // 1 while the caller waits; whoever clears it under the job lock decides who frees the record.
    LONG pending = 1;
    HANDLE doneEvent = nullptr;
    // Tells a record from a later one that happens to reuse its address.
    LPARAM serial = 0;
    std::string host;
    std::string port;
    std::string request;
    std::shared_ptr<const std::vector<std::uint8_t>> body;
    std::size_t headerSent = 0;
    std::size_t bodySent = 0;
    int resultType = -1;
    ResponseAccumulator response;
};

// The job lock: guards the pending flags and the set of live records.
void EnterJobLock();
void LeaveJobLock();
class JobLockGuard {
public:
    JobLockGuard() { EnterJobLock(); }
    ~JobLockGuard() { LeaveJobLock(); }
    JobLockGuard(const JobLockGuard&) = delete;
    JobLockGuard& operator=(const JobLockGuard&) = delete;
};
void InitializeJobLock();
void DeleteJobLock();

// A new record, zero progress, pending, with its done event; known to the live set.
// Null when memory or the event cannot be had.
HttpRequestJob* NewJob();
// Forgets the record (it stops being live), clears its magic and frees it.
void FreeJob(HttpRequestJob* job);
// Whether `p` is a record handed out by NewJob and not freed yet, judged without touching
// the memory it points to. With the job lock held.
bool IsLiveJobLocked(const void* p);
// The same, also requiring the serial (unless `serial` is 0). Takes the job lock.
bool IsLiveJob(const void* p, LPARAM serial = 0);

} // namespace ovhttp
