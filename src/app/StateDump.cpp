// The state dump's fields; fields of modules not built yet are left out.
#include "app/StateDump.h"

#include "app/JsonWriter.h"
#include "app/MainForm.h"

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
    json.EndObject();
    return json.Text();
}

}  // namespace quillon
