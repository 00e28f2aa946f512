// Квиллон: picks the platform (desktop window or headless driver) and runs the game.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/GameFolder.h"
#include "app/GameVersion.h"
#include "app/MainForm.h"
#include "app/StateDump.h"
#include "ReplayRuns.h"
#include "RunSettings.h"
#include "app/InputDoor.h"
#include "app/ReplayTap.h"
#include "engine/GameLanguage.h"
#include "engine/MessageCatalog.h"
#include "engine/PrintableText.h"
#include "platform/DesktopPlatform.h"
#include "platform/HeadlessPlatform.h"
#include "platform/CurlScoreSender.h"
#include "platform/OpenMptMusic.h"
#include "platform/ReplayDownload.h"
#include "platform/SdlAudioOutput.h"
#include "platform/TtfFontRasterizer.h"
#include "platform/WavRecorder.h"
#include "save/LinkFile.h"

namespace {

using namespace quillon;

void OnStopSignal(int) { TApplication::RequestStop(); }

void InstallStopSignals() {
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// What the command line and the folder search decide before start-up.
void Prepare(TMForm& form, const TCommandLine& line, const TGameFolder& folder) {
    form.StartSeed = line.Seed;
    form.FullScreenThisRun = line.FullScreen;
    form.DemoRequested = line.Demo;
    form.SaveFolderPath = folder.SaveFolder;
}

// The headless run pulls each frame's share of the mix, so sounds end when they
// would have ended on a sound card; --record-audio keeps it in a WAV file.
int RunHeadless(const TCommandLine& line, const TGameFolder& folder, THeadlessScript script, const TSettings& settings) {
    THeadlessPlatform platform(line.Frames, line.Fps, std::move(script));
    TInputDoor door(platform, settings);
    TOpenMptMusic music;
    TTtfFontRasterizer fonts;
    TCurlScoreSender scores(true);  // outlives the form
    TReplayTap tap(folder.SaveFolder / "Replays", &scores);
    TMForm form(door, TFormServices{nullptr, &music, &fonts, tap.Scores()});
    door.SetPadContext([&] { return form.PadContext(); });
    tap.Watch(form);
    door.SetWatch(&tap);
    form.MDXSound.SetVolumes(settings.MusicVolume, settings.EffectsVolume);
    Prepare(form, line, folder);
    form.RunHandler([&] { form.FormCreate(); });
    form.RunHandler([&] { form.Show(); });

    std::unique_ptr<TWavRecorder> recorder;
    if (!line.RecordAudio.empty()) recorder = std::make_unique<TWavRecorder>(line.RecordAudio, form.MDXSound.Rate());
    std::vector<int16_t> discarded;
    // Sound goes on while the window is minimised, so every frame pulls its share.
    platform.SetFrameSound([&](int frame) {
        if (recorder) {
            recorder->RecordFrame(form.MDXSound, frame, line.Fps);
        } else {
            int samples = TWavRecorder::FrameSamples(frame, line.Fps, form.MDXSound.Rate());
            discarded.resize(2 * static_cast<size_t>(samples));
            form.MDXSound.Mix(discarded.data(), samples);
        }
    });
    platform.SetGameCommands([&](const THeadlessCommand& command) {
        if (command.Kind == THeadlessCommand::TKind::Race) {
            if (!form.StartRaceFromMenu(command.X, command.Y))
                std::fprintf(stderr, "script line %d: race needs the main menu after its intro\n", command.Line);
        } else if (command.Kind == THeadlessCommand::TKind::Pilot) {
            form.PilotOn = command.X != 0;
        }
        tap.Look();
    });
    TApplication application(door, form, &tap);
    application.Run([&] {
        platform.EndFrame([&](int at) { return BuildStateDump(form, at, platform.Opened()); },
                          [&] { return BuildTrackDump(form.Race.State); });
    });
    tap.Finish(application.StoppedBySignal() ? TReplayEnd::Signal : TReplayEnd::Closed);
    if (!application.StoppedBySignal()) form.RunExitLauncher();
    bool outputsWritten = platform.OutputsWritten();
    if (recorder && !recorder->Finish()) {
        std::fprintf(stderr, "quillon: cannot write %s\n", line.RecordAudio.c_str());
        outputsWritten = false;
    }
    return outputsWritten ? 0 : 1;
}

int RunDesktop(const TCommandLine& line, const TGameFolder& folder, const TSettings& settings) {
    TDesktopPlatform platform(DesktopChoices(settings));
    TInputDoor door(platform, settings);
    TSdlAudioOutput audio;
    TOpenMptMusic music;
    TTtfFontRasterizer fonts;
    TCurlScoreSender scores;
    TReplayTap tap(folder.SaveFolder / "Replays", &scores);
    TMForm form(door, TFormServices{&audio, &music, &fonts, tap.Scores()});
    door.SetPadContext([&] { return form.PadContext(); });
    tap.Watch(form);
    door.SetWatch(&tap);
    form.MDXSound.SetVolumes(settings.MusicVolume, settings.EffectsVolume);
    Prepare(form, line, folder);
    form.RunHandler([&] { form.FormCreate(); });
    form.RunHandler([&] { form.Show(); });
    TApplication application(door, form, &tap);
    application.Run();
    tap.Finish(application.StoppedBySignal() ? TReplayEnd::Signal : TReplayEnd::Closed);
    if (!application.StoppedBySignal()) form.RunExitLauncher();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    TCommandLine line;
    try {
        line = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const ECommandLineError& error) {
        std::fprintf(stderr, "quillon: %s\n\n%s", PrintableText(error.what()).c_str(), UsageText());
        return 2;
    }
    if (line.Help) {
        std::fputs(UsageText(), stdout);
        return 0;
    }
    if (line.Version) {
        std::printf("quillon %s\n", kGameVersion);
        return 0;
    }

    THeadlessScript script;
    if (line.Headless && !line.Script.empty()) {
        try {
            script = THeadlessScript::Load(line.Script);  // before the folder changes
        } catch (const EScriptError& error) {
            std::fprintf(stderr, "quillon: %s\n", PrintableText(error.what()).c_str());
            return 2;
        }
    }

    const bool replay = !line.Replay.empty() || line.ReplayLast;
    std::filesystem::path replayFile;
    TDownloadedReplay downloaded;
    if (IsReplayAddress(line.Replay)) {
        replayFile = downloaded.Fetch(line.Replay);
        if (replayFile.empty()) return 2;
    } else if (!line.Replay.empty()) {
        std::error_code ignored;
        replayFile = std::filesystem::absolute(line.Replay, ignored);  // before the folder changes
    }

    std::filesystem::path settingsFile;
    if (!line.Settings.empty()) {
        std::error_code ignored;
        settingsFile = std::filesystem::absolute(line.Settings, ignored);  // before the folder changes
    }
    const TSettings settings = LoadRunSettings(line, settingsFile);
    SetScoreServerSetting(settings.ScoreServer);
    // A headless run reads no locale: it draws the same on every machine.
    const auto variable = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string_view(value ? value : "");
    };
    SetGameLanguage(ChooseLanguage(line.Language, settings.Language, !line.Headless,
                                   TLocaleVariables{variable("LANGUAGE"), variable("LC_ALL"),
                                                    variable("LC_MESSAGES"), variable("LANG")}));

    // Relative to the folder the game was started in, as the script's screenshots and dumps are.
    if (!line.RecordAudio.empty()) {
        std::error_code error;
        const std::filesystem::path full = std::filesystem::absolute(line.RecordAudio, error);
        if (!error) line.RecordAudio = full.string();
    }

    const TGameFolder folder = FindGameFolder(ThisRun(line.Root, argv[0]));
    if (GameLanguage() != TLanguage::Russian) {
        const std::filesystem::path catalog = CatalogFile(folder.Catalogs, LanguageCode(GameLanguage()));
        try {
            SetGameCatalog(TMessageCatalog::Load(catalog));
        } catch (const ECatalogError& error) {
            std::fprintf(stderr, "quillon: %s (%s); the words stay Russian\n", error.what(),
                         PrintableText(catalog.string()).c_str());
        }
    }
    if (chdir(folder.Folder.c_str()) != 0) {
        std::fprintf(stderr, "quillon: cannot enter the game folder %s\n", folder.Folder.c_str());
        return 2;
    }
    InstallStopSignals();
    // A world table address that is not one is named at start, not first when a score is sent.
    if (!replay) ScoreServerAddress();
    try {
        if (replay) {
            replayFile = ReplayToPlay(line, folder, replayFile);
            if (replayFile.empty()) return 2;
            return line.Headless ? RunReplayHeadless(replayFile, folder, std::move(script))
                                 : RunReplayWindow(replayFile, line, folder, settings);
        }
        return line.Headless ? RunHeadless(line, folder, std::move(script), settings)
                             : RunDesktop(line, folder, settings);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quillon: %s\n", PrintableText(error.what()).c_str());
        return 1;
    }
}
