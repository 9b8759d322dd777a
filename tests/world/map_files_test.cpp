// Map folders: every file written and read back, corrections, bad input, network links, and the
// fuzz target's seed inputs and every input it ever crashed on, run as plain tests.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "tools/fuzz/map_files_harness.h"
#include "world/data_folders.h"
#include "world/map_files.h"
#include "world/world.h"
#include "support/records.h"
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

std::unique_ptr<House> house(double x, double y, double w, double h, const std::string& text,
                             double life, double damage, int colour) {
  auto r = makeRect<House>(x, y, w, h);
  r->text = text;
  r->life = life;
  r->damage = damage;
  r->colourIndex = colour;
  return r;
}

std::unique_ptr<Road> road(double x, double y, double w, double h, const std::string& name) {
  auto r = makeRect<Road>(x, y, w, h);
  r->name = name;
  return r;
}

std::unique_ptr<Person> pedestrian(const std::string& name, double x, double y) {
  auto p = PersonSpec{}.name(name).at(x, y).life(80.5).damage(12.25).wanted(2.5).money(123.456789)
               .make();
  p->kind = 3;
  return p;
}

int runFolder(const std::filesystem::path& folder) {
  int cases = 0;
  if (!std::filesystem::is_directory(folder)) return 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string input = readFile(entry.path().string());
    EXPECT_EQ(fuzz::runCase(input.data(), input.size()), "") << entry.path();
    ++cases;
  }
  return cases;
}

}  // namespace

