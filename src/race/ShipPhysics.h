// The speed model shared by the player's ship and the rivals: how fast a ship of given
// ratings accelerates, turns, brakes and coasts at speed v, and which engine sound
// band a speed falls in.
#pragma once

namespace quillon {

double TopSpeedFactor(int speedRating);
// With nitro the ship always accelerates at the top rate.
double AccelStep(double v, int accelRating, bool nitro);
double TurnStep(double v, int handlingRating);
double BrakeStep(int brakeRating);
double CoastStep(double v, int accelRating, bool nitro);

// The accelerating engine sound for speed v of a ship with top-speed factor m:
// 9..12 the acceleration bands, 13 the top band, 0 none (standing, the gap between
// 65m and 67m, and beyond 180m).
int EngineBand(double v, double m);

// The speedometer's reading: 19 x Speed, rounded; 0 in reverse.
int SpeedometerReading(double speed);

}  // namespace quillon
