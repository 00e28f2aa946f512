// The image collections' drawing operations beside SDL's own blits on the same RGB565
// pixel buffers: keyed copy (sprite and full screen), scaled copy, blend, rotation.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include "engine/Blit.h"

namespace quillon {
namespace {

constexpr uint16_t kKey = 0xF81F;

// A round sprite: the corners outside the circle are the key colour, as in ship art.
TDirectDrawSurface RoundSprite(int w, int h) {
    TDirectDrawSurface s(w, h);
    uint32_t seed = 12345;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1664525 + 1013904223;
            const int dx = 2 * x - w + 1, dy = 2 * y - h + 1;
            const bool inside = int64_t(dx) * dx * h * h + int64_t(dy) * dy * w * w <= int64_t(w) * w * h * h;
            s.SetPixel(x, y, inside ? uint16_t((seed >> 16) | 1) & 0xF7DF : kKey);
        }
    return s;
}

// An SDL view of a surface's pixels (no copy).
SDL_Surface* View(TDirectDrawSurface& s) {
    return SDL_CreateRGBSurfaceWithFormatFrom(s.Row(0), s.Width(), s.Height(), 16, s.Width() * 2,
                                              SDL_PIXELFORMAT_RGB565);
}

struct TScene {
    TDirectDrawSurface Back{800, 600};
    TDirectDrawSurface Sprite;
    SDL_Surface* SdlBack = nullptr;
    SDL_Surface* SdlSprite = nullptr;

    TScene(int w, int h) : Sprite(RoundSprite(w, h)) {
        Back.Fill(0x1234);
        SdlBack = View(Back);
        SdlSprite = View(Sprite);
    }
    ~TScene() {
        SDL_FreeSurface(SdlSprite);
        SDL_FreeSurface(SdlBack);
    }
};

int SpriteSize(const benchmark::State& state) {
    return int(state.range(0));
}

// Sprites are drawn at (100, 100); the full-screen picture at (0, 0).
int Place(int size) {
    return size >= 600 ? 0 : 100;
}

void BM_KeyedCopy_Ours(benchmark::State& state) {
    const int n = SpriteSize(state);
    TScene scene(n == 600 ? 800 : n, n);
    for (auto _ : state) {
        BlitColorKeyed(scene.Back, Place(n), Place(n), scene.Sprite, scene.Sprite.ClientRect(), true, kKey);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * scene.Sprite.Width() * scene.Sprite.Height());
}
BENCHMARK(BM_KeyedCopy_Ours)->Arg(64)->Arg(600);

void BM_KeyedCopy_SDL(benchmark::State& state) {
    const int n = SpriteSize(state);
    TScene scene(n == 600 ? 800 : n, n);
    SDL_SetColorKey(scene.SdlSprite, SDL_TRUE, kKey);
    SDL_Rect to{Place(n), Place(n), 0, 0};
    for (auto _ : state) {
        SDL_Rect d = to;
        SDL_BlitSurface(scene.SdlSprite, nullptr, scene.SdlBack, &d);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * scene.Sprite.Width() * scene.Sprite.Height());
}
BENCHMARK(BM_KeyedCopy_SDL)->Arg(64)->Arg(600);

// SDL's run-length accelerated key: a different representation, shown for reference.
void BM_KeyedCopy_SDL_RLE(benchmark::State& state) {
    const int n = SpriteSize(state);
    TScene scene(n == 600 ? 800 : n, n);
    SDL_SetColorKey(scene.SdlSprite, SDL_TRUE, kKey);
    SDL_SetSurfaceRLE(scene.SdlSprite, 1);
    SDL_Rect to{Place(n), Place(n), 0, 0};
    for (auto _ : state) {
        SDL_Rect d = to;
        SDL_BlitSurface(scene.SdlSprite, nullptr, scene.SdlBack, &d);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * scene.Sprite.Width() * scene.Sprite.Height());
}
BENCHMARK(BM_KeyedCopy_SDL_RLE)->Arg(64)->Arg(600);

void BM_OpaqueCopy_Ours(benchmark::State& state) {
    TScene scene(800, 600);
    for (auto _ : state) {
        BlitColorKeyed(scene.Back, 0, 0, scene.Sprite, scene.Sprite.ClientRect(), false, kKey);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 800 * 600);
}
BENCHMARK(BM_OpaqueCopy_Ours);

void BM_OpaqueCopy_SDL(benchmark::State& state) {
    TScene scene(800, 600);
    for (auto _ : state) {
        SDL_Rect d{0, 0, 0, 0};
        SDL_BlitSurface(scene.SdlSprite, nullptr, scene.SdlBack, &d);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 800 * 600);
}
BENCHMARK(BM_OpaqueCopy_SDL);

// A 64 x 64 sprite scaled to 128 x 128 (arg 1: with the key).
void BM_ScaledCopy_Ours(benchmark::State& state) {
    TScene scene(64, 64);
    const bool keyed = state.range(0) != 0;
    for (auto _ : state) {
        BlitBlended(scene.Back, TRect{100, 100, 228, 228}, scene.Sprite, scene.Sprite.ClientRect(), keyed, kKey, 255);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 128 * 128);
}
BENCHMARK(BM_ScaledCopy_Ours)->Arg(0)->Arg(1);

void BM_ScaledCopy_SDL(benchmark::State& state) {
    TScene scene(64, 64);
    if (state.range(0) != 0) SDL_SetColorKey(scene.SdlSprite, SDL_TRUE, kKey);
    for (auto _ : state) {
        SDL_Rect d{100, 100, 128, 128};
        SDL_BlitScaled(scene.SdlSprite, nullptr, scene.SdlBack, &d);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 128 * 128);
}
BENCHMARK(BM_ScaledCopy_SDL)->Arg(0)->Arg(1);

// A keyed 64 x 64 sprite blended at alpha 128, unscaled.
void BM_Blend_Ours(benchmark::State& state) {
    TScene scene(64, 64);
    for (auto _ : state) {
        BlitBlended(scene.Back, TRect{100, 100, 164, 164}, scene.Sprite, scene.Sprite.ClientRect(), true, kKey, 128);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 64 * 64);
}
BENCHMARK(BM_Blend_Ours);

void BM_Blend_SDL(benchmark::State& state) {
    TScene scene(64, 64);
    SDL_SetColorKey(scene.SdlSprite, SDL_TRUE, kKey);
    SDL_SetSurfaceAlphaMod(scene.SdlSprite, 128);
    SDL_SetSurfaceBlendMode(scene.SdlSprite, SDL_BLENDMODE_BLEND);
    for (auto _ : state) {
        SDL_Rect d{100, 100, 0, 0};
        SDL_BlitSurface(scene.SdlSprite, nullptr, scene.SdlBack, &d);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 64 * 64);
}
BENCHMARK(BM_Blend_SDL);

// A keyed 64 x 64 sprite turned by 37 steps (plain SDL has no rotated blit).
void BM_Rotated_Ours(benchmark::State& state) {
    TScene scene(64, 64);
    for (auto _ : state) {
        BlitRotated(scene.Back, 200, 200, 64, 64, scene.Sprite, scene.Sprite.ClientRect(), 0.5, 0.5, 37, true, kKey);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 64 * 64);
}
BENCHMARK(BM_Rotated_Ours);

}  // namespace
}  // namespace quillon
