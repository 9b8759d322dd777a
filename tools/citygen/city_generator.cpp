// Lays out a city on a street grid the traffic drives well, and writes it as a map folder.
//
// The shape of the networks follows from how people and cars walk them:
// - Roads: square crossings at the grid points, and one road segment between two
//   crossings, touching them end to end. Roads are 4 pixels narrower than their crossings
//   on each side, so a road never touches the road around the corner (the loader would
//   link those, and a car would then cut across the block). Every road has two crossings
//   and every crossing two to four roads: no dead ends, where cars would turn on the spot.
// - Districts: the grid is cut along whole rows and columns of blocks into districts, each
//   with a road network of its own (a ring around its blocks and the streets between them)
//   and exactly one driven car. Cars of one network share its lanes in both directions, so
//   two of them meeting head-on would push each other back and forth for good.
// - Walkways: the districts are parted by wide grass medians, and the sidewalks run along
//   the middle of the medians, crossing each other at square junctions. The walkers' network
//   is thus connected without crossing a road, and kept out of reach of the cars, which swing
//   up to their half-diagonal past the road's edge.
// - Houses keep the same distance from the roads.
// - Parked cars stand in a lot at the top-left corner of a block: a driver who takes one
//   heads for the nearest road's first end, which lies just beyond that corner.
// - Driven cars stand on a road with their driver at the same spot; the driver gets in
//   at once and drives off.
#include "tools/citygen/city_generator.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <memory>
#include <queue>
#include <sstream>

#include "world/world.h"
#include "sim/collision.h"
#include "world/lifetime.h"
#include "world/map_files.h"

namespace {

// SplitMix64: the same stream on every platform and standard library.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Inclusive range.
  int range(int lo, int hi) {
    if (hi <= lo) return lo;
    return lo + static_cast<int>(next() % static_cast<uint64_t>(hi - lo + 1));
  }
  double unit() { return static_cast<double>(next() >> 11) / 9007199254740992.0; }
  bool chance(double p) { return unit() < p; }
  template <class T>
  const T& pick(const std::vector<T>& items) {
    return items[next() % items.size()];
  }

 private:
  uint64_t state_;
};

constexpr double CROSSING = 108;       // side of a square crossing
constexpr double VERGE = 4;            // a road is this much narrower than its crossing, each side
constexpr double SIDEWALK = 40;        // width of a walkway
constexpr double JUNCTION_INSET = 4;   // walkways are this much narrower than their junctions
// A car keeps only within its half-diagonal of its turn points, so its lane wanders over the
// road's width; turning, its body reaches up to its half-diagonal (58) past a crossing's edge.
// Houses keep this far inside a block, and the walkways this far from the roads.
constexpr double CAR_REACH = 58;
constexpr double BLOCK_MARGIN = CAR_REACH - VERGE;
constexpr double CAR_W = 69, CAR_H = 94;
constexpr double PERSON_W = 29, PERSON_H = 18;
// Walkers keep r + 2 inside a strip's top-left edges (r = half-diagonal of a person).
const double PATH_INSET = std::floor(std::sqrt(PERSON_W * PERSON_W + PERSON_H * PERSON_H) / 2 + 2);
constexpr double START_X = 100, START_Y = 100;  // where every level puts the player

struct Box {
  double x, y, w, h;
  double right() const { return x + w; }
  double bottom() const { return y + h; }
  bool contains(double px, double py) const {
    return x <= px && px <= x + w && y <= py && py <= y + h;
  }
  bool overlaps(const Box& o) const {
    return x < o.right() && o.x < right() && y < o.bottom() && o.y < bottom();
  }
  Box grown(double d) const { return {x - d, y - d, w + 2 * d, h + 2 * d}; }
};

struct Style {
  std::vector<int> columnGroups, rowGroups;  // blocks per district, across and down
  double margin;    // world edge to the first crossing
  double median;    // grass between two districts' roads, with the walkway in its middle
  double wobble;    // blocks differ in size by up to this fraction
  int pedestrians, badGuys, weapons;
  double parkChance, lotChance;
  int groundColour;  // lawn colour of the open ground
  int medianColour;  // lawn colour of the medians
  bool villas;       // one big house per lot on its own lawn, instead of a dense row
  int cellsPerSide = 0;  // houses per block side; 0: by the block's size
};

