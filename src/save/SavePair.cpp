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
                              const TSaveStepHook& afterStep) {
    EnsureDirectory(saveFolder);
    FinishInterruptedSave(saveFolder);

    const std::filesystem::path optionsTemporary = Temporary(saveFolder, kOptionsFileName);
    const std::filesystem::path highScoresTemporary = Temporary(saveFolder, kHighScoreFileName);
    try {
        WriteFileSynced(optionsTemporary, FormatOptionsFile(state));
        Step(afterStep, TSaveStep::OptionsWritten);
        WriteFileSynced(highScoresTemporary, FormatHighScoreFile(state.HighScores));
        Step(afterStep, TSaveStep::HighScoresWritten);
        SyncDirectory(saveFolder);
        WriteFileSynced(saveFolder / kJournalName, "");
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

    try {
        if (auto stop = LoadHighScores(state.HighScores, saveFolder / kHighScoreFileName)) {
            report.Errors.push_back(stop->Message);
            ResetHighScoresFrom(state.HighScores, static_cast<std::size_t>(stop->Item - 1));
        }
    } catch (const ESaveFileError& e) {
        report.Errors.push_back(e.what());
        ResetHighScores(state.HighScores);
    }

    try {
        if (auto stop = LoadOptions(state, saveFolder / kOptionsFileName)) {
            report.Errors.push_back(stop->Message);
            ResetOptionsFromLine(state, stop->Item);
        }
    } catch (const ESaveFileError& e) {
        report.Errors.push_back(e.what());
        ResetOptions(state);
    }

    if (ComputeHighScoreChecksum(state.HighScores) != state.HighScoreChecksum) {
        ResetHighScores(state.HighScores);
        report.HighScoresReset = true;
    }
    return report;
}

}  // namespace quillon
