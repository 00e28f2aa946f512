// A test fixture that runs a form in a game folder of its own (the build's data,
// a private save folder) and restores the working directory afterwards.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/MainForm.h"
#include "platform/HeadlessPlatform.h"
#include "platform/OpenMptMusic.h"
#include "platform/TtfFontRasterizer.h"
#include "support/HeadlessRun.h"

namespace quillon::testing {

class TGameFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(BuildDir() + "/Data/Res/Sounds.dxw"))
            GTEST_SKIP() << "the generated game data is missing from the build";
        FOldDir = std::filesystem::current_path();
        GameDir = MakeTempDir("form");
        MakeGameFolder(GameDir);
        std::filesystem::current_path(GameDir);
    }
    void TearDown() override {
        if (GameDir.empty()) return;
        Form.reset();
        Platform.reset();
        std::filesystem::current_path(FOldDir);
        std::filesystem::remove_all(GameDir);
    }

    // A headless form for `frames` frames at `fps`, prepared as the program entry would, then
    // started up (FormCreate).
    TMForm& StartForm(int frames = 100, int fps = 85, const std::function<void(TMForm&)>& prepare = {}) {
        Platform = std::make_unique<THeadlessPlatform>(frames, fps, THeadlessScript());
        Form = std::make_unique<TMForm>(*Platform, TFormServices{nullptr, &Music, &Fonts});
        Form->StartSeed = 1;
        if (prepare) prepare(*Form);
        Form->FormCreate();
        return *Form;
    }

    std::string GameDir;
    TOpenMptMusic Music;
    TTtfFontRasterizer Fonts;
    std::unique_ptr<THeadlessPlatform> Platform;
    std::unique_ptr<TMForm> Form;

private:
    std::filesystem::path FOldDir;
};

}  // namespace quillon::testing
