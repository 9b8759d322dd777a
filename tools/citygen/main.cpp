// zor_citygen: writes a generated city as a map folder, with the options that made it.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "world/world.h"
#include "tools/citygen/city_generator.h"
#include "world/map_files.h"

namespace {

void usage() {
  std::fprintf(stderr,
               "usage: zor_citygen [--seed N] [--style downtown|suburb|smalltown] [--density X]\n"
               "                   [--stress] [--name NAME] [--out FOLDER] [--add-to-levels]\n"
               "       zor_citygen --remake FOLDER\n"
               "Writes the map into FOLDER (default maps/NAME; NAME defaults to the style) and\n"
               "the options into FOLDER/city.txt. --remake makes the city of FOLDER/city.txt\n"
               "again. --add-to-levels adds NAME to maps/levels.txt unless it is listed.\n");
}

}  // namespace

int main(int argc, char** argv) {
  CityOptions options;
  std::string name, out, remake;
  bool addToLevels = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) {
        usage();
        std::exit(2);
      }
      return argv[++i];
    };
    if (arg == "--seed")
      options.seed = std::strtoull(value().c_str(), nullptr, 10);
    else if (arg == "--style")
      options.style = value();
    else if (arg == "--density")
      options.density = std::atof(value().c_str());
    else if (arg == "--stress")
      options.stress = true;
    else if (arg == "--name")
      name = value();
    else if (arg == "--out")
      out = value();
    else if (arg == "--remake")
      remake = value();
    else if (arg == "--add-to-levels")
      addToLevels = true;
    else {
      usage();
      return 2;
    }
  }
  if (!remake.empty()) {
    if (!readCityRecipe(remake, options)) {
      std::fprintf(stderr, "zor_citygen: no readable %s/%s\n", remake.c_str(), CITY_RECIPE);
      return 2;
    }
    out = remake;
    if (name.empty()) name = remake.substr(remake.find_last_of('/') + 1);
  }
  if (!knownCityStyle(options.style)) {
    usage();
    return 2;
  }
  if (name.empty()) name = options.stress ? "stress" : options.style;
  if (out.empty()) out = "maps/" + name;

  World world;
  generateCity(world, options);
  if (!writeCityFolder(world, out) || !writeCityRecipe(options, out)) {
    std::fprintf(stderr, "zor_citygen: cannot write %s\n", out.c_str());
    return 1;
  }
  if (addToLevels && !addToLevelList(name)) {
    std::fprintf(stderr, "zor_citygen: cannot add %s to maps/levels.txt\n", name.c_str());
    return 1;
  }
  // Check the city as the game will see it: linked by the loader's own rule.
  linkNetworks(world);
  const auto problems = cityProblems(world);
  for (const auto& p : problems) std::fprintf(stderr, "zor_citygen: %s\n", p.c_str());
  std::printf("%s: %d houses, %d roads, %d sidewalks, %d lawns, %d cars, %d drivers, "
              "%d pedestrians, %d bad guys, %d weapons\n",
              out.c_str(), world.houses.count(), world.roads.count(), world.sidewalks.count(),
              world.lawns.count(), world.cars.count(), world.drivers.count(),
              world.pedestrians.count(), world.badGuys.count(), world.weapons.count());
  return problems.empty() ? 0 : 1;
}
