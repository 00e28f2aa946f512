// The headless replay: a headless platform with one frame more than the recording, the form,
// the player, and the script's outputs after every frame.
#include "HeadlessReplay.h"

#include <utility>

#include "app/MainForm.h"
#include "app/StateDump.h"
#include "platform/HeadlessPlatform.h"
#include "platform/TtfFontRasterizer.h"

namespace quillon {

THeadlessReplayRun PlayReplayHeadless(const TReplay& replay, const std::filesystem::path& saveFolder,
                                      THeadlessScript script) {
    // No music and no mix: nothing of the race hangs on them, and the replay runs faster.
    THeadlessPlatform platform(static_cast<int>(replay.Frames.size()) + 1, 85, std::move(script));
    TTtfFontRasterizer fonts;
    TMForm form(platform, TFormServices{nullptr, nullptr, &fonts, nullptr});
    form.StartSeed = replay.Header.Seed;
    form.SaveFolderPath = saveFolder;
    form.RunHandler([&] { form.FormCreate(); });
    form.RunHandler([&] { form.Show(); });
    TReplayPlayer player(form, replay);
    form.RunHandler([&] { player.Start(); });
    while (!player.Done()) {
        player.Step();
        platform.EndFrame([&](int at) { return BuildStateDump(form, at, platform.Opened()); },
                          [&] { return BuildTrackDump(form.Race.State); });
    }
    THeadlessReplayRun run;
    run.Outcome = player.Finish();
    run.OutputsWritten = platform.OutputsWritten();
    return run;
}

}  // namespace quillon
