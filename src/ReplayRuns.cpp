// The replay runs: read and check the file, set a form up as the race started, play it.
#include "ReplayRuns.h"

#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include "HeadlessReplay.h"
#include "RunSettings.h"
#include "app/Application.h"
#include "app/InputDoor.h"
#include "app/GameVersion.h"
#include "app/MainForm.h"
#include "app/ReplayPlayer.h"
#include "engine/KeyCodes.h"
#include "engine/PrintableText.h"
#include "platform/DesktopPlatform.h"
#include "platform/OpenMptMusic.h"
#include "platform/ReplayDownload.h"
#include "platform/SdlAudioOutput.h"
#include "platform/TtfFontRasterizer.h"
#include "save/DataHash.h"
#include "save/ReplayFolder.h"

namespace quillon {

namespace {

constexpr int KeyP = 'P';

// A replay plays only with the game and the data it was recorded with.
std::optional<TReplay> LoadReplay(const std::filesystem::path& file) {
    try {
        const TReplayExpectation here = DataExpectation(kGameVersion, std::filesystem::current_path());
        return ReadReplayFile(file.string(), here);
    } catch (const EReplayError& error) {
        std::fprintf(stderr, "quillon: %s\n", error.what());
        return std::nullopt;
    }
}

void ReportDivergence(const std::filesystem::path& file, const TReplayOutcome& outcome) {
    if (outcome.Reproduced) return;
    std::fprintf(stderr, "quillon: %s diverged at frame %u: %s\n", PrintableText(file.string()).c_str(),
                 *outcome.DivergedAt, outcome.Why.c_str());
}

}  // namespace

TDownloadedReplay::~TDownloadedReplay() {
    std::error_code ignored;
    if (!FFolder.empty()) std::filesystem::remove_all(FFolder, ignored);
}

std::filesystem::path TDownloadedReplay::Fetch(const std::string& url) {
    std::string body, why;
    if (!DownloadReplay(url, body, why)) {
        std::fprintf(stderr, "quillon: cannot download %s: %s\n", PrintableText(url).c_str(), PrintableText(why).c_str());
        return {};
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "quillon-replay-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::fprintf(stderr, "quillon: cannot keep the downloaded replay: no temporary folder\n");
        return {};
    }
    FFolder = pattern;
    const std::filesystem::path file = FFolder / "downloaded.qrp";
    std::ofstream out(file, std::ios::binary);
    out.write(body.data(), static_cast<std::streamsize>(body.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "quillon: cannot keep the downloaded replay in %s\n", PrintableText(file.string()).c_str());
        return {};
    }
    return file;
}

std::filesystem::path ReplayToPlay(const TCommandLine& line, const TGameFolder& folder,
                                   const std::filesystem::path& given) {
    if (!line.ReplayLast) return given;
    const std::vector<std::filesystem::path> replays = ListReplays(folder.SaveFolder / "Replays");
    if (replays.empty()) {
        std::fprintf(stderr, "quillon: no replay in %s\n",
                     PrintableText((folder.SaveFolder / "Replays").string()).c_str());
        return {};
    }
    return replays.back();
}

int RunReplayHeadless(const std::filesystem::path& file, const TGameFolder& folder, THeadlessScript script) {
    const std::optional<TReplay> replay = LoadReplay(file);
    if (!replay) return 2;
    const THeadlessReplayRun run = PlayReplayHeadless(*replay, folder.SaveFolder, std::move(script));
    const TReplayOutcome& outcome = run.Outcome;
    ReportDivergence(file, outcome);
    std::printf("%s\n", ReplayOutcomeJson(outcome).c_str());
    if (!run.OutputsWritten) return 1;
    return outcome.Reproduced ? 0 : 3;
}

int RunReplayWindow(const std::filesystem::path& file, const TCommandLine& line, const TGameFolder& folder,
                    const TSettings& settings) {
    const std::optional<TReplay> replay = LoadReplay(file);
    if (!replay) return 2;
    TDesktopPlatform desktop(DesktopChoices(settings));
    TInputDoor platform(desktop, settings);
    TSdlAudioOutput audio;
    TOpenMptMusic music;
    TTtfFontRasterizer fonts;
    TMForm form(platform, TFormServices{&audio, &music, &fonts, nullptr});
    platform.SetPadContext([] { return TPadContext::Menu; });  // B ends the replay, Start pauses it
    form.MDXSound.SetVolumes(settings.MusicVolume, settings.EffectsVolume);
    form.StartSeed = replay->Header.Seed;
    form.FullScreenThisRun = line.FullScreen;
    form.SaveFolderPath = folder.SaveFolder;
    form.RunHandler([&] { form.FormCreate(); });
    form.RunHandler([&] { form.Show(); });
    TReplayPlayer player(form, *replay);
    form.RunHandler([&] { player.Start(); });

    // Each frame is due when the recorded frames before it have taken their time.
    using TClock = std::chrono::steady_clock;
    TClock::time_point due = TClock::now();
    bool paused = false;
    bool stop = false;
    while (!player.Done() && !stop && !TApplication::StopRequested()) {
        TWindowEvent event;
        while (platform.PollEvent(event)) {
            if (event.Type == TWindowEvent::TType::CloseRequest) stop = true;
            if (event.Type == TWindowEvent::TType::KeyDown && event.Key == KeyEscape) stop = true;
            if (event.Type == TWindowEvent::TType::KeyDown && event.Key == KeyP) paused = !paused;
            if (event.Type == TWindowEvent::TType::Restore) form.MDXDraw.Initialize();
        }
        if (stop) break;
        if (paused || !platform.IsActive()) {
            platform.WaitForEvent();
            due = TClock::now();
            continue;
        }
        const TClock::time_point now = TClock::now();
        if (now < due) {
            std::this_thread::sleep_for(std::min<TClock::duration>(due - now, std::chrono::milliseconds(5)));
            continue;
        }
        due += std::chrono::milliseconds(player.NextLag());
        player.Step();
    }
    if (player.Done()) ReportDivergence(file, player.Finish());
    return 0;
}

}  // namespace quillon
