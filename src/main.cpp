// Квиллон: picks the platform (desktop window or headless driver) and runs the game.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/GameFolder.h"
#include "app/MainForm.h"
#include "app/StateDump.h"
#include "platform/DesktopPlatform.h"
#include "platform/HeadlessPlatform.h"

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

int RunHeadless(const TCommandLine& line, THeadlessScript script) {
    THeadlessPlatform platform(line.Frames, line.Fps, std::move(script));
    TMForm form(platform);
    form.StartSeed = line.Seed;
    form.RunHandler([&] { form.FormCreate(); });
    TApplication application(platform, form);
    application.Run([&] { platform.EndFrame([&](int frame) { return BuildStateDump(form, frame); }); });
    return 0;
}

int RunDesktop(const TCommandLine& line) {
    TDesktopPlatform platform;
    TMForm form(platform);
    form.StartSeed = line.Seed;
    form.RunHandler([&] { form.FormCreate(); });
    TApplication application(platform, form);
    application.Run();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    TCommandLine line;
    try {
        line = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const ECommandLineError& error) {
        std::fprintf(stderr, "quillon: %s\n\n%s", error.what(), UsageText());
        return 2;
    }
    if (line.Help) {
        std::fputs(UsageText(), stdout);
        return 0;
    }
    if (line.Version) {
        std::puts("quillon 0.1.0");
        return 0;
    }

    THeadlessScript script;
    if (line.Headless && !line.Script.empty()) {
        try {
            script = THeadlessScript::Load(line.Script);  // before the folder changes
        } catch (const EScriptError& error) {
            std::fprintf(stderr, "quillon: %s\n", error.what());
            return 2;
        }
    }

    std::string folder = FindGameFolder(line.Root, argv[0]);
    if (chdir(folder.c_str()) != 0) {
        std::fprintf(stderr, "quillon: cannot enter the game folder %s\n", folder.c_str());
        return 2;
    }
    InstallStopSignals();
    try {
        return line.Headless ? RunHeadless(line, std::move(script)) : RunDesktop(line);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quillon: %s\n", error.what());
        return 1;
    }
}
