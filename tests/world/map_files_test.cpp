// Map folders: every file written and read back, corrections, bad input, network links.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <limits>
#include <random>
#include <sstream>

#include "world/world.h"
#include "sim/collision.h"
#include "world/data_folders.h"
#include "world/lifetime.h"
#include "world/map_files.h"
#include "support/scratch.h"
using namespace testsupport;

namespace {

std::string path(MapFile file) { return mapFilePath("town", file); }

// Loads one file's text through the real loader (a map folder holding only that file).
void loadOnly(World& world, MapFile file, const std::string& text) {
  std::filesystem::create_directories("maps/town");
  writeFile(path(file), text);
  world.mapName = "town";
  loadMap(world);
}

std::string written(const World& world, MapFile file) {
  std::ostringstream out;
  writeMapFile(world, file, out);
  return out.str();
}

std::unique_ptr<House> house(double x, double y, double w, double h, const std::string& text,
                             double life, double damage, int colour) {
  auto r = std::make_unique<House>();
  r->x = x;
  r->y = y;
  r->w = w;
  r->h = h;
  r->text = text;
  r->life = life;
  r->damage = damage;
  r->colourIndex = colour;
  return r;
}

template <class T>
std::unique_ptr<T> segment(double x, double y, double w, double h) {
  auto r = std::make_unique<T>();
  r->x = x;
  r->y = y;
  r->w = w;
  r->h = h;
  return r;
}

std::unique_ptr<Road> road(double x, double y, double w, double h, const std::string& name) {
  auto r = segment<Road>(x, y, w, h);
  r->name = name;
  return r;
}

std::unique_ptr<Lawn> lawn(double x, double y, double w, double h, int colour) {
  auto r = std::make_unique<Lawn>();
  r->x = x;
  r->y = y;
  r->w = w;
  r->h = h;
  r->colourIndex = colour;
  return r;
}

std::unique_ptr<Person> pedestrian(const std::string& name, double x, double y) {
  auto p = makePerson(name, nullptr, 0, true, false, 80.5, 12.25, 2.5, x, y, 29, 18, {}, 50.0,
                      123.456789);
  p->kind = 3;
  return p;
}

}  // namespace

TEST(MapFiles, EveryFileRoundTripsToSixSignificantDigits) {
  ScratchDir scratch;
  World world;
  world.mapName = "town";
  world.houses.append(house(12.3456789, 2999.5, 100, 0.5, "Brannik", 100, 0.25, 3));
  world.houses.append(house(40, 50, 60, 70, "", 55.5, 0, 9));
  world.roads.append(road(10, 20, 1234567.0, 0.000012345, "Storgatan"));
  world.roads.append(road(1, 2, 3, 4, "-"));
  auto car = makeMapCar(700, 250, 69, 94, 5, 100, 90, 10, 1, 4, 0.5, 0.1);
  car->x = 1234.9;  // moved during play: saved where it stands
  world.cars.append(std::move(car));
  world.cars.append(makeMapCar(10, 20, 30, 40, 0, 1, 0, 2, 7, 0, 0, 3));
  world.pedestrians.append(pedestrian("Anna", 250.5, 190));
  auto weapon = makeWeapon("Glock", 150, 250, 30, 500, 2, 1, 10.5, 2);
  weapon->w = 31.5;
  world.weapons.append(std::move(weapon));
  world.sidewalks.append(segment<Sidewalk>(10, 180, 390, 20));
  world.sidewalks.append(segment<Sidewalk>(380.25, 10, 20, 170));
  world.lawns.append(lawn(20, 20, 140, 150, 3));
  world.drivers.append(makePerson("Tarko", nullptr, 0, true, false, 100, 0, 0, 600, 335.125, 29,
                                  18, {}, 50, 1000));
  world.badGuys.append(makePerson("Eno", nullptr, 0, true, false, 100, 0, 0, 900, 190, 29, 18,
                                  {}, 50, 10));
  ASSERT_EQ(saveMap(world), "");

  // What a map maker reads in the files: one record per line, no line break at the end.
  EXPECT_EQ(readFile(path(MapFile::Houses)),
            "12.3457 2999.5 100 0.5 Brannik 100 0.25 3\n40 50 60 70 0 55.5 0 9");
  EXPECT_EQ(readFile(path(MapFile::Roads)),
            "10 20 1.23457e+06 1.2345e-05 Storgatan\n1 2 3 4 -");
  EXPECT_EQ(readFile(path(MapFile::Cars)),
            "1234.9 250 69 94 5 100 90 10 1 4 0.5 0.1\n10 20 30 40 0 1 0 2 7 0 0 3");
  EXPECT_EQ(readFile(path(MapFile::Pedestrians)),
            "250.5 190 29 18 1 12.25 0 3 80.5 5 123.457 Anna 2.5");
  EXPECT_EQ(readFile(path(MapFile::Weapons)), "150 250 31.5 10 500 10.5 Glock 30 2 2 1");
  EXPECT_EQ(readFile(path(MapFile::Sidewalks)), "10 180 390 20\n380.25 10 20 170");
  EXPECT_EQ(readFile(path(MapFile::Lawns)), "20 20 140 150 3");
  EXPECT_EQ(readFile(path(MapFile::Drivers)), "600 335.125 29 18");
  EXPECT_EQ(readFile(path(MapFile::BadGuys)), "900 190 29 18");
  // Nothing but the nine files is left behind.
  int entries = 0;
  for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator("maps/town")) ++entries;
  EXPECT_EQ(entries, MAP_FILE_COUNT);

  World back;
  back.mapName = "town";
  loadMap(back);
  ASSERT_EQ(back.houses.count(), 2);
  EXPECT_DOUBLE_EQ(back.houses[0]->x, 12.3457);
  EXPECT_DOUBLE_EQ(back.houses[0]->y, 2999.5);
  EXPECT_DOUBLE_EQ(back.houses[0]->h, 0.5);
  EXPECT_EQ(back.houses[0]->text, "Brannik");
  EXPECT_DOUBLE_EQ(back.houses[0]->damage, 0.25);
  EXPECT_EQ(back.houses[0]->colourIndex, 3);
  EXPECT_EQ(back.houses[1]->text, "");
  EXPECT_DOUBLE_EQ(back.houses[1]->life, 55.5);
  EXPECT_EQ(back.houses[1]->colourIndex, 9);

  ASSERT_EQ(back.roads.count(), 2);
  EXPECT_DOUBLE_EQ(back.roads[0]->w, 1234570.0);
  EXPECT_DOUBLE_EQ(back.roads[0]->h, 1.2345e-05);
  EXPECT_EQ(back.roads[0]->name, "Storgatan");
  EXPECT_EQ(back.roads[1]->name, "-");

  ASSERT_EQ(back.cars.count(), 2);
  const Car& c = *back.cars[0];
  EXPECT_DOUBLE_EQ(c.x, 1234.0);
  EXPECT_DOUBLE_EQ(c.y, 250.0);
  EXPECT_DOUBLE_EQ(c.damage, 5);
  EXPECT_DOUBLE_EQ(c.life, 100);
  EXPECT_EQ(c.heading, 90);
  EXPECT_EQ(c.secondHeading, 90);
  EXPECT_DOUBLE_EQ(c.maxSpeed, 10);
  EXPECT_EQ(c.model, 1);
  EXPECT_EQ(c.modelName, "Volvo");
  EXPECT_EQ(c.spareInt, 4);
  EXPECT_DOUBLE_EQ(c.startSpeed, 0.5);
  EXPECT_DOUBLE_EQ(c.speed, 0.5);
  EXPECT_DOUBLE_EQ(c.acceleration, 0.1);
  EXPECT_EQ(c.driver, NO_DRIVER);
  EXPECT_EQ(back.cars[1]->model, 7);  // kept as written; the drawing falls back to picture 0
  EXPECT_EQ(back.cars[1]->modelName, "");

  ASSERT_EQ(back.pedestrians.count(), 1);
  const Person& p = *back.pedestrians[0];
  EXPECT_EQ(p.name, "Anna");
  EXPECT_DOUBLE_EQ(p.x, 250.5);
  EXPECT_DOUBLE_EQ(p.life, 80.5);
  EXPECT_DOUBLE_EQ(p.damage, 12.25);
  EXPECT_DOUBLE_EQ(p.money, 123.457);
  EXPECT_DOUBLE_EQ(p.wantedLevel, 2.5);
  EXPECT_EQ(p.kind, 3);
  EXPECT_TRUE(p.flag);
  EXPECT_DOUBLE_EQ(p.handsPower, 50.0);
  ASSERT_EQ(p.weapons.size(), 1u);
  EXPECT_EQ(p.weapons[0]->name, "Hands");

  ASSERT_EQ(back.weapons.count(), 1);
  const Weapon& w = *back.weapons[0];
  EXPECT_EQ(w.name, "Glock");
  EXPECT_DOUBLE_EQ(w.w, 31.5);
  EXPECT_DOUBLE_EQ(w.h, 10);
  EXPECT_EQ(w.range, 1000);
  EXPECT_DOUBLE_EQ(w.power, 10.5);
  EXPECT_EQ(w.ammo, 30);
  EXPECT_DOUBLE_EQ(w.rate, 2);
  EXPECT_EQ(w.weaponImage, 2);
  EXPECT_EQ(w.imageIndex, 1);
  EXPECT_EQ(w.lastShotAt, 0u);

  ASSERT_EQ(back.sidewalks.count(), 2);
  EXPECT_DOUBLE_EQ(back.sidewalks[1]->x, 380.25);
  ASSERT_EQ(back.lawns.count(), 1);
  EXPECT_EQ(back.lawns[0]->colourIndex, 3);
  ASSERT_EQ(back.drivers.count(), 1);
  EXPECT_DOUBLE_EQ(back.drivers[0]->y, 335.125);
  ASSERT_EQ(back.badGuys.count(), 1);

  // A second save of what was loaded writes the same bytes, except what the loader fixes.
  back.mapName = "again";
  ASSERT_EQ(saveMap(back), "");
  EXPECT_EQ(readFile("maps/again/houses.txt"), readFile(path(MapFile::Houses)));
  EXPECT_EQ(readFile("maps/again/roads.txt"), readFile(path(MapFile::Roads)));
  EXPECT_EQ(readFile("maps/again/cars.txt"),
            "1234 250 69 94 5 100 90 10 1 4 0.5 0.1\n10 20 30 40 0 1 0 2 7 0 0 3");
  EXPECT_EQ(readFile("maps/again/weapons.txt"), "150 250 31.5 10 1000 10.5 Glock 30 2 2 1");
  EXPECT_EQ(readFile("maps/again/sidewalks.txt"), readFile(path(MapFile::Sidewalks)));
  EXPECT_EQ(readFile("maps/again/badguys.txt"), readFile(path(MapFile::BadGuys)));
}

// Records placed anywhere inside the world, next to its edges included, come back from any
// number of saves and loads: none is dropped, and after the first load no value changes.
TEST(MapFiles, RandomRecordsSurviveManySavesAndLoads) {
  std::mt19937 rng(11);
  const double edges[] = {1e-300, 1e-7, 0.3, 0.9999999, 1, 2999.4, 2999.9994,
                          2999.9995, 2999.99999, std::nextafter(3000.0, 0.0)};
  auto edge = [&] { return edges[rng() % std::size(edges)]; };
  auto coordinate = [&] {
    return rng() % 2 ? edge() : std::uniform_real_distribution<double>(1e-9, 3000)(rng);
  };
  auto any = [&] {
    return rng() % 4 ? std::uniform_real_distribution<double>(-1e4, 1e4)(rng) : edge();
  };
  auto small = [&] { return static_cast<int>(rng() % 24) - 12; };
  constexpr int kPlaced = 60;
  auto world = std::make_unique<World>();
  for (int i = 0; i < kPlaced; ++i) {
    World& w = *world;
    w.houses.append(house(coordinate(), coordinate(), any(), any(), "H", any(), any(), small()));
    w.roads.append(road(coordinate(), coordinate(), any(), any(), "R"));
    Car* car = w.cars.append(makeMapCar(1, 1, any(), any(), any(), any(), small() * 40, any(),
                                        small(), small(), any(), any()));
    car->x = coordinate();  // typed in the property panel: not a whole number
    car->y = coordinate();
    w.pedestrians.append(pedestrian("P", coordinate(), coordinate()));
    w.weapons.append(makeWeapon("W", coordinate(), coordinate(), small(), 1000, small(), small(),
                                any(), any()));
    w.sidewalks.append(segment<Sidewalk>(coordinate(), coordinate(), any(), any()));
    w.lawns.append(lawn(coordinate(), coordinate(), any(), any(), small()));
    for (auto* people : {&w.drivers, &w.badGuys})
      people->append(makePerson("D", nullptr, 0, true, false, 100, 0, 0, coordinate(),
                                coordinate(), any(), any(), {}, 50, 10));
  }
  std::array<std::string, MAP_FILE_COUNT> previous;
  for (int round = 0; round < 20; ++round) {
    std::array<std::string, MAP_FILE_COUNT> texts;
    auto back = std::make_unique<World>();
    for (int f = 0; f < MAP_FILE_COUNT; ++f) {
      texts[f] = written(*world, MapFile(f));
      std::istringstream in(texts[f]);
      readMapFile(*back, MapFile(f), in);
      if (round >= 2) EXPECT_EQ(texts[f], previous[f]) << mapFileName(MapFile(f)) << round;
    }
    for (int count : {back->houses.count(), back->roads.count(), back->cars.count(),
                      back->pedestrians.count(), back->weapons.count(), back->sidewalks.count(),
                      back->lawns.count(), back->drivers.count(), back->badGuys.count()})
      ASSERT_EQ(count, kPlaced) << "round " << round;
    previous = texts;
    world = std::move(back);
  }
}

TEST(MapFiles, EmptyListsGiveEmptyFilesAndMissingFilesEmptyLists) {
  ScratchDir scratch;
  World world;
  world.mapName = "empty";
  ASSERT_EQ(saveMap(world), "");  // creates the folder and nine empty files
  for (int f = 0; f < MAP_FILE_COUNT; ++f) {
    const std::string file = mapFilePath("empty", static_cast<MapFile>(f));
    ASSERT_TRUE(std::filesystem::exists(file)) << file;
    EXPECT_EQ(std::filesystem::file_size(file), 0u) << file;
  }

  // Only houses.txt present: the houses load, everything else stays empty.
  World only;
  loadOnly(only, MapFile::Houses, "10 10 20 20 a 100 0 1");
  EXPECT_EQ(only.houses.count(), 1);
  EXPECT_EQ(only.roads.count() + only.cars.count() + only.pedestrians.count() +
                only.weapons.count() + only.sidewalks.count() + only.lawns.count() +
                only.drivers.count() + only.badGuys.count(),
            0);

  // No folder at all: an empty city, nothing thrown.
  World none;
  none.mapName = "does-not-exist";
  loadMap(none);
  EXPECT_EQ(none.houses.count(), 0);
}