// Every file written, read back and written again: six significant digits, texts with blanks
// as one field ("_" for a blank, "-" for an empty name, "0" for an empty house text), and every
// field after a text read where it was written.
TEST(MapFiles, EveryFileRoundTripsToSixSignificantDigits) {
  ScratchDir scratch;
  World world;
  world.mapName = "town";
  world.houses.append(house(12.3456789, 2999.5, 100, 0.5, "Old town\thall\r\n", 100, 0.25, 3));
  world.houses.append(house(40, 50, 60, 70, "", 55.5, 0, 9));
  world.roads.append(road(10, 20, 1234567.0, 0.000012345, "Long street"));
  world.roads.append(road(1, 2, 3, 4, ""));
  auto car = CarSpec{}.at(700, 250).damage(5).heading(90).model(1).speed(0.5).make();
  car->x = 1234.9;  // moved during play: saved where it stands
  world.cars.append(std::move(car));
  world.cars.append(
      CarSpec{}.at(10, 20).size(30, 40).life(1).maxSpeed(2).model(7).spare(0).acceleration(3).make());
  world.pedestrians.append(pedestrian("Anna Maria", 250.5, 190));
  world.pedestrians.append(pedestrian("", 20, 20));
  auto weapon = WeaponSpec{}.name("Big gun").at(150, 250).ammo(30).range(500).weaponImage(2)
                    .bulletImage(1).power(10.5).rate(2).make();
  weapon->w = 31.5;
  world.weapons.append(std::move(weapon));
  world.weapons.append(
      WeaponSpec{}.name("").at(20, 20).ammo(2).weaponImage(1).bulletImage(1).power(1).make());
  world.sidewalks.append(makeRect<Sidewalk>(10, 180, 390, 20));
  world.sidewalks.append(makeRect<Sidewalk>(380.25, 10, 20, 170));
  world.lawns.append(makeRect<Lawn>(20, 20, 140, 150))->colourIndex = 3;
  world.drivers.append(PersonSpec{}.name("Tarko").at(600, 335.125).money(1000).make());
  world.badGuys.append(PersonSpec{}.name("Eno").at(900, 190).money(10).make());
  ASSERT_EQ(saveMap(world), "");

  // What a map maker reads in the files: one record per line, no line break at the end.
  EXPECT_EQ(readFile(path(MapFile::Houses)),
            "12.3457 2999.5 100 0.5 Old_town_hall__ 100 0.25 3\n40 50 60 70 0 55.5 0 9");
  EXPECT_EQ(readFile(path(MapFile::Roads)),
            "10 20 1.23457e+06 1.2345e-05 Long_street\n1 2 3 4 -");
  EXPECT_EQ(readFile(path(MapFile::Cars)),
            "1234.9 250 69 94 5 100 90 10 1 4 0.5 0.1\n10 20 30 40 0 1 0 2 7 0 0 3");
  EXPECT_EQ(readFile(path(MapFile::Pedestrians)),
            "250.5 190 29 18 1 12.25 0 3 80.5 5 123.457 Anna_Maria 2.5\n"
            "20 20 29 18 1 12.25 0 3 80.5 5 123.457 - 2.5");
  EXPECT_EQ(readFile(path(MapFile::Weapons)),
            "150 250 31.5 10 500 10.5 Big_gun 30 2 2 1\n20 20 30 10 1000 1 - 2 1 1 1");
  EXPECT_EQ(readFile(path(MapFile::Sidewalks)), "10 180 390 20\n380.25 10 20 170");
  EXPECT_EQ(readFile(path(MapFile::Lawns)), "20 20 140 150 3");
  EXPECT_EQ(readFile(path(MapFile::Drivers)), "600 335.125 29 18");
  EXPECT_EQ(readFile(path(MapFile::BadGuys)), "900 190 29 18");

  // Loading and saving again writes the same bytes, except what the loader fixes: a car's
  // centre is truncated and a weapon's range is always the standard one.
  World back;
  back.mapName = "town";
  loadMap(back);
  back.mapName = "again";
  ASSERT_EQ(saveMap(back), "");
  for (int f = 0; f < MAP_FILE_COUNT; ++f) {
    const auto file = static_cast<MapFile>(f);
    std::string expected = readFile(path(file));
    if (file == MapFile::Cars) expected.replace(0, 6, "1234");
    if (file == MapFile::Weapons) expected.replace(expected.find(" 500 "), 5, " 1000 ");
    EXPECT_EQ(readFile(mapFilePath("again", file)), expected) << f;
  }
  // What the files cannot show: derived and fixed fields of the loaded records.
  EXPECT_EQ(back.houses[1]->text, "");
  EXPECT_EQ(back.cars[0]->modelName, "Volvo");
  EXPECT_DOUBLE_EQ(back.cars[0]->speed, 0.5);
  ASSERT_EQ(back.pedestrians[0]->weapons.size(), 1u);
  EXPECT_EQ(back.pedestrians[0]->weapons[0]->name, "Hands");
}

