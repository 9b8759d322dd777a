// Saving under faults: a save that fails half-way never leaves a file half-written.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <sstream>

#include "world/world.h"
#include "world/map_files.h"
#include "support/records.h"
#include "support/scratch.h"
using namespace testsupport;

namespace {

// A city with every list filled; `variant` changes every value, so two variants differ in
// every file, and `size` sets how many records each list gets.
void fillCity(World& world, int variant, int size) {
  const std::string v = std::to_string(variant);
  for (int i = 0; i < size; ++i) {
    const double x = 1 + i * 2.5 + variant * 0.125, y = 2 + i * 1.75 + variant;
    world.houses.append(makeRect<House>(x, y, 40 + variant, 30))->text = "House" + v;
    world.roads.append(makeRect<Road>(x, y, 100 + variant, 60))->name = "Road" + v;
    world.sidewalks.append(makeRect<Sidewalk>(x, y, 20, 80 + variant));
    world.lawns.append(makeRect<Lawn>(x, y, 50, 50))->colourIndex = variant;
    world.cars.append(CarSpec{}.at(x, y).life(100 + variant).make());
    world.weapons.append(
        WeaponSpec{}.name("Gun" + v).at(x, y).ammo(10).weaponImage(1).bulletImage(1).make());
    for (auto* list : {&world.pedestrians, &world.drivers, &world.badGuys})
      list->append(PersonSpec{}.name("P" + v).at(x, y).size(29 + variant, 18).money(10).make());
  }
}

std::array<std::string, MAP_FILE_COUNT> filesOf(const World& world) {
  std::array<std::string, MAP_FILE_COUNT> texts;
  for (int f = 0; f < MAP_FILE_COUNT; ++f) {
    std::ostringstream out;
    writeMapFile(world, static_cast<MapFile>(f), out);
    texts[f] = out.str();
  }
  return texts;
}

std::string onDisk(const char* map, int f) {
  return readFile(mapFilePath(map, static_cast<MapFile>(f)));
}
}  // namespace

TEST(SaveFaults, AFileThatCannotBeWrittenKeepsItsOldVersion) {
  ScratchDir scratch;
  World before;
  before.mapName = "town";
  fillCity(before, 1, 3);
  ASSERT_EQ(saveMap(before), "");
  const auto old = filesOf(before);

  World after;
  after.mapName = "town";
  fillCity(after, 2, 400);
  const auto fresh = filesOf(after);

  // The temporary name is taken by a folder: houses.txt cannot be replaced, the rest can,
  // and the save says which file failed and why.
  std::filesystem::create_directory("maps/town/houses.txt~");
  EXPECT_EQ(saveMap(after), "maps/town/houses.txt: Is a directory");
  EXPECT_EQ(onDisk("town", 0), old[0]);
  for (int f = 1; f < MAP_FILE_COUNT; ++f) EXPECT_EQ(onDisk("town", f), fresh[f]) << f;
  std::filesystem::remove("maps/town/houses.txt~");

  // A full disk: files larger than the limit fail in the middle of writing. (A temporary file
  // left by a killed save is written over.)
  writeFile("maps/town/roads.txt~", std::string(5000, 'x'));
  ASSERT_EQ(saveMap(before), "");
  const rlim_t limit = fresh[int(MapFile::Drivers)].size() + 16;
  ASSERT_GT(fresh[int(MapFile::Houses)].size(), limit);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit r{limit, limit};
    setrlimit(RLIMIT_FSIZE, &r);
    _exit(saveMap(after) == "maps/town/houses.txt: File too large" ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);  // the failed write was reported
  for (int f = 0; f < MAP_FILE_COUNT; ++f) {
    const std::string text = onDisk("town", f);
    if (fresh[f].size() > limit)
      EXPECT_EQ(text, old[f]) << f;  // the failed write left the old file alone
    else
      EXPECT_EQ(text, fresh[f]) << f;
    EXPECT_FALSE(std::filesystem::exists(mapFilePath("town", MapFile(f)) + "~")) << f;
  }
}