TEST(MapFiles, HouseCorrectionsAndTheAcceptanceRule) {
  ScratchDir scratch;
  World world;
  loadOnly(world, MapFile::Houses,
           "10 10 20 20 0 -5 -1 12\n"       // text "0" is empty; life 100, damage 0, colour 0
           "3000 10 20 20 x 100 0 1\n"      // x on the far edge: dropped
           "10 0 20 20 x 100 0 1\n"         // y on the near edge: dropped
           "-1 10 20 20 x 100 0 1\n"        // left of the world: dropped
           "0 10 20 20 x 100 0 1\n"         // x on the near edge: dropped
           "10 3000 20 20 x 100 0 1\n"      // y on the far edge: dropped
           "0.0001 2999.999 5 5 y 0 0 -1\n"  // just inside: kept, colour -1 -> 0
           "20 20 5 5 z 100 0 9\n"          // colour 9 is a real colour
           "20 20 5 5 zz 100 0 10");        // colour 10 is not
  ASSERT_EQ(world.houses.count(), 4);
  const House& a = *world.houses[0];
  EXPECT_EQ(a.text, "");
  EXPECT_DOUBLE_EQ(a.life, 100.0);
  EXPECT_DOUBLE_EQ(a.damage, 0.0);
  EXPECT_EQ(a.colourIndex, 0);
  EXPECT_EQ(world.houses[1]->text, "y");
  EXPECT_DOUBLE_EQ(world.houses[1]->x, 0.0001);
  EXPECT_DOUBLE_EQ(world.houses[1]->life, 0.0);  // zero is not negative
  EXPECT_EQ(world.houses[1]->colourIndex, 0);
  EXPECT_EQ(world.houses[2]->colourIndex, 9);
  EXPECT_EQ(world.houses[3]->colourIndex, 0);
}

TEST(MapFiles, CarCorrections) {
  ScratchDir scratch;
  World world;
  loadOnly(world, MapFile::Cars,
           "1234.9 -0 69 94 1 1 0 1 0 0 1 1\n"             // y = -0 is not inside: dropped
           "1234.9 55.99 69 94 -1 -1 -90 -1 -1 -1 -1 -1\n"  // every correction
           "0.5 0.5 69 94 0 0 0 0 2 0 0 0");                // acceptance before truncation
  ASSERT_EQ(world.cars.count(), 2);
  const Car& c = *world.cars[0];
  EXPECT_DOUBLE_EQ(c.x, 1234.0);
  EXPECT_DOUBLE_EQ(c.y, 55.0);
  EXPECT_DOUBLE_EQ(c.damage, 0.0);
  EXPECT_DOUBLE_EQ(c.life, 100.0);
  EXPECT_EQ(c.heading, 0);
  EXPECT_DOUBLE_EQ(c.maxSpeed, 100.0);
  EXPECT_EQ(c.model, 0);
  EXPECT_EQ(c.modelName, "Saab");
  EXPECT_EQ(c.spareInt, 4);
  EXPECT_DOUBLE_EQ(c.startSpeed, 1.0);
  EXPECT_DOUBLE_EQ(c.speed, 1.0);
  EXPECT_DOUBLE_EQ(c.acceleration, 10.0);
  const Car& d = *world.cars[1];
  EXPECT_DOUBLE_EQ(d.x, 1.0);  // whole, and still inside the world for the next load
  EXPECT_DOUBLE_EQ(d.y, 1.0);
  EXPECT_EQ(d.model, 2);
  EXPECT_EQ(d.modelName, "");
  EXPECT_DOUBLE_EQ(d.life, 0.0);
}

TEST(MapFiles, PedestrianCorrectionsAndFieldsNotApplied) {
  ScratchDir scratch;
  World world;
  loadOnly(world, MapFile::Pedestrians,
           "100 200 29 18 0 -3 90 -2 -1 2.5 -7 Bo -1\n"
           "100 200 29 18 1 3 45 4 50 9 70 Cia 3");
  ASSERT_EQ(world.pedestrians.count(), 2);
  const Person& p = *world.pedestrians[0];
  EXPECT_TRUE(p.flag);
  EXPECT_FALSE(p.inCar);
  EXPECT_EQ(p.targetCar, nullptr);
  EXPECT_EQ(p.heading, 0);
  EXPECT_DOUBLE_EQ(p.topWalkSpeed, 5.0);
  EXPECT_DOUBLE_EQ(p.damage, 0.0);
  EXPECT_EQ(p.kind, 0);
  EXPECT_DOUBLE_EQ(p.life, 100.0);
  EXPECT_DOUBLE_EQ(p.money, 0.0);
  EXPECT_DOUBLE_EQ(p.wantedLevel, 0.0);
  EXPECT_EQ(p.name, "Bo");
  EXPECT_EQ(p.segment, nullptr);
  EXPECT_EQ(p.waypointAX, -1);
  EXPECT_EQ(p.waypointBY, -1);
  const Person& q = *world.pedestrians[1];
  EXPECT_EQ(q.heading, 0);
  EXPECT_EQ(q.kind, 4);
  EXPECT_DOUBLE_EQ(q.damage, 3);
  EXPECT_DOUBLE_EQ(q.life, 50);
  EXPECT_DOUBLE_EQ(q.money, 70);
  EXPECT_DOUBLE_EQ(q.wantedLevel, 3);
  EXPECT_DOUBLE_EQ(q.topWalkSpeed, 5.0);
}

