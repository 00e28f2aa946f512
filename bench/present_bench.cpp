// Presenting one finished frame as the desktop does, with SDL's software renderer (what a
// window under Xvfb gets): the 800 x 600 RGB565 surface streamed into a texture and copied
// to a window of 1, 2 or 3 times its size with whole-pixel scaling. The counter vs_copy is
// the cost over one plain copy of the 800 x 600 surface.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "engine/Surface.h"

namespace quillon {
namespace {

// Seconds for one copy of the 800 x 600 surface, the measure the presentation is given in.
double SurfaceCopySeconds() {
    TDirectDrawSurface from(800, 600), to(800, 600);
    from.Fill(0x1234);
    constexpr int Copies = 200;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < Copies; ++i) {
        std::memcpy(to.Row(0), from.Row(0), 800 * 600 * 2);
        benchmark::DoNotOptimize(to.Row(0));
        benchmark::ClobberMemory();
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / Copies;
}

void BM_PresentFrame(benchmark::State& state) {
    const int scale = static_cast<int>(state.range(0));
    SDL_Surface* window = SDL_CreateRGBSurfaceWithFormat(0, 800 * scale, 600 * scale, 32, SDL_PIXELFORMAT_XRGB8888);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(window);
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    SDL_RenderSetLogicalSize(renderer, 800, 600);
    SDL_RenderSetIntegerScale(renderer, SDL_TRUE);
    SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, 800, 600);
    TDirectDrawSurface frame(800, 600);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) frame.SetPixel(x, y, static_cast<uint16_t>(x * 37 + y * 11));
    double presenting = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        SDL_UpdateTexture(texture, nullptr, frame.Row(0), 800 * 2);
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        SDL_RenderCopy(renderer, texture, nullptr, nullptr);
        SDL_RenderPresent(renderer);
        benchmark::DoNotOptimize(window->pixels);
        presenting += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["vs_copy"] = presenting / static_cast<double>(state.iterations()) / SurfaceCopySeconds();
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(window);
}
BENCHMARK(BM_PresentFrame)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillon
