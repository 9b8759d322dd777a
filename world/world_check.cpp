// The world check: references between records, driver seats, weapons, counts and numbers.
#include "world/world_check.h"

#include <cmath>
#include <sstream>
#include <unordered_set>

#include "world/references.h"

namespace {

using Live = std::unordered_set<const void*>;

template <class T>
Live liveSet(const RecordList<T>& list) {
  Live live;
  for (const auto& record : list) live.insert(record.get());
  return live;
}

class Checker {
 public:
  explicit Checker(const World& world)
      : world_(world),
        houses_(liveSet(world.houses)),
        cars_(liveSet(world.cars)),
        roads_(liveSet(world.roads)),
        sidewalks_(liveSet(world.sidewalks)) {
    for (const RecordList<Person>* list : {&world.pedestrians, &world.drivers, &world.badGuys})
      for (const auto& p : *list) people_.insert(p.get());
    if (world.player) people_.insert(world.player.get());
  }

  std::vector<std::string> run() {
    counts();
    records("road", world_.roads, roads_);
    records("sidewalk", world_.sidewalks, sidewalks_);
    records("car", world_.cars, sidewalks_);
    records("bullet", world_.bullets, sidewalks_);
    records("pedestrian", world_.pedestrians, sidewalks_);
    records("driver", world_.drivers, roads_, true);
    records("bad guy", world_.badGuys, sidewalks_);
    if (world_.player) check("player", 0, *world_.player, sidewalks_, PLAYER_DRIVER);
    return problems_;
  }

  // Called through forEachReference for every reference of the record being checked.
  void operator()(const Body&, const House* house) {
    if (house && !houses_.count(house)) report("is blocked by a removed house");
  }
  void operator()(const Car& car, int32_t driver) {
    if (driver == NO_DRIVER) return;
    const Person* seated = nullptr;
    if (driver == PLAYER_DRIVER)
      seated = world_.player.get();
    else if (driver >= 0 && driver < world_.drivers.count())
      seated = world_.drivers[driver];
    if (!seated)
      report("names driver " + std::to_string(driver) + " of " +
             std::to_string(world_.drivers.count()));
    else if (seated->targetCar != &car || !seated->inCar)
      report("names a driver sitting elsewhere");
  }
  void operator()(const Person& p, const Car* car) {
    if (car && !cars_.count(car)) report("targets a removed car");
    if (p.inCar && !car) report("sits in no car");
  }
  void operator()(const Person&, const Person* attacker) {
    if (attacker && !people_.count(attacker)) report("flees a removed attacker");
  }
  void operator()(const Person&, const Segment* segment) {
    if (segment && !network_->count(segment)) report("walks a removed or foreign segment");
  }
  void operator()(const Segment& self, const std::vector<Segment*>& neighbours) {
    for (const Segment* s : neighbours)
      if (s == &self || !network_->count(s)) report("has a removed or foreign neighbour");
  }

 private:
  void report(const std::string& rule) {
    std::ostringstream line;
    line << what_ << " " << index_ << " " << rule;
    problems_.push_back(line.str());
  }

  void counts() {
    auto count = [this](const char* what, const auto& list) {
      if (list.count() > list.capacity()) {
        what_ = what;
        index_ = list.count();
        report("records in a list of " + std::to_string(list.capacity()));
      }
    };
    count("houses", world_.houses);
    count("sidewalks", world_.sidewalks);
    count("roads", world_.roads);
    count("lawns", world_.lawns);
    count("weapons", world_.weapons);
    count("cars", world_.cars);
    count("pedestrians", world_.pedestrians);
    count("death marks", world_.deathMarks);
    count("money drops", world_.moneyDrops);
    count("bullets", world_.bullets);
    count("money items", world_.moneyItems);
    count("drivers", world_.drivers);
    count("bad guys", world_.badGuys);
  }

  // `drives`: a record of the list sits at the wheel as the car's driver `index`.
  template <class T>
  void records(const char* what, const RecordList<T>& list, const Live& network,
               bool drives = false) {
    for (int i = 0; i < list.count(); ++i)
      check(what, i, *list[i], network, drives ? i : NO_DRIVER);
  }

  // `seat`: the car driver value that names the record (NO_DRIVER: it never drives).
  template <class T>
  void check(const char* what, int index, const T& record, const Live& network, int32_t seat) {
    what_ = what;
    index_ = index;
    network_ = &network;
    forEachReference(record, *this);
    if constexpr (std::is_base_of_v<Body, T>) {
      if (!std::isfinite(record.x) || !std::isfinite(record.y) || !std::isfinite(record.nextX) ||
          !std::isfinite(record.nextY))
        report("has a position that is not a number");
    }
    if constexpr (std::is_same_v<T, Person>) {
      if (record.weapons.empty() || record.weapons[0]->name != "Hands")
        report("has lost its bare hands");
      if (record.currentWeapon < 0 ||
          record.currentWeapon >= static_cast<int>(record.weapons.size()))
        report("holds weapon " + std::to_string(record.currentWeapon) + " of " +
               std::to_string(record.weapons.size()));
      if (record.inCar && record.targetCar &&
          (seat == NO_DRIVER || record.targetCar->driver != seat))
        report("sits in a car that names another driver");
    }
  }

  const World& world_;
  Live houses_, cars_, roads_, sidewalks_, people_;
  const Live* network_ = nullptr;
  const char* what_ = "";
  int index_ = 0;
  std::vector<std::string> problems_;
};

}  // namespace

std::vector<std::string> checkWorld(const World& world) { return Checker(world).run(); }
