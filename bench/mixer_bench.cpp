// The software mixer's cost: 8 or 16 voices, with and without a song, as the
// share of one core it takes to keep up with real time (core_%).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "../tests/support/SoundFixtures.h"
#include "../tests/support/TempDir.h"
#include "InGameFolder.h"
#include "../tests/support/TinyModule.h"
#include "engine/DXSound.h"
#include "engine/WavePlayer.h"
#include "platform/OpenMptMusic.h"

namespace quillon {
namespace {

constexpr int Block = 512;

// One second of audio per iteration, in device-sized blocks. core_% is the
// time one iteration takes as a percentage of that second (Google Benchmark
// prints the inverted counter with an "s" suffix; read it as a percentage).
void MixOneSecond(benchmark::State& state, TDXSound& mixer) {
    std::vector<int16_t> out(2 * Block);
    for (auto _ : state) {
        for (int done = 0; done < TDXSound::DefaultRate; done += Block) mixer.Mix(out.data(), Block);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["core_%"] =
        benchmark::Counter(0.01, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Voices in the formats effects come in, all looped so they sound throughout.
std::vector<std::unique_ptr<TWavePlayer>> StartVoices(TDXSound& mixer, int count) {
    std::vector<std::unique_ptr<TWavePlayer>> voices;
    const int rates[] = {22050, 11025, 44100, 22050};
    for (int i = 0; i < count; ++i) {
        auto voice = std::make_unique<TWavePlayer>();
        voice->SetSound(testing::MakeTone(rates[i % 4], i % 3 == 0 ? 8 : 16, i % 5 == 0 ? 2 : 1, 1.0, 200 + 50 * i, 0.1));
        voice->Initialize(&mixer);
        voice->SetLooped(true);
        voice->Play();
        voices.push_back(std::move(voice));
    }
    return voices;
}

// The game's race song when the data generator has written it beside the
// benchmark, else an 8-channel chord module built here.
bool LoadSong(TOpenMptMusic& player, benchmark::State& state) {
    TInGameFolder folder;
    std::string real = "Data/Music/Race.xm";
    if (std::filesystem::exists(real) && player.Load(real)) {
        state.SetLabel("song: Data/Music/Race.xm");
    } else {
        testing::TTempDir dir("bench-song");
        std::string path = dir.File("song.xm");
        std::vector<uint8_t> bytes = testing::MakeTinyModule(8);
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
        bool ok = player.Load(path);
        if (!ok) return false;
        state.SetLabel("song: built-in 8-channel chord module (no Data/Music/Race.xm)");
    }
    player.Play();
    return true;
}

void BM_MixVoices(benchmark::State& state) {
    TDXSound mixer;
    mixer.Initialize();
    auto voices = StartVoices(mixer, static_cast<int>(state.range(0)));
    state.SetLabel("voices only");
    MixOneSecond(state, mixer);
}
BENCHMARK(BM_MixVoices)->Arg(8)->Arg(16)->Unit(benchmark::kMicrosecond);

void BM_MixVoicesAndSong(benchmark::State& state) {
    TDXSound mixer;
    mixer.Initialize();
    TOpenMptMusic player;
    if (!LoadSong(player, state)) {
        state.SkipWithError("no module could be loaded");
        return;
    }
    mixer.SetMusic(&player);
    auto voices = StartVoices(mixer, static_cast<int>(state.range(0)));
    MixOneSecond(state, mixer);
    mixer.SetMusic(nullptr);
}
BENCHMARK(BM_MixVoicesAndSong)->Arg(0)->Arg(8)->Arg(16)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillon
