#include "vigil/engine/response_classification.h"

#include <algorithm>
#include <functional>

namespace vigil::engine {

namespace {

// One row of the table, with its place in the site check and in the connection test
// (0: not used in that mode).
struct Row {
    int sitePosition;
    int connectionPosition;
    ClassificationTest test;
};

constexpr Row kRows[] = {
    {1, 1, {TestKind::Empty, "", "", "request failed (timeout)"}},
    {2,
     2,
     {TestKind::Contains, "dns request failed with error", "", "dns request failed with error"}},
    {3, 3, {TestKind::Contains, "server application error", "", "server application error"}},
    {4,
     6,
     {TestKind::Contains,
      "color=#ffffff>an error has occurred processing the request...</font></b>", "",
      "Host Unreachable"}},
    {5,
     5,
     {TestKind::ContainsBoth, "unexpected error", "active server pages", "ASP Application Error"}},
    {6,
     4,
     {TestKind::Equals,
      "<html><head><title>error</title></head><body>the rpc server is unavailable. "
      "</body></html>",
      "", "RPC Server Failure"}},
    {7,
     7,
     {TestKind::Contains, "error reading www server response (http header).", "",
      "DNS/Timeout error"}},
    {8, 8, {TestKind::Matches, "404*not found", "", "404 not found"}},
    {9, 9, {TestKind::Matches, "500*internal server error", "", "500 internal server error"}},
    {10, 10, {TestKind::Matches, "501*not implemented", "", "501 not implemented"}},
    {11, 11, {TestKind::Matches, "502*bad gateway", "", "502 bad gateway"}},
    {12, 12, {TestKind::Matches, "414*request*uri too long", "", "414 request uri too long"}},
    {13, 13, {TestKind::Matches, "412*precondition failed", "", "412 precondition failed"}},
    {14,
     14,
     {TestKind::Matches, "407*proxy authentication required", "",
      "407 proxy authentication required"}},
    {15, 15, {TestKind::Matches, "406*not acceptable", "", "406 not acceptable"}},
    {16, 16, {TestKind::Matches, "405*method not allowed", "", "405 method not allowed"}},
    {17,
     17,
     {TestKind::Matches, "403.9*access forbidden: too many users are connected", "",
      "403.9 access forbidden: too many users are connected"}},
    {18,
     18,
     {TestKind::Matches, "403.8*forbidden: site access denied", "",
      "403.8 forbidden: site access denied"}},
    {19,
     19,
     {TestKind::Matches, "403.7*forbidden: client certificate required", "",
      "403.7 forbidden: client certificate required"}},
    {20,
     20,
     {TestKind::Matches, "403.6*forbidden: ip address rejected", "",
      "403.6 forbidden: ip address rejected"}},
    {21,
     21,
     {TestKind::Matches, "403.5*forbidden: ssl 128 required", "",
      "403.5 forbidden: ssl 128 required"}},
    // This verdict keeps the pattern's asterisk, as users have always seen it.
    {22,
     22,
     {TestKind::Matches, "403.4*forbidden: ssl required", "", "403.4*forbidden: ssl required"}},
    {23,
     23,
     {TestKind::Matches, "403.3*forbidden: write access forbidden", "",
      "403.3 forbidden: write access forbidden"}},
    {24,
     24,
     {TestKind::Matches, "403.2*forbidden: read access forbidden", "",
      "403.2 forbidden: read access forbidden"}},
    {25,
     25,
     {TestKind::Matches, "403.12*access forbidden: mapper denied access", "",
      "403.12 access forbidden: mapper denied access"}},
    {26,
     26,
     {TestKind::Matches, "403.11*access forbidden: password change", "",
      "403.11 access forbidden: password change"}},
    {27,
     27,
     {TestKind::Matches, "403.10*access forbidden: invalid configuration", "",
      "403.10 access forbidden: invalid configuration"}},
    {28,
     28,
     {TestKind::Matches, "403.1*forbidden: execute access forbidden", "",
      "403.1 forbidden: execute access forbidden"}},
    {29,
     29,
     {TestKind::Matches, "401.5*unauthorized: authorization failed by isapi/cgi app", "",
      "401.5 unauthorized: authorization failed by isapi/cgi app"}},
    {30,
     30,
     {TestKind::Matches, "401.4*unauthorized: authorization failed by filter", "",
      "401.4 unauthorized: authorization failed by filter"}},
    {31,
     31,
     {TestKind::Matches, "401.3*unauthorized: unauthorized due to acl on resource", "",
      "401.3 unauthorized: unauthorized due to acl on resource"}},
    {32,
     32,
     {TestKind::Matches, "401.2*unauthorized: logon failed due to server configuration", "",
      "401.2 unauthorized: logon failed due to server configuration"}},
    {33,
     33,
     {TestKind::Matches, "401.1*unauthorized: logon failed", "",
      "401.1 unauthorized: logon failed"}},
    {34, 34, {TestKind::Matches, "400*bad request", "", "400 bad request"}},
    {35,
     0,
     {TestKind::Matches, "*<em>microsoft proxy server*<strong>proxy server :*", "",
      "MS Proxy 2.x Returned A Page Error"}},
    {0,
     35,
     {TestKind::Matches, "*<em>microsoft proxy*server*<strong>proxy server :*", "",
      "MS Proxy Returned page error"}},
    {36, 36, {TestKind::Contains, "connection refused", "", "connection refused"}},
    {37, 37, {TestKind::Contains, "connection timed out", "", "connection timed out"}},
    {38, 38, {TestKind::Contains, "site not found", "", "site not found"}},
};

std::vector<ClassificationTest> BuildTable(int Row::*position) {
    std::vector<const Row*> rows;
    for (const Row& row : kRows)
        if (row.*position > 0)
            rows.push_back(&row);
    std::sort(rows.begin(), rows.end(),
              [position](const Row* a, const Row* b) { return a->*position < b->*position; });
    std::vector<ClassificationTest> table;
    for (const Row* row : rows)
        table.push_back(row->test);
    return table;
}

// Boyer-Moore with the good-suffix rule finds the first occurrence in linear time, so a long
// body costs no more than a few passes whatever its content.
std::size_t Find(std::string_view text, std::string_view needle, std::size_t from) {
    if (needle.empty())
        return from <= text.size() ? from : std::string_view::npos;
    if (from >= text.size() || text.size() - from < needle.size())
        return std::string_view::npos;
    auto it = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(),
                          std::boyer_moore_searcher(needle.begin(), needle.end()));
    return it == text.end() ? std::string_view::npos : static_cast<std::size_t>(it - text.begin());
}

bool Contains(std::string_view text, std::string_view needle) {
    return Find(text, needle, 0) != std::string_view::npos;
}

} // namespace