// The walkway keeps CAR_REACH (and the walker's own half-width) from the roads on both sides.
constexpr double MEDIAN = 150;
const Style DOWNTOWN{{1, 2, 1}, {1, 1, 1, 1}, 160, MEDIAN, 0.10, 60, 8, 6, 0.12, 0.3, 9, 5, false};
const Style SUBURB{{1, 2}, {1, 1, 1}, 200, MEDIAN, 0.10, 30, 5, 5, 0.25, 0.45, 2, 4, true};
// Stress: many small districts; the lists are then topped up to their capacities.
const Style STRESS{{1, 1, 1, 1, 1}, {1, 1, 1, 1, 1}, 160, MEDIAN, 0.0, 0, 0, 0, 0.1, 0.3, 6, 5,
                   false, 3};

const std::vector<std::string> ROW_NAMES{"Storgatan",   "Kyrkogatan", "Hamngatan", "Skolgatan",
                                         "Parkgatan",   "Brogatan",   "Torggatan", "Smedjegatan",
                                         "Kvarngatan",  "Ringvagen",  "Norrgatan", "Sodergatan",
                                         "Vastergatan", "Ostergatan"};
const std::vector<std::string> COLUMN_NAMES{
    "Kungsgatan", "Drottninggatan", "Sveavagen", "Vasagatan",  "Strandvagen",
    "Tullgatan",  "Mollevagen",     "Bangatan",  "Fabriksgatan", "Lasarettsgatan",
    "Slottsgatan", "Linnegatan",    "Bryggargatan", "Sjogatan"};
const std::vector<std::string> LANDMARKS{"Posten",  "Banken",    "Kiosken",  "Polisen",
                                         "Skolan",  "Kyrkan",    "Hotellet", "Biografen",
                                         "Apoteket", "Sjukhuset", "Biblioteket", "Stationen"};
const std::vector<std::string> FIRST_NAMES{
    "Anna",   "Bertil", "Cecilia", "David", "Erik",   "Frida",  "Gustav", "Hanna",
    "Ingrid", "Johan",  "Karin",   "Lars",  "Maja",   "Nils",   "Olle",   "Per",
    "Rut",    "Sven",   "Tove",    "Ulla",  "Viktor", "Wilma",  "Yngve",  "Astrid",
    "Bengt",  "Elsa",   "Gunnar",  "Kerstin", "Linnea", "Mats"};

struct GunKind {
  const char* name;
  double power;
  int ammo;
  double rate;
  int weaponImage;
  int bulletImage;
};
const std::vector<GunKind> GUNS{{"Glock", 20, 30, 3, 1, 1},
                                {"Uzi", 15, 120, 12, 1, 1},
                                {"Hagelgevar", 60, 12, 1, 2, 0},
                                {"Kpist", 25, 90, 8, 2, 1},
                                {"Revolver", 40, 18, 2, 1, 0}};

// Crossing lines and blocks along one axis.
struct Axis {
  std::vector<double> lines;     // left (or top) edge of each line of crossings
  std::vector<int> lineGroup;    // district group of each line
  std::vector<int> blockLine;    // the line of crossings before each block
  std::vector<double> medians;   // left (or top) edge of each median
  double begin = 0, end = 0;     // the city's extent along the axis
};

// One block: the land between four crossings.
struct Block {
  Box area;      // up to the roads
  Box interior;  // out of the cars' reach
  int column, row;
};

class CityBuilder {
 public:
  CityBuilder(World& world, const CityOptions& options, const Style& style)
      : world_(world), rng_(options.seed), style_(style), density_(options.density) {}

  void build() {
    columns_ = layAxis(style_.columnGroups);
    rows_ = layAxis(style_.rowGroups);
    layBlocks();
    addGround();
    addRoads();
    addWalkways();
    for (Block& block : blocks_) fillBlock(block);
    addStartCorner();
    addDrivenCars();
    addWalkers(scaled(style_.pedestrians), false);
    addWalkers(scaled(style_.badGuys), true);
    addWeapons(style_.weapons);
  }

  // Stress: every list topped up to its capacity, whatever that does to the traffic.
  void fillToCapacity() {
    splitUntilFull(world_.roads, 20);
    splitUntilFull(world_.sidewalks, 20);
    topUpHouses();
    topUpLawns();
    topUpCars();
    topUpDrivers();
    addWalkers(world_.pedestrians.capacity() - world_.pedestrians.count(), false);
    addWalkers(world_.badGuys.capacity() - world_.badGuys.count(), true);
    addWeapons(world_.weapons.capacity() - world_.weapons.count());
  }

