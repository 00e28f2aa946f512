// The state dump's fields; fields of modules not built yet are left out.
#include "app/StateDump.h"

#include "app/JsonWriter.h"
#include "app/MainForm.h"
#include "engine/Cp1251.h"

namespace quillon {

std::string BuildStateDump(const TMForm& form, int frame, const std::vector<std::string>& opened) {
    TJsonWriter json;
    json.BeginObject();
    json.Field("frame", frame);
    json.Field("CurrentScreen", static_cast<int>(form.CurrentScreen));
    json.Field("ActiveDialog", static_cast<int>(form.ActiveDialog));
    json.Field("HotItem", form.HotItem);
    json.Field("FirstItem", form.FirstItem);
    json.Field("LastItem", form.LastItem);
    json.Field("FrameMs", form.FrameMs);
    json.Field("SpeedScale", form.SpeedScale);
    json.BeginArray("soundsStarted");
    for (int index : form.SoundsStarted()) json.Value(index);
    json.EndArray();
    if (form.MusicPlaying().empty())
        json.Null("music");
    else
        json.Field("music", form.MusicPlaying());
    json.BeginArray("opened");
    for (const std::string& target : opened) json.Value(target);
    json.EndArray();
    json.Field("SelectedShip", form.SelectedShip);
    json.Field("HelpPage", form.HelpPage);
    json.Field("EditingCountry", form.EditingCountry);
    json.Field("CapturingBossKey", form.CapturingBossKey);
    const TSavedState& state = form.State;
    json.BeginObject("options");
    json.Field("FullScreen", state.GameOptions.FullScreen);
    json.Field("MusicOn", state.GameOptions.MusicOn);
    json.Field("SoundOn", state.GameOptions.SoundOn);
    json.Field("Country", Cp1251ToUtf8(state.GameOptions.Country));
    json.Field("BossKeyShift", ShiftStateName(state.BossKeyShift));
    json.Field("BossKeyCode", static_cast<int>(state.BossKeyCode));
    json.EndObject();
    json.Field("PlayerName", Cp1251ToUtf8(state.PlayerName));
    json.BeginArray("HighScores");
    for (size_t i = 0; i < kHighScoreEntries; ++i) {
        json.BeginObject();
        json.Field("Name", Cp1251ToUtf8(state.HighScores[i].Name));
        json.Field("Score", static_cast<int>(state.HighScores[i].Score));
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    return json.Text();
}

}  // namespace quillon
