#include "vigil/engine/response_classification.h"

#include <gtest/gtest.h>

#include <string>

using namespace vigil::engine;

namespace {

struct Case {
    const char* what;
    std::string body; // already lower-cased, as the check hands it over
    const char* site;
    const char* connection;
};

const std::string kRpcPage =
    "<html><head><title>error</title></head><body>the rpc server is unavailable. </body></html>";
const std::string kHostUnreachable =
    "<b><font face=arial color=#ffffff>an error has occurred processing the request...</font></b>";

std::vector<Case> Cases() {
    return {
        {"empty body", "", "request failed (timeout)", "request failed (timeout)"},
        {"healthy page", "<html><body>welcome</body></html>", "OK", "OK"},
        {"dns failure", "<p>dns request failed with error 11001</p>",
         "dns request failed with error", "dns request failed with error"},
        {"server application error", "<h1>server application error</h1>",
         "server application error", "server application error"},
        {"host unreachable", "<html>" + kHostUnreachable + "</html>", "Host Unreachable",
         "Host Unreachable"},
        {"asp error", "<p>unexpected error</p> ... microsoft active server pages",
         "ASP Application Error", "ASP Application Error"},
        {"asp: only the first half", "unexpected error", "OK", "OK"},
        {"asp: only the second half", "active server pages", "OK", "OK"},
        {"rpc page", kRpcPage, "RPC Server Failure", "RPC Server Failure"},
        {"rpc page plus one character", kRpcPage + " ", "OK", "OK"},
        {"rpc page less one character", kRpcPage.substr(1), "OK", "OK"},
        {"proxy header error", "error reading www server response (http header).",
         "DNS/Timeout error", "DNS/Timeout error"},
        {"404", "404 not found", "404 not found", "404 not found"},
        {"404 with a page between", "404 - the page you asked for was not found", "404 not found",
         "404 not found"},
        {"404 inside a longer page", "<html><h1>404 not found</h1></html>", "OK", "OK"},
        {"404 that goes on after the phrase", "404 not found.", "OK", "OK"},
        {"500", "500 - internal server error", "500 internal server error",
         "500 internal server error"},
        {"501", "501 not implemented", "501 not implemented", "501 not implemented"},
        {"502", "502 proxy error: bad gateway", "502 bad gateway", "502 bad gateway"},
        {"414", "414 request-uri too long", "414 request uri too long", "414 request uri too long"},
        {"412", "412 precondition failed", "412 precondition failed", "412 precondition failed"},
        {"407", "407 proxy authentication required", "407 proxy authentication required",
         "407 proxy authentication required"},
        {"406", "406 not acceptable", "406 not acceptable", "406 not acceptable"},
        {"405", "405 method not allowed", "405 method not allowed", "405 method not allowed"},
        {"403.9", "403.9 - access forbidden: too many users are connected",
         "403.9 access forbidden: too many users are connected",
         "403.9 access forbidden: too many users are connected"},
        {"403.8", "403.8 forbidden: site access denied", "403.8 forbidden: site access denied",
         "403.8 forbidden: site access denied"},
        {"403.7", "403.7 forbidden: client certificate required",
         "403.7 forbidden: client certificate required",
         "403.7 forbidden: client certificate required"},
        {"403.6", "403.6 forbidden: ip address rejected", "403.6 forbidden: ip address rejected",
         "403.6 forbidden: ip address rejected"},
        {"403.5", "403.5 forbidden: ssl 128 required", "403.5 forbidden: ssl 128 required",
         "403.5 forbidden: ssl 128 required"},
        {"403.4 keeps its asterisk", "403.4 - forbidden: ssl required",
         "403.4*forbidden: ssl required", "403.4*forbidden: ssl required"},
        {"403.3", "403.3 forbidden: write access forbidden",
         "403.3 forbidden: write access forbidden", "403.3 forbidden: write access forbidden"},
        {"403.2", "403.2 forbidden: read access forbidden",
         "403.2 forbidden: read access forbidden", "403.2 forbidden: read access forbidden"},
        {"403.12", "403.12 access forbidden: mapper denied access",
         "403.12 access forbidden: mapper denied access",
         "403.12 access forbidden: mapper denied access"},
        {"403.11", "403.11 access forbidden: password change",
         "403.11 access forbidden: password change", "403.11 access forbidden: password change"},
        {"403.10", "403.10 access forbidden: invalid configuration",
         "403.10 access forbidden: invalid configuration",
         "403.10 access forbidden: invalid configuration"},
        {"403.1", "403.1 forbidden: execute access forbidden",
         "403.1 forbidden: execute access forbidden", "403.1 forbidden: execute access forbidden"},
        {"401.5", "401.5 unauthorized: authorization failed by isapi/cgi app",
         "401.5 unauthorized: authorization failed by isapi/cgi app",
         "401.5 unauthorized: authorization failed by isapi/cgi app"},
        {"401.4", "401.4 unauthorized: authorization failed by filter",
         "401.4 unauthorized: authorization failed by filter",
         "401.4 unauthorized: authorization failed by filter"},
        {"401.3", "401.3 unauthorized: unauthorized due to acl on resource",
         "401.3 unauthorized: unauthorized due to acl on resource",
         "401.3 unauthorized: unauthorized due to acl on resource"},
        {"401.2", "401.2 unauthorized: logon failed due to server configuration",
         "401.2 unauthorized: logon failed due to server configuration",
         "401.2 unauthorized: logon failed due to server configuration"},
        {"401.1", "401.1 unauthorized: logon failed", "401.1 unauthorized: logon failed",
         "401.1 unauthorized: logon failed"},
        {"400", "400 bad request", "400 bad request", "400 bad request"},
        // The two proxy rows: the site check wants "microsoft proxy server" in one piece, the
        // connection test allows text between "microsoft proxy" and "server".
        {"ms proxy 2.x page",
         "<html><em>microsoft proxy server</em><br><strong>proxy server : gw1</strong></html>",
         "MS Proxy 2.x Returned A Page Error", "MS Proxy Returned page error"},
        {"ms proxy page of another version",
         "<html><em>microsoft proxy 1.0 server</em><strong>proxy server : gw1</strong>", "OK",
         "MS Proxy Returned page error"},
        {"connection refused", "socket error: connection refused", "connection refused",
         "connection refused"},
        {"connection timed out", "connection timed out", "connection timed out",
         "connection timed out"},
        {"site not found", "<b>site not found</b>", "site not found", "site not found"},
        // Every row runs; the last one that holds decides.
        {"later row wins", "dns request failed with error; connection refused",
         "connection refused", "connection refused"},
        {"a contains row after a matches row", "404 connection timed out, page not found",
         "connection timed out", "connection timed out"},
        // Rows 4 and 5 swap places in the connection test.
        {"host unreachable and asp error",
         kHostUnreachable + " unexpected error in active server pages", "ASP Application Error",
         "Host Unreachable"},
    };
}

} // namespace

