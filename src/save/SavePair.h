// The options file and the high-score file saved and loaded as one pair, so that the table and
// the check string in the options always belong together, even when a save is cut by a crash.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "save/SavedState.h"

namespace quillon {

// "Data/Save" in the game folder.
std::filesystem::path SaveDirectory(const std::filesystem::path& gameFolder);

// The points of a save in order; a test can stop the process at any of them.
enum class TSaveStep {
    OptionsWritten,      // "options.tmp" complete on disk
    HighScoresWritten,   // "hs.tmp" complete on disk
    Committed,           // the journal exists: from here on the new pair wins
    OptionsReplaced,     // "options.tmp" renamed over "options"
    HighScoresReplaced,  // "hs.tmp" renamed over "hs"
    Finished,            // the journal is gone
};
using TSaveStepHook = std::function<void(TSaveStep)>;

// The files of the pair that start-up could not read whole. The first save that replaces them
// keeps their old text beside them, as "options.damaged" and "hs.damaged".
struct TDamagedFiles {
    bool Options = false;
    bool HighScores = false;
    bool Any() const { return Options || HighScores; }
};

// Saves both files (the check string of the options computed from the table as it is now).
// Creates the folder when missing and first finishes a save cut earlier; keeps a copy of each
// damaged file before anything is replaced. On failure raises ESaveFileError and leaves the old
// pair in place; a failure after the commit point leaves the new pair to be finished by the next
// save or start.
void SaveOptionsAndHighScores(const TSavedState& state, const std::filesystem::path& saveFolder,
                              const TSaveStepHook& afterStep = {}, const TDamagedFiles& damaged = {});

// Completes a save that was cut after its commit point, or throws away the temporary files of
// one cut before it. True when there was anything to do. Failures raise ESaveFileError.
bool FinishInterruptedSave(const std::filesystem::path& saveFolder);

struct TLoadReport {
    std::vector<std::string> Errors;  // texts to show to the player, in order
    bool InterruptedSaveFinished = false;
    bool HighScoresReset = false;  // the check string did not match the table
    TDamagedFiles Damaged;
};

// Start-up: finishes an interrupted save, loads the table, then the options, then resets the
// table when its check string differs from the one in the options. The boss key in force before
// the options are read is none. A missing file gives the defaults. A damaged file (one that
// cannot be read, holds a bad number or is far too long) is reported in Errors, one text per
// file; every entry and line that could be read is kept in its place, the rest gets the defaults,
// and the check is skipped: it tells a table edited by hand, not damage.
TLoadReport LoadOptionsAndHighScores(TSavedState& state, const std::filesystem::path& saveFolder);

}  // namespace quillon
