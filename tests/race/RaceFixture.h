// A race without the form: a host that records sounds and dialogs, the real race art
// from the build's game folder, and a race started on a chosen ship and level.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "engine/DXDraw.h"
#include "engine/PictureCollection.h"
#include "engine/Random.h"
#include "engine/SpriteEngine.h"
#include "menus/MyImageSprite.h"
#include "race/Player.h"
#include "race/Race.h"
#include "race/Rivals.h"
#include "race/ScrollBackground.h"
#include "support/HeadlessRun.h"

namespace quillon::testing {

class TRecordingHost : public IRaceHost {
public:
    void PlaySound(int index) override { Sounds.push_back(index); }
    void StopSound(int) override {}
    void OpenDialog(TDialog kind) override { Dialogs.push_back(kind); }
    int Random(int n) override { return Source.Random(n); }
    int FrameMs() const override { return Ms; }
    double SpeedScale() const override { return Scale; }
    void MoveSprites(int moveCount) override { Root->Move(moveCount); }
    void FreeDeadSprites() override { Root->FreeDead(); }

    bool Played(int sound) const {
        for (int s : Sounds)
            if (s == sound) return true;
        return false;
    }

    TSpriteEngine* Root = nullptr;
    TRandom Source{1};
    int Ms = 11;
    double Scale = 1.0;
    std::vector<int> Sounds;
    std::vector<TDialog> Dialogs;
};

class TRaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string art = BuildDir() + "/Data/Res/Res2.dxg";
        if (!std::filesystem::exists(art)) GTEST_SKIP() << "the generated race art is missing from the build";
        Display.Initialize();
        Art.LoadFromFile(art);
        Art.Initialize(Display);
        Art.Restore();
        Engine.SetSurface(&Display.Surface());
        SpriteWorld = TSpriteWorld{&Engine, {nullptr, &Art}, &Host.Ms};
        Host.Root = &Engine;
    }
    void TearDown() override {
        Engine.Clear();
        SpriteWorld = TSpriteWorld{};
    }

    // A race on `ship` at `level`, past its banner.
    TPlayer& Start(int ship = 1, int level = 1) {
        Race.SelectedShip = ship;
        Race.StartRace(level);
        Host.Dialogs.clear();
        Host.Sounds.clear();
        return *Race.Player();
    }
    // One race frame with these controls.
    void Frame(const TRaceControls& controls = {}) {
        if (Quiet) Race.Shots.AsteroidTimer = 1000000;
        Race.RaceFrame(1, controls, false, false);
    }
    // The whole race frame drawn, as the surface's pixels.
    std::vector<uint16_t> FramePixels() {
        Engine.Draw();
        return Display.Surface().Pixels();
    }
    // No asteroids fall and no rival races: the player alone on the road.
    void MakeQuiet() {
        Quiet = true;
        for (int i = 1; i <= RivalSlots; ++i) Race.Rivals()->Slot(i).Active = false;
    }

    bool Quiet = false;
    TRecordingHost Host;
    TRace Race{Host};
    TDXDraw Display;
    TPictureCollection Art;
    TSpriteEngine Engine;
};

}  // namespace quillon::testing
