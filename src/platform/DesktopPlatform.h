// TDesktopPlatform: the game in an SDL2 window. The 800 x 600 back surface is
// streamed into a texture once per frame and presented with vsync, scaled with its
// aspect kept (black bars) in desktop full screen. Gamepads are SDL game controllers,
// opened as they are plugged in.
#pragma once

#include <SDL.h>

#include <deque>
#include <map>

#include "engine/Platform.h"
#include "platform/PadTracker.h"

namespace quillon {

// How the picture reaches a window or screen larger than 800 x 600.
enum class TDesktopScaling { Sharp, Smooth, Stretch };

// The player's choices for the desktop (the settings file); the defaults are the game's own.
struct TDesktopChoices {
    int WindowScale = 1;  // the window is this multiple of 800 x 600; 0: the largest that fits
    TDesktopScaling Scaling = TDesktopScaling::Sharp;  // sharp: whole pixels with a black border
    int Display = 1;      // the display the window opens on, from 1; the first when there is no such
    int StickDeadZone = 25;  // percent of the stick's travel that counts as the middle
};

class TDesktopPlatform : public IPlatform {
public:
    explicit TDesktopPlatform(const TDesktopChoices& choices = {});
    ~TDesktopPlatform() override;
    TDesktopPlatform(const TDesktopPlatform&) = delete;
    TDesktopPlatform& operator=(const TDesktopPlatform&) = delete;

    // IDisplayPort
    bool OpenDisplay(bool fullScreen) override;
    void CloseDisplay() override {}
    void Present(const TDirectDrawSurface& frame) override;
    int RefreshRate() override;

    // IPlatform
    uint32_t Milliseconds() override { return SDL_GetTicks(); }
    bool PollEvent(TWindowEvent& event) override;
    bool IsActive() override;
    void WaitForEvent() override;
    bool Finished() override { return false; }
    void GetKeyboardState(uint8_t states[256]) override;
    void ShowError(const std::string& text) override;
    void OpenTarget(const std::string& target) override;
    void MinimizeWindow() override;
    void RaisePriority() override;
    void ShowCursor(bool show) override;

    SDL_Window* Window() const { return FWindow; }

private:
    bool CreateWindow();
    int ChooseScale(int display) const;
    void Translate(const SDL_Event& sdl);
    void TranslatePad(const SDL_Event& sdl);
    void StretchedMouse(TWindowEvent& event) const;
    void OpenPad(int deviceIndex);
    void ClosePad(SDL_JoystickID pad);

    TDesktopChoices FChoices;
    SDL_Window* FWindow = nullptr;
    SDL_Renderer* FRenderer = nullptr;
    SDL_Texture* FTexture = nullptr;
    SDL_Cursor* FHandCursor = nullptr;
    bool FFullScreen = false;
    bool FHasPlacement = false;
    int FPlacementX = 0;
    int FPlacementY = 0;
    std::deque<TWindowEvent> FPending;
    // Pads plugged in, by SDL's instance id; they come and go while the game runs.
    std::map<SDL_JoystickID, SDL_GameController*> FPads;
    TPadTracker FPadButtons;  // with the stick's dead zone of the choices
};

}  // namespace quillon
