// CDialUpNetworking and CConnection against a RAS played in memory: the members, the error
// policy, the events and the limits of each family. Every test also checks that RAS never saw
// a wrong size field or byte count.
#include "ringer/c_dial_up_networking.h"
#include "ringer/tests/in_memory_ras.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

using namespace ringer;
using ringer::testing::InMemorySystem;
using ringer::testing::LiveConnection;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

struct Event {
    std::string kind;
    std::string name;
    ErrorInfo error;
};

class EventLog : public ConnectionEvents {
public:
    std::vector<Event> events;
    void Connected(const std::string& n) override { events.push_back({"Connected", n, {}}); }
    void ConnectFailed(const std::string& n, const ErrorInfo& e) override {
        events.push_back({"ConnectFailed", n, e});
    }
    void Disconnected(const std::string& n) override { events.push_back({"Disconnected", n, {}}); }
    void DisconnectFailed(const std::string& n, const ErrorInfo& e) override {
        events.push_back({"DisconnectFailed", n, e});
    }
    std::vector<std::string> Kinds() const {
        std::vector<std::string> kinds;
        for (const auto& e : events)
            kinds.push_back(e.kind);
        return kinds;
    }
};

class Ringer : public ::testing::TestWithParam<std::uint32_t> {
protected:
    // Two entries, "Office" idle and "Home ISP" live on handle 17.
    void SetUp() override {
        sys.ras.family = Family();
        sys.platformId = Family();
        sys.ras.entries = {"Office", "Home ISP"};
        sys.ras.live = {{17, "Home ISP", false, 0}};
    }
    void TearDown() override { EXPECT_THAT(sys.ras.faults, IsEmpty()); }

    std::uint32_t Family() const { return GetParam(); }
    const char* Suffix() const { return Family() == 1 ? "9x" : "NT"; }

    CDialUpNetworking& Create() {
        dun = std::make_unique<CDialUpNetworking>(ringer::testing::InMemoryRas(sys), &log);
        return *dun;
    }
    int Calls(const std::string& call) const {
        int n = 0;
        for (const auto& c : sys.ras.calls)
            n += c == call;
        return n;
    }

    InMemorySystem sys;
    EventLog log;
    std::unique_ptr<CDialUpNetworking> dun;
};

// Runs `call` and returns the error it raised (Number 0 when none).
ErrorInfo Raised(const std::function<void()>& call) {
    try {
        call();
    } catch (const RingerError& e) {
        return e.Info();
    }
    return {};
}

INSTANTIATE_TEST_SUITE_P(BothFamilies, Ringer, ::testing::Values(1u, 2u),
                         [](const auto& info) { return info.param == 1 ? "Win9x" : "NT"; });

// --- availability and 1025 -----------------------------------------------------------------

struct Member {
    const char* source;
    std::function<void(CDialUpNetworking&)> call;
};

const std::vector<Member>& ListMembers() {
    static const std::vector<Member> members = {
        {"CDialUpNetworking.Active", [](auto& d) { d.Active("Office"); }},
        {"CDialUpNetworking.ConnectionCount", [](auto& d) { d.ConnectionCount(); }},
        {"CDialUpNetworking.ActiveConnectionCount", [](auto& d) { d.ActiveConnectionCount(); }},
        {"CDialUpNetworking.InactiveConnectionCount", [](auto& d) { d.InactiveConnectionCount(); }},
        {"CDialUpNetworking.Connections", [](auto& d) { d.Connections(); }},
        {"CDialUpNetworking.ActiveConnections", [](auto& d) { d.ActiveConnections(); }},
        {"CDialUpNetworking.InactiveConnections", [](auto& d) { d.InactiveConnections(); }},
        {"CDialUpNetworking.Connect", [](auto& d) { d.Connect("Office"); }},
        {"CDialUpNetworking.Disconnect", [](auto& d) { d.Disconnect("Home ISP"); }},
    };
    return members;
}

TEST_P(Ringer, IsAvailableWhenOneEnumerationOfConnectionsSucceeds) {
    auto& d = Create();
    EXPECT_TRUE(d.Available());
    EXPECT_EQ(d.Platform(), Family());
    EXPECT_EQ(d.LastError(), nullptr);
    EXPECT_EQ(Calls("RasEnumConnectionsA"), 1);
}

