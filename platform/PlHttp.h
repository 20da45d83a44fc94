#pragma once

#include <string>

// A small download over HTTP(S) with libcurl: for files of a few bytes from
// the maker's web site. Certificates are verified, redirects followed a few
// times only, and the body is capped, so a wrong or hostile server costs
// little.
class PlHttp
{
public:
    struct Limits
    {
        int redirects = 5;
        long connectSeconds = 10;
        long totalSeconds = 30;
        size_t maxBody = 1 << 20;
    };

    // Once, at start-up, before any thread downloads.
    static void initialize();

    // The body of a 200 answer; false for any other status, an empty body,
    // a body over the cap, a time-out or a failed connection.
    static bool get(const std::string& url, const Limits& limits, std::string& body);

    // Splits "scheme://host[:port]/path" into its host part (with the port)
    // and its path ("/" when none); false for anything else.
    static bool splitUrl(const std::string& url, std::string& server, std::string& object);
};
