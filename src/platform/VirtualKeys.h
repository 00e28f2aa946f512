// The one table between SDL's keys and the virtual-key codes the game's key
// bindings, boss key and options file use.
#pragma once

#include <SDL.h>

#include <string>

namespace quillon {

// Virtual-key code of an SDL key, 0 when the game has no code for it.
int SdlKeyToVirtualKey(SDL_Keycode key);
// The SDL scancode that produces a virtual-key code, SDL_SCANCODE_UNKNOWN when none.
SDL_Scancode VirtualKeyToScancode(int virtualKey);
// Virtual-key code for an SDL key name ("Up", "Return", "Left Shift", "Y", ...), 0 when unknown.
int VirtualKeyFromName(const std::string& name);

}  // namespace quillon
