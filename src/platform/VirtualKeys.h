// The one table between SDL's keys and the virtual-key codes the game's key
// bindings, boss key and options file use, and between SDL's pad buttons and the game's.
#pragma once

#include <SDL.h>

#include <string>

#include "engine/PadButton.h"

namespace quillon {

// Virtual-key code of an SDL key, 0 when the game has no code for it.
int SdlKeyToVirtualKey(SDL_Keycode key);
// The SDL scancode that produces a virtual-key code, SDL_SCANCODE_UNKNOWN when none.
SDL_Scancode VirtualKeyToScancode(int virtualKey);
// Virtual-key code for an SDL key name ("Up", "Return", "Left Shift", "Y", ...), 0 when unknown.
int VirtualKeyFromName(const std::string& name);
// The game's pad button for an SDL game-controller button; false for one the game has no use for.
bool PadButtonFromSdl(int sdlButton, TPadButton& button);
// The pad button for an SDL button name ("a", "b", "start", "dpup", "rightshoulder", ...) or a
// direction of the left stick ("leftx-", "leftx+", "lefty-", "lefty+").
bool PadButtonFromName(const std::string& name, TPadButton& button);

}  // namespace quillon
