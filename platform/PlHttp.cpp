#include "platform/PlHttp.h"

#include <curl/curl.h>

#include <mutex>

namespace {

struct Download
{
    std::string* body;
    size_t cap;
    bool tooLong = false;
};

size_t receive(char* data, size_t size, size_t count, void* user)
{
    Download* download = static_cast<Download*>(user);
    size_t bytes = size * count;
    if (download->body->size() + bytes > download->cap) {
        download->tooLong = true;
        return 0;  // ends the transfer with an error
    }
    download->body->append(data, bytes);
    return bytes;
}

}

void PlHttp::initialize()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool PlHttp::get(const std::string& url, const Limits& limits, std::string& body)
{
    initialize();
    CURL* curl = curl_easy_init();
    if (!curl)
        return false;
    std::string received;
    Download download{&received, limits.maxBody};
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, long(limits.redirects));
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, limits.connectSeconds);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, limits.totalSeconds);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    // A worker thread: no signals for the resolver's time-out.
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &receive);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &download);
    CURLcode result = curl_easy_perform(curl);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_cleanup(curl);
    if (result != CURLE_OK || download.tooLong || status != 200 || received.empty())
        return false;
    body = std::move(received);
    return true;
}

bool PlHttp::splitUrl(const std::string& url, std::string& server, std::string& object)
{
    size_t scheme = url.find("://");
    if (scheme == std::string::npos || scheme == 0)
        return false;
    size_t hostStart = scheme + 3;
    size_t slash = url.find('/', hostStart);
    std::string host = url.substr(hostStart, slash == std::string::npos ? std::string::npos : slash - hostStart);
    if (host.empty())
        return false;
    server = host;
    object = slash == std::string::npos ? "/" : url.substr(slash);
    return true;
}
