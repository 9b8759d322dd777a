// The headless city run shared by the health checks.
#include "city/city_run.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>

#include "app/play_loop.h"
#include "world/world.h"
#include "sim/collision.h"
#include "world/level.h"
#include "world/world_check.h"

namespace {

struct Track {
  double lastX = 0, lastY = 0;
  double path = 0;                    // distance walked or driven
  std::set<const Segment*> segments;  // distinct segments entered
  int lateTurns = 0;                  // segment changes in the last 500 frames
  const Segment* last = nullptr;
};

bool inside(double v) { return v > 0 && v < 3000; }

// Views of the liveliness figures: centred on points of a grid that lie on a road or a
// sidewalk, kept inside the world.
std::vector<SDL_Rect> viewsOnStreets(const World& world) {
  const int w = 1600, h = 1200, step = 150;
  std::vector<SDL_Rect> views;
  auto on = [](const auto& list, double x, double y) {
    for (const auto& s : list)
      if (s->x <= x && x <= s->x + s->w && s->y <= y && y <= s->y + s->h) return true;
    return false;
  };
  for (int y = step / 2; y < 3000; y += step)
    for (int x = step / 2; x < 3000; x += step)
      if (on(world.roads, x, y) || on(world.sidewalks, x, y))
        views.push_back({static_cast<Sint16>(std::clamp(x - w / 2, 0, 3000 - w)),
                         static_cast<Sint16>(std::clamp(y - h / 2, 0, 3000 - h)),
                         static_cast<Uint16>(w), static_cast<Uint16>(h)});
  return views;
}

bool inView(const SDL_Rect& v, double x, double y) {
  return v.x <= x && x < v.x + v.w && v.y <= y && y < v.y + v.h;
}

bool inHouse(const World& world, double x, double y) {
  for (const auto& h : world.houses)
    if (h->x < x && x < h->x + h->w && h->y < y && y < h->y + h->h) return true;
  return false;
}

void note(std::vector<std::string>& out, const std::string& what, int index) {
  std::ostringstream s;
  s << what << " " << index;
  out.push_back(s.str());
}

}  // namespace

std::vector<std::string> worldInvariants(const World& world) {
  std::vector<std::string> out = checkWorld(world);
  auto checkPerson = [&](const Person& p, const std::string& who, int i) {
    if (!inside(p.x) || !inside(p.y)) note(out, who + " outside the world", i);
    if (!p.inCar && p.life > p.damage && inHouse(world, p.x, p.y))
      note(out, who + " inside a house", i);
  };
  for (int i = 0; i < world.pedestrians.count(); ++i)
    checkPerson(*world.pedestrians[i], "pedestrian", i);
  for (int i = 0; i < world.drivers.count(); ++i) checkPerson(*world.drivers[i], "driver", i);
  for (int i = 0; i < world.badGuys.count(); ++i) checkPerson(*world.badGuys[i], "bad guy", i);
  if (world.player) checkPerson(*world.player, "player", 0);
  for (int i = 0; i < world.cars.count(); ++i) {
    const Car& c = *world.cars[i];
    if (!inside(c.x) || !inside(c.y)) note(out, "car outside the world", i);
    if (inHouse(world, c.x, c.y)) note(out, "car inside a house", i);
  }
  return out;
}

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
  auto start = [&tracks](const Person& p, double x, double y) {
    Track t;
    t.lastX = x;
    t.lastY = y;
    tracks[&p] = t;
  };
  for (const auto* list : {&world.pedestrians, &world.drivers, &world.badGuys})
    for (const auto& p : *list) start(*p, p->x, p->y);

  const std::vector<SDL_Rect> views = viewsOnStreets(world);
  struct Spot {
    double x, y;
    int frames;
  };
  std::map<const Car*, Spot> still;  // where each driven car stood, and for how long
  std::map<const void*, std::pair<double, double>> was;  // last frame's centres
  int longestStill = 0;
  double carsSeen = 0, walkersSeen = 0;
  for (int f = 0; f < frames; ++f) {
    for (const auto& c : world.cars) was[c.get()] = {c->x, c->y};
    for (const auto* list : {&world.pedestrians, &world.badGuys})
      for (const auto& p : *list) was[p.get()] = {p->x, p->y};
    simulateFrame(world);
    world.clock.advance(20);
    // Every fifth frame, where the movers are, then how many of them each view holds.
    if (f % 5 == 0) {
      auto movedAt = [&was](const void* who, double x, double y,
                            std::vector<std::pair<double, double>>& out) {
        auto it = was.find(who);
        if (it != was.end() && std::hypot(x - it->second.first, y - it->second.second) > 0.1)
          out.push_back({x, y});
      };
      std::vector<std::pair<double, double>> cars, walkers;
      for (const auto& c : world.cars) movedAt(c.get(), c->x, c->y, cars);
      for (const auto* list : {&world.pedestrians, &world.badGuys})
        for (const auto& p : *list)
          if (!p->inCar) movedAt(p.get(), p->x, p->y, walkers);
      for (const SDL_Rect& v : views) {
        for (const auto& c : cars) carsSeen += inView(v, c.first, c.second) ? 1.0 / views.size() : 0;
        for (const auto& w : walkers)
          walkersSeen += inView(v, w.first, w.second) ? 1.0 / views.size() : 0;
      }
    }
    for (const auto& c : world.cars) {
      if (c->driver < 0) {
        still.erase(c.get());
        continue;
      }
      auto it = still.find(c.get());
      if (it == still.end() || std::hypot(c->x - it->second.x, c->y - it->second.y) > c->h) {
        still[c.get()] = {c->x, c->y, 0};
        continue;
      }
      longestStill = std::max(longestStill, ++it->second.frames);
    }
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
    if (f % 10 == 0)
      for (const auto* list : {&world.pedestrians, &world.badGuys})
        for (const auto& p : *list)
          if (!p->scared && !p->inCar)
            for (const auto& r : world.roads)
              if (pointRectDistance(p->x, p->y, rectOf(*r)) == 0) {
                ++health.onRoads;
                break;
              }
    if (f % 10 == 0 || f + 1 == frames) {
      auto broken = worldInvariants(world);
      for (auto& b : broken)
        if (health.broken.size() < 10) {
          std::ostringstream s;
          s << "frame " << f << ": " << b;
          health.broken.push_back(s.str());
        }
    }
  }
  health.frames = frames;
  if (frames > 0) {
    const int looked = (frames + 4) / 5;
    health.carsInView = carsSeen / looked;
    health.walkersInView = walkersSeen / looked;
  }
  health.longestStillSeconds = longestStill * 0.02;
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
