// IPlatform: everything the game asks of the outside world besides the display:
// the millisecond clock, window events, key states, error reports and the window
// itself. The desktop platform answers from SDL; the headless one from a script
// and a virtual clock.
#pragma once

#include <cstdint>
#include <string>

#include "engine/DisplayPort.h"

namespace quillon {

struct TWindowEvent {
    enum class TType {
        KeyDown,       // Key: virtual-key code; Alt: Alt held
        KeyUp,
        Char,          // Text: one character, UTF-8
        MouseMove,     // X, Y in 800 x 600 display pixels
        MouseDown,     // Button: 1 left, 2 middle, 3 right, 4 and up the others
        MouseUp,
        Click,         // the left button released
        CloseRequest,  // the window's close button or the window manager
        Minimize,
        Restore,
        PadDown,       // Key: a TPadButton, pressed on any pad (the first of several pads to press it)
        PadUp,         // Key: a TPadButton, released on every pad
    };
    TType Type = TType::KeyDown;
    int Key = 0;
    bool Alt = false;
    // KeyDown and KeyUp: the shift state as the game reads it (KeyCodes.h's bits and the mouse
    // buttons), set by the input door from the events before it and the keyboard.
    uint8_t Shift = 0;
    std::string Text;
    int X = 0;
    int Y = 0;
    int Button = 1;
};

class IPlatform : public IDisplayPort {
public:
    virtual uint32_t Milliseconds() = 0;
    virtual bool PollEvent(TWindowEvent& event) = 0;
    // False while another window has the focus or the window is minimised.
    virtual bool IsActive() = 0;
    // Sleeps until something happens; called while the game is inactive.
    virtual void WaitForEvent() = 0;
    // True when the run is over from the platform's side (the headless frame budget).
    virtual bool Finished() = 0;
    // 256 key states indexed by virtual-key code, bit 0x80 set while the key is down.
    virtual void GetKeyboardState(uint8_t states[256]) = 0;
    virtual void ShowError(const std::string& text) = 0;
    // Hands a web address or a program to the desktop to open; never reports failure.
    virtual void OpenTarget(const std::string& target) = 0;
    virtual void MinimizeWindow() = 0;
    // Raises the process priority where the system allows it; silently keeps it otherwise.
    virtual void RaisePriority() = 0;
    // Shows or hides the system's mouse pointer over the window; nothing where there is none.
    virtual void ShowCursor(bool show) { (void)show; }
};

}  // namespace quillon
