// TDesktopPlatform: window, full screen, vsync present, events and key states on SDL2.
#include "platform/DesktopPlatform.h"

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/Cp1251.h"
#include "engine/MessageCatalog.h"
#include "engine/PrintableText.h"
#include "platform/VirtualKeys.h"

namespace quillon {

namespace {
constexpr int FrameWidth = 800;
constexpr int FrameHeight = 600;
// The window's and the error box's title, in the run's language.
std::string Title() { return std::string(Tr("Квиллон")); }
}  // namespace

TDesktopPlatform::TDesktopPlatform(const TDesktopChoices& choices)
    : FChoices(choices), FPadButtons(choices.StickDeadZone) {
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
        throw std::runtime_error(std::string("SDL cannot start: ") + SDL_GetError());
    SDL_StopTextInput();
    // Without pad support the game is played with the keyboard and mouse as before. Pads
    // present at start arrive as "added" events like those plugged in later.
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
}

TDesktopPlatform::~TDesktopPlatform() {
    for (auto& [id, pad] : FPads) SDL_GameControllerClose(pad);
    if (FHandCursor) SDL_FreeCursor(FHandCursor);
    if (FTexture) SDL_DestroyTexture(FTexture);
    if (FRenderer) SDL_DestroyRenderer(FRenderer);
    if (FWindow) SDL_DestroyWindow(FWindow);
    SDL_Quit();
}

// The largest whole multiple of 800 x 600 that fits the display's usable area, for "auto".
int TDesktopPlatform::ChooseScale(int display) const {
    if (FChoices.WindowScale > 0) return FChoices.WindowScale;
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(display, &usable) != 0) return 1;
    return std::max(1, std::min(usable.w / FrameWidth, usable.h / FrameHeight));
}

bool TDesktopPlatform::CreateWindow() {
    int display = FChoices.Display - 1;
    if (display < 0 || display >= SDL_GetNumVideoDisplays()) display = 0;
    const int scale = ChooseScale(display);
    // Nearest pixels for sharp (and stretch), filtered for smooth; asked before the texture is made.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, FChoices.Scaling == TDesktopScaling::Smooth ? "linear" : "nearest");
    FWindow = SDL_CreateWindow(Title().c_str(), SDL_WINDOWPOS_CENTERED_DISPLAY(display), SDL_WINDOWPOS_CENTERED_DISPLAY(display),
                               FrameWidth * scale, FrameHeight * scale, SDL_WINDOW_SHOWN);
    if (!FWindow) return false;
    // Over the game the pointer is the hand, shown and hidden by the game's display count.
    FHandCursor = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_HAND);
    if (FHandCursor) SDL_SetCursor(FHandCursor);
    FRenderer = SDL_CreateRenderer(FWindow, -1, SDL_RENDERER_PRESENTVSYNC);
    if (!FRenderer) FRenderer = SDL_CreateRenderer(FWindow, -1, SDL_RENDERER_SOFTWARE);
    if (!FRenderer) return false;
    // The logical size keeps the aspect with black bars and maps the mouse back to 800 x 600;
    // sharp keeps whole pixels too. Stretch fills the window and maps the mouse itself.
    if (FChoices.Scaling != TDesktopScaling::Stretch) SDL_RenderSetLogicalSize(FRenderer, FrameWidth, FrameHeight);
    if (FChoices.Scaling == TDesktopScaling::Sharp) SDL_RenderSetIntegerScale(FRenderer, SDL_TRUE);
    FTexture = SDL_CreateTexture(FRenderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, FrameWidth,
                                 FrameHeight);
    SDL_StartTextInput();
    return FTexture != nullptr;
}

