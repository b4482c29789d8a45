#pragma once
// The record that carries one request from the calling thread to the worker and back, and the
// table of the requests in flight. Messages to the worker carry a request's serial, never a
// pointer: the worker finds the record by its serial, and a serial whose request has ended
// finds nothing.
#include "common/win32/handles.h"
#include "ovhttpclient/response.h"

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace ovhttp {

using RequestSerial = std::uint32_t; // never 0: 0 in a cancel message means every request

struct HttpRequestJob {
    RequestSerial serial = 0;
    // Set while the caller waits; whoever clears it under the job lock ends the wait: the
    // caller when it gives up, the worker when it completes the request.
    bool pending = true;
    common::UniqueEvent doneEvent; // manual reset
    std::string host;
    std::string port;
    std::string request;
    std::shared_ptr<const std::vector<std::uint8_t>> body;
    std::size_t headerSent = 0;
    std::size_t bodySent = 0;
    int resultType = -1;
    ResponseAccumulator response;
};
using JobPtr = std::shared_ptr<HttpRequestJob>;

// The requests in flight: serials to shared records, and their pending flags, under the job
// lock. Both the caller and the worker hold a record while they use it, so neither frees it
// under the other.
class JobTable {
public:
    // A new record, pending, with its serial and done event; null when memory or the event
    // cannot be had.
    JobPtr Add();
    // The record of `serial`, or null once its request has ended.
    JobPtr Find(RequestSerial serial);
    // Forgets the record of `serial` (a serial already forgotten is fine).
    void Remove(RequestSerial serial);
    // The caller stops waiting: true when the worker had not completed the request.
    bool GiveUp(HttpRequestJob& job);
    // The worker completes the request: the result and the done event reach a caller that
    // still waits. True when one did.
    bool Complete(HttpRequestJob& job, int resultType);
    bool CallerWaits(const HttpRequestJob& job);

private:
    common::CriticalSection lock_;
    std::map<RequestSerial, JobPtr> jobs_;
    RequestSerial lastSerial_ = 0;
};

// The process's table, from library load to unload.
JobTable& Jobs();

} // namespace ovhttp
