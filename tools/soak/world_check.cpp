// The between-frames check of a long run: references into live records, driver indices, numbers.
#include "tools/soak/world_check.h"

#include <cmath>
#include <sstream>
#include <unordered_set>

#include "world/world.h"

namespace {

template <class T>
std::unordered_set<const void*> liveSet(const RecordList<T>& list) {
  std::unordered_set<const void*> live;
  for (const auto& record : list) live.insert(record.get());
  return live;
}

class Checker {
 public:
  explicit Checker(const World& world)
      : world_(world),
        cars_(liveSet(world.cars)),
        houses_(liveSet(world.houses)),
        roads_(liveSet(world.roads)),
        sidewalks_(liveSet(world.sidewalks)) {
    for (const RecordList<Person>* list : {&world.pedestrians, &world.drivers, &world.badGuys})
      for (const auto& p : *list) people_.insert(p.get());
    if (world.player) people_.insert(world.player.get());
  }

  std::vector<std::string> run() {
    for (int i = 0; i < world_.cars.count(); ++i) checkCar(i, *world_.cars[i]);
    checkPeople("pedestrian", world_.pedestrians, sidewalks_);
    checkPeople("bad guy", world_.badGuys, sidewalks_);
    checkPeople("driver", world_.drivers, roads_);
    if (const Person* player = world_.player.get()) {
      checkPerson("player", 0, *player, sidewalks_);
      if (player->inCar && player->targetCar && player->targetCar->driver != PLAYER_DRIVER)
        report("player", 0, "sits in a car that names another driver");
    }
    for (int i = 0; i < world_.bullets.count(); ++i)
      if (!finite(*world_.bullets[i])) report("bullet", i, "has a position that is not a number");
    return problems_;
  }

 private:
  static bool finite(const Body& b) {
    return std::isfinite(b.x) && std::isfinite(b.y) && std::isfinite(b.nextX) &&
           std::isfinite(b.nextY);
  }

  void report(const char* what, int index, const std::string& rule) {
    std::ostringstream line;
    line << what << " " << index << " " << rule;
    problems_.push_back(line.str());
  }

  void checkCar(int i, const Car& car) {
    if (!finite(car)) report("car", i, "has a position that is not a number");
    if (car.driver < PLAYER_DRIVER || car.driver >= world_.drivers.count())
      report("car", i,
             "names driver " + std::to_string(car.driver) + " of " +
                 std::to_string(world_.drivers.count()));
  }

  void checkPerson(const char* what, int i, const Person& p,
                   const std::unordered_set<const void*>& network) {
    if (!finite(p)) report(what, i, "has a position that is not a number");
    if (p.targetCar && !cars_.count(p.targetCar)) report(what, i, "targets a removed car");
    if (p.blockingHouse && !houses_.count(p.blockingHouse))
      report(what, i, "is blocked by a removed house");
    if (p.attacker && !people_.count(p.attacker)) report(what, i, "flees a removed attacker");
    for (const Segment* s : {p.segment, p.nextSegment, p.previousSegment})
      if (s && !network.count(s)) report(what, i, "walks a removed or foreign segment");
  }

  void checkPeople(const char* what, const RecordList<Person>& list,
                   const std::unordered_set<const void*>& network) {
    for (int i = 0; i < list.count(); ++i) checkPerson(what, i, *list[i], network);
  }

  const World& world_;
  std::unordered_set<const void*> cars_, houses_, roads_, sidewalks_, people_;
  std::vector<std::string> problems_;
};

}  // namespace

std::vector<std::string> worldProblems(const World& world) { return Checker(world).run(); }
