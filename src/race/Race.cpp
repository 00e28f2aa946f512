// TRace: a game's start, its levels, the race frame and the end of a game.
#include "race/Race.h"

#include "engine/TrigFunctions.h"
#include "race/Bonuses.h"
#include "race/Player.h"
#include "race/RaceClock.h"
#include "race/RaceTables.h"
#include "race/Rivals.h"
#include "race/ScrollBackground.h"

namespace quillon {

TVec TRace::Scroll() const { return FBackground ? TVec{FBackground->X, FBackground->Y} : TVec{}; }

double TRace::PlayerWorldX() const {
    return TileSize * State.ViewCol + (FPlayer ? FPlayer->ShipCentreX : 0) - Scroll().X;
}

double TRace::PlayerWorldY() const {
    return TileSize * State.ViewRow + (FPlayer ? FPlayer->ShipCentreY : 0) - Scroll().Y;
}

// The background comes first: it moves before the other race sprites, with the velocity
// and outlines of the previous frame.
void TRace::StartRace(int level) {
    ++FGames;
    FFirstLevel = level;
    FBackground = new TScrollBackground(this, 2, 1, 13, 10);
    FBackground->SetTileSet(1);
    FBackground->X = FBackground->Y = 0;
    FStars = new TBackgroundSprite(SpriteWorld.Root);
    FStars->SetMapSize(1, 1);
    if (TPictureCollection* list = SpriteWorld.List(2)) FStars->SetImage(&list->Items(58));
    FStars->Wrapped = true;
    FStars->X = FStars->Y = 0;
    FStars->SetZ(1);
    StartLevel(level);
    FBonuses = new TBonus(*this);
    FPlayer = new TPlayer(*this, SelectedShip);
    FRivals = new TCar(*this);
    State.Lives = StartingLives;
    State.Score = 0;
    FHost.OpenDialog(TDialog::LevelBanner);
}

void TRace::StartLevel(int level) {
    State.Level = level;
    State.Place = 0;
    State.Racers = 0;
    State.AheadY = State.BehindY = BelowStartY;
    State.AheadMarker = State.BehindMarker = false;
    State.TrackLength = LevelTrackLength(level);
    State.TimeLeft = LevelTimeMs(level);
    State.ClockBefore = State.TimeLeft;
    State.BonusCount = LevelBonusCount(level);
    GenerateTrack();
    Shots.Clear();
    State.ThirdFrame = true;
    State.ThirdFrameCounter = 0;
}

void TRace::GenerateTrack() {
    State.ViewCol = StartViewCol;
    State.ViewRow = StartViewRow;
    quillon::GenerateTrack(State.Track, State.Generator, State.TrackLength, [this](int n) { return FHost.Random(n); });
    CopyTrackWindow();
}

void TRace::BeginLevel(bool advance) {
    if (FPlayer) FPlayer->BeginLevel(advance);
}

void TRace::EndRace() {
    if (FBackground) FBackground->Kill();
    if (FStars) FStars->MarkDead();
    FHost.FreeDeadSprites();
    if (FPlayer) FPlayer->StopShipSounds(true);
    if (FBonuses) FBonuses->Kill();
    if (FRivals) FRivals->Kill();
    if (FPlayer) FPlayer->Kill();
    FHost.FreeDeadSprites();
    FBackground = nullptr;
    FStars = nullptr;
    FRivals = nullptr;
    FBonuses = nullptr;
    FPlayer = nullptr;
    State.ThirdFrame = true;
    State.ThirdFrameCounter = 0;
}

// The sprites move first; the controls of this frame act in the next frame's move.
void TRace::RaceFrame(int moveCount, const TRaceControls& controls, bool escapePressed, bool pausePressed) {
    ++FFrames;
    FLastControls = controls;
    FHost.MoveSprites(moveCount);
    if (!FPlayer) return;
    State.AdvanceThirdFrame();
    FPlayer->Controls = controls;
    if (UpdateRaceClock(State, FHost.FrameMs(), FPlayer->TimeOut || FPlayer->Finished, FPlayer->TimeOut))
        FHost.PlaySound(18);
    UpdateEffectTimers();
    CopyTrackWindow();
    UpdatePlayerVelocity();
    if (escapePressed) FHost.OpenDialog(TDialog::ExitToMenu);
    if (pausePressed) FHost.OpenDialog(TDialog::Pause);
}

void TRace::UpdateEffectTimers() {
    const int frameMs = FHost.FrameMs();
    if (FPlayer->InvulnerableMs > 0) FPlayer->InvulnerableMs -= frameMs;
    if (FPlayer->InvulnerableMs <= 0) FPlayer->EndEffect(2);
    if (FPlayer->NitroMs > 0) FPlayer->NitroMs -= frameMs;
    if (FPlayer->NitroMs <= 0) FPlayer->EndEffect(3);
}

void TRace::CopyTrackWindow() {
    if (!FBackground) return;
    for (int a = State.ViewRow; a <= State.ViewRow + 10; ++a)
        for (int i = State.ViewCol; i <= State.ViewCol + 13; ++i)
            FBackground->SetCell(i - State.ViewCol, a - State.ViewRow, State.Track.Cell(a, i));
}

void TRace::UpdatePlayerVelocity() {
    const double a = FPlayer->Heading / 256.0 * 2 * 3.141593;
    State.PlayerDX = -TableSin(a) * FPlayer->Velocity;
    State.PlayerDY = TableCos(a) * FPlayer->Velocity;
}

}  // namespace quillon
