// The state dump's fields; fields of modules not built yet are left out.
#include "app/StateDump.h"

#include "app/JsonWriter.h"
#include "app/MainForm.h"
#include "engine/Cp1251.h"
#include "race/Bonuses.h"
#include "race/Player.h"
#include "race/Rivals.h"
#include "race/ScrollBackground.h"

namespace quillon {

namespace {

void DumpPlayer(TJsonWriter& json, const TPlayer& player) {
    json.BeginObject("player");
    json.Field("Speed", player.Speed);
    json.Field("Velocity", player.Velocity);
    json.Field("Heading", player.Heading);
    json.Field("HeadingTarget", player.HeadingTarget);
    json.Field("Energy", player.Energy);
    json.Field("Dead", player.Dead);
    json.Field("Finished", player.Finished);
    json.Field("TimeOut", player.TimeOut);
    json.Field("OnRoad", player.OnRoad);
    json.Field("Invulnerable", player.Invulnerable);
    json.Field("Nitro", player.Nitro);
    json.Field("MegaShot", player.MegaShot);
    json.Field("FramePos", player.FramePos);
    json.Field("TiltState", player.TiltState);
    json.Field("ShipCentreX", player.ShipCentreX);
    json.Field("ShipCentreY", player.ShipCentreY);
    json.EndObject();
}

void DumpRace(TJsonWriter& json, const TRace& race, bool pilot, bool demo) {
    const TRaceState& s = race.State;
    json.BeginObject("race");
    json.Field("Level", s.Level);
    json.Field("Score", s.Score);
    json.Field("Lives", s.Lives);
    json.Field("TimeLeft", s.TimeLeft);
    json.Field("TrackLength", s.TrackLength);
    json.Field("BonusCount", s.BonusCount);
    json.Field("Place", static_cast<int>(s.Place));
    json.Field("Racers", static_cast<int>(s.Racers));
    json.Field("ViewCol", s.ViewCol);
    json.Field("ViewRow", s.ViewRow);
    json.Field("BackgroundX", race.Scroll().X);
    json.Field("BackgroundY", race.Scroll().Y);
    json.Field("StarsX", race.Stars() ? race.Stars()->X : 0.0);
    json.Field("StarsY", race.Stars() ? race.Stars()->Y : 0.0);
    json.Field("ResultTime", s.ResultTime);
    json.Field("PlaceBonus", s.PlaceBonus);
    json.Field("TimeBonus", s.TimeBonus);
    json.Field("ResultLines", s.ResultLines);
    if (race.Player()) DumpPlayer(json, *race.Player());
    if (const TCar* rivals = race.Rivals()) {
        json.BeginArray("rivals");
        for (int i = 1; i <= RivalSlots; ++i) {
            const TRivalSlot& r = rivals->Slot(i);
            json.BeginObject();
            json.Field("Active", r.Active);
            json.Field("ShipType", static_cast<int>(r.ShipType));
            json.Field("PosX", r.PosX);
            json.Field("PosY", r.PosY);
            json.Field("Heading", r.Heading);
            json.Field("Power", r.Power);
            json.Field("Velocity", r.Velocity);
            json.Field("OnScreen", r.OnScreen);
            json.Field("Destroyed", r.Destroyed);
            json.Field("HitCount", static_cast<int>(r.HitCount));
            json.EndObject();
        }
        json.EndArray();
    }
    json.BeginArray("shots");
    for (int slot = 1; slot <= ShotSlots; ++slot) {
        const TShot& shot = race.Shots[slot];
        if (!shot.Used) continue;
        json.BeginObject();
        json.Field("Slot", slot);
        json.Field("Kind", static_cast<int>(shot.Kind));
        json.Field("Owner", static_cast<int>(shot.Owner));
        json.Field("X", shot.X);
        json.Field("Y", shot.Y);
        json.Field("State", static_cast<int>(shot.State));
        json.EndObject();
    }
    json.EndArray();
    if (const TBonus* bonuses = race.Bonuses()) {
        json.BeginArray("bonuses");
        for (int i = 1; i <= s.BonusCount && i <= BonusSlots; ++i) {
            const TBonusSlot& bonus = bonuses->Slot(i);
            if (!bonus.Present) continue;
            json.BeginObject();
            json.Field("Col", bonus.Col);
            json.Field("Row", bonus.Row);
            json.Field("Kind", static_cast<int>(bonus.Kind));
            json.EndObject();
        }
        json.EndArray();
    }
    json.Field("pilot", pilot);
    json.Field("demo", demo);
    json.EndObject();
}

}  // namespace

std::string BuildTrackDump(const TRaceState& race) {
    TJsonWriter json;
    json.BeginObject();
    json.Field("TrackLength", race.TrackLength);
    json.BeginArray("rows");
    for (int row = 1499 - race.TrackLength; row <= MapRows; ++row) {
        json.BeginObject();
        json.Field("row", row);
        json.Field("kind", static_cast<int>(race.Track.RowKind(row)));
        json.Field("roadLeft", race.Track.RoadLeft(row));
        json.BeginArray("cells");
        for (int col = 1; col <= MapCols; ++col) {
            const int code = race.Track.Cell(row, col);
            if (code == EmptyTile) continue;
            json.BeginArray(nullptr);
            json.Value(col);
            json.Value(code);
            json.EndArray();
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    return json.Text();
}

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
    if (form.CurrentScreen == TScreen::Race && form.Race.Running()) DumpRace(json, form.Race, form.PilotOn, form.DemoGame);
    json.EndObject();
    return json.Text();
}

}  // namespace quillon