 private:
  int scaled(int n) const { return std::max(0, static_cast<int>(std::lround(n * density_))); }

  // Lines of crossings along one axis: each district group has one line more than it has
  // blocks, and a median between groups. Block sizes vary a little around what fills the world.
  Axis layAxis(const std::vector<int>& groups) {
    int blocks = 0, lines = 0;
    for (int g : groups) {
      blocks += g;
      lines += g + 1;
    }
    const double span = WORLD_SIZE - 2 * style_.margin - lines * CROSSING -
                        (static_cast<int>(groups.size()) - 1) * style_.median;
    std::vector<double> weights(blocks);
    double total = 0;
    for (double& w : weights) {
      w = 1.0 + style_.wobble * (2 * rng_.unit() - 1);
      total += w;
    }
    Axis axis;
    double pos = style_.margin, used = 0;
    int block = 0;
    axis.begin = pos;
    for (size_t g = 0; g < groups.size(); ++g) {
      if (g > 0) {
        axis.medians.push_back(pos);
        pos += style_.median;
      }
      for (int k = 0; k <= groups[g]; ++k) {
        axis.lines.push_back(pos);
        axis.lineGroup.push_back(static_cast<int>(g));
        pos += CROSSING;
        if (k == groups[g]) break;
        // Whole numbers in steps of 4; the last block takes what is left.
        const double size =
            block + 1 < blocks ? 4 * std::floor(span * weights[block] / total / 4) : span - used;
        axis.blockLine.push_back(static_cast<int>(axis.lines.size()) - 1);
        used += size;
        pos += size;
        ++block;
      }
    }
    axis.end = pos;
    return axis;
  }

  void layBlocks() {
    for (size_t row = 0; row < rows_.blockLine.size(); ++row)
      for (size_t col = 0; col < columns_.blockLine.size(); ++col) {
        const int cl = columns_.blockLine[col], rl = rows_.blockLine[row];
        Block b;
        b.area = {columns_.lines[cl] + CROSSING, rows_.lines[rl] + CROSSING,
                  columns_.lines[cl + 1] - columns_.lines[cl] - CROSSING,
                  rows_.lines[rl + 1] - rows_.lines[rl] - CROSSING};
        b.interior = b.area.grown(-BLOCK_MARGIN);
        b.column = static_cast<int>(col);
        b.row = static_cast<int>(row);
        blocks_.push_back(b);
      }
  }

  void addLawn(const Box& b, int colour) {
    auto lawn = std::make_unique<Lawn>();
    lawn->x = std::floor(b.x);
    lawn->y = std::floor(b.y);
    lawn->w = std::floor(b.w);
    lawn->h = std::floor(b.h);
    lawn->colourIndex = colour;
    world_.lawns.append(std::move(lawn));
  }

  // Open ground under everything, in tiles: a rectangle is drawn only when a corner or a whole
  // edge of it lies on the screen, so one lawn holding the whole screen would not be drawn.
  // The medians get a grass of their own.
  void addGround() {
    const double tile = 400;
    for (double y = 1; y < WORLD_SIZE - 1; y += tile)
      for (double x = 1; x < WORLD_SIZE - 1; x += tile)
        addLawn({x, y, std::min(tile, WORLD_SIZE - 1 - x), std::min(tile, WORLD_SIZE - 1 - y)},
                style_.groundColour);
    for (double m : columns_.medians)
      for (const auto& part : shortParts(rows_.begin, rows_.end))
        addLawn({m, part.first, style_.median, part.second - part.first}, style_.medianColour);
    for (double m : rows_.medians)
      for (const auto& part : shortParts(columns_.begin, columns_.end))
        addLawn({part.first, m, part.second - part.first, style_.median}, style_.medianColour);
  }

  void addRoad(const Box& b, const std::string& name, bool straight) {
    auto road = std::make_unique<Road>();
    road->x = b.x;
    road->y = b.y;
    road->w = b.w;
    road->h = b.h;
    road->name = name;
    Road* added = world_.roads.append(std::move(road));
    if (added && straight) districtRoads_.back().push_back(added);
  }