TEST(MapFiles, WeaponsLawnsDriversAndBadGuys) {
  ScratchDir scratch;
  World world;
  std::filesystem::create_directories("maps/town");
  writeFile(path(MapFile::Weapons),
            "10 20 30 10 50 7.5 Uzi 12 3 1 1.9\n"
            "10 20 30 10 50 7.5 Uzi 12 3 -4 -1.5");
  writeFile(path(MapFile::Lawns), "20.7 30.2 20.7 40.99 -3");
  writeFile(path(MapFile::Drivers), "300 400 29 18");
  writeFile(path(MapFile::BadGuys), "500 600 30 20");
  world.mapName = "town";
  loadMap(world);

  ASSERT_EQ(world.weapons.count(), 2);
  EXPECT_EQ(world.weapons[0]->range, 1000);
  EXPECT_EQ(world.weapons[0]->imageIndex, 1);
  EXPECT_EQ(world.weapons[0]->weaponImage, 1);
  EXPECT_EQ(world.weapons[1]->imageIndex, -1);  // kept; drawing uses picture 0
  EXPECT_EQ(world.weapons[1]->weaponImage, -4);

  ASSERT_EQ(world.lawns.count(), 1);
  const Lawn& l = *world.lawns[0];
  EXPECT_DOUBLE_EQ(l.x, 20);
  EXPECT_DOUBLE_EQ(l.y, 30);
  EXPECT_DOUBLE_EQ(l.w, 20);
  EXPECT_DOUBLE_EQ(l.h, 40);
  EXPECT_EQ(l.colourIndex, -3);

  ASSERT_EQ(world.drivers.count(), 1);
  const Person& d = *world.drivers[0];
  EXPECT_EQ(d.name, "Tarko");
  EXPECT_DOUBLE_EQ(d.x, 300);
  EXPECT_DOUBLE_EQ(d.y, 400);
  EXPECT_DOUBLE_EQ(d.money, 1000.0);
  EXPECT_DOUBLE_EQ(d.life, 100.0);
  EXPECT_DOUBLE_EQ(d.handsPower, 50.0);
  EXPECT_TRUE(d.flag);
  EXPECT_EQ(d.weapons.size(), 1u);

  ASSERT_EQ(world.badGuys.count(), 1);
  const Person& b = *world.badGuys[0];
  EXPECT_EQ(b.name, "Eno");
  EXPECT_DOUBLE_EQ(b.money, 10.0);
  EXPECT_DOUBLE_EQ(b.w, 30);
  ASSERT_EQ(b.weapons.size(), 3u);
  EXPECT_EQ(b.weapons[1]->name, "AK47");
  EXPECT_EQ(b.weapons[1]->ammo, 100);
  EXPECT_EQ(b.weapons[1]->range, 500);
  EXPECT_DOUBLE_EQ(b.weapons[1]->x, 500);
  EXPECT_EQ(b.weapons[2]->name, "M4");
  EXPECT_EQ(b.weapons[2]->ammo, 1000);
  EXPECT_EQ(b.currentWeapon, 2);
}

TEST(MapFiles, AnyWhiteSpaceSeparatesFieldsAndTrailingSpaceIsIgnored) {
  ScratchDir scratch;
  World world;
  loadOnly(world, MapFile::Roads,
           "  10\t20  30\r\n40\nMain\r\n\n\t11 21 31 41\vSide\f \r\n \t ");
  ASSERT_EQ(world.roads.count(), 2);
  EXPECT_DOUBLE_EQ(world.roads[0]->x, 10);
  EXPECT_DOUBLE_EQ(world.roads[0]->h, 40);
  EXPECT_EQ(world.roads[0]->name, "Main");
  EXPECT_DOUBLE_EQ(world.roads[1]->w, 31);
  EXPECT_EQ(world.roads[1]->name, "Side");
}

