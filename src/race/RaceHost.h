// IRaceHost: what the race asks of the game around it. The main form answers: sounds,
// dialogs, the one random source, the frame timing and the sprite engine's move.
#pragma once

#include "race/GameScreens.h"

namespace quillon {

class IRaceHost {
public:
    virtual ~IRaceHost() = default;
    virtual void PlaySound(int index) = 0;
    virtual void StopSound(int index) = 0;
    virtual void OpenDialog(TDialog kind) = 0;
    virtual int Random(int n) = 0;
    virtual int FrameMs() const = 0;
    virtual double SpeedScale() const = 0;
    virtual void MoveSprites(int moveCount) = 0;
    virtual void FreeDeadSprites() = 0;
};

// The eight controls a player holds during a race.
struct TRaceControls {
    bool Left = false;
    bool Right = false;
    bool Accelerate = false;
    bool SlowDown = false;
    bool Brake = false;   // the extra brake
    bool Fire = false;
    bool Nitro = false;   // the nitro key
    bool Horn = false;
};

}  // namespace quillon