  // Each district: crossings at its lines, a road between neighbouring crossings.
  void addRoads() {
    const int columnGroups = static_cast<int>(style_.columnGroups.size());
    const int rowGroups = static_cast<int>(style_.rowGroups.size());
    for (int gy = 0; gy < rowGroups; ++gy)
      for (int gx = 0; gx < columnGroups; ++gx) {
        districtRoads_.emplace_back();
        std::vector<int> xs, ys;
        for (size_t i = 0; i < columns_.lines.size(); ++i)
          if (columns_.lineGroup[i] == gx) xs.push_back(static_cast<int>(i));
        for (size_t j = 0; j < rows_.lines.size(); ++j)
          if (rows_.lineGroup[j] == gy) ys.push_back(static_cast<int>(j));
        for (size_t b = 0; b < ys.size(); ++b)
          for (size_t a = 0; a < xs.size(); ++a) {
            const double x = columns_.lines[xs[a]], y = rows_.lines[ys[b]];
            const std::string& street = ROW_NAMES[ys[b] % ROW_NAMES.size()];
            addRoad({x, y, CROSSING, CROSSING}, street, false);
            if (a + 1 < xs.size())
              addRoad({x + CROSSING, y + VERGE, columns_.lines[xs[a + 1]] - x - CROSSING,
                       CROSSING - 2 * VERGE},
                      street, true);
            if (b + 1 < ys.size())
              addRoad({x + VERGE, y + CROSSING, CROSSING - 2 * VERGE,
                       rows_.lines[ys[b + 1]] - y - CROSSING},
                      COLUMN_NAMES[xs[a] % COLUMN_NAMES.size()], true);
          }
      }
  }

  void addSidewalk(const Box& b) {
    auto s = std::make_unique<Sidewalk>();
    s->x = b.x;
    s->y = b.y;
    s->w = b.w;
    s->h = b.h;
    world_.sidewalks.append(std::move(s));
  }

  // Pieces of a walkway from `from` to `to`, ending end to end at the junctions that start at
  // `cuts`.
  std::vector<std::pair<double, double>> walkwayPieces(double from, double to,
                                                       const std::vector<double>& cuts) {
    std::vector<std::pair<double, double>> pieces;
    double start = from;
    for (double cut : cuts) {
      pieces.push_back({start, cut});
      start = cut + SIDEWALK + 2 * JUNCTION_INSET;
    }
    pieces.push_back({start, to});
    return pieces;
  }

  // Walkers turn toward a waypoint once, in whole degrees, and must pass within 10 pixels of
  // it: beyond about 500 pixels the rounded heading can miss it, and the walker would go on
  // to the world's edge. Walkways are laid in pieces of at most this length.
  static constexpr double LONGEST_WALK = 400;

  std::vector<std::pair<double, double>> shortParts(double from, double to) {
    const int parts = static_cast<int>(std::ceil((to - from) / LONGEST_WALK));
    std::vector<std::pair<double, double>> out;
    double start = from;
    for (int k = 1; k <= parts; ++k) {
      const double end = k == parts ? to : std::floor(from + (to - from) * k / parts);
      out.push_back({start, end});
      start = end;
    }
    return out;
  }

  // A walkway down the middle of every median, the length of the city, with a square junction
  // wherever two of them cross.
  void addWalkways() {
    const double inset = (style_.median - SIDEWALK) / 2;
    std::vector<double> xs, ys;  // left / top edge of each walkway
    for (double m : columns_.medians) xs.push_back(m + inset);
    for (double m : rows_.medians) ys.push_back(m + inset);
    std::vector<double> xCuts, yCuts;  // junctions start JUNCTION_INSET before their walkway
    for (double x : xs) xCuts.push_back(x - JUNCTION_INSET);
    for (double y : ys) yCuts.push_back(y - JUNCTION_INSET);
    for (double x : xs)
      for (const auto& piece : walkwayPieces(rows_.begin, rows_.end, yCuts))
        for (const auto& part : shortParts(piece.first, piece.second))
          addWalkway({x, part.first, SIDEWALK, part.second - part.first});
    for (double y : ys)
      for (const auto& piece : walkwayPieces(columns_.begin, columns_.end, xCuts))
        for (const auto& part : shortParts(piece.first, piece.second))
          addWalkway({part.first, y, part.second - part.first, SIDEWALK});
    const double side = SIDEWALK + 2 * JUNCTION_INSET;
    for (double x : xCuts)
      for (double y : yCuts) addSidewalk({x, y, side, side});
  }

  void addWalkway(const Box& b) {
    addSidewalk(b);
    strips_.push_back(b);
  }

  void addHouse(const Box& b, const std::string& text) {
    auto house = std::make_unique<House>();
    house->x = std::floor(b.x);
    house->y = std::floor(b.y);
    house->w = std::floor(b.w);
    house->h = std::floor(b.h);
    house->text = text;
    house->life = 100.0;
    house->damage = 0.0;
    house->colourIndex = rng_.range(0, 9);
    const Box placed{house->x, house->y, house->w, house->h};
    if (world_.houses.append(std::move(house))) houses_.push_back(placed);
  }

  std::string nextHouseText() {
    // A few houses carry a sign; the rest show the editor's "-".
    if (landmark_ < LANDMARKS.size() && rng_.chance(0.25)) return LANDMARKS[landmark_++];
    return "-";
  }

  void addCar(double x, double y, int heading) {
    // City traffic: slow enough that people crossing the street mostly make it.
    const double maxSpeed = rng_.range(35, 55) / 10.0;
    const double acceleration = rng_.range(10, 20) / 100.0;
    world_.cars.append(makeMapCar(std::floor(x), std::floor(y), CAR_W, CAR_H, 0.0, 100.0, heading,
                                  maxSpeed, rng_.range(0, 1), 4, 0.0, acceleration));
  }

  void addParkedCar(double x, double y, int heading) {
    addCar(x, y, heading);
    parked_.push_back({x - CAR_W, y - CAR_H, 2 * CAR_W, 2 * CAR_H});
  }

