// The shared worker, the class factory, aggregation and the unload rule.
#include "tests/ovhttpclient/ovhttp_test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

using namespace ovtest;

namespace {

int WorkerWindowsOfThisProcess() {
    int count = 0;
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "OvHttpClientWnd", nullptr)) != nullptr) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId())
            ++count;
    }
    return count;
}

// The worker thread makes its window soon after the first object: wait a little for it.
HWND WorkerWindow() {
    for (int i = 0; i < 100; ++i) {
        if (HWND window = FindWindowA("OvHttpClientWnd", nullptr))
            return window;
        Sleep(20);
    }
    return nullptr;
}

TEST(OvHttpClientWorker, ObjectsOnSeveralThreadsShareOneWorker) {
    constexpr int kThreads = 4;
    constexpr int kRequests = 5;
    std::atomic<int> answered{0};
    std::atomic<int> windowsSeen{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            CoInitialize(nullptr);
            {
                auto c = NewClient();
                for (int r = 0; r < kRequests; ++r) {
                    const std::string path = "/slow/" + std::to_string(t) + "/" + std::to_string(r);
                    SetUrl(c.Get(), Url(path));
                    if (Execute(c.Get(), "GET") == S_OK && Status(c.Get()) == "HTTP/1.0 200 OK" &&
                        Body(c.Get(), true).rfind("GET " + path + " HTTP/1.0\r\n", 0) == 0)
                        ++answered;
                    windowsSeen = std::max(windowsSeen.load(), WorkerWindowsOfThisProcess());
                }
            }
            CoUninitialize();
        });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(answered, kThreads * kRequests);
    EXPECT_EQ(windowsSeen, 1);
    EXPECT_EQ(WorkerWindowsOfThisProcess(), 0);
}

TEST(OvHttpClientWorker, StopsWhenTheLastObjectGoesWithARequestPending) {
    struct PendingCase {
        const char* path;
        bool flood; // the server sends without pause for much longer than the time-out
    };
    const PendingCase cases[] = {{"/hang", false}, {"/flood", true}};
    for (const auto& pending : cases) {
        SCOPED_TRACE(pending.path);
        auto c = NewClient();
        ASSERT_NE(WorkerWindow(), nullptr);
        EXPECT_EQ(WorkerWindowsOfThisProcess(), 1);
        c->put_TimeOut(1);
        SetUrl(c.Get(), Url(pending.path));
        ASSERT_EQ(Execute(c.Get(), "GET"), S_OK);
        EXPECT_EQ(Status(c.Get()), "HTTP/LIB 462 Timeout Period Elapsed");
        c.Reset(); // waits for the worker thread to end
        EXPECT_EQ(WorkerWindowsOfThisProcess(), 0);
        EXPECT_EQ(CanUnloadNow(), S_OK);
        // And a new object starts a new worker.
        auto again = NewClient();
        SetUrl(again.Get(), Url(pending.flood ? "/floodresult" : "/text"));
        ASSERT_EQ(Execute(again.Get(), "GET"), S_OK);
        EXPECT_EQ(Status(again.Get()), "HTTP/1.0 200 OK");
        // The worker stopped reading for the caller that gave up, instead of taking in the
        // whole flood first.
        if (pending.flood) {
            EXPECT_EQ(Body(again.Get(), true), "client went away");
        }
    }
}

TEST(OvHttpClientWorker, OneObjectUsedFromSeveralThreadsServesOneCallAtATime) {
    auto c = NewClient();
    SetUrl(c.Get(), Url("/text"));
    ASSERT_EQ(Execute(c.Get(), "GET"), S_OK);
    ASSERT_EQ(Status(c.Get()), "HTTP/1.0 200 OK");
    // Two threads execute on the one object while a third reads its response: the reader
    // must only ever see a whole response, never one being replaced.
    std::atomic<bool> stop{false};
    std::atomic<int> executed{0}, reads{0}, torn{0};
    std::vector<std::thread> executors;
    for (int t = 0; t < 2; ++t)
        executors.emplace_back([&] {
            CoInitialize(nullptr);
            for (int r = 0; r < 20; ++r)
                if (Execute(c.Get(), "GET") == S_OK)
                    ++executed;
            CoUninitialize();
        });
    std::thread reader([&] {
        CoInitialize(nullptr);
        while (!stop) {
            if (Status(c.Get()) != "HTTP/1.0 200 OK" ||
                Body(c.Get(), false) != "Hello from the test server")
                ++torn;
            ++reads;
            std::this_thread::yield(); // leave the executors their turn at the object
        }
        CoUninitialize();
    });
    for (auto& t : executors)
        t.join();
    stop = true;
    reader.join();
    EXPECT_EQ(executed, 40);
    EXPECT_GT(reads, 0);
    EXPECT_EQ(torn, 0);
}

// A record the worker never handed out: it carries the right marker, but must not be touched.
struct ForgedRecord {
    DWORD magic = 0x749DB473;
    LONG pending = 1;
    HANDLE event = nullptr;
    char rest[256];
};