struct Unavailability {
    const char* what;
    std::function<void(InMemorySystem&)> arrange;
};

TEST_P(Ringer, EveryListMemberRaises1025WhenUnavailable) {
    const std::vector<Unavailability> cases = {
        {"platform 0", [](auto& s) { s.platformId = 0; }},
        {"platform 3", [](auto& s) { s.platformId = 3; }},
        {"probe fails", [](auto& s) { s.ras.enumConnectionsResult = 711; }},
        {"library missing", [](auto& s) { s.libraryLoaded = false; }},
        {"probe function missing",
         [](auto& s) { s.missingFunctions.insert("RasEnumConnectionsA"); }},
    };
    for (const auto& c : cases) {
        for (const auto& m : ListMembers()) {
            SCOPED_TRACE(std::string(c.what) + " / " + m.source);
            SetUp();
            c.arrange(sys);
            auto& d = Create();
            EXPECT_FALSE(d.Available());
            d.RaiseErrors(true);
            ErrorInfo error = Raised([&] { m.call(d); });
            EXPECT_EQ(error, (ErrorInfo{1025, m.source,
                                        "Dial-up Networking is not available on this machine."}));

            d.RaiseErrors(false);
            EXPECT_EQ(Raised([&] { m.call(d); }).Number, 0);
            ASSERT_NE(d.LastError(), nullptr);
            EXPECT_EQ(*d.LastError(), error);
        }
    }
}

TEST_P(Ringer, Returns1025DefaultsWhenErrorsAreNotRaised) {
    sys.platformId = 3;
    auto& d = Create();
    EXPECT_FALSE(d.Active(""));
    EXPECT_EQ(d.ConnectionCount(), 0);
    EXPECT_EQ(d.ActiveConnectionCount(), 0);
    EXPECT_EQ(d.Connections(), nullptr);
    EXPECT_FALSE(d.Connect("Office"));
    EXPECT_FALSE(d.Disconnect(""));
    ASSERT_NE(d.LastError(), nullptr);
    EXPECT_EQ(d.LastError()->Number, 1025);
    // The failure events still tell the host, once each, with the name as passed.
    ASSERT_EQ(log.events.size(), 2u);
    EXPECT_EQ(log.events[0].kind, "ConnectFailed");
    EXPECT_EQ(log.events[0].name, "Office");
    EXPECT_EQ(log.events[0].error.Number, 1025);
    EXPECT_EQ(log.events[1].kind, "DisconnectFailed");
    EXPECT_EQ(log.events[1].name, "");
}

TEST_P(Ringer, AMissingLibraryIsARunTimeErrorKeptByTheProbe) {
    sys.libraryLoaded = false;
    auto& d = Create();
    EXPECT_FALSE(d.Available());
    ASSERT_NE(d.LastError(), nullptr);
    EXPECT_EQ(*d.LastError(), (ErrorInfo{53, "Ringer", "File not found: rasapi32"}));
}

TEST_P(Ringer, AvailabilityIsDecidedOnceAtCreation) {
    auto& d = Create();
    sys.ras.enumConnectionsResult = 711;
    EXPECT_TRUE(d.Available());
    sys.ras.enumConnectionsResult = 0;
    sys.ras.entries.clear();
    EXPECT_EQ(d.ConnectionCount(), 0);
}

// --- the list, states and counts ---------------------------------------------------------

TEST_P(Ringer, ListsEntriesAndTheirStatesInPhoneBookOrder) {
    sys.ras.entries = {"Office", "Home ISP", "  Padded name  ", "Backup"};
    sys.ras.live = {
        {17, "Home ISP", false, 0}, {18, " Padded name", false, 0}, {19, "Backup", true, 0}};
    auto& d = Create();
    EXPECT_EQ(d.ConnectionCount(), 4);
    EXPECT_EQ(d.ActiveConnectionCount(), 2);
    EXPECT_EQ(d.InactiveConnectionCount(), 2);
    EXPECT_THAT(*d.Connections(), ElementsAre("Office", "Home ISP", "Padded name", "Backup"));
    EXPECT_THAT(*d.ActiveConnections(), ElementsAre("Home ISP", "Padded name"));
    // Backup is listed among the live connections, but its status call fails.
    EXPECT_THAT(*d.InactiveConnections(), ElementsAre("Office", "Backup"));
    EXPECT_TRUE(d.Active(""));
    EXPECT_TRUE(d.Active("Padded name"));
    EXPECT_FALSE(d.Active("Office"));
    EXPECT_FALSE(d.Active("Backup"));
    EXPECT_EQ(d.LastError(), nullptr);
}