  // Splits a rectangle into a grid of cells with gaps between them.
  std::vector<Box> cells(const Box& area, int columns, int rows, double gap) {
    std::vector<Box> out;
    const double w = (area.w - gap * (columns - 1)) / columns;
    const double h = (area.h - gap * (rows - 1)) / rows;
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < columns; ++c)
        out.push_back({std::floor(area.x + c * (w + gap)), std::floor(area.y + r * (h + gap)),
                       std::floor(w), std::floor(h)});
    return out;
  }

  void fillBlock(const Block& block) {
    const Box& in = block.interior;
    if (rng_.chance(style_.parkChance)) {
      addLawn(block.area, rng_.range(0, 3));
      parks_.push_back(in);
      if (rng_.chance(0.4)) {  // a kiosk in some parks
        const double w = 60, h = 40;
        addHouse({in.x + (in.w - w) / 2, in.y + (in.h - h) / 2, w, h}, "Kiosken");
      }
      return;
    }
    const bool lot = rng_.chance(style_.lotChance);
    if (style_.villas) {
      fillWithVillas(in, lot);
      return;
    }
    const int columns = style_.cellsPerSide ? style_.cellsPerSide : in.w > 420 ? 3 : in.w > 180 ? 2 : 1;
    const int rows = style_.cellsPerSide ? style_.cellsPerSide : in.h > 420 ? 3 : in.h > 180 ? 2 : 1;
    std::vector<Box> lots = cells(in, columns, rows, 16);
    for (size_t i = 0; i < lots.size(); ++i) {
      const Box& cell = lots[i];
      if (i == 0 && lot && cell.w >= CAR_W + 24 && cell.h >= CAR_H + 24) {
        parkIn(cell);
        continue;
      }
      if (!style_.cellsPerSide && rng_.chance(0.12)) {  // a yard instead of a house
        addLawn(cell, rng_.range(0, 5));
        continue;
      }
      // Houses of one block differ: some fill their lot, some leave a yard at one side.
      Box house = cell.grown(-rng_.range(0, 8));
      if (!style_.cellsPerSide && rng_.chance(0.4)) {
        const double cut = std::floor(house.w * rng_.range(15, 35) / 100.0);
        if (rng_.chance(0.5)) house.x += cut;
        house.w -= cut;
      } else if (!style_.cellsPerSide && rng_.chance(0.4)) {
        const double cut = std::floor(house.h * rng_.range(15, 35) / 100.0);
        if (rng_.chance(0.5)) house.y += cut;
        house.h -= cut;
      }
      addHouse(house, nextHouseText());
    }
  }

  void fillWithVillas(const Box& in, bool lot) {
    // Two or four gardens a block, each with one big house somewhere on it.
    const bool wide = in.w >= in.h;
    const int columns = rng_.chance(0.5) ? 2 : (wide ? 2 : 1);
    const int rows = columns == 2 && rng_.chance(0.5) ? 2 : (wide ? 1 : 2);
    std::vector<Box> lots = cells(in, columns, rows, 24);
    for (size_t i = 0; i < lots.size(); ++i) {
      const Box& cell = lots[i];
      addLawn(cell, rng_.range(0, 4));
      if (i == 0 && lot) {
        parkIn(cell);
        continue;
      }
      if (rng_.chance(0.15)) continue;  // an empty garden
      const double w = std::floor(std::min(cell.w * rng_.range(45, 70) / 100.0, 260.0));
      const double h = std::floor(std::min(cell.h * rng_.range(45, 70) / 100.0, 220.0));
      const double x = cell.x + rng_.range(10, static_cast<int>(cell.w - w - 10));
      const double y = cell.y + rng_.range(10, static_cast<int>(cell.h - h - 10));
      addHouse({x, y, w, h}, nextHouseText());
    }
  }

  // A lot in the cell's top-left corner with one or two cars nose to the street.
  void parkIn(const Box& cell) {
    const double slot = CAR_W + 12;
    const int cars = std::max(1, std::min(2, static_cast<int>((cell.w - 12) / slot)));
    addLawn({cell.x, cell.y, cars * slot + 12, CAR_H + 24}, 9);
    for (int k = 0; k < cars; ++k)
      addParkedCar(cell.x + 12 + CAR_W / 2 + k * slot, cell.y + 12 + CAR_H / 2, 90);
  }

  // The player starts at (100, 100) on open ground by the first crossing, with a car in reach.
  void addStartCorner() { addParkedCar(START_X - 10, START_Y + 230, 90); }

  void addDriver(double x, double y) {
    world_.drivers.append(makePerson("Tarko", nullptr, 0, true, false, 100.0, 0.0, 0.0, x, y,
                                     PERSON_W, PERSON_H, {}, 50.0, 1000.0));
  }

  // A car with its driver standing at the same spot, on the road's lane.
  void addDrivenCar(const Road& road, double along) {
    const bool horizontal = road.w > road.h;
    const double x = horizontal ? road.x + along : road.x + road.w / 2;
    const double y = horizontal ? road.y + road.h / 2 : road.y + along;
    const int heading = horizontal ? (rng_.chance(0.5) ? 0 : 180) : (rng_.chance(0.5) ? 90 : 270);
    if (world_.cars.full() || world_.drivers.full()) return;
    addCar(x, y, heading);
    addDriver(std::floor(x), std::floor(y));
  }

  // One driven car in every district.
  void addDrivenCars() {
    for (const auto& roads : districtRoads_) {
      if (roads.empty()) continue;
      const Road& road = *roads[rng_.next() % roads.size()];
      addDrivenCar(road, std::max(road.w, road.h) / 2);
    }
  }

  // Drivers beyond the cars (stress only) wait on the sidewalks for a car to come free.
  void topUpDrivers() {
    while (!world_.drivers.full()) {
      double x, y;
      if (!walkerSpot(false, x, y)) break;
      addDriver(x, y);
    }
  }

  // A free spot on a sidewalk strip's walking line, away from other walkers.
  bool walkerSpot(bool farFromStart, double& x, double& y) {
    for (int attempt = 0; attempt < 400; ++attempt) {
      const Box& s = rng_.pick(strips_);
      const bool horizontal = s.w > s.h;
      const double along = horizontal ? s.w : s.h;
      const double t = PATH_INSET + rng_.unit() * (along - 2 * PATH_INSET);
      x = std::floor(horizontal ? s.x + t : s.x + PATH_INSET);
      y = std::floor(horizontal ? s.y + PATH_INSET : s.y + t);
      if (farFromStart && pointDistance(x, y, START_X, START_Y) < 900) continue;
      const double spacing = attempt < 200 ? 36 : 0;
      bool crowded = false;
      for (const auto& p : walkers_)
        if (pointDistance(p.first, p.second, x, y) < spacing) {
          crowded = true;
          break;
        }
      if (crowded) continue;
      walkers_.push_back({x, y});
      return true;
    }
    return false;
  }

  void addWalkers(int count, bool badGuys) {
    for (int k = 0; k < count; ++k) {
      double x, y;
      if (!walkerSpot(badGuys, x, y)) return;
      if (badGuys) {
        // The loader arms bad guys; only the position and size are stored.
        world_.badGuys.append(makePerson("Eno", nullptr, 0, true, false, 100.0, 0.0, 0.0, x, y,
                                         PERSON_W, PERSON_H, {}, 50.0, 10.0));
        continue;
      }
      world_.pedestrians.append(makePerson(rng_.pick(FIRST_NAMES), nullptr, 0, true, false, 100.0,
                                           0.0, 0.0, x, y, PERSON_W, PERSON_H, {}, 50.0,
                                           rng_.range(1, 20) * 10.0));
    }
  }

  // Guns lie in the parks, or on the sidewalks where no park has room.
  void addWeapons(int count) {
    for (int k = 0; k < count && !world_.weapons.full(); ++k) {
      double x = 0, y = 0;
      bool placed = false;
      for (int tries = 0; tries < 20 && !parks_.empty() && !placed; ++tries) {
        const Box& park = parks_[rng_.next() % parks_.size()];
        x = std::floor(park.x + 20 + rng_.unit() * (park.w - 40));
        y = std::floor(park.y + 20 + rng_.unit() * (park.h - 40));
        placed = !insideHouse(x, y, 20);
      }
      if (!placed && !walkerSpot(false, x, y)) return;
      const GunKind& gun = GUNS[rng_.next() % GUNS.size()];
      world_.weapons.append(makeWeapon(gun.name, x, y, gun.ammo, 1000, gun.weaponImage,
                                       gun.bulletImage, gun.power, gun.rate));
    }
  }

  bool insideHouse(double x, double y, double margin) const {
    for (const Box& h : houses_)
      if (h.grown(margin).contains(x, y)) return true;
    return false;
  }

  // Splits straight segments end to end until the list is full: the pieces still link.
  template <class T>
  void splitUntilFull(RecordList<T>& list, double shortest) {
    for (bool split = true; split && !list.full();) {
      split = false;
      const int count = list.count();
      for (int i = 0; i < count && !list.full(); ++i) {
        T& s = *list[i];
        if (s.w == s.h) continue;  // crossings and corners stay whole
        const bool horizontal = s.w > s.h;
        const double half = std::floor((horizontal ? s.w : s.h) / 2);
        if (half < shortest) continue;
        auto rest = std::make_unique<T>(s);
        rest->neighbours.clear();
        double& length = horizontal ? s.w : s.h;
        double& restStart = horizontal ? rest->x : rest->y;
        double& restLength = horizontal ? rest->w : rest->h;
        restStart += half;
        restLength -= half;
        length = half;
        // A piece as long as its strip is wide would read as a corner: keep both oblong.
        if (s.w == s.h || rest->w == rest->h) {
          length += 1;
          restStart += 1;
          restLength -= 1;
        }
        list.append(std::move(rest));
        split = true;
      }
    }
  }

  void topUpHouses() {
    // Small sheds inside the blocks, where walkers and cars never come.
    for (int tries = 0; !world_.houses.full() && tries < 20000; ++tries) {
      const Block& b = blocks_[rng_.next() % blocks_.size()];
      const Box& in = b.interior;
      const double size = 12;
      const Box shed{std::floor(in.x + rng_.unit() * (in.w - size)),
                     std::floor(in.y + rng_.unit() * (in.h - size)), size, size};
      bool clash = false;
      for (const Box& h : houses_)
        if (h.grown(2).overlaps(shed)) clash = true;
      for (const Box& p : parked_)
        if (p.overlaps(shed)) clash = true;
      if (!clash) addHouse(shed, "-");
    }
  }

  void topUpLawns() {
    while (!world_.lawns.full()) {
      const Box& in = blocks_[rng_.next() % blocks_.size()].interior;
      addLawn({in.x + rng_.unit() * (in.w - 20), in.y + rng_.unit() * (in.h - 20), 20, 20},
              rng_.range(0, 9));
    }
  }

  // Cars on every road, one after another along it (they will push each other about).
  void topUpCars() {
    for (int i = 0; !world_.cars.full() && !world_.drivers.full(); ++i) {
      const Road& road = *world_.roads[i % world_.roads.count()];
      addDrivenCar(road, std::max(road.w, road.h) / 2);
    }
  }

  World& world_;
  Random rng_;
  Style style_;
  double density_;
  Axis columns_, rows_;
  std::vector<Block> blocks_;
  std::vector<std::vector<const Road*>> districtRoads_;  // straight roads of each district
  std::vector<Box> strips_;  // walkway pieces (walkers start on these)
  std::vector<Box> houses_;
  std::vector<Box> parks_;
  std::vector<Box> parked_;
  std::vector<std::pair<double, double>> walkers_;
  size_t landmark_ = 0;
};

