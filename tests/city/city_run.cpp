// The headless city run shared by the health checks.
#include "city/city_run.h"

#include <cmath>
#include <map>
#include <set>

#include "sim/collision.h"
#include "sim/tick.h"
#include "world/level.h"
#include "world/world.h"
#include "world/world_check.h"

namespace {

struct Track {
  double lastX = 0, lastY = 0;
  double path = 0;                    // distance walked or driven
  std::set<const Segment*> segments;  // distinct segments entered
  int lateTurns = 0;                  // segment changes in the last 500 frames
  const Segment* last = nullptr;
};

bool inHouse(const World& world, double x, double y) {
  for (const auto& h : world.houses)
    if (h->x < x && x < h->x + h->w && h->y < y && y < h->y + h->h) return true;
  return false;
}

// The shared between-frames check, and what a living city adds to it: everyone inside the
// world, nobody standing or parked inside a house.
void checkCity(const World& world, int frame, std::vector<std::string>& broken) {
  std::vector<std::string> found = checkWorld(world);
  auto outOfPlace = [&](const Body& b, bool housed, const std::string& what) {
    if (!(b.x > 0 && b.x < 3000 && b.y > 0 && b.y < 3000)) found.push_back(what + " outside");
    if (housed && inHouse(world, b.x, b.y)) found.push_back(what + " inside a house");
  };
  for (const auto* list : {&world.pedestrians, &world.drivers, &world.badGuys})
    for (const auto& p : *list) outOfPlace(*p, !p->inCar && p->life > p->damage, p->name);
  for (const auto& c : world.cars) outOfPlace(*c, true, "a car");
  for (const std::string& b : found)
    if (broken.size() < 10) broken.push_back("frame " + std::to_string(frame) + ": " + b);
}

}  // namespace

CityHealth runCity(const std::string& name, int frames, unsigned seed) {
  CityHealth health;
  World world;
  world.view = {0, 0, 1600, 1200};
  world.clock.setManual(1000);
  world.mapName = name;
  world.random.seed(seed);
  startLevel(world);
  health.drivers = world.drivers.count();
  health.pedestrians = world.pedestrians.count();
  health.badGuys = world.badGuys.count();

  std::map<const Person*, Track> tracks;
  for (const auto* list : {&world.pedestrians, &world.drivers, &world.badGuys})
    for (const auto& p : *list) {
      tracks[p.get()].lastX = p->x;
      tracks[p.get()].lastY = p->y;
    }

  for (int f = 0; f < frames; ++f) {
    simulateFrame(world);
    world.clock.advance(20);
    for (const auto* list : {&world.pedestrians, &world.drivers, &world.badGuys})
      for (const auto& p : *list) {
        auto it = tracks.find(p.get());
        if (it == tracks.end()) continue;
        Track& t = it->second;
        t.path += std::hypot(p->x - t.lastX, p->y - t.lastY);
        t.lastX = p->x;
        t.lastY = p->y;
        if (p->segment) t.segments.insert(p->segment);
        if (p->segment != t.last && f + 500 >= frames) ++t.lateTurns;
        t.last = p->segment;
      }
    if (f % 10 == 0) {
      for (const auto* list : {&world.pedestrians, &world.badGuys})
        for (const auto& p : *list)
          if (!p->scared && !p->inCar)
            for (const auto& r : world.roads)
              if (pointRectDistance(p->x, p->y, rectOf(*r)) == 0) {
                ++health.onRoads;
                break;
              }
    }
    if (f % 10 == 0 || f + 1 == frames) checkCity(world, f, health.broken);
  }
  for (const auto& d : world.drivers) {
    const Track& t = tracks[d.get()];
    if (d->inCar && t.segments.size() >= 4 && t.path >= 1500) ++health.drivingWell;
    if (d->inCar && t.lateTurns < 2) ++health.jammedCars;
  }
  health.pedestriansAlive = world.pedestrians.count();
  for (const auto& p : world.pedestrians) {
    const Track& t = tracks[p.get()];
    if (t.segments.size() >= 3 && t.path >= 400) ++health.walkingWell;
  }
  for (const auto& b : world.badGuys)
    if (tracks[b.get()].segments.size() >= 3) ++health.badGuysWalking;
  // A walker is between the segment it left and the one it heads for.
  auto off = [](const Person& p, const Segment* s) {
    return !s || pointRectDistance(p.x, p.y, rectOf(*s)) > 50;
  };
  for (const auto* list : {&world.pedestrians, &world.badGuys})
    for (const auto& p : *list)
      if (!p->scared && p->segment && off(*p, p->segment) && off(*p, p->previousSegment))
        ++health.strays;
  return health;
}