TEST_P(Ringer, ActiveWithAnEmptyNameIsFalseWhenNothingIsConnected) {
    sys.ras.live.clear();
    auto& d = Create();
    EXPECT_FALSE(d.Active(""));
}

TEST_P(Ringer, AnEmptyPhoneBookGivesAnEmptyListNotAnError) {
    sys.ras.entries.clear();
    auto& d = Create();
    d.RaiseErrors(true);
    EXPECT_EQ(d.ConnectionCount(), 0);
    ASSERT_NE(d.Connections(), nullptr);
    EXPECT_THAT(*d.Connections(), IsEmpty());
    EXPECT_FALSE(d.Connect(""));
    EXPECT_FALSE(d.Disconnect(""));
    EXPECT_THAT(log.events, IsEmpty());
    EXPECT_EQ(d.LastError(), nullptr);
}

TEST_P(Ringer, EveryStateQueryReadsRasAgain) {
    auto& d = Create();
    EXPECT_TRUE(d.Active("Home ISP"));
    sys.ras.live.clear();
    EXPECT_FALSE(d.Active("Home ISP"));
}

// Every member reads RAS afresh, in a fixed order: the entry list, then for each entry its
// stored dial parameters and the live connections (and the status of its own), then whatever
// the member itself asks of an entry.
TEST_P(Ringer, CallsRasInTheOrderOfTheMembers) {
    const std::vector<std::string> refresh = {
        "RasEnumEntriesA",     "RasGetEntryDialParamsA Office",
        "RasEnumConnectionsA", "RasGetEntryDialParamsA Home ISP",
        "RasEnumConnectionsA", "RasGetConnectStatusA 17"};
    const std::vector<std::string> officeState = {"RasGetEntryDialParamsA Office",
                                                  "RasEnumConnectionsA"};
    const std::vector<std::string> homeState = {"RasGetEntryDialParamsA Home ISP",
                                                "RasEnumConnectionsA", "RasGetConnectStatusA 17"};
    auto join = [](std::initializer_list<std::vector<std::string>> parts) {
        std::vector<std::string> all;
        for (const auto& part : parts)
            all.insert(all.end(), part.begin(), part.end());
        return all;
    };
    struct Case {
        const char* member;
        std::function<void(CDialUpNetworking&)> call;
        std::vector<std::string> calls;
    };
    const std::vector<Case> cases = {
        {"ConnectionCount", [](auto& d) { d.ConnectionCount(); }, refresh},
        {"ActiveConnectionCount", [](auto& d) { d.ActiveConnectionCount(); },
         join({refresh, officeState, homeState})},
        {"Active(Office)", [](auto& d) { d.Active("Office"); },
         join({refresh, officeState, homeState})},
        {"Active()", [](auto& d) { d.Active(""); }, join({refresh, officeState, homeState})},
        {"Connect(Office)", [](auto& d) { d.Connect("Office"); },
         join({refresh, officeState, officeState, {"RasDialA Office"}})},
        {"Disconnect(Home ISP)", [](auto& d) { d.Disconnect("Home ISP"); },
         join({refresh, homeState, homeState, {"RasEnumConnectionsA", "RasHangUpA 17"}})},
        {"Disconnect()", [](auto& d) { d.Disconnect(""); },
         join({refresh,
               officeState,
               homeState,
               homeState,
               {"RasEnumConnectionsA", "RasHangUpA 17"}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.member);
        SetUp();
        sys.ras.calls.clear();
        auto& d = Create();
        EXPECT_THAT(sys.ras.calls, ElementsAre("RasEnumConnectionsA"));
        sys.ras.calls.clear();
        c.call(d);
        EXPECT_EQ(sys.ras.calls, c.calls);
    }
}

// --- 1026 ---------------------------------------------------------------------------------

TEST_P(Ringer, UnknownOrDifferentlyCasedNamesRaise1026) {
    struct Case {
        const char* source;
        std::function<void(CDialUpNetworking&, const std::string&)> call;
        const char* event;
    };
    const std::vector<Case> cases = {
        {"CDialUpNetworking.Active", [](auto& d, auto& n) { d.Active(n); }, nullptr},
        {"CDialUpNetworking.Connect", [](auto& d, auto& n) { d.Connect(n); }, "ConnectFailed"},
        {"CDialUpNetworking.Disconnect", [](auto& d, auto& n) { d.Disconnect(n); },
         "DisconnectFailed"},
    };
    for (const auto& c : cases) {
        for (std::string name : {"office", "HOME ISP", "Nowhere", " Office"}) {
            SCOPED_TRACE(std::string(c.source) + " '" + name + "'");
            log.events.clear();
            auto& d = Create();
            d.RaiseErrors(true);
            ErrorInfo expected{1026, c.source, "The specified connection does not exist."};
            EXPECT_EQ(Raised([&] { c.call(d, name); }), expected);
            EXPECT_EQ(*d.LastError(), expected);
            if (c.event) {
                ASSERT_EQ(log.events.size(), 1u);
                EXPECT_EQ(log.events[0].kind, c.event);
                EXPECT_EQ(log.events[0].name, name);
                EXPECT_EQ(log.events[0].error, expected);
            } else {
                EXPECT_THAT(log.events, IsEmpty());
            }
        }
    }
    EXPECT_EQ(Calls("RasDialA Office") + Calls("RasHangUpA 17"), 0);
}

// --- Connect ------------------------------------------------------------------------------

TEST_P(Ringer, ConnectDialsWithTheStoredParametersAndRaisesConnected) {
    auto& d = Create();
    d.RaiseErrors(true);
    EXPECT_TRUE(d.Connect("Office"));
    EXPECT_EQ(Calls("RasDialA Office"), 1);
    ASSERT_EQ(log.events.size(), 1u);
    EXPECT_EQ(log.events[0].kind, "Connected");
    EXPECT_EQ(log.events[0].name, "Office");
    EXPECT_TRUE(d.Active("Office"));
    EXPECT_EQ(d.ActiveConnectionCount(), 2);
}

TEST_P(Ringer, ConnectWithAnEmptyNameDialsTheFirstEntry) {
    sys.ras.live.clear();
    auto& d = Create();
    EXPECT_TRUE(d.Connect(""));
    EXPECT_EQ(Calls("RasDialA Office"), 1);
    EXPECT_EQ(Calls("RasDialA Home ISP"), 0);
    EXPECT_THAT(log.Kinds(), ElementsAre("Connected"));
    EXPECT_EQ(log.events[0].name, "Office");
}

TEST_P(Ringer, ConnectingALiveEntryRaises1027WithOneConnectFailed) {
    auto& d = Create();
    d.RaiseErrors(true);
    ErrorInfo expected{1027, "CDialUpNetworking.Connect",
                       "The specified connection is already active."};
    EXPECT_EQ(Raised([&] { d.Connect("Home ISP"); }), expected);
    ASSERT_EQ(log.events.size(), 1u);
    EXPECT_EQ(log.events[0].kind, "ConnectFailed");
    EXPECT_EQ(log.events[0].name, "Home ISP");
    EXPECT_EQ(log.events[0].error, expected);
    EXPECT_EQ(Calls("RasDialA Home ISP"), 0);
}

TEST_P(Ringer, AFailedDialRaises1029ThroughThreeLayers) {
    sys.ras.dialResults["Office"] = 678;
    sys.ras.errorTexts[678] = "There was no answer.";
    const std::string dialling = std::string("CConnection.Connect") + Suffix();
    const std::string description = "Unexpected error whilst dialling : There was no answer.";

    auto& d = Create();
    d.RaiseErrors(true);
    EXPECT_EQ(Raised([&] { d.Connect("Office"); }),
              (ErrorInfo{1029, "CDialUpNetworking.Connect;CConnection.Connect;" + dialling,
                         description}));
    // Each layer tells the host as the error reached it: the dialling procedure's, the entry's
    // Connect's and CDialUpNetworking's, sources growing outwards.
    ASSERT_THAT(log.Kinds(), ElementsAre("ConnectFailed", "ConnectFailed", "ConnectFailed"));
    EXPECT_EQ(log.events[0].error, (ErrorInfo{1029, dialling, description}));
    EXPECT_EQ(log.events[1].error, (ErrorInfo{1029, dialling, description}));
    EXPECT_EQ(log.events[2].error,
              (ErrorInfo{1029, "CConnection.Connect;" + dialling, description}));
    for (const auto& e : log.events)
        EXPECT_EQ(e.name, "Office");

    // Without raising: an empty result, the same events, and LastError tells the number.
    log.events.clear();
    d.RaiseErrors(false);
    EXPECT_FALSE(d.Connect("Office"));
    EXPECT_EQ(log.events.size(), 3u);
    ASSERT_NE(d.LastError(), nullptr);
    EXPECT_EQ(d.LastError()->Number, 1029);
    EXPECT_EQ(d.LastError()->Description, description);
}

TEST_P(Ringer, TheDiallingErrorTextIsRasOwnForTheCode) {
    sys.ras.dialResults["Office"] = 691;
    auto& d = Create();
    EXPECT_FALSE(d.Connect("Office"));
    EXPECT_EQ(d.LastError()->Description, "Unexpected error whilst dialling : RAS error 691");
}

// --- Disconnect ---------------------------------------------------------------------------

TEST_P(Ringer, HangingUpAnIdleEntryRaises1028WithOneDisconnectFailed) {
    auto& d = Create();
    d.RaiseErrors(true);
    ErrorInfo expected{1028, "CDialUpNetworking.Disconnect",
                       "The specified connection is already inactive."};
    EXPECT_EQ(Raised([&] { d.Disconnect("Office"); }), expected);
    ASSERT_EQ(log.events.size(), 1u);
    EXPECT_EQ(log.events[0].kind, "DisconnectFailed");
    EXPECT_EQ(log.events[0].name, "Office");
    EXPECT_EQ(log.events[0].error, expected);
}

TEST_P(Ringer, DisconnectHangsUpEveryLiveConnectionOfTheEntry) {
    sys.ras.live = {
        {17, "Home ISP", false, 0}, {18, "Office", false, 0}, {19, "Home ISP", false, 0}};
    auto& d = Create();
    EXPECT_TRUE(d.Disconnect("Home ISP"));
    EXPECT_THAT(log.Kinds(), ElementsAre("Disconnected", "Disconnected"));
    EXPECT_EQ(Calls("RasHangUpA 17") + Calls("RasHangUpA 19"), 2);
    EXPECT_EQ(Calls("RasHangUpA 18"), 0);
    ASSERT_EQ(sys.ras.live.size(), 1u);
    EXPECT_EQ(sys.ras.live[0].name, "Office");
}

TEST_P(Ringer, AFailedHangUpReturnsFalseWithoutAnEvent) {
    sys.ras.live = {{17, "Home ISP", false, 5}};
    auto& d = Create();
    d.RaiseErrors(true);
    EXPECT_FALSE(d.Disconnect("Home ISP"));
    EXPECT_THAT(log.events, IsEmpty());
    // One of two hung up is success.
    sys.ras.live = {{17, "Home ISP", false, 5}, {18, "Home ISP", false, 0}};
    EXPECT_TRUE(d.Disconnect("Home ISP"));
    EXPECT_THAT(log.Kinds(), ElementsAre("Disconnected"));
}

TEST_P(Ringer, DisconnectWithAnEmptyNameHangsUpAllWithoutEvents) {
    sys.ras.live = {
        {17, "Home ISP", false, 0}, {18, "Office", false, 0}, {19, "Home ISP", false, 0}};
    auto& d = Create();
    EXPECT_TRUE(d.Disconnect(""));
    EXPECT_THAT(sys.ras.live, IsEmpty());
    EXPECT_THAT(log.events, IsEmpty());
    // Nothing connected: still success, still silent.
    EXPECT_TRUE(d.Disconnect(""));
    EXPECT_THAT(log.events, IsEmpty());
}

TEST_P(Ringer, DisconnectAllReportsAFailedHangUp) {
    sys.ras.live = {{17, "Home ISP", false, 5}, {18, "Office", false, 0}};
    auto& d = Create();
    EXPECT_FALSE(d.Disconnect(""));
    ASSERT_EQ(sys.ras.live.size(), 1u);
    EXPECT_EQ(sys.ras.live[0].handle, 17u);
}

TEST_P(Ringer, ADialledEntryCanBeHungUpAgain) {
    sys.ras.live.clear();
    auto& d = Create();
    d.RaiseErrors(true);
    EXPECT_TRUE(d.Connect("Home ISP"));
    EXPECT_TRUE(d.Active("Home ISP"));
    EXPECT_TRUE(d.Disconnect("Home ISP"));
    EXPECT_FALSE(d.Active(""));
    EXPECT_THAT(log.Kinds(), ElementsAre("Connected", "Disconnected"));
}

// --- run-time errors inside the entries --------------------------------------------------

TEST_P(Ringer, AMissingFunctionInsideAnEntryPassesEveryHandler) {
    sys.missingFunctions.insert("RasGetEntryDialParamsA");
    const std::string refresh = std::string("CDialUpNetworking.Refresh") + Suffix();
    const std::string description = "Can't find DLL entry point RasGetEntryDialParamsA in rasapi32";
    auto& d = Create();
    ASSERT_TRUE(d.Available());
    d.RaiseErrors(true);
    EXPECT_EQ(Raised([&] { d.ConnectionCount(); }),
              (ErrorInfo{453,
                         "CDialUpNetworking.ConnectionCount;CDialUpNetworking.Refresh;" + refresh +
                             ";CConnection.Refresh",
                         description}));
    d.RaiseErrors(false);
    EXPECT_EQ(d.ConnectionCount(), 0);
    EXPECT_EQ(d.Connections(), nullptr);
    EXPECT_EQ(*d.LastError(), (ErrorInfo{453, "CConnection.Refresh", description}));
}

TEST_P(Ringer, AMissingDialFunctionFailsTheDialLikeAnyError) {
    sys.missingFunctions.insert("RasDialA");
    const std::string dialling = std::string("CConnection.Connect") + Suffix();
    auto& d = Create();
    d.RaiseErrors(true);
    ErrorInfo error = Raised([&] { d.Connect("Office"); });
    EXPECT_EQ(error.Number, 453);
    EXPECT_EQ(error.Source,
              "CDialUpNetworking.Connect;CConnection.Connect;" + dialling + ";Ringer");
    EXPECT_EQ(log.events.size(), 3u);
}

// --- the limits of each family -----------------------------------------------------------

std::vector<std::string> Names(int n, const std::string& stem) {
    std::vector<std::string> names;
    for (int i = 1; i <= n; ++i)
        names.push_back(stem + std::to_string(i));
    return names;
}

TEST_P(Ringer, ThePhoneBookFitsTwentyEntriesOnNtAndMoreOn9x) {
    sys.ras.entries = Names(20, "Entry ");
    EXPECT_EQ(Create().ConnectionCount(), 20);
    sys.ras.entries = Names(21, "Entry ");
    EXPECT_EQ(Create().ConnectionCount(), Family() == 1 ? 21 : 0);
    ASSERT_NE(dun->Connections(), nullptr);
    EXPECT_EQ(dun->Connections()->size(), Family() == 1 ? 21u : 0u);
}

TEST_P(Ringer, TwentyOneLiveConnectionsFindNothingOnNt) {
    sys.ras.entries = Names(20, "Entry ");
    sys.ras.live.clear();
    for (int i = 1; i <= 21; ++i)
        sys.ras.live.push_back({static_cast<std::uint64_t>(i), "Entry 1", false, 0});
    auto& d = Create();
    d.RaiseErrors(true);
    if (Family() == 1) {
        EXPECT_TRUE(d.Active("Entry 1"));
        EXPECT_TRUE(d.Disconnect("Entry 1"));
        EXPECT_EQ(log.events.size(), 21u);
    } else {
        EXPECT_FALSE(d.Active("Entry 1"));
        EXPECT_EQ(d.ActiveConnectionCount(), 0);
        EXPECT_EQ(Raised([&] { d.Disconnect("Entry 1"); }).Number, 1028);
    }
}

TEST_P(Ringer, LongNamesAreCutToTheFieldOfTheFamily) {
    const std::string longName(40, 'n');
    sys.ras.entries = {longName};
    auto& d = Create();
    ASSERT_NE(d.Connections(), nullptr);
    EXPECT_THAT(*d.Connections(), ElementsAre(Family() == 1 ? longName : longName.substr(0, 20)));
}

} // namespace