Box boxOf(const Segment& s) { return {s.x, s.y, s.w, s.h}; }
Box boxOf(const House& h) { return {h.x, h.y, h.w, h.h}; }
Box boxOf(const Body& b) {
  // The turned body's bounding square: safe for any heading.
  const double r = b.halfDiagonal;
  return {b.x - r, b.y - r, 2 * r, 2 * r};
}

}  // namespace

void generateCity(World& world, const CityOptions& options) {
  clearWorld(world);
  world.deathMarks.clear();
  world.moneyDrops.clear();
  const Style& style = options.stress ? STRESS : options.style == "suburb" ? SUBURB : DOWNTOWN;
  CityBuilder builder(world, options, style);
  builder.build();
  if (options.stress) builder.fillToCapacity();
}

bool writeCityFolder(const World& world, const std::string& folder) {
  mkdir(folder.c_str(), 0777);
  bool ok = true;
  for (int i = 0; i < MAP_FILE_COUNT; ++i) {
    const MapFile file = static_cast<MapFile>(i);
    std::ofstream out(folder + "/" + mapFileName(file), std::ios::binary | std::ios::trunc);
    if (!out) {
      ok = false;
      continue;
    }
    writeMapFile(world, file, out);
    out.close();
    if (!out) ok = false;
  }
  return ok;
}

