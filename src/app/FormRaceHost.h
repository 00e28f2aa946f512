// TFormRaceHost: the main form as the race sees it.
#pragma once

#include "race/RaceHost.h"

namespace quillon {

class TMForm;

class TFormRaceHost : public IRaceHost {
public:
    explicit TFormRaceHost(TMForm& form) : FForm(form) {}
    void PlaySound(int index) override;
    void StopSound(int index) override;
    void OpenDialog(TDialog kind) override;
    int Random(int n) override;
    int FrameMs() const override;
    double SpeedScale() const override;
    void MoveSprites(int moveCount) override;
    void FreeDeadSprites() override;

private:
    TMForm& FForm;
};

}  // namespace quillon
