// The state dump's fields; fields of modules not built yet are left out.
#include "app/StateDump.h"

#include "app/JsonWriter.h"
#include "app/MainForm.h"

namespace quillon {

std::string BuildStateDump(const TMForm& form, int frame) {
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
    json.EndObject();
    return json.Text();
}

}  // namespace quillon
