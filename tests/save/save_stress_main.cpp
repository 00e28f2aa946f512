// Test helper: saves the options and the table over and over, generation after generation,
// printing each finished generation, until it is killed or has saved COUNT times.
// Usage: save_stress FOLDER FIRST COUNT [CUT_STEP]
//   COUNT 0 saves forever; CUT_STEP (0..5) ends the process abruptly at that step of the last save.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "SaveStressGeneration.h"
#include "save/SaveError.h"
#include "save/SavePair.h"

int main(int argc, char** argv) {
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: save_stress FOLDER FIRST COUNT [CUT_STEP]\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const long long first = std::atoll(argv[2]);
    const long long count = std::atoll(argv[3]);
    const int cutStep = argc == 5 ? std::atoi(argv[4]) : -1;

    for (long long generation = first; count == 0 || generation < first + count; ++generation) {
        const bool last = count != 0 && generation == first + count - 1;
        quillon::TSaveStepHook hook;
        if (last && cutStep >= 0)
            hook = [cutStep](quillon::TSaveStep step) {
                if (static_cast<int>(step) == cutStep) _exit(3);
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