bool TDesktopPlatform::OpenDisplay(bool fullScreen) {
    if (!FWindow && !CreateWindow()) return false;
    if (fullScreen && !FFullScreen) {
        SDL_GetWindowPosition(FWindow, &FPlacementX, &FPlacementY);
        FHasPlacement = true;
        if (SDL_SetWindowFullscreen(FWindow, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return false;
    } else if (!fullScreen && FFullScreen) {
        if (SDL_SetWindowFullscreen(FWindow, 0) != 0) return false;
        if (FHasPlacement) {
            SDL_SetWindowPosition(FWindow, FPlacementX, FPlacementY);
            FHasPlacement = false;
        }
    }
    FFullScreen = fullScreen;
    return true;
}

void TDesktopPlatform::Present(const TDirectDrawSurface& frame) {
    if (!FTexture || frame.Width() != FrameWidth || frame.Height() != FrameHeight) return;
    SDL_UpdateTexture(FTexture, nullptr, frame.Row(0), FrameWidth * 2);
    SDL_SetRenderDrawColor(FRenderer, 0, 0, 0, 255);
    SDL_RenderClear(FRenderer);
    SDL_RenderCopy(FRenderer, FTexture, nullptr, nullptr);
    SDL_RenderPresent(FRenderer);
}

int TDesktopPlatform::RefreshRate() {
    SDL_DisplayMode mode;
    int display = FWindow ? SDL_GetWindowDisplayIndex(FWindow) : 0;
    if (display < 0) display = 0;
    if (SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 1) return mode.refresh_rate;
    return 60;
}

void TDesktopPlatform::Translate(const SDL_Event& sdl) {
    TWindowEvent event;
    switch (sdl.type) {
        case SDL_QUIT:
            event.Type = TWindowEvent::TType::CloseRequest;
            break;
        case SDL_WINDOWEVENT:
            // Keys let go of while another window or the window manager had the keyboard (Alt
            // after Alt+F4 closed the window) never come back as key releases: on every change
            // of focus and on a close request the keys held are let go, each with its release,
            // so that no modifier stays held in the game until it is pressed again.
            if (sdl.window.event == SDL_WINDOWEVENT_FOCUS_LOST || sdl.window.event == SDL_WINDOWEVENT_FOCUS_GAINED ||
                sdl.window.event == SDL_WINDOWEVENT_CLOSE)
                SDL_ResetKeyboard();
            if (sdl.window.event == SDL_WINDOWEVENT_CLOSE)
                event.Type = TWindowEvent::TType::CloseRequest;
            else if (sdl.window.event == SDL_WINDOWEVENT_MINIMIZED)
                event.Type = TWindowEvent::TType::Minimize;
            else if (sdl.window.event == SDL_WINDOWEVENT_RESTORED)
                event.Type = TWindowEvent::TType::Restore;
            else
                return;
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            event.Type = sdl.type == SDL_KEYDOWN ? TWindowEvent::TType::KeyDown : TWindowEvent::TType::KeyUp;
            event.Key = SdlKeyToVirtualKey(sdl.key.keysym.sym);
            event.Alt = (sdl.key.keysym.mod & KMOD_ALT) != 0;
            if (event.Key == 0) return;
            break;
        case SDL_TEXTINPUT: {
            // One event per character, as the window's character messages come.
            for (std::string& character : SplitUtf8Characters(sdl.text.text)) {
                TWindowEvent ch;
                ch.Type = TWindowEvent::TType::Char;
                ch.Text = std::move(character);
                FPending.push_back(ch);
            }
            return;
        }
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED:
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
        case SDL_CONTROLLERAXISMOTION:
            TranslatePad(sdl);
            return;
        case SDL_MOUSEMOTION:
            event.Type = TWindowEvent::TType::MouseMove;
            event.X = sdl.motion.x;
            event.Y = sdl.motion.y;
            StretchedMouse(event);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            event.Type = sdl.type == SDL_MOUSEBUTTONDOWN ? TWindowEvent::TType::MouseDown
                                                          : TWindowEvent::TType::MouseUp;
            event.X = sdl.button.x;
            event.Y = sdl.button.y;
            event.Button = sdl.button.button;
            StretchedMouse(event);
            FPending.push_back(event);
            if (sdl.type == SDL_MOUSEBUTTONUP && sdl.button.button == SDL_BUTTON_LEFT) {
                event.Type = TWindowEvent::TType::Click;
                FPending.push_back(event);
            }
            return;
        default:
            return;
    }
    FPending.push_back(event);
}

// A stretched picture has no logical size for SDL to map the mouse with: window pixels to 800 x 600.
void TDesktopPlatform::StretchedMouse(TWindowEvent& event) const {
    if (FChoices.Scaling != TDesktopScaling::Stretch || !FWindow) return;
    int width = 0, height = 0;
    SDL_GetWindowSize(FWindow, &width, &height);
    if (width <= 0 || height <= 0) return;
    event.X = event.X * FrameWidth / width;
    event.Y = event.Y * FrameHeight / height;
}

void TDesktopPlatform::OpenPad(int deviceIndex) {
    SDL_GameController* pad = SDL_GameControllerOpen(deviceIndex);
    if (!pad) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
    if (FPads.count(id)) {
        SDL_GameControllerClose(pad);  // already open: SDL counts the opens
        return;
    }
    FPads[id] = pad;
}

void TDesktopPlatform::ClosePad(SDL_JoystickID id) {
    auto it = FPads.find(id);
    if (it == FPads.end()) return;
    SDL_GameControllerClose(it->second);
    FPads.erase(it);
}

// Buttons and the left stick of every open pad; a pad pulled out lets go of what it held.
void TDesktopPlatform::TranslatePad(const SDL_Event& sdl) {
    std::vector<TWindowEvent> events;
    switch (sdl.type) {
        case SDL_CONTROLLERDEVICEADDED:
            OpenPad(sdl.cdevice.which);
            break;
        case SDL_CONTROLLERDEVICEREMOVED:
            FPadButtons.Remove(sdl.cdevice.which, events);
            ClosePad(sdl.cdevice.which);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: {
            TPadButton button = TPadButton::A;
            if (PadButtonFromSdl(sdl.cbutton.button, button))
                FPadButtons.Button(sdl.cbutton.which, button, sdl.type == SDL_CONTROLLERBUTTONDOWN, events);
            break;
        }
        case SDL_CONTROLLERAXISMOTION:
            if (sdl.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX || sdl.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY)
                FPadButtons.Stick(sdl.caxis.which, sdl.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY, sdl.caxis.value, events);
            break;
        default:
            break;
    }
    for (const TWindowEvent& event : events) FPending.push_back(event);
}

bool TDesktopPlatform::PollEvent(TWindowEvent& event) {
    SDL_Event sdl;
    while (FPending.empty() && SDL_PollEvent(&sdl)) Translate(sdl);
    if (FPending.empty()) return false;
    event = FPending.front();
    FPending.pop_front();
    return true;
}

void TDesktopPlatform::ShowCursor(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

bool TDesktopPlatform::IsActive() {
    if (!FWindow) return true;
    Uint32 flags = SDL_GetWindowFlags(FWindow);
    return (flags & SDL_WINDOW_MINIMIZED) == 0 && (flags & SDL_WINDOW_INPUT_FOCUS) != 0;
}

void TDesktopPlatform::WaitForEvent() {
    SDL_WaitEventTimeout(nullptr, 100);
}

void TDesktopPlatform::GetKeyboardState(uint8_t states[256]) {
    int count = 0;
    const Uint8* keys = SDL_GetKeyboardState(&count);
    for (int vk = 0; vk < 256; ++vk) {
        SDL_Scancode code = VirtualKeyToScancode(vk);
        states[vk] = (code != SDL_SCANCODE_UNKNOWN && code < count && keys[code]) ? 0x80 : 0;
    }
    // The generic modifier codes stand for either key of the pair.
    const SDL_Scancode pairs[3][2] = {{SDL_SCANCODE_LSHIFT, SDL_SCANCODE_RSHIFT},
                                      {SDL_SCANCODE_LCTRL, SDL_SCANCODE_RCTRL},
                                      {SDL_SCANCODE_LALT, SDL_SCANCODE_RALT}};
    for (int i = 0; i < 3; ++i)
        if (keys[pairs[i][0]] || keys[pairs[i][1]]) states[0x10 + i] = 0x80;
}

void TDesktopPlatform::ShowError(const std::string& text) {
    const std::string shown = PrintableText(text);
    std::fprintf(stderr, "error: %s\n", shown.c_str());
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, Title().c_str(), shown.c_str(), FWindow);
}

extern "C" char** environ;

// xdg-open opens a web address in the user's browser and hands anything else to the
// desktop's choice of program. Without a desktop it may run the browser itself and wait
// for it, so it runs in the background of a short-lived shell: the game waits only for
// that shell, leaves no finished child behind, and ignores what the opener answers.
void TDesktopPlatform::OpenTarget(const std::string& target) {
    char shell[] = "/bin/sh";
    char option[] = "-c";
    char script[] = "xdg-open \"$1\" >/dev/null 2>&1 &";
    char name[] = "quillon-open";
    std::string argument = target;
    char* argv[] = {shell, option, script, name, argument.data(), nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, shell, nullptr, nullptr, argv, environ) != 0) return;
    int status = 0;
    waitpid(child, &status, 0);
}

void TDesktopPlatform::MinimizeWindow() {
    if (FWindow) SDL_MinimizeWindow(FWindow);
}

void TDesktopPlatform::RaisePriority() {
    // Only a privileged process may raise its priority; an ordinary one keeps its own.
    setpriority(PRIO_PROCESS, 0, -5);
}

}  // namespace quillon
