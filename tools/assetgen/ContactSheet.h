// Contact sheets: PNG pictures of every pattern of every collection item, and sample
// road stretches with their wall collision shapes, for looking at the art.
#pragma once

#include <string>

namespace quillon::assetgen {

// Writes Res1.png, Res2.png, Res3.png, RoadStretches.png, HudPreview.png and a
// made-up race frame, RaceFrame.png, into dir.
void WriteContactSheets(const std::string& dir);

}  // namespace quillon::assetgen