TEST(OvHttpClientWorker, IgnoresRecordsItDoesNotKnow) {
    auto c = NewClient();
    HWND window = WorkerWindow();
    ASSERT_NE(window, nullptr);
    ForgedRecord forged;
    std::memset(forged.rest, 0x41, sizeof forged.rest);
    const ForgedRecord before = forged;
    PostMessageA(window, WM_USER + 201, reinterpret_cast<WPARAM>(&forged), 0);
    PostMessageA(window, WM_USER + 201, static_cast<WPARAM>(0x1234), 0);
    PostMessageA(window, WM_USER + 202, reinterpret_cast<WPARAM>(&forged), 0);
    // Messages are handled in order: once this request is answered, those were handled.
    SetUrl(c.Get(), Url("/text"));
    ASSERT_EQ(Execute(c.Get(), "GET"), S_OK);
    EXPECT_EQ(Status(c.Get()), "HTTP/1.0 200 OK");
    EXPECT_EQ(std::memcmp(&forged, &before, sizeof forged), 0);
}

TEST(OvHttpClientWorker, CancelForAllEndsAWaitingRequest) {
    auto c = NewClient();
    HWND window = WorkerWindow();
    ASSERT_NE(window, nullptr);
    std::string status;
    std::atomic<bool> done{false};
    std::thread caller([&] {
        CoInitialize(nullptr);
        {
            auto waiting = NewClient();
            waiting->put_TimeOut(0); // only the cancel can end it
            SetUrl(waiting.Get(), Url("/hang"));
            Execute(waiting.Get(), "GET");
            status = Status(waiting.Get());
        }
        CoUninitialize();
        done = true;
    });
    // The server answers but keeps the connection open. A cancel before the request reached
    // the worker finds nothing to cancel, so it is repeated until the caller is released.
    for (int i = 0; i < 100 && !done; ++i) {
        Sleep(200);
        PostMessageA(window, WM_USER + 202, 0, 0);
    }
    caller.join();
    EXPECT_EQ(status, "HTTP/LIB 463 Requested Operation Failed");
}

TEST(OvHttpClientServer, CanUnloadOnlyWithoutObjectsAndLocks) {
    EXPECT_EQ(CanUnloadNow(), S_OK);
    {
        auto c = NewClient();
        EXPECT_EQ(CanUnloadNow(), S_FALSE);
    }
    EXPECT_EQ(CanUnloadNow(), S_OK);
    {
        auto factory = Factory();
        EXPECT_EQ(factory->LockServer(TRUE), S_OK);
        factory.Reset();
        EXPECT_EQ(CanUnloadNow(), S_FALSE);
        auto again = Factory();
        EXPECT_EQ(again->LockServer(FALSE), S_OK);
    }
    EXPECT_EQ(CanUnloadNow(), S_OK);
}

TEST(OvHttpClientServer, ClassObjectOnlyForItsOwnClass) {
    ComPtr<IClassFactory> factory;
    const CLSID other = {0x12CB8C48, 0x6A6B, 0x11D0, {0xA7, 0x4C, 0x44, 0x45, 0x53, 0x54, 0, 0}};
    EXPECT_EQ(GetClassObject(other, IID_IClassFactory, factory.PutVoid()),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(factory.Get(), nullptr);
    EXPECT_EQ(GetClassObject(CLSID_OvHttpClient, IID_IClassFactory, nullptr), E_INVALIDARG);
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(GetClassObject(CLSID_OvHttpClient, IID_IUnknown, unknown.PutVoid()), S_OK);
    ComPtr<IOvHttpClient> client;
    EXPECT_EQ(GetClassObject(CLSID_OvHttpClient, IID_IOvHttpClient, client.PutVoid()),
              E_NOINTERFACE);
    EXPECT_EQ(Factory()->CreateInstance(nullptr, IID_IOvHttpClient, nullptr), E_INVALIDARG);
}

// A controlling unknown that counts what reaches it.
class Outer : public IUnknown {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        ++queries;
        if (IsEqualIID(iid, IID_IUnknown)) {
            *out = this;
            AddRef();
            return S_OK;
        }
        return inner ? inner->QueryInterface(iid, out) : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    ULONG refs = 1;
    int queries = 0;
    IUnknown* inner = nullptr;
};

TEST(OvHttpClientServer, AggregatesUnderAnOuterUnknown) {
    Outer outer;
    ComPtr<IOvHttpClient> direct;
    EXPECT_EQ(Factory()->CreateInstance(&outer, IID_IOvHttpClient, direct.PutVoid()), E_INVALIDARG);
    EXPECT_EQ(direct.Get(), nullptr);

    IUnknown* inner = nullptr;
    ASSERT_EQ(Factory()->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&inner)),
              S_OK);
    outer.inner = inner;
    // The inner unknown hands out the interface; its IUnknown part belongs to the outer.
    IOvHttpClient* client = nullptr;
    ASSERT_EQ(inner->QueryInterface(IID_IOvHttpClient, reinterpret_cast<void**>(&client)), S_OK);
    EXPECT_EQ(outer.refs, 2u);
    IUnknown* identity = nullptr;
    ASSERT_EQ(client->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    EXPECT_EQ(identity, static_cast<IUnknown*>(&outer));
    EXPECT_EQ(outer.queries, 1);
    identity->Release();
    Bstr about;
    EXPECT_EQ(client->get_About(about.Put()), S_OK);
    client->Release();
    EXPECT_EQ(outer.refs, 1u);
    EXPECT_EQ(CanUnloadNow(), S_FALSE);
    inner->Release();
    EXPECT_EQ(CanUnloadNow(), S_OK);
}

} // namespace