TEST(MapFiles, ReadingStopsAtABadOrMissingFieldAndKeepsWhatCameBefore) {
  struct Case {
    const char* text;
    int sidewalks;
  };
  const Case cases[] = {
      {"1 2 3 4\n5 6 7", 1},                // truncated last record
      {"1 2 3 4\n5 6 seven 8\n9 9 9 9", 1},  // a word where a double belongs
      {"1 2 3 4\n5 6 7x 8\n9 9 9 9", 1},     // digits followed by rubbish
      {"1 2 3 4\n5 6 inf 8", 1},
      {"1 2 3 4\n5 6 nan 8", 1},
      {"1 2 3 4\n5 6 0x10 8", 1},
      {"1 2 3 4\n5 6 1e999 8", 1},  // does not fit a double
      {"1 2 3 4\n5 6 . 8", 1},
      {"1 2 3 4\n5 6 1e 8", 1},
      {"1 2 3 4\n5 6 -.5 +8.", 2},  // unusual but valid decimal forms
      {"1 2 3 4\n5 6 7 1E+2", 2},
      {"", 0},
  };
  for (const Case& c : cases) {
    World world;
    std::istringstream in(c.text);
    readMapFile(world, MapFile::Sidewalks, in);
    EXPECT_EQ(world.sidewalks.count(), c.sidewalks) << c.text;
  }

  // Int fields take plain integers only.
  const Case ints[] = {
      {"1 1 1 1 a 1 1 3\n1 1 1 1 b 1 1 3.5\n1 1 1 1 c 1 1 3", 1},
      {"1 1 1 1 a 1 1 3\n1 1 1 1 b 1 1 99999999999", 1},
      {"1 1 1 1 a 1 1 +3\n1 1 1 1 b 1 1 -", 1},
      {"1 1 1 1 a 1 1 2147483647\n1 1 1 1 b 1 1 -2147483648", 2},
  };
  for (const Case& c : ints) {
    World world;
    std::istringstream in(c.text);
    readMapFile(world, MapFile::Houses, in);
    EXPECT_EQ(world.houses.count(), c.sidewalks) << c.text;
  }

  // A pedestrian's flag is 0 or 1; the bullet picture reads as a double that fits an int.
  World world;
  std::istringstream peds("5 5 1 1 1 0 0 0 1 1 1 a 0\n5 5 1 1 2 0 0 0 1 1 1 b 0");
  readMapFile(world, MapFile::Pedestrians, peds);
  EXPECT_EQ(world.pedestrians.count(), 1);
  std::istringstream guns("5 5 1 1 1 1 g 1 1 1 2.5\n5 5 1 1 1 1 h 1 1 1 3e10");
  readMapFile(world, MapFile::Weapons, guns);
  ASSERT_EQ(world.weapons.count(), 1);
  EXPECT_EQ(world.weapons[0]->imageIndex, 2);
}

TEST(MapFiles, AFileLongerThanItsListStopsAtTheCapacity) {
  ScratchDir scratch;
  std::string text;
  for (int i = 0; i < 50; ++i) text += "0 5 1 1\n";  // dropped, do not count
  for (int i = 0; i < 700; ++i) text += std::to_string(1 + i) + " 5 1 1\n";
  World world;
  loadOnly(world, MapFile::Drivers, text);
  ASSERT_EQ(world.drivers.count(), BIG_LIST_CAPACITY);
  EXPECT_DOUBLE_EQ(world.drivers[0]->x, 1);
  EXPECT_DOUBLE_EQ(world.drivers[BIG_LIST_CAPACITY - 1]->x, BIG_LIST_CAPACITY);

  // Full networks still link (every sidewalk touches the next in a long row).
  std::string row;
  for (int i = 0; i < 520; ++i) row += std::to_string(1 + i * 5) + " 100 5 5\n";
  World full;
  loadOnly(full, MapFile::Sidewalks, row);
  ASSERT_EQ(full.sidewalks.count(), BIG_LIST_CAPACITY);
  EXPECT_EQ(full.sidewalks[0]->neighbours.size(), 1u);
  EXPECT_EQ(full.sidewalks[1]->neighbours.size(), 2u);
  EXPECT_EQ(full.sidewalks[BIG_LIST_CAPACITY - 1]->neighbours.size(), 1u);
}

TEST(MapFiles, TextsWithBlanksStayOneFieldAndShiftNothing) {
  ScratchDir scratch;
  World world;
  world.mapName = "town";
  world.houses.append(house(10, 10, 5, 5, "Old town\thall\r\n", 100, 0, 1));
  world.houses.append(house(20, 20, 5, 5, " ", 100, 0, 2));
  world.houses.append(house(30, 30, 5, 5, "", 100, 0, 3));
  world.roads.append(road(10, 10, 5, 5, "Long street"));
  world.roads.append(road(20, 20, 5, 5, ""));
  world.roads.append(road(30, 30, 5, 5, "Short"));
  world.pedestrians.append(pedestrian("Anna Maria", 10, 10));
  world.pedestrians.append(pedestrian("", 20, 20));
  world.pedestrians.append(pedestrian("Bo", 30, 30));
  world.weapons.append(makeWeapon("Big gun", 10, 10, 1, 1, 1, 1, 1, 1));
  world.weapons.append(makeWeapon("", 20, 20, 2, 1, 1, 1, 1, 1));
  world.weapons.append(makeWeapon("Knife", 30, 30, 3, 1, 1, 1, 1, 1));
  ASSERT_EQ(saveMap(world), "");

  World back;
  back.mapName = "town";
  loadMap(back);
  ASSERT_EQ(back.houses.count(), 3);
  EXPECT_EQ(back.houses[0]->text, "Old_town_hall__");
  EXPECT_EQ(back.houses[1]->text, "_");
  EXPECT_EQ(back.houses[2]->text, "");
  EXPECT_EQ(back.houses[2]->colourIndex, 3);
  ASSERT_EQ(back.roads.count(), 3);
  EXPECT_EQ(back.roads[0]->name, "Long_street");
  EXPECT_EQ(back.roads[1]->name, "-");
  EXPECT_EQ(back.roads[2]->name, "Short");
  EXPECT_DOUBLE_EQ(back.roads[2]->x, 30);
  ASSERT_EQ(back.pedestrians.count(), 3);
  EXPECT_EQ(back.pedestrians[0]->name, "Anna_Maria");
  EXPECT_EQ(back.pedestrians[1]->name, "-");
  EXPECT_EQ(back.pedestrians[2]->name, "Bo");
  EXPECT_DOUBLE_EQ(back.pedestrians[2]->wantedLevel, 2.5);
  ASSERT_EQ(back.weapons.count(), 3);
  EXPECT_EQ(back.weapons[0]->name, "Big_gun");
  EXPECT_EQ(back.weapons[1]->name, "-");
  EXPECT_EQ(back.weapons[2]->name, "Knife");
  EXPECT_EQ(back.weapons[2]->ammo, 3);
}

