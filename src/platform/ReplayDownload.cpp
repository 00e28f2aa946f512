// Downloading a replay with libcurl: no redirects, no proxy, no other protocols.
#include "platform/ReplayDownload.h"

#include <curl/curl.h>

#include "platform/CurlScoreSender.h"
#include "save/ScoreCodec.h"

namespace quillon {

namespace {

struct TReceived {
    std::string Body;
    bool TooLarge = false;
};

size_t KeepReplayBytes(char* data, size_t size, size_t count, void* received) {
    TReceived& into = *static_cast<TReceived*>(received);
    const size_t bytes = size * count;
    if (into.Body.size() + bytes > kReplayUploadLimit) {
        into.TooLarge = true;
        return 0;  // ends the transfer
    }
    into.Body.append(data, bytes);
    return bytes;
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

bool IsReplayAddress(const std::string& text) { return StartsWith(text, "http://") || StartsWith(text, "https://"); }

bool DownloadReplay(const std::string& url, std::string& body, std::string& why) {
    if (!IsReplayAddress(url)) {
        why = "only http and https addresses are downloaded";
        return false;
    }
    curl_global_init(CURL_GLOBAL_DEFAULT);
    CURL* curl = curl_easy_init();
    if (!curl) {
        why = "the network library cannot start";
        return false;
    }
    TReceived received;
    char error[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl, CURLOPT_PROXY, "");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kNetConnectSeconds);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, kNetRequestSeconds);
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(kReplayUploadLimit));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, KeepReplayBytes);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &received);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
    const CURLcode result = curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    curl_global_cleanup();
    if (received.TooLarge || result == CURLE_FILESIZE_EXCEEDED) {
        why = "the answer is larger than a replay can be (1 MiB)";
        return false;
    }
    if (result != CURLE_OK) {
        why = error[0] ? error : curl_easy_strerror(result);
        return false;
    }
    body = std::move(received.Body);
    return true;
}

}  // namespace quillon
