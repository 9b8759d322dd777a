// A headless city run for the health checks: loads a map, runs play frames with the player
// standing still, and keeps the figures and broken invariants it saw.
#pragma once

#include <string>
#include <vector>

struct World;

struct CityHealth {
  int frames = 0;
  int drivers = 0;          // at the start
  int drivingWell = 0;      // drivers in a car at the end that drove over >= 4 roads and 1500 px
  int pedestrians = 0;      // at the start
  int pedestriansAlive = 0;
  int walkingWell = 0;      // alive pedestrians that walked >= 3 sidewalks and 400 px
  int badGuys = 0;
  int badGuysWalking = 0;   // bad guys that walked >= 3 sidewalks
  int strays = 0;           // calm walkers at the end more than 50 px off their two segments
  int onRoads = 0;          // times a calm walker was seen standing on a road
  int jammedCars = 0;       // drivers in a car that entered < 2 roads in the last 500 frames
  // Liveliness: moving cars and walkers (pedestrians and bad guys) in a 1600 x 1200 view,
  // averaged over the frames and over views centred on roads and sidewalks all over the world;
  // and the longest a driven car stayed within a car length of one spot.
  double carsInView = 0, walkersInView = 0;
  double longestStillSeconds = 0;
  std::vector<std::string> broken;  // invariant failures, first few only
};

// Runs `frames` frames (20 ms each) of the map `name` under "maps/", the world seeded with `seed`.
CityHealth runCity(const std::string& name, int frames, unsigned seed);

// Every invariant of a running world (the world check, and everyone inside the world and out
// of the houses); empty when all hold.
std::vector<std::string> worldInvariants(const World& world);