const std::vector<ClassificationTest>& ClassificationTable(int mode) {
    static const std::vector<ClassificationTest> site = BuildTable(&Row::sitePosition);
    static const std::vector<ClassificationTest> connection = BuildTable(&Row::connectionPosition);
    return mode == kConnectionCheck ? connection : site;
}

bool WildcardMatch(std::string_view text, std::string_view pattern) {
    // Split the pattern at its asterisks: the first piece must start the text, the last must
    // end it, and the pieces between must follow one another in order. Taking the leftmost
    // place for each middle piece leaves the most room for the rest, so it never needs to
    // look back.
    const std::size_t firstStar = pattern.find('*');
    if (firstStar == std::string_view::npos)
        return text == pattern;
    const std::size_t lastStar = pattern.rfind('*');
    const std::string_view head = pattern.substr(0, firstStar);
    const std::string_view tail = pattern.substr(lastStar + 1);
    if (text.size() < head.size() + tail.size() || !text.starts_with(head) || !text.ends_with(tail))
        return false;

    const std::string_view middle =
        text.substr(head.size(), text.size() - head.size() - tail.size());
    std::size_t at = 0;
    std::size_t pieceStart = firstStar + 1;
    while (pieceStart <= lastStar) {
        std::size_t pieceEnd = pattern.find('*', pieceStart);
        std::string_view piece = pattern.substr(pieceStart, pieceEnd - pieceStart);
        if (!piece.empty()) {
            std::size_t found = Find(middle, piece, at);
            if (found == std::string_view::npos)
                return false;
            at = found + piece.size();
        }
        pieceStart = pieceEnd + 1;
    }
    return true;
}

bool TestHolds(const ClassificationTest& test, std::string_view lowerBody) {
    switch (test.kind) {
    case TestKind::Empty:
        return lowerBody.empty();
    case TestKind::Contains:
        return Contains(lowerBody, test.pattern);
    case TestKind::ContainsBoth:
        return Contains(lowerBody, test.pattern) && Contains(lowerBody, test.pattern2);
    case TestKind::Equals:
        return lowerBody == test.pattern;
    case TestKind::Matches:
        return WildcardMatch(lowerBody, test.pattern);
    }
    return false;
}

std::string ClassifyBody(std::string_view lowerBody, int mode) {
    std::string_view verdict = kVerdictOk;
    for (const ClassificationTest& test : ClassificationTable(mode))
        if (TestHolds(test, lowerBody))
            verdict = test.verdict;
    return std::string(verdict);
}

} // namespace vigil::engine
