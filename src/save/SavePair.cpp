// Journaled saving of the options and high-score pair, and the start-up load with its check.
#include "save/SavePair.h"

#include <system_error>

#include "save/DurableFile.h"
#include "save/SaveError.h"
#include "save/SaveFiles.h"

namespace quillon {

namespace {

// A save writes "options.tmp" and "hs.tmp" in full, then creates the empty journal "save.journal"
// (the commit point), renames both temporary files over the real ones and removes the journal.
// A start that finds the journal renames whatever temporary files are left; one that finds
// temporary files without a journal removes them, keeping the old pair.
constexpr const char* kJournalName = "save.journal";

std::filesystem::path Temporary(const std::filesystem::path& folder, const char* name) {
    return folder / (std::string(name) + ".tmp");
}

void Step(const TSaveStepHook& hook, TSaveStep step) {
    if (hook) hook(step);
}

std::filesystem::path DamagedCopy(const std::filesystem::path& folder, const char* name) {
    return folder / (std::string(name) + ".damaged");
}

// Reads a save file with `read` when it is there and readable. Returns whether it was damaged;
// its error text, if any, goes into the report.
template <typename TRead>
bool LoadSaveFile(const std::filesystem::path& file, TLoadReport& report, TRead read) {
    if (!IsFileReadable(file)) return false;
    try {
        TFileStart start = ReadFileStart(file, kMaxSaveFileSize);
        const bool badNumbers = read(start.Text);
        if (!start.Whole) report.Errors.push_back(kFileTooLarge);
        else if (badNumbers) report.Errors.push_back(kInvalidNumericInput);
        return !start.Whole || badNumbers;
    } catch (const ESaveFileError& e) {
        report.Errors.push_back(e.what());
        return true;
    }
}

}  // namespace

std::filesystem::path SaveDirectory(const std::filesystem::path& gameFolder) { return gameFolder / "Data" / "Save"; }

bool FinishInterruptedSave(const std::filesystem::path& saveFolder) {
    const std::filesystem::path journal = saveFolder / kJournalName;
    const char* names[] = {kOptionsFileName, kHighScoreFileName};
    bool changed = false;
    if (IsFileReadable(journal)) {
        for (const char* name : names) {
            const std::filesystem::path temporary = Temporary(saveFolder, name);
            if (IsFileReadable(temporary)) RenameFile(temporary, saveFolder / name);
        }
        SyncDirectory(saveFolder);
        RemoveFileIfPresent(journal);
        changed = true;
    } else {
        for (const char* name : names) changed |= RemoveFileIfPresent(Temporary(saveFolder, name));
    }
    if (changed) SyncDirectory(saveFolder);
    return changed;
}

void SaveOptionsAndHighScores(const TSavedState& state, const std::filesystem::path& saveFolder,
                              const TSaveStepHook& afterStep, const TDamagedFiles& damaged) {
    EnsureDirectory(saveFolder);
    FinishInterruptedSave(saveFolder);

    const std::filesystem::path optionsTemporary = Temporary(saveFolder, kOptionsFileName);
    const std::filesystem::path highScoresTemporary = Temporary(saveFolder, kHighScoreFileName);
    try {
        WriteNewFileSynced(optionsTemporary, FormatOptionsFile(state));
        Step(afterStep, TSaveStep::OptionsWritten);
        WriteNewFileSynced(highScoresTemporary, FormatHighScoreFile(state.HighScores));
        Step(afterStep, TSaveStep::HighScoresWritten);
        if (damaged.Options) KeepCopy(saveFolder / kOptionsFileName, DamagedCopy(saveFolder, kOptionsFileName));
        if (damaged.HighScores) KeepCopy(saveFolder / kHighScoreFileName, DamagedCopy(saveFolder, kHighScoreFileName));
        SyncDirectory(saveFolder);
        WriteNewFileSynced(saveFolder / kJournalName, "");
        SyncDirectory(saveFolder);
    } catch (const ESaveFileError&) {
        std::error_code ignored;
        std::filesystem::remove(optionsTemporary, ignored);
        std::filesystem::remove(highScoresTemporary, ignored);
        throw;
    }
    Step(afterStep, TSaveStep::Committed);

    RenameFile(optionsTemporary, saveFolder / kOptionsFileName);
    Step(afterStep, TSaveStep::OptionsReplaced);
    RenameFile(highScoresTemporary, saveFolder / kHighScoreFileName);
    Step(afterStep, TSaveStep::HighScoresReplaced);
    SyncDirectory(saveFolder);
    RemoveFileIfPresent(saveFolder / kJournalName);
    SyncDirectory(saveFolder);
    Step(afterStep, TSaveStep::Finished);
}

TLoadReport LoadOptionsAndHighScores(TSavedState& state, const std::filesystem::path& saveFolder) {
    TLoadReport report;
    try {
        report.InterruptedSaveFinished = FinishInterruptedSave(saveFolder);
    } catch (const ESaveFileError& e) {
        report.Errors.push_back(e.what());
    }

    ResetHighScores(state.HighScores);
    report.Damaged.HighScores = LoadSaveFile(saveFolder / kHighScoreFileName, report, [&](std::string_view text) {
        const TBadItems bad = ReadHighScoreFile(text, state.HighScores);
        for (int entry : bad) ResetHighScoreEntry(state.HighScores, static_cast<std::size_t>(entry - 1));
        return !bad.empty();
    });

    ResetOptions(state);
    state.HighScoreChecksum.clear();
    report.Damaged.Options = LoadSaveFile(saveFolder / kOptionsFileName, report, [&](std::string_view text) {
        // An out-of-range key line keeps the key in force before loading, which is none.
        state.BossKeyShift = TShiftState{};
        state.BossKeyCode = 0;
        const TBadItems bad = ReadOptionsFile(text, state);
        for (int line : bad) ResetOptionsLine(state, line);
        return !bad.empty();
    });

    if (!report.Damaged.Any() && ComputeHighScoreChecksum(state.HighScores) != state.HighScoreChecksum) {
        ResetHighScores(state.HighScores);
        report.HighScoresReset = true;
    }
    return report;
}

}  // namespace quillon
