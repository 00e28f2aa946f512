// The pictures of the race collection, one builder per theme; BuildCollection2 puts
// them at their indexes.
#pragma once

#include <cairo.h>

#include "art/ArtWords.h"
#include "engine/CollectionFiles.h"

namespace quillon::assetgen {

// Ships 1..5: 64x73, 64x73, 70x67, 76x70, 73x68, nose up.
TPictureItemData BuildShip(int ship);
// Six banking steps, pattern 0 = full bank, 5 = slight; side -1 = left, +1 = right.
TPictureItemData BuildShipTilt(int ship, int side);
// Draws ship 1..5 straight, nose up, in the box (0, 0)-(width, height) of its race
// picture; the ship-selection screen draws the same ships larger by scaling first.
void DrawShipModel(cairo_t* cr, int ship);
// Exhaust flames 18 x 34 pointing down, three flicker patterns.
TPictureItemData BuildFlame(bool nitro);

// Gun shots of ships 1/4 (26), 2/5 (29), 3 (32), and the mega-shot (35).
TPictureItemData BuildShot(int item);
TPictureItemData BuildMegaShot();
// Asteroids that tumble through 8 patterns: small 36 x 31, large 74 x 52.
TPictureItemData BuildAsteroid(bool large);
// Hit sparks, 17 patterns of 32 x 32; style 0, 1, 2 for items 16, 17, 18.
TPictureItemData BuildSparks(int style);
// Explosions, 17 patterns of 64 x 64; style 0, 1, 2 for items 63, 64, 65.
TPictureItemData BuildExplosion(int style);
// The star field behind the road, 800 x 600, seamless at its edges.
TPictureItemData BuildStarField();

// Bonus kinds 1..8 (items 11, 13, 14, 15, 59, 60, 61, 62): 34 x 34, 5 patterns.
TPictureItemData BuildBonus(int kind);

// The instrument panel (225 x 600), gauge segments 1..4, speedometer digits, its label.
TPictureItemData BuildHudPanel(const TArtWords& words);
TPictureItemData BuildEnergySegment(int segment);
TPictureItemData BuildSpeedDigit(int digit);
TPictureItemData BuildSpeedLabel(const TArtWords& words);

}  // namespace quillon::assetgen
