// TCurlScoreSender: the request with its fixed headers, user agent and limits.
#include "platform/CurlScoreSender.h"

#include <curl/curl.h>

namespace quillon {

namespace {
constexpr long ConnectLimitSeconds = 5;
constexpr long RequestLimitSeconds = 10;

size_t DropAnswer(char*, size_t size, size_t count, void*) { return size * count; }

// Asked by libcurl while it waits: non-zero abandons the request.
int CheckAbandon(void* abandon, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<std::atomic<bool>*>(abandon)->load() ? 1 : 0;
}
}  // namespace

TCurlScoreSender::TCurlScoreSender(bool waitForEachRequest) : FWait(waitForEachRequest) {
    curl_global_init(CURL_GLOBAL_DEFAULT);
}

TCurlScoreSender::~TCurlScoreSender() {
    FAbandon = true;
    if (FWorker.joinable()) FWorker.join();
    curl_global_cleanup();
}

void TCurlScoreSender::Send(const std::string& url) {
    if (FWorker.joinable()) FWorker.join();
    FBusy = true;
    FWorker = std::thread(Fetch, url, &FAbandon, &FBusy);
    if (FWait) FWorker.join();
}

void TCurlScoreSender::Fetch(std::string url, std::atomic<bool>* abandon, std::atomic<bool>* busy) {
    if (CURL* curl = curl_easy_init()) {
        curl_slist* headers = curl_slist_append(nullptr, "Accept: text/html, */*");
        headers = curl_slist_append(headers, "Content-Type: text/html");
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
        curl_easy_setopt(curl, CURLOPT_USERAGENT, "Mozilla/3.0 (compatible; Indy Library)");
        curl_easy_setopt(curl, CURLOPT_COOKIEFILE, "");  // cookies on, none stored
        curl_easy_setopt(curl, CURLOPT_PROXY, "");       // never through a proxy
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, ConnectLimitSeconds);
        curl_easy_setopt(curl, CURLOPT_TIMEOUT, RequestLimitSeconds);
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, DropAnswer);
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, CheckAbandon);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, abandon);
        curl_easy_perform(curl);  // whatever the outcome, the game goes on
        curl_slist_free_all(headers);
        curl_easy_cleanup(curl);
    }
    *busy = false;
}

}  // namespace quillon
