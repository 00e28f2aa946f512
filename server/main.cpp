// quillon-scores: the world score table server. Serves until SIGTERM or SIGINT, then finishes
// the requests under way and exits with status 0.
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "server/PagePicture.h"
#include "server/ReplayCheck.h"
#include "server/ReplayVerifier.h"
#include "server/ScoreServer.h"
#include "server/ScoreStore.h"
#include "server/ServerOptions.h"

using namespace quillon::server;

namespace {

std::mutex gLogMutex;

void LogLine(const std::string& line) {
    std::lock_guard lock(gLogMutex);
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
}

// The page's title art: from the named folder, which must hold it, or found beside the program or
// in the installed data (a page without it still works, with its name in text only); and the
// English page's own from the folder's "en", when there is one (without it the English page
// shows the same art).
bool LoadTitleArt(const TServerOptions& options, TPagePicture& title, TPagePicture& englishTitle) {
    std::string folder = options.PageArt;
    const bool named = !folder.empty();
    if (!named) {
        std::error_code ignored;
        folder = FindPageArtFolder(std::filesystem::read_symlink("/proc/self/exe", ignored).string(),
                                   {QUILLON_PAGE_ART_INSTALLED, "/usr/share/quillon-scores"});
        if (folder.empty()) {
            LogLine("quillon-scores: no title art found; the page shows the table's name in text");
            return true;
        }
    }
    const std::string path = (std::filesystem::path(folder) / kTitlePictureName).string();
    try {
        title = ReadPagePicture(path);
    } catch (const EPagePictureError& failure) {
        if (named) {
            std::cerr << "quillon-scores: " << path << ": " << failure.what() << "\n";
            return false;
        }
        LogLine("quillon-scores: " + path + ": " + failure.what() + "; the page shows the table's name in text");
        return true;
    }
    const std::string english = (std::filesystem::path(folder) / "en" / kTitlePictureName).string();
    std::error_code missing;
    if (!std::filesystem::exists(english, missing)) return true;
    try {
        englishTitle = ReadPagePicture(english);
    } catch (const EPagePictureError& failure) {
        LogLine("quillon-scores: " + english + ": " + failure.what() + "; the English page shows the same art");
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options = ParseServerOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::cerr << "quillon-scores: " << error << "\n" << kServerUsage;
        return 2;
    }
    if (options->Help) {
        std::cout << kServerUsage;
        return 0;
    }
    if (options->Version) {
        std::cout << "quillon-scores " << QUILLON_VERSION << "\n";
        return 0;
    }

    // The signals go to one waiting thread only; every thread started later inherits the mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    try {
        std::string password;
        if (!options->DbPasswordFile.empty()) {
            std::ifstream file(options->DbPasswordFile);
            if (!file || !std::getline(file, password)) {
                std::cerr << "quillon-scores: cannot read the password file " << options->DbPasswordFile << "\n";
                return 1;
            }
        }
        const std::unique_ptr<TScoreStore> store = OpenScoreStore(options->Database, password);
        // The verifier outlives the server, which tells it of every replay queued.
        std::unique_ptr<TReplayVerifier> verifier;
        std::optional<quillon::TReplayExpectation> expectation;
        if (!options->VerifyWith.empty()) {
            if (access(options->VerifyWith.c_str(), X_OK) != 0) {
                std::cerr << "quillon-scores: cannot run the game " << options->VerifyWith << "\n";
                return 1;
            }
            TVerifierSettings verify;
            // Absolute: the game starts in a folder of its own.
            verify.Limits = {std::filesystem::absolute(options->VerifyWith).string(), options->VerifyCpuSeconds,
                             options->VerifyMemoryMiB, options->VerifySeconds};
            // The runs share their user's task count.
            verify.Limits.Tasks *= static_cast<int>(options->VerifyWorkers);
            const std::string problem = SandboxProblem(verify.Limits);
            if (!problem.empty()) {
                std::cerr << "quillon-scores: replays are verified only in a sandbox, and " << problem
                          << "; not starting with --verify-with\n";
                return 1;
            }
            expectation = ReplayExpectationFor(verify.Limits.Game);
            verify.Workers = options->VerifyWorkers;
            verify.Log = LogLine;
            verifier = std::make_unique<TReplayVerifier>(*store, verify);
        }
        TScoreServerSettings settings;
        if (!LoadTitleArt(*options, settings.Title, settings.EnglishTitle)) return 1;
        settings.RatePerMinute = options->RatePerMinute;
        settings.Threads = options->Threads;
        settings.AnswerSeconds = options->CacheSeconds;
        settings.TrustProxy = options->TrustProxy;
        settings.Log = LogLine;
        if (verifier) settings.ReplayQueued = [&verifier] { verifier->Wake(); };
        settings.ReplayExpectation = expectation;
        TScoreServer server(*store, settings);
        const int port = server.Bind(options->Host, options->Port);
        if (port < 0) {
            std::cerr << "quillon-scores: cannot listen on " << options->Host << ":" << options->Port << "\n";
            return 1;
        }
        std::cout << "quillon-scores: listening on " << options->Host << ":" << port << ", database "
                  << (IsPostgresConnection(options->Database) ? "PostgreSQL" : options->Database) << std::endl;

        std::atomic<bool> ended = false;
        std::thread waiter([&] {
            int signalNumber = 0;
            sigwait(&stopSignals, &signalNumber);
            if (ended) return;
            LogLine(std::string("quillon-scores: stopping on ") + (signalNumber == SIGINT ? "SIGINT" : "SIGTERM"));
            server.Stop();
        });
        const bool served = server.Run();
        // When serving ended by itself the waiter is still waiting: wake it.
        ended = true;
        pthread_kill(waiter.native_handle(), SIGTERM);
        waiter.join();
        if (verifier) verifier->Stop();
        LogLine("quillon-scores: stopped");
        return served ? 0 : 1;
    } catch (const EScoreStoreError& failure) {
        std::cerr << "quillon-scores: " << failure.what() << "\n";
        return 1;
    }
}