TEST(ResponseClassification, EveryRowInBothModes) {
    for (const Case& c : Cases()) {
        EXPECT_EQ(ClassifyBody(c.body, kSiteCheck), c.site) << c.what;
        EXPECT_EQ(ClassifyBody(c.body, kConnectionCheck), c.connection) << c.what;
    }
}

TEST(ResponseClassification, EveryModeButTwoIsTheSiteCheck) {
    const std::string proxyPage =
        "<em>microsoft proxy server</em><strong>proxy server : gw1</strong>";
    for (int mode : {0, 1, 3, -1})
        EXPECT_EQ(ClassifyBody(proxyPage, mode), "MS Proxy 2.x Returned A Page Error") << mode;
}

TEST(ResponseClassification, TablesHaveTheirRowsInOrder) {
    const auto& site = ClassificationTable(kSiteCheck);
    const auto& connection = ClassificationTable(kConnectionCheck);
    ASSERT_EQ(site.size(), 38u);
    ASSERT_EQ(connection.size(), 38u);
    EXPECT_EQ(site[3].verdict, "Host Unreachable");
    EXPECT_EQ(site[5].verdict, "RPC Server Failure");
    EXPECT_EQ(connection[3].verdict, "RPC Server Failure");
    EXPECT_EQ(connection[5].verdict, "Host Unreachable");
    EXPECT_EQ(site[34].verdict, "MS Proxy 2.x Returned A Page Error");
    EXPECT_EQ(connection[34].verdict, "MS Proxy Returned page error");
    EXPECT_EQ(site[37].verdict, "site not found");
}

TEST(WildcardMatch, AnchoredAtBothEndsWithAsterisksForAnyRun) {
    struct {
        const char* text;
        const char* pattern;
        bool matches;
    } cases[] = {
        {"404 not found", "404*not found", true},
        {"404not found", "404*not found", true},
        {"x404 not found", "404*not found", false},
        {"404 not foundx", "404*not found", false},
        {"404", "404*404", false}, // the two ends may not share characters
        {"404404", "404*404", true},
        {"abc", "abc", true},
        {"abcd", "abc", false},
        {"", "*", true},
        {"", "a*", false},
        {"a-b-c", "*b*", true},
        {"a-c", "*b*", false},
        {"ab-ba", "a*b*a", true},
        {"aba", "a*b*b*a", false},
        {"xxbyyazz", "*a*b*", false}, // pieces must come in order
        {"414 request-uri too long", "414*request*uri too long", true},
        {"414 uri too long request", "414*request*uri too long", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WildcardMatch(c.text, c.pattern), c.matches) << c.text << " ~ " << c.pattern;
}

TEST(WildcardMatch, LongBodyThatNearlyMatchesEverywhere) {
    // A naive backtracking matcher explores every split of this text; a correct one still
    // answers, and the answers prove it looked at the whole text.
    std::string text(200000, 'a');
    EXPECT_FALSE(WildcardMatch(text, "a*a*a*a*a*b"));
    EXPECT_TRUE(WildcardMatch(text + "b", "a*a*a*a*a*b"));
    EXPECT_FALSE(WildcardMatch(text, "*aab*"));
}