// Reading stops at a field that does not read as its type or at the end of the file inside a
// record, keeping the records before; out-of-range values are replaced by their defaults.
TEST(MapFiles, ReadingStopsAtABadFieldAndCorrectsBadValues) {
  using F = MapFile;
  const struct {
    MapFile file;
    const char *text, *loaded;
  } cases[] = {
      {F::Sidewalks, "1 2 3 4\n5 6 7", "1 2 3 4"},                  // truncated last record
      {F::Sidewalks, "1 2 3 4\n5 6 seven 8\n9 9 9 9", "1 2 3 4"},  // a word for a double
      {F::Sidewalks, "1 2 3 4\n5 6 7x 8\n9 9 9 9", "1 2 3 4"},     // digits, then rubbish
      {F::Sidewalks, "1 2 3 4\n5 6 inf 8", "1 2 3 4"},
      {F::Sidewalks, "1 2 3 4\n5 6 nan 8", "1 2 3 4"},
      {F::Sidewalks, "1 2 3 4\n5 6 0x10 8", "1 2 3 4"},
      {F::Sidewalks, "1 2 3 4\n5 6 1e999 8", "1 2 3 4"},  // does not fit a double
      {F::Sidewalks, "1 2 3 4\n5 6 . 8", "1 2 3 4"},
      {F::Sidewalks, "1 2 3 4\n5 6 1e 8", "1 2 3 4"},
      {F::Sidewalks, "1 2 3 4\n5 6 -.5 +8.", "1 2 3 4\n5 6 -0.5 8"},  // unusual but valid
      {F::Sidewalks, "1 2 3 4\n5 6 7 1E+2", "1 2 3 4\n5 6 7 100"},
      {F::Sidewalks, "", ""},
      // Int fields take plain integers only.
      {F::Houses, "1 1 1 1 a 1 1 3\n1 1 1 1 b 1 1 3.5\n1 1 1 1 c 1 1 3", "1 1 1 1 a 1 1 3"},
      {F::Houses, "1 1 1 1 a 1 1 3\n1 1 1 1 b 1 1 99999999999", "1 1 1 1 a 1 1 3"},
      {F::Houses, "1 1 1 1 a 1 1 +3\n1 1 1 1 b 1 1 -", "1 1 1 1 a 1 1 3"},
      {F::Houses, "1 1 1 1 a 1 1 2147483647\n1 1 1 1 b 1 1 -2147483648",
       "1 1 1 1 a 1 1 0\n1 1 1 1 b 1 1 0"},
      // A pedestrian's flag is 0 or 1; the bullet picture reads as a double that fits an int.
      {F::Pedestrians, "5 5 1 1 1 0 0 0 1 1 1 a 0\n5 5 1 1 2 0 0 0 1 1 1 b 0",
       "5 5 1 1 1 0 0 0 1 5 1 a 0"},
      {F::Weapons, "5 5 1 1 7 1 g 1 1 1 2.5\n5 5 1 1 1 1 h 1 1 1 3e10", "5 5 1 1 1000 1 g 1 1 1 2"},
      {F::Weapons, "5 5 1 1 7 1 g 1 1 1 -2147483648.5", "5 5 1 1 1000 1 g 1 1 1 -2147483648"},
      {F::Houses, "1 1 1 1 0 -5 -5 12", "1 1 1 1 0 100 0 0"},
      {F::Cars, "10.7 20 30 40 -1 -1 -1 -1 -1 -1 -1 -1", "10 20 30 40 0 100 0 100 0 4 1 10"},
      {F::Pedestrians, "5 5 1 1 0 -1 90 -1 -1 -1 -1 a -1", "5 5 1 1 1 0 0 0 100 5 0 a 0"},
      {F::Lawns, "0.5 2.2 3.9 4.5 12", "1 2 3 4 12"},
  };
  for (const auto& c : cases) {
    World world;
    std::istringstream in(c.text);
    readMapFile(world, c.file, in);
    std::ostringstream out;
    writeMapFile(world, c.file, out);
    EXPECT_EQ(out.str(), c.loaded) << c.text;
  }
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
  EXPECT_EQ(world.drivers[0]->weapons[0]->power, 50);  // a driver's bare hands
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

TEST(LevelList, NamesPerLineWithAFinalLineBreakGivingAnEmptyName) {
  ScratchDir scratch;
  EXPECT_TRUE(readLevelList().empty());  // missing
  const std::pair<const char*, std::vector<std::string>> lists[] = {
      {"", {}}, {"a\nb", {"a", "b"}}, {"a\nb\n", {"a", "b", ""}}, {"\n", {"", ""}},
      {"old town\r\nnew\r\n", {"old town", "new", ""}}};
  for (const auto& [text, names] : lists) {
    writeFile("maps/levels.txt", text);
    EXPECT_EQ(readLevelList(), names) << text;
  }
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

// The corpus holds the edge inputs too: records of every file next to the world's edges, sizes
// far beyond it, unreadable bytes, empty files and level lists of blank lines.
TEST(FuzzCases, SeedCorpusRunsClean) {
  EXPECT_GE(runFolder("tools/fuzz/corpus"), 25) << "run from the repository root";
}