TEST(MapFiles, NonFiniteNumbersAreWrittenSoTheRestOfTheFileStillLoads) {
  World world;
  world.sidewalks.append(segment<Sidewalk>(10, 10, std::numeric_limits<double>::infinity(), 5));
  world.sidewalks.append(segment<Sidewalk>(std::nan(""), 10, 5, 5));
  world.sidewalks.append(segment<Sidewalk>(20, 20, 5, 5));
  EXPECT_EQ(written(world, MapFile::Sidewalks), "10 10 0 5\n0 10 5 5\n20 20 5 5");
  World back;
  std::istringstream in(written(world, MapFile::Sidewalks));
  readMapFile(back, MapFile::Sidewalks, in);
  ASSERT_EQ(back.sidewalks.count(), 2);
  EXPECT_DOUBLE_EQ(back.sidewalks[1]->x, 20);
}

TEST(MapFiles, RectDistance) {
  struct Case {
    Rect a, b;
    double distance;
  };
  const Case cases[] = {
      {{0, 0, 10, 10}, {13, 0, 10, 10}, 3.0},           // side by side, 3 apart
      {{0, 0, 10, 10}, {0, 14, 10, 10}, 4.0},           // above each other, 4 apart
      {{0, 0, 10, 10}, {5, 12, 10, 10}, 2.0},           // offset but overlapping in x
      {{0, 0, 10, 10}, {13, 12, 10, 10}, std::sqrt(13.0)},  // corners 3 and 2 apart
      {{0, 0, 10, 10}, {13, 13, 10, 10}, std::sqrt(18.0)},  // corners 3 and 3 apart
      {{0, 0, 10, 10}, {10, 0, 10, 10}, 0.0},           // touching edges
      {{0, 0, 10, 10}, {10, 10, 10, 10}, 0.0},          // touching corners
      {{0, 0, 100, 100}, {20, 20, 10, 10}, 0.0},        // one inside the other
      {{0, 0, 10, 10}, {5, 5, 10, 10}, 0.0},            // overlapping corners
      {{0, 40, 100, 20}, {40, 0, 20, 100}, NO_CONTACT},  // a plus sign
      {{0, 40, 100, 20}, {100, 0, 20, 100}, 0.0},       // end to end
      {{0, 40, 50, 20}, {40, 0, 20, 100}, 0.0},         // a T: the end lies inside
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(rectDistance(c.a, c.b), c.distance)
        << c.a.x << "," << c.a.y << " " << c.b.x << "," << c.b.y;
    EXPECT_DOUBLE_EQ(rectDistance(c.b, c.a), c.distance) << "reversed";
  }
}

TEST(MapFiles, NetworksLinkSegmentsCloserThanFourInAscendingOrder) {
  ScratchDir scratch;
  std::filesystem::create_directories("maps/town");
  // Sidewalk 0 is the hub; 1 is 3 px right of it, 2 is 4 px below, 3 sits diagonally at
  // corner gaps (3, 2), 4 at (3, 3), 5 lies inside 0.
  writeFile(path(MapFile::Sidewalks),
            "100 100 50 50\n"
            "153 100 20 20\n"
            "100 154 20 20\n"
            "153 152 20 20\n"
            "47 47 50 50\n"
            "110 110 5 5");
  // Roads: 0 and 1 cross like a plus, 2 continues 0 end to end, 3 is far away.
  writeFile(path(MapFile::Roads),
            "500 540 100 20 a\n"
            "540 500 20 100 b\n"
            "600 540 100 20 c\n"
            "2000 2000 10 10 d");
  World world;
  world.mapName = "town";
  loadMap(world);
  auto& s = world.sidewalks;
  ASSERT_EQ(s.count(), 6);
  EXPECT_EQ(s[0]->neighbours, (std::vector<Segment*>{s[1], s[3], s[5]}));
  EXPECT_EQ(s[1]->neighbours, (std::vector<Segment*>{s[0]}));
  EXPECT_TRUE(s[2]->neighbours.empty());
  EXPECT_EQ(s[3]->neighbours, (std::vector<Segment*>{s[0]}));
  EXPECT_TRUE(s[4]->neighbours.empty());
  EXPECT_EQ(s[5]->neighbours, (std::vector<Segment*>{s[0]}));
  auto& r = world.roads;
  ASSERT_EQ(r.count(), 4);
  EXPECT_EQ(r[0]->neighbours, (std::vector<Segment*>{r[2]}));
  EXPECT_TRUE(r[1]->neighbours.empty());
  EXPECT_EQ(r[2]->neighbours, (std::vector<Segment*>{r[0]}));
  EXPECT_TRUE(r[3]->neighbours.empty());

  // A reload links afresh instead of adding to old lists.
  loadMap(world);
  EXPECT_EQ(world.sidewalks[0]->neighbours.size(), 3u);
}

