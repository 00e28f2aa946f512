// SDL keycodes <-> virtual-key codes. Letters and digits map to their upper-case
// ASCII codes, as virtual-key codes do.
#include "platform/VirtualKeys.h"

namespace quillon {

namespace {

struct TKeyPair {
    SDL_Keycode Sdl;
    int Vk;
};

// Both Shift, Ctrl and Alt keys report the generic codes, as the window's key messages do.
constexpr TKeyPair KeyTable[] = {
    {SDLK_BACKSPACE, 0x08}, {SDLK_TAB, 0x09},     {SDLK_RETURN, 0x0D},   {SDLK_KP_ENTER, 0x0D},
    {SDLK_LSHIFT, 0x10},    {SDLK_RSHIFT, 0x10},  {SDLK_LCTRL, 0x11},    {SDLK_RCTRL, 0x11},
    {SDLK_LALT, 0x12},      {SDLK_RALT, 0x12},    {SDLK_PAUSE, 0x13},    {SDLK_CAPSLOCK, 0x14},
    {SDLK_ESCAPE, 0x1B},    {SDLK_SPACE, 0x20},   {SDLK_PAGEUP, 0x21},   {SDLK_PAGEDOWN, 0x22},
    {SDLK_END, 0x23},       {SDLK_HOME, 0x24},    {SDLK_LEFT, 0x25},     {SDLK_UP, 0x26},
    {SDLK_RIGHT, 0x27},     {SDLK_DOWN, 0x28},    {SDLK_PRINTSCREEN, 0x2C}, {SDLK_INSERT, 0x2D},
    {SDLK_DELETE, 0x2E},    {SDLK_KP_0, 0x60},    {SDLK_KP_1, 0x61},     {SDLK_KP_2, 0x62},
    {SDLK_KP_3, 0x63},      {SDLK_KP_4, 0x64},    {SDLK_KP_5, 0x65},     {SDLK_KP_6, 0x66},
    {SDLK_KP_7, 0x67},      {SDLK_KP_8, 0x68},    {SDLK_KP_9, 0x69},     {SDLK_KP_MULTIPLY, 0x6A},
    {SDLK_KP_PLUS, 0x6B},   {SDLK_KP_MINUS, 0x6D}, {SDLK_KP_PERIOD, 0x6E}, {SDLK_KP_DIVIDE, 0x6F},
    {SDLK_F1, 0x70},        {SDLK_F2, 0x71},      {SDLK_F3, 0x72},       {SDLK_F4, 0x73},
    {SDLK_F5, 0x74},        {SDLK_F6, 0x75},      {SDLK_F7, 0x76},       {SDLK_F8, 0x77},
    {SDLK_F9, 0x78},        {SDLK_F10, 0x79},     {SDLK_F11, 0x7A},      {SDLK_F12, 0x7B},
    {SDLK_NUMLOCKCLEAR, 0x90}, {SDLK_SCROLLLOCK, 0x91}, {SDLK_SEMICOLON, 0xBA}, {SDLK_EQUALS, 0xBB},
    {SDLK_COMMA, 0xBC},     {SDLK_MINUS, 0xBD},   {SDLK_PERIOD, 0xBE},   {SDLK_SLASH, 0xBF},
    {SDLK_BACKQUOTE, 0xC0}, {SDLK_LEFTBRACKET, 0xDB}, {SDLK_BACKSLASH, 0xDC}, {SDLK_RIGHTBRACKET, 0xDD},
    {SDLK_QUOTE, 0xDE},     {SDLK_LGUI, 0x5B},    {SDLK_RGUI, 0x5C},     {SDLK_APPLICATION, 0x5D},
};

}  // namespace

int SdlKeyToVirtualKey(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    for (const TKeyPair& pair : KeyTable)
        if (pair.Sdl == key) return pair.Vk;
    return 0;
}

SDL_Scancode VirtualKeyToScancode(int virtualKey) {
    if (virtualKey >= 'A' && virtualKey <= 'Z') return SDL_GetScancodeFromKey(SDLK_a + (virtualKey - 'A'));
    if (virtualKey >= '0' && virtualKey <= '9') return SDL_GetScancodeFromKey(SDLK_0 + (virtualKey - '0'));
    for (const TKeyPair& pair : KeyTable)
        if (pair.Vk == virtualKey) return SDL_GetScancodeFromKey(pair.Sdl);
    return SDL_SCANCODE_UNKNOWN;
}

int VirtualKeyFromName(const std::string& name) {
    SDL_Keycode key = SDL_GetKeyFromName(name.c_str());
    if (key == SDLK_UNKNOWN) return 0;
    return SdlKeyToVirtualKey(key);
}

// SDL numbers the standard pad's buttons in the game's order.
static_assert(SDL_CONTROLLER_BUTTON_A == static_cast<int>(TPadButton::A));
static_assert(SDL_CONTROLLER_BUTTON_START == static_cast<int>(TPadButton::Start));
static_assert(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER == static_cast<int>(TPadButton::RightShoulder));
static_assert(SDL_CONTROLLER_BUTTON_DPAD_RIGHT == static_cast<int>(TPadButton::DpadRight));

bool PadButtonFromSdl(int sdlButton, TPadButton& button) {
    if (sdlButton < 0 || sdlButton > SDL_CONTROLLER_BUTTON_DPAD_RIGHT) return false;
    button = static_cast<TPadButton>(sdlButton);
    return true;
}

// The left stick's directions are named by SDL's axis and the direction along it.
bool PadButtonFromName(const std::string& name, TPadButton& button) {
    const struct { const char* Name; TPadButton Button; } stick[] = {
        {"leftx-", TPadButton::StickLeft}, {"leftx+", TPadButton::StickRight},
        {"lefty-", TPadButton::StickUp},   {"lefty+", TPadButton::StickDown},
    };
    for (const auto& direction : stick) {
        if (name == direction.Name) {
            button = direction.Button;
            return true;
        }
    }
    return PadButtonFromSdl(SDL_GameControllerGetButtonFromString(name.c_str()), button);
}

}  // namespace quillon
