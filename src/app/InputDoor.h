// TInputDoor: the one place the platform's input enters the game. It stands between the
// platform (desktop or headless) and the form: the keys the settings file moved become the
// game's own key codes, and pad buttons become the keys they stand for where the game is,
// in the events and in the polled key states alike. So the rules, the menus, the state dump
// and the replays see only the game's own keys, whatever the settings. A key event leaves the
// door with its shift state (the modifiers as the events before it left them, each confirmed
// by the keyboard, and the mouse buttons held), and whoever watches the door (the replay
// recorder) sees every event as the game gets it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "app/PadInput.h"
#include "app/Settings.h"
#include "engine/Platform.h"

namespace quillon {

// What watches the door: each event as it leaves for the game.
class IDoorWatch {
public:
    virtual ~IDoorWatch() = default;
    virtual void Passed(const TWindowEvent& event) = 0;
};

class TInputDoor : public IPlatform {
public:
    TInputDoor(IPlatform& platform, const TSettings& settings);

    // Where the game is, for the pad's buttons (menus, a question or the race).
    void SetPadContext(std::function<TPadContext()> context) { FPadContext = std::move(context); }
    // The game's key for a key of the keyboard; 0 when it stands for nothing.
    int GameKey(int key) const { return key > 0 && key < 256 ? FKeyMap[static_cast<size_t>(key)] : 0; }
    void SetWatch(IDoorWatch* watch) { FWatch = watch; }

    // IDisplayPort
    bool OpenDisplay(bool fullScreen) override { return FPlatform.OpenDisplay(fullScreen); }
    void CloseDisplay() override { FPlatform.CloseDisplay(); }
    void Present(const TDirectDrawSurface& frame) override { FPlatform.Present(frame); }
    int RefreshRate() override { return FPlatform.RefreshRate(); }

    // IPlatform: events and key states pass translated, the rest as they are.
    uint32_t Milliseconds() override { return FPlatform.Milliseconds(); }
    bool PollEvent(TWindowEvent& event) override;
    bool IsActive() override { return FPlatform.IsActive(); }
    void WaitForEvent() override { FPlatform.WaitForEvent(); }
    bool Finished() override { return FPlatform.Finished(); }
    void GetKeyboardState(uint8_t states[256]) override;
    void ShowError(const std::string& text) override { FPlatform.ShowError(text); }
    void OpenTarget(const std::string& target) override { FPlatform.OpenTarget(target); }
    void MinimizeWindow() override { FPlatform.MinimizeWindow(); }
    void RaisePriority() override { FPlatform.RaisePriority(); }
    void ShowCursor(bool show) override { FPlatform.ShowCursor(show); }

private:
    void TrackShiftState(TWindowEvent& event);

    IPlatform& FPlatform;
    std::array<int, 256> FKeyMap{};
    TPadInput FPad;
    std::function<TPadContext()> FPadContext;
    IDoorWatch* FWatch = nullptr;
    // Modifier keys and the mouse buttons (their shift-state bits) as the events report them.
    bool FShiftDown = false, FCtrlDown = false, FAltDown = false;
    uint8_t FMouseButtons = 0;
};

}  // namespace quillon