TEST(MapFiles, LoadingEmptiesTheOldCityAndLeavesNothingPointingIntoIt) {
  ScratchDir scratch;
  World world;
  loadOnly(world, MapFile::Cars, "100 100 69 94 0 100 0 10 0 4 0 0.1");
  world.player = makePerson("Valdero", world.cars[0], 0, false, true, 100, 0, 5, 100, 100, 29,
                            18, {}, 100, 1000);
  world.deathMarks.append(std::make_unique<DeathMark>());
  world.moneyDrops.append(std::make_unique<MoneyDrop>());
  world.bullets.append(std::make_unique<Bullet>());
  world.drivers.append(makePerson("Tarko", nullptr, 0, true, false, 100, 0, 0, 5, 5, 29, 18, {},
                                  50, 1000));
  world.drivers[0]->targetCar = world.cars[0];
  loadMap(world);  // without clearWorld first
  EXPECT_EQ(world.cars.count(), 1);
  EXPECT_EQ(world.drivers.count(), 0);
  EXPECT_EQ(world.deathMarks.count(), 0);
  EXPECT_EQ(world.moneyDrops.count(), 0);
  EXPECT_EQ(world.bullets.count(), 0);
  EXPECT_EQ(world.player->targetCar, nullptr);
  EXPECT_FALSE(world.player->inCar);
}

TEST(LevelList, NamesPerLineWithAFinalLineBreakGivingAnEmptyName) {
  ScratchDir scratch;
  EXPECT_TRUE(readLevelList().empty());  // missing
  writeFile("maps/levels.txt", "");
  EXPECT_TRUE(readLevelList().empty());
  writeFile("maps/levels.txt", "a\nb");
  EXPECT_EQ(readLevelList(), (std::vector<std::string>{"a", "b"}));
  writeFile("maps/levels.txt", "a\nb\n");
  EXPECT_EQ(readLevelList(), (std::vector<std::string>{"a", "b", ""}));
  writeFile("maps/levels.txt", "\n");
  EXPECT_EQ(readLevelList(), (std::vector<std::string>{"", ""}));
  writeFile("maps/levels.txt", "old town\r\nnew\r\n");
  EXPECT_EQ(readLevelList(), (std::vector<std::string>{"old town", "new", ""}));

  World world;
  world.levels = {"smalltown", "big city", "third"};
  // A map folder may carry any name a map can take; none is the list's temporary name.
  std::filesystem::create_directory("maps/levels.txt.tmp");
  ASSERT_EQ(saveLevelList(world), "");
  EXPECT_EQ(readFile("maps/levels.txt"), "smalltown\nbig city\nthird");
  EXPECT_EQ(readLevelList(), world.levels);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("maps"), {}), 2);
  world.levels.clear();
  ASSERT_EQ(saveLevelList(world), "");
  EXPECT_EQ(readFile("maps/levels.txt"), "");
  EXPECT_TRUE(readLevelList().empty());
}

TEST(LevelList, AnInstalledGameReadsBothFoldersAndWritesOnlyTheUsers) {
  ScratchDir scratch;
  std::filesystem::create_directories("share/maps/a");
  writeFile("share/maps/levels.txt", "a\nb");
  writeFile("share/maps/a/houses.txt", "500 500 100 80 Hus 100 0 2");
  DataFolders installed;
  installed.shippedMaps = "share/maps";
  installed.userMaps = "user/zor/maps";  // not made yet: the first save makes it
  setDataFolders(installed);

  World world;
  world.levels = readLevelList();
  EXPECT_EQ(world.levels, (std::vector<std::string>{"a", "b"}));
  world.mapName = "a";
  loadMap(world);
  ASSERT_EQ(world.houses.count(), 1);
  world.houses[0]->text = "Edited";
  EXPECT_EQ(saveMap(world), "");
  // The shipped map stays as shipped; the user's copy is read from now on.
  EXPECT_EQ(readFile("share/maps/a/houses.txt"), "500 500 100 80 Hus 100 0 2");
  EXPECT_EQ(mapFilePath("a", MapFile::Houses), "user/zor/maps/a/houses.txt");
  loadMap(world);
  ASSERT_EQ(world.houses.count(), 1);
  EXPECT_EQ(world.houses[0]->text, "Edited");

  // A new map is listed in the user's list only, after the shipped names.
  world.levels.push_back("c");
  world.mapName = "c";
  EXPECT_EQ(saveMap(world), "");
  EXPECT_EQ(saveLevelList(world), "");
  EXPECT_EQ(readFile("user/zor/maps/levels.txt"), "c");
  EXPECT_EQ(readFile("share/maps/levels.txt"), "a\nb");
  EXPECT_EQ(readLevelList(), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_TRUE(mapFolderExists("c"));
  EXPECT_FALSE(std::filesystem::exists("share/maps/c"));
  setDataFolders(DataFolders());
}
