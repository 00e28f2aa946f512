// Test helper: saves the options and the table over and over, generation after generation,
// printing each finished generation, until it is killed or has saved COUNT times.
// Usage: save_stress FOLDER FIRST COUNT [CUT_STEP [PAUSE_US]]
//   COUNT 0 saves forever; CUT_STEP (0..5) ends the process abruptly at that step of the last save
//   (-1: never); PAUSE_US waits that long after every step, so that a kill lands between any two.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "SaveStressGeneration.h"
#include "save/SaveError.h"
#include "save/SavePair.h"

int main(int argc, char** argv) {
    if (argc < 4 || argc > 6) {
        std::fprintf(stderr, "usage: save_stress FOLDER FIRST COUNT [CUT_STEP [PAUSE_US]]\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const long long first = std::atoll(argv[2]);
    const long long count = std::atoll(argv[3]);
    const int cutStep = argc >= 5 ? std::atoi(argv[4]) : -1;
    const long pauseUs = argc >= 6 ? std::atol(argv[5]) : 0;

    for (long long generation = first; count == 0 || generation < first + count; ++generation) {
        const bool last = count != 0 && generation == first + count - 1;
        const quillon::TSaveStepHook hook = [=](quillon::TSaveStep step) {
            if (last && static_cast<int>(step) == cutStep) _exit(3);
            if (pauseUs > 0) ::usleep(static_cast<useconds_t>(pauseUs));
        };
        try {
            quillon::SaveOptionsAndHighScores(quillon::stress::MakeGeneration(generation), folder, hook);
        } catch (const quillon::ESaveFileError& e) {
            std::fprintf(stderr, "error: %s\n", e.what());
            return 1;
        }
        const std::string line = std::to_string(generation) + "\n";
        if (::write(STDOUT_FILENO, line.data(), line.size()) != static_cast<ssize_t>(line.size())) return 1;
    }
    return 0;
}
