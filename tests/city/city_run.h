// A headless city run for the health checks: loads a map, runs the simulation with the player
// standing still, and keeps the figures and broken rules it saw.
#pragma once

#include <string>
#include <vector>

struct CityHealth {
  int drivers = 0, pedestrians = 0, badGuys = 0;  // at the start
  int drivingWell = 0;     // drivers in a car at the end that drove over >= 4 roads and 1500 px
  int jammedCars = 0;      // drivers in a car that entered < 2 roads in the last 500 frames
  int pedestriansAlive = 0;
  int walkingWell = 0;     // alive pedestrians that walked >= 3 sidewalks and 400 px
  int badGuysWalking = 0;  // bad guys that walked >= 3 sidewalks
  int strays = 0;          // calm walkers at the end more than 50 px off their two segments
  int onRoads = 0;         // times a calm walker was seen standing on a road
  std::vector<std::string> broken;  // broken rules, first few only
};

// Runs `frames` frames (20 ms each) of the map `name` under "maps/", the world seeded with `seed`.
CityHealth runCity(const std::string& name, int frames, unsigned seed);