std::vector<std::string> cityProblems(const World& world) {
  std::vector<std::string> problems;
  auto report = [&problems](const std::string& what, int index) {
    std::ostringstream s;
    s << what << " " << index;
    problems.push_back(s.str());
  };
  std::vector<Box> houses;
  for (const auto& h : world.houses) houses.push_back(boxOf(*h));
  auto inHouse = [&houses](const Box& b) {
    for (const Box& h : houses)
      if (h.overlaps(b)) return true;
    return false;
  };
  for (int i = 0; i < world.roads.count(); ++i)
    if (inHouse(boxOf(*world.roads[i]))) report("house on road", i);
  for (int i = 0; i < world.sidewalks.count(); ++i)
    if (inHouse(boxOf(*world.sidewalks[i]))) report("house on sidewalk", i);
  for (int i = 0; i < world.cars.count(); ++i)
    if (inHouse(boxOf(*world.cars[i]))) report("car in house", i);
  auto persons = [&](const RecordList<Person>& list, const char* what) {
    for (int i = 0; i < list.count(); ++i)
      if (inHouse(boxOf(*list[i]))) report(what, i);
  };
  persons(world.pedestrians, "pedestrian in house");
  persons(world.drivers, "driver in house");
  persons(world.badGuys, "bad guy in house");
  for (int i = 0; i < world.weapons.count(); ++i) {
    const Weapon& w = *world.weapons[i];
    if (inHouse({w.x - w.w / 2, w.y - w.h / 2, w.w, w.h})) report("weapon in house", i);
  }
  const Box start{START_X - 30, START_Y - 30, 60, 60};
  if (inHouse(start)) report("house at the player's start", 0);
  for (const auto& r : world.roads)
    if (boxOf(*r).overlaps(start)) report("road at the player's start", 0);

  for (int i = 0; i < world.roads.count(); ++i)
    if (world.roads[i]->neighbours.empty()) report("road without neighbours", i);
  // The sidewalks form one walkable network.
  if (!world.sidewalks.empty()) {
    std::vector<const Segment*> seen{world.sidewalks[0]};
    std::queue<const Segment*> todo;
    todo.push(world.sidewalks[0]);
    while (!todo.empty()) {
      const Segment* s = todo.front();
      todo.pop();
      for (const Segment* n : s->neighbours)
        if (std::find(seen.begin(), seen.end(), n) == seen.end()) {
          seen.push_back(n);
          todo.push(n);
        }
    }
    for (int i = 0; i < world.sidewalks.count(); ++i)
      if (std::find(seen.begin(), seen.end(), world.sidewalks[i]) == seen.end())
        report("sidewalk cut off from the network", i);
  }
  return problems;
}
