// Removing records that others point at leaves no reference dangling or pointing elsewhere.
#include <gtest/gtest.h>

#include "world/world.h"
#include "world/lifetime.h"

namespace {

std::unique_ptr<Person> person(const char* name, double x) {
  return makePerson(name, nullptr, 0, true, false, 100, 0, 0, x, 100, 29, 18, {}, 50, 10);
}

template <class T>
std::unique_ptr<T> segment(double x) {
  auto s = std::make_unique<T>();
  s->x = x;
  s->y = 10;
  s->w = 100;
  s->h = 20;
  return s;
}

// Every kind of person, so each removal is seen from all the lists that can point at it.
struct Town {
  World world;
  Town() {
    for (int i = 0; i < 3; ++i) {
      world.cars.append(makeMapCar(100 + 100 * i, 100, 69, 94, 0, 100, 0, 10, 0, 4, 0, 0.1));
      world.drivers.append(person("Tarko", 100 + 100 * i));
      world.pedestrians.append(person("Anna", 100 + 100 * i));
      world.badGuys.append(person("Eno", 100 + 100 * i));
      auto h = std::make_unique<House>();
      h->x = 500 + 100 * i;
      world.houses.append(std::move(h));
      world.roads.append(segment<Road>(100 * i + 1));
      world.sidewalks.append(segment<Sidewalk>(100 * i + 1));
    }
    world.player = makePerson("Valdero", nullptr, 0, false, false, 100, 0, 5, 100, 100, 29, 18,
                              {}, 100, 1000);
  }
  std::vector<Person*> everyone() {
    std::vector<Person*> all;
    for (auto& p : world.pedestrians) all.push_back(p.get());
    for (auto& p : world.drivers) all.push_back(p.get());
    for (auto& p : world.badGuys) all.push_back(p.get());
    all.push_back(world.player.get());
    return all;
  }
};

}  // namespace

TEST(Lifetime, RemovingADriverReindexesTheCarsDrivers) {
  Town t;
  auto& cars = t.world.cars;
  cars[0]->driver = 0;
  cars[1]->driver = 2;
  cars[2]->driver = 1;
  Person* third = t.world.drivers[2];
  removeDriver(t.world, 1);
  ASSERT_EQ(t.world.drivers.count(), 2);
  EXPECT_EQ(cars[0]->driver, 0);
  EXPECT_EQ(cars[1]->driver, 1);  // still names the same driver, now one place down
  EXPECT_EQ(t.world.drivers[cars[1]->driver], third);
  EXPECT_EQ(cars[2]->driver, NO_DRIVER);

  cars[0]->driver = PLAYER_DRIVER;
  cars[2]->driver = NO_DRIVER;
  removeDriver(t.world, 0);
  EXPECT_EQ(cars[0]->driver, PLAYER_DRIVER);
  EXPECT_EQ(cars[1]->driver, 0);
  EXPECT_EQ(cars[2]->driver, NO_DRIVER);
}

TEST(Lifetime, RemovingAPersonClearsItAsAttackerEverywhere) {
  Town t;
  for (Person* p : t.everyone()) p->attacker = t.world.badGuys[1];
  t.world.badGuys[0]->attacker = t.world.pedestrians[2];
  t.world.drivers[0]->attacker = t.world.drivers[1];
  const Person* gone = t.world.badGuys[1];
  removeBadGuy(t.world, 1);
  for (Person* p : t.everyone()) EXPECT_NE(p->attacker, gone);
  EXPECT_EQ(t.world.player->attacker, nullptr);
  EXPECT_EQ(t.world.pedestrians[0]->attacker, nullptr);
  EXPECT_EQ(t.world.badGuys[0]->attacker, t.world.pedestrians[2]);
  removePedestrian(t.world, 2);
  EXPECT_EQ(t.world.badGuys[0]->attacker, nullptr);
  EXPECT_EQ(t.world.drivers[0]->attacker, t.world.drivers[1]);
  removeDriver(t.world, 1);
  EXPECT_EQ(t.world.drivers[0]->attacker, nullptr);
}

TEST(Lifetime, RemovingACarClearsEveryoneHeadingForOrSittingInIt) {
  Town t;
  Car* gone = t.world.cars[1];
  for (Person* p : t.everyone()) {
    p->targetCar = gone;
    p->walkingToCar = true;
    p->carDistance = 5;
  }
  t.world.player->inCar = true;
  t.world.drivers[2]->targetCar = t.world.cars[2];
  removeCar(t.world, 1);
  for (Person* p : t.everyone()) {
    if (p == t.world.drivers[2]) continue;
    EXPECT_EQ(p->targetCar, nullptr) << p->name;
    EXPECT_FALSE(p->walkingToCar) << p->name;
    EXPECT_FALSE(p->inCar) << p->name;
    EXPECT_DOUBLE_EQ(p->carDistance, NO_CONTACT) << p->name;
  }
  EXPECT_EQ(t.world.drivers[2]->targetCar, t.world.cars[1]);  // the old third car
}

TEST(Lifetime, RemovingAHouseClearsItAsBlockingHouse) {
  Town t;
  const House* gone = t.world.houses[0];
  for (Person* p : t.everyone()) p->blockingHouse = gone;
  for (auto& c : t.world.cars) c->blockingHouse = gone;
  t.world.cars[2]->blockingHouse = t.world.houses[2];
  removeHouse(t.world, 0);
  for (Person* p : t.everyone()) EXPECT_EQ(p->blockingHouse, nullptr);
  EXPECT_EQ(t.world.cars[0]->blockingHouse, nullptr);
  EXPECT_EQ(t.world.cars[2]->blockingHouse, t.world.houses[1]);
}

TEST(Lifetime, RemovingASegmentDetachesWalkersAndUnlinksNeighbours) {
  Town t;
  auto& roads = t.world.roads;
  auto& walks = t.world.sidewalks;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      if (i != j) {
        roads[i]->neighbours.push_back(roads[j]);
        walks[i]->neighbours.push_back(walks[j]);
      }
  Segment* road = roads[1];
  Person& driver = *t.world.drivers[0];
  driver.segment = roads[0];
  driver.nextSegment = road;
  driver.waypointAX = driver.waypointAY = 50;
  Person& walker = *t.world.pedestrians[0];
  walker.previousSegment = walks[1];
  walker.segment = walks[2];
  Person& other = *t.world.pedestrians[1];
  other.segment = walks[0];
  other.waypointBX = 7;

  removeRoad(t.world, 1);
  EXPECT_EQ(driver.segment, nullptr);
  EXPECT_EQ(driver.nextSegment, nullptr);
  EXPECT_EQ(driver.waypointAX, -1);
  EXPECT_EQ(roads[0]->neighbours, (std::vector<Segment*>{roads[1]}));
  EXPECT_EQ(roads[1]->neighbours, (std::vector<Segment*>{roads[0]}));
  for (auto& r : roads)
    for (Segment* n : r->neighbours) EXPECT_NE(n, road);

  removeSidewalk(t.world, 1);
  EXPECT_EQ(walker.segment, nullptr);
  EXPECT_EQ(walker.previousSegment, nullptr);
  EXPECT_EQ(other.segment, walks[0]);  // untouched: it was never on the removed one
  EXPECT_EQ(other.waypointBX, 7);
  EXPECT_EQ(walks[0]->neighbours, (std::vector<Segment*>{walks[1]}));
  EXPECT_EQ(walks[1]->neighbours, (std::vector<Segment*>{walks[0]}));
}
