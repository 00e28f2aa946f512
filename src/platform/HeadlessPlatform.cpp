// THeadlessPlatform: virtual clock, scripted events, screenshots and state dumps.
#include "platform/HeadlessPlatform.h"

#include <cstdio>
#include <cstring>
#include <fstream>

#include "engine/Cp1251.h"
#include "engine/PrintableText.h"
#include "platform/PngWriter.h"

namespace quillon {

THeadlessPlatform::THeadlessPlatform(int frames, int fps, THeadlessScript script)
    : FFrames(frames), FFps(fps), FScript(std::move(script)) {}

// Every frame is kept for the script's screenshots, copied with memcpy: a surface's own copy
// goes through memmove, which the sanitizer build does a byte at a time.
void THeadlessPlatform::Present(const TDirectDrawSurface& frame) {
    if (FLastFrame.Width() != frame.Width() || FLastFrame.Height() != frame.Height())
        FLastFrame.SetSize(frame.Width(), frame.Height());
    if (!frame.Pixels().empty())
        std::memcpy(FLastFrame.Row(0), frame.Row(0), frame.Pixels().size() * sizeof(uint16_t));
}

uint32_t THeadlessPlatform::Milliseconds() {
    return static_cast<uint32_t>(static_cast<uint64_t>(FFrame) * 1000u / static_cast<uint64_t>(FFps));
}

void THeadlessPlatform::QueueKey(TWindowEvent::TType type, int key) {
    TWindowEvent event;
    event.Type = type;
    event.Key = key;
    FEvents.push_back({event});
}

// Expands this frame's commands (and the releases of last frame's taps) into events.
void THeadlessPlatform::QueueFrameEvents() {
    FQueuedFrame = FFrame;
    for (int key : FTapsToRelease) QueueKey(TWindowEvent::TType::KeyUp, key);
    FTapsToRelease.clear();
    for (const THeadlessCommand& command : FScript.CommandsAt(FFrame)) {
        using K = THeadlessCommand::TKind;
        switch (command.Kind) {
            case K::Down: QueueKey(TWindowEvent::TType::KeyDown, command.Key); break;
            case K::Up: QueueKey(TWindowEvent::TType::KeyUp, command.Key); break;
            case K::PadDown:
            case K::PadUp: {
                // One pad: a button already down (or up) sends nothing, as on the desktop.
                std::vector<TWindowEvent> events;
                FPads.Button(0, static_cast<TPadButton>(command.Key), command.Kind == K::PadDown, events);
                for (const TWindowEvent& event : events) FEvents.push_back({event});
                break;
            }
            case K::Tap:
                QueueKey(TWindowEvent::TType::KeyDown, command.Key);
                FTapsToRelease.push_back(command.Key);
                break;
            case K::Text:
                for (std::string& character : SplitUtf8Characters(command.Text)) {
                    TWindowEvent event;
                    event.Type = TWindowEvent::TType::Char;
                    event.Text = std::move(character);
                    FEvents.push_back({event});
                }
                break;
            case K::Move:
            case K::Click: {
                TWindowEvent event;
                event.X = command.X;
                event.Y = command.Y;
                event.Type = TWindowEvent::TType::MouseMove;
                FEvents.push_back({event});
                if (command.Kind == K::Click) {
                    for (auto type : {TWindowEvent::TType::MouseDown, TWindowEvent::TType::MouseUp,
                                      TWindowEvent::TType::Click}) {
                        event.Type = type;
                        FEvents.push_back({event});
                    }
                }
                break;
            }
            case K::Race:
            case K::Pilot:
                FEvents.push_back({TWindowEvent{}, &command});
                break;
            case K::Minimize:
            case K::Restore:
            case K::Close: {
                TWindowEvent event;
                event.Type = command.Kind == K::Minimize  ? TWindowEvent::TType::Minimize
                           : command.Kind == K::Restore ? TWindowEvent::TType::Restore
                                                        : TWindowEvent::TType::CloseRequest;
                FEvents.push_back({event});
                break;
            }
            case K::Shot:
            case K::State:
            case K::Track:
            case K::Quit:
                break;  // after the frame
        }
    }
}

bool THeadlessPlatform::PollEvent(TWindowEvent& event) {
    if (FQueuedFrame != FFrame) QueueFrameEvents();
    while (!FEvents.empty() && FEvents.front().GameCommand) {
        const THeadlessCommand* command = FEvents.front().GameCommand;
        FEvents.pop_front();
        if (FGameCommands) FGameCommands(*command);
    }
    if (FEvents.empty()) return false;
    event = FEvents.front().Event;
    FEvents.pop_front();
    if (event.Type == TWindowEvent::TType::KeyDown) FKeys[event.Key & 0xFF] = 0x80;
    if (event.Type == TWindowEvent::TType::KeyUp) FKeys[event.Key & 0xFF] = 0;
    if (event.Type == TWindowEvent::TType::Minimize) FMinimized = true;
    if (event.Type == TWindowEvent::TType::Restore) FMinimized = false;
    return true;
}

void THeadlessPlatform::GetKeyboardState(uint8_t states[256]) {
    for (int i = 0; i < 256; ++i) states[i] = FKeys[i];
}

void THeadlessPlatform::ShowError(const std::string& text) {
    std::fprintf(stderr, "error: %s\n", PrintableText(text).c_str());
}

bool THeadlessPlatform::EndFrame(const std::function<std::string(int frame)>& stateDump,
                                 const std::function<std::string()>& trackDump) {
    FStateDump = stateDump;
    FTrackDump = trackDump;
    return FinishFrame();
}

// While minimised the game does not tick, but its time passes and the script's outputs are
// written: screenshots show the last presented frame.
void THeadlessPlatform::WaitForEvent() {
    if (FMinimized) FinishFrame();
}

bool THeadlessPlatform::FinishFrame() {
    if (FFrameSound) FFrameSound(FFrame);
    bool ok = true;
    for (const THeadlessCommand& command : FScript.CommandsAt(FFrame)) {
        if (command.Kind == THeadlessCommand::TKind::Shot) {
            if (!WritePngRGB(command.Text, FLastFrame.Width(), FLastFrame.Height(), SurfaceToRGB(FLastFrame))) {
                std::fprintf(stderr, "cannot write screenshot %s\n", command.Text.c_str());
                ok = false;
            }
        } else if (command.Kind == THeadlessCommand::TKind::State || command.Kind == THeadlessCommand::TKind::Track) {
            const bool state = command.Kind == THeadlessCommand::TKind::State;
            std::ofstream file(command.Text, std::ios::binary);
            if (state && FStateDump) file << FStateDump(FFrame) << "\n";
            if (!state && FTrackDump) file << FTrackDump() << "\n";
            if (!file) {
                std::fprintf(stderr, "cannot write %s dump %s\n", state ? "state" : "track", command.Text.c_str());
                ok = false;
            }
        } else if (command.Kind == THeadlessCommand::TKind::Quit) {
            FQuit = true;
        }
    }
    ++FFrame;
    FOutputsWritten &= ok;
    return ok;
}

std::vector<uint8_t> SurfaceToRGB(const TDirectDrawSurface& surface) {
    std::vector<uint8_t> rgb(static_cast<size_t>(surface.Width()) * surface.Height() * 3);
    size_t i = 0;
    for (uint16_t pixel : surface.Pixels()) {
        UnpackRGB565(pixel, rgb[i], rgb[i + 1], rgb[i + 2]);
        i += 3;
    }
    return rgb;
}

}  // namespace quillon
