// TCurlScoreSender: the request with its fixed headers, user agent and limits.
#include "platform/CurlScoreSender.h"

#include <curl/curl.h>

namespace quillon {

namespace {
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

void TCurlScoreSender::Send(const std::string& url) { Start(url, {}, false); }

void TCurlScoreSender::Post(const std::string& url, std::string body) { Start(url, std::move(body), true); }

void TCurlScoreSender::Start(std::string url, std::string body, bool post) {
    if (FWorker.joinable()) FWorker.join();
    FBusy = true;
    FWorker = std::thread(Fetch, std::move(url), std::move(body), post, &FAbandon, &FBusy);
    if (FWait) FWorker.join();
}

void TCurlScoreSender::Fetch(std::string url, std::string body, bool post, std::atomic<bool>* abandon,
                             std::atomic<bool>* busy) {
    if (CURL* curl = curl_easy_init()) {
        curl_slist* headers = curl_slist_append(nullptr, "Accept: text/html, */*");
        if (post) {
            headers = curl_slist_append(headers, "Content-Type: application/octet-stream");
            headers = curl_slist_append(headers, "Expect:");  // the body goes at once, no "100 Continue" wait
            curl_easy_setopt(curl, CURLOPT_POST, 1L);
            curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
            curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
        } else {
            headers = curl_slist_append(headers, "Content-Type: text/html");
            curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
        }
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
        curl_easy_setopt(curl, CURLOPT_USERAGENT, "Mozilla/3.0 (compatible; Indy Library)");
        curl_easy_setopt(curl, CURLOPT_COOKIEFILE, "");  // cookies on, none stored
        curl_easy_setopt(curl, CURLOPT_PROXY, "");       // never through a proxy
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kNetConnectSeconds);
        curl_easy_setopt(curl, CURLOPT_TIMEOUT, kNetRequestSeconds);
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
