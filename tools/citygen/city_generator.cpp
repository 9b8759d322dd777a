// Lays out a city of streets with sidewalks, houses along them and yards behind, and writes
// it as a map folder.
//
// The shape of the networks follows from how people and cars use them:
// - Roads: square crossings on a grid of column and row bands, and one road between two
//   neighbouring crossings, touching them end to end. Roads are VERGE narrower than their
//   crossings on each side, so a road never touches the road around the corner (the loader
//   would link those, and a car would then cut across the block). Some roads are left out,
//   which joins blocks into irregular ones and leaves dead ends; at the grid's edge a road may
//   run on to the world's edge. Cars turn back at dead ends and when two meet head-on.
// - Sidewalks: every block that a road passes has a ring of sidewalks, a grass verge away from
//   the roads: a car keeps to its turn points only within its half-diagonal, and its body
//   swings about as far again. The ring's corners are squares wider than its strips, so two
//   strips never touch at a corner (the loader would link them, and walkers would cut across),
//   and strips come in pieces short enough for walkers to aim along. Walkers never cross a
//   road: each ring is a walk of its own.
// - Houses stand in a row along the inside of the ring, facing the streets, with their yards
//   behind; some blocks are parks, some have a parking lot, and in the small town the blocks
//   away from the main street are fields.
// - One lawn under everything (and a pixel-thin house along the top and left edges) covers
//   the whole world, so no picture behind it ever shows.
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
#include "world/builders.h"
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

constexpr double BAND = 128;         // side of a square crossing
constexpr double VERGE = 4;          // a road is this much narrower than its crossing, each side
constexpr double CURB = 44;          // grass between a road's band and the sidewalk ring
constexpr double EDGE = 8;           // the world's edge to a ring
constexpr double RING = 48;          // a ring's corner squares
constexpr double STRIP_INSET = 4;    // its strips are this much narrower than the corners, each side
constexpr double SETBACK = 6;        // the ring to the houses
constexpr double CAR_W = 69, CAR_H = 94;
constexpr double PERSON_W = 29, PERSON_H = 18;
// Walkers keep r + 2 inside a strip's top-left edges (r = half-diagonal of a person).
const double PATH_INSET = std::floor(std::sqrt(PERSON_W * PERSON_W + PERSON_H * PERSON_H) / 2 + 2);
constexpr double START_X = 100, START_Y = 100;  // where every level puts the player
// Walkers turn toward a waypoint once, in whole degrees, and must pass within 10 pixels of
// it: beyond about 500 pixels the rounded heading can miss it, and the walker would go on
// to the world's edge. Strips are laid in pieces of at most this length.
constexpr double LONGEST_WALK = 400;

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

enum class Fill { Town, Villas };

struct Style {
  int columns, rows;   // crossing bands across and down
  double margin;       // the world's edge to the first band
  double wobble;       // blocks differ in size by up to this fraction
  double dropRoad;     // chance that an inner road is left out
  double stubChance;   // chance that a road runs from the grid's edge on to the world's edge
  int drivenCars, pedestrians, badGuys, weapons;
  double parkChance, lotChance;
  Fill fill;
  int groundColour;
  bool mainStreet;     // a small town: houses along the middle row of bands, fields elsewhere
};

// Dense downtown: many small blocks of row houses, every street there.
const Style DOWNTOWN{5, 5, 300, 0.35, 0.08, 0.0, 18, 90, 10, 6, 0.10, 0.25, Fill::Town, 6, false};
// Leafy suburb: large blocks of villas in gardens, dead ends and irregular blocks.
const Style SUBURB{4, 4, 330, 0.40, 0.25, 0.0, 12, 48, 6, 5, 0.18, 0.35, Fill::Villas, 2, false};
// Small town: a main street across the world with side streets, fields around.
const Style SMALLTOWN{5, 5, 300, 0.30, 0.0, 0.0, 10, 48, 5, 4, 0.10, 0.3, Fill::Town, 1, true};
// Stress: many small blocks; the lists are then topped up to their capacities.
const Style STRESS{6, 6, 300, 0.0, 0.0, 0.0, 0, 0, 0, 0, 0.1, 0.3, Fill::Town, 6, false};

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

// A road of the grid: horizontal ones run from crossing (c, r) to (c + 1, r), vertical ones
// from (c, r) to (c, r + 1); c or r of -1 or of the last band runs on to the world's edge.
struct GridRoad {
  bool horizontal;
  int c, r;
  bool kept = true;
};

// One block: the land between bands (or a band and the world's edge).
struct Block {
  Box area;
  int column, row;
  bool served = false;  // a road passes one of its sides
};

class CityBuilder {
 public:
  CityBuilder(World& world, const CityOptions& options, const Style& style)
      : world_(world), rng_(options.seed), style_(style), density_(options.density) {}

  void build() {
    columns_ = layBands(style_.columns);
    rows_ = layBands(style_.rows);
    chooseRoads();
    addGround();
    addRoads();
    layBlocks();
    for (Block& block : blocks_) fillBlock(block);
    addDrivenCars(scaled(style_.drivenCars));
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

  // Left (or top) edges of the bands along one axis: the style's margin before the first and
  // after the last, blocks of varied size between them, in whole steps of 4.
  std::vector<double> layBands(int bands) {
    const int blocks = bands - 1;
    const double span = WORLD_SIZE - 2 * style_.margin - bands * BAND;
    std::vector<double> weights(blocks);
    double total = 0;
    for (double& w : weights) {
      w = 1.0 + style_.wobble * (2 * rng_.unit() - 1);
      total += w;
    }
    std::vector<double> out;
    double pos = style_.margin, used = 0;
    for (int k = 0; k < bands; ++k) {
      out.push_back(pos);
      pos += BAND;
      if (k == blocks) break;
      const double size = k + 1 < blocks ? 4 * std::floor(span * weights[k] / total / 4) : span - used;
      used += size;
      pos += size;
    }
    return out;
  }

  int lastColumn() const { return static_cast<int>(columns_.size()) - 1; }
  int lastRow() const { return static_cast<int>(rows_.size()) - 1; }
  bool stub(const GridRoad& g) const {
    return g.horizontal ? (g.c < 0 || g.c == lastColumn()) : (g.r < 0 || g.r == lastRow());
  }
  const GridRoad* gridRoad(bool horizontal, int c, int r) const {
    for (const GridRoad& g : grid_)
      if (g.horizontal == horizontal && g.c == c && g.r == r && g.kept) return &g;
    return nullptr;
  }
  int degree(int c, int r) const {
    return (gridRoad(true, c - 1, r) != nullptr) + (gridRoad(true, c, r) != nullptr) +
           (gridRoad(false, c, r - 1) != nullptr) + (gridRoad(false, c, r) != nullptr);
  }

  // The crossings that have a road form one network.
  bool connected() const {
    const int nc = lastColumn() + 1, nr = lastRow() + 1;
    std::vector<char> seen(nc * nr, 0);
    int start = -1, total = 0;
    for (int i = 0; i < nc * nr; ++i)
      if (degree(i % nc, i / nc) > 0) {
        ++total;
        if (start < 0) start = i;
      }
    if (start < 0) return false;
    std::queue<int> todo;
    todo.push(start);
    seen[start] = 1;
    int reached = 1;
    while (!todo.empty()) {
      const int c = todo.front() % nc, r = todo.front() / nc;
      todo.pop();
      const int steps[4][4] = {{1, 0, 1, 0}, {-1, 0, 1, -1}, {0, 1, 0, 0}, {0, -1, 0, -1}};
      for (const auto& s : steps) {
        // s: dc, dr, horizontal, offset of the road's own c or r
        const int nc2 = c + s[0], nr2 = r + s[1];
        if (nc2 < 0 || nr2 < 0 || nc2 >= nc || nr2 >= nr || seen[nr2 * nc + nc2]) continue;
        const bool horizontal = s[2] == 1;
        const GridRoad* g = horizontal ? gridRoad(true, c + s[3], r) : gridRoad(false, c, r + s[3]);
        if (!g) continue;
        seen[nr2 * nc + nc2] = 1;
        ++reached;
        todo.push(nr2 * nc + nc2);
      }
    }
    return reached == total;
  }

  // Which roads of the grid are built.
  void chooseRoads() {
    const int mainRow = lastRow() / 2;
    for (int r = 0; r <= lastRow(); ++r)
      for (int c = -1; c <= lastColumn(); ++c) grid_.push_back({true, c, r});
    for (int c = 0; c <= lastColumn(); ++c)
      for (int r = -1; r <= lastRow(); ++r) grid_.push_back({false, c, r});
    std::vector<size_t> order(grid_.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    for (size_t i = order.size(); i > 1; --i) std::swap(order[i - 1], order[rng_.next() % i]);
    std::vector<size_t> unwanted;
    for (size_t i : order) {
      const GridRoad& g = grid_[i];
      double drop = stub(g) ? 1.0 - style_.stubChance : style_.dropRoad;
      if (style_.mainStreet) {
        // The main street, a back street on each side, some cross streets between them.
        const bool street = g.horizontal && std::abs(g.r - mainRow) <= 1;
        const bool cross = !g.horizontal && (g.r == mainRow || g.r == mainRow - 1);
        drop = stub(g) ? 1.0 : street ? 0.0 : cross ? 0.25 : 1.0;
      }
      if (rng_.chance(drop)) unwanted.push_back(i);
    }
    // A road is left out only while the rest stays one network; leaving out the ends of
    // branches first lets the branches go too, so this runs until nothing more can go.
    for (bool changed = true; changed;) {
      changed = false;
      for (size_t i : unwanted) {
        GridRoad& g = grid_[i];
        if (!g.kept) continue;
        g.kept = false;
        if (!stub(g) && !connected())
          g.kept = true;
        else
          changed = true;
      }
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

  // One lawn under the whole world. The loader takes a record only when its corner lies
  // inside the world (beyond 0) and keeps lawns to whole pixels, so the lawn starts at 1, and
  // the first row and column of pixels are two houses one pixel thin, half a pixel in: drawn
  // from 0, and saved and loaded again unchanged.
  void addGround() {
    addLawn({1, 1, WORLD_SIZE - 1, WORLD_SIZE - 1}, style_.groundColour);
    for (const Box& edge : {Box{0.5, 0.5, WORLD_SIZE, 1}, Box{0.5, 0.5, 1, WORLD_SIZE}}) {
      auto house = std::make_unique<House>();
      house->x = edge.x;
      house->y = edge.y;
      house->w = edge.w;
      house->h = edge.h;
      house->text = "-";
      world_.houses.append(std::move(house));
    }
  }

  void addRoad(const Box& b, const std::string& name, bool straight) {
    auto road = std::make_unique<Road>();
    road->x = b.x;
    road->y = b.y;
    road->w = b.w;
    road->h = b.h;
    road->name = name;
    Road* added = world_.roads.append(std::move(road));
    if (added && straight) straightRoads_.push_back(added);
  }

  void addRoads() {
    for (int r = 0; r <= lastRow(); ++r)
      for (int c = 0; c <= lastColumn(); ++c) {
        const double x = columns_[c], y = rows_[r];
        const std::string& street = ROW_NAMES[r % ROW_NAMES.size()];
        if (degree(c, r) > 0) addRoad({x, y, BAND, BAND}, street, false);
        if (gridRoad(true, c, r) || (c == 0 && gridRoad(true, -1, r))) {
          // The road east of this crossing, and the one from the west edge at the first.
          if (c == 0 && gridRoad(true, -1, r))
            addRoad({2, y + VERGE, x - 2, BAND - 2 * VERGE}, street, true);
          if (gridRoad(true, c, r)) {
            const double end = c < lastColumn() ? columns_[c + 1] : WORLD_SIZE - 1;
            addRoad({x + BAND, y + VERGE, end - x - BAND, BAND - 2 * VERGE}, street, true);
          }
        }
        const std::string& avenue = COLUMN_NAMES[c % COLUMN_NAMES.size()];
        if (r == 0 && gridRoad(false, c, -1))
          addRoad({x + VERGE, 2, BAND - 2 * VERGE, y - 2}, avenue, true);
        if (gridRoad(false, c, r)) {
          const double end = r < lastRow() ? rows_[r + 1] : WORLD_SIZE - 1;
          addRoad({x + VERGE, y + BAND, BAND - 2 * VERGE, end - y - BAND}, avenue, true);
        }
      }
  }

  void layBlocks() {
    for (int row = 0; row <= lastRow() + 1; ++row)
      for (int col = 0; col <= lastColumn() + 1; ++col) {
        const double x0 = col == 0 ? 0 : columns_[col - 1] + BAND;
        const double x1 = col > lastColumn() ? WORLD_SIZE : columns_[col];
        const double y0 = row == 0 ? 0 : rows_[row - 1] + BAND;
        const double y1 = row > lastRow() ? WORLD_SIZE : rows_[row];
        Block b{{x0, y0, x1 - x0, y1 - y0}, col, row};
        // The roads along its four sides.
        b.served = (col > 0 && gridRoad(false, col - 1, row - 1)) ||
                   (col <= lastColumn() && gridRoad(false, col, row - 1)) ||
                   (row > 0 && gridRoad(true, col - 1, row - 1)) ||
                   (row <= lastRow() && gridRoad(true, col - 1, row));
        blocks_.push_back(b);
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

  void addStrip(const Box& b) {
    addSidewalk(b);
    strips_.push_back(b);
  }

  // A ring of sidewalks just inside `outer`: corner squares, strips between them in pieces.
  void addRing(const Box& o) {
    const double w = RING - 2 * STRIP_INSET;
    for (const auto& p : shortParts(o.x + RING, o.right() - RING)) {
      addStrip({p.first, o.y + STRIP_INSET, p.second - p.first, w});
      addStrip({p.first, o.bottom() - RING + STRIP_INSET, p.second - p.first, w});
    }
    for (const auto& p : shortParts(o.y + RING, o.bottom() - RING)) {
      addStrip({o.x + STRIP_INSET, p.first, w, p.second - p.first});
      addStrip({o.right() - RING + STRIP_INSET, p.first, w, p.second - p.first});
    }
    for (double x : {o.x, o.right() - RING})
      for (double y : {o.y, o.bottom() - RING}) addSidewalk({x, y, RING, RING});
  }

  void addHouse(const Box& b, const std::string& text) {
    if (b.w < 8 || b.h < 8) return;
    // A parked car keeps room to turn out of its lot.
    for (const Box& p : parkedTurns_)
      if (p.overlaps(b)) return;
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
    const int model = rng_.range(0, 1);
    world_.cars.append(CarSpec{}
                           .at(std::floor(x), std::floor(y))
                           .size(CAR_W, CAR_H)
                           .heading(heading)
                           .maxSpeed(maxSpeed)
                           .model(model)
                           .acceleration(acceleration)
                           .make());
  }

  void addParkedCar(double x, double y, int heading) {
    addCar(x, y, heading);
    parked_.push_back({x - CAR_W, y - CAR_H, 2 * CAR_W, 2 * CAR_H});
    const double r = std::sqrt(CAR_W * CAR_W + CAR_H * CAR_H) / 2 + 2;
    parkedTurns_.push_back({x - r, y - r, 2 * r, 2 * r});
  }

  // Cuts [from, to) into pieces of minW..maxW; the last piece takes what is left.
  std::vector<std::pair<double, double>> frontages(double from, double to, int minW, int maxW) {
    std::vector<std::pair<double, double>> out;
    double x = from;
    while (to - x >= 2 * minW) {
      const double w = std::min<double>(rng_.range(minW, maxW), to - x - minW);
      out.push_back({x, x + w});
      x += w;
    }
    if (to - x > 0) out.push_back({x, to});
    return out;
  }

  // Lots along the four sides of `in`, `depth` deep, each with the side it faces the street
  // from: 0 top, 1 bottom, 2 left, 3 right. What is left in the middle is the back yard.
  struct Lot {
    Box box;
    int front;
  };
  std::vector<Lot> lotsAround(const Box& in, double depth, int minW, int maxW) {
    std::vector<Lot> lots;
    for (const auto& f : frontages(in.x, in.right(), minW, maxW)) {
      lots.push_back({{f.first, in.y, f.second - f.first, depth}, 0});
      lots.push_back({{f.first, in.bottom() - depth, f.second - f.first, depth}, 1});
    }
    if (in.h > 2 * depth + minW)
      for (const auto& f : frontages(in.y + depth, in.bottom() - depth, minW, maxW)) {
        lots.push_back({{in.x, f.first, depth, f.second - f.first}, 2});
        lots.push_back({{in.right() - depth, f.first, depth, f.second - f.first}, 3});
      }
    return lots;
  }

  void fillBlock(Block& block) {
    const Box& a = block.area;
    // The ring keeps CURB from a band and EDGE from the world's edge.
    const double left = block.column == 0 ? EDGE : CURB;
    const double top = block.row == 0 ? EDGE : CURB;
    const double right = block.column > lastColumn() ? EDGE : CURB;
    const double bottom = block.row > lastRow() ? EDGE : CURB;
    const Box ring{a.x + left, a.y + top, a.w - left - right, a.h - top - bottom};
    if (ring.w < 3 * RING || ring.h < 3 * RING) return;
    const Box in = ring.grown(-(RING + SETBACK));
    const bool startBlock = block.column == 0 && block.row == 0;
    if (style_.mainStreet && !block.served && !startBlock) {
      fillField(a.grown(-CURB / 2));
      return;
    }
    addRing(ring);
    if (!startBlock) interiors_.push_back(in);
    if (startBlock) {
      // The player starts at (100, 100) on a lawn with a car in reach.
      addLawn(in, 3);
      addParkedCar(START_X + 80, START_Y + 60, 90);
      return;
    }
    if (rng_.chance(style_.parkChance)) {
      addLawn(in, rng_.range(0, 3));
      parks_.push_back(in);
      if (rng_.chance(0.4)) {  // a kiosk in some parks
        const double w = 60, h = 40;
        addHouse({in.x + (in.w - w) / 2, in.y + (in.h - h) / 2, w, h}, "Kiosken");
      }
      return;
    }
    const int mainRow = lastRow() / 2;
    const bool town = style_.fill == Fill::Town &&
                      (!style_.mainStreet || block.row == mainRow || block.row == mainRow + 1);
    if (town)
      fillWithRowHouses(in, rng_.chance(style_.lotChance));
    else
      fillWithVillas(in, rng_.chance(style_.lotChance));
  }

  // Row houses along the streets, a courtyard of yards behind them.
  void fillWithRowHouses(const Box& in, bool lot) {
    const double depth = std::floor(std::min(110.0, std::min(in.w, in.h) / 2));
    if (depth < 30) return;
    addLawn(in, rng_.range(0, 5));  // the yards
    bool first = true;
    for (const Lot& l : lotsAround(in, depth, 50, 130)) {
      if (first && lot && l.box.w >= CAR_H + 20 && l.box.h >= CAR_W + 20) {
        addLawn(l.box, 9);
        addParkedCar(l.box.x + l.box.w / 2, l.box.y + l.box.h / 2, 0);
        first = false;
        continue;
      }
      first = false;
      // Some houses are shallower than their lot, leaving more yard behind.
      Box h = l.box.grown(-rng_.range(0, 2));
      const double cut = rng_.chance(0.4) ? std::floor(depth * rng_.range(10, 35) / 100.0) : 0;
      if (l.front == 0) h.h -= cut;
      if (l.front == 1) h.y += cut, h.h -= cut;
      if (l.front == 2) h.w -= cut;
      if (l.front == 3) h.x += cut, h.w -= cut;
      addHouse(h, nextHouseText());
    }
  }

  // Villas in their gardens along the streets, set back from the sidewalk.
  void fillWithVillas(const Box& in, bool lot) {
    const double depth = std::floor(std::min(200.0, std::min(in.w, in.h) / 2));
    if (depth < 40) return;
    addLawn(in, rng_.range(0, 4));  // the back gardens
    bool first = true;
    for (const Lot& l : lotsAround(in, depth, 140, 230)) {
      addLawn(l.box.grown(-2), rng_.range(0, 5));
      if (first && lot && l.box.w >= CAR_H + 40) {
        addParkedCar(l.box.x + l.box.w / 2, l.box.y + l.box.h / 2, 0);
        first = false;
        continue;
      }
      first = false;
      if (rng_.chance(0.12)) continue;  // an empty garden
      const bool across = l.front < 2;  // the frontage runs along x
      const double along = across ? l.box.w : l.box.h;
      const double deep = across ? l.box.h : l.box.w;
      const double w = std::floor(along * rng_.range(45, 70) / 100.0);
      const double d = std::floor(deep * rng_.range(40, 60) / 100.0);
      const double offset = std::floor((along - w) * rng_.unit());
      const double back = rng_.range(15, 30);  // the front garden
      Box h{};
      if (l.front == 0) h = {l.box.x + offset, l.box.y + back, w, d};
      if (l.front == 1) h = {l.box.x + offset, l.box.bottom() - back - d, w, d};
      if (l.front == 2) h = {l.box.x + back, l.box.y + offset, d, w};
      if (l.front == 3) h = {l.box.right() - back - d, l.box.y + offset, d, w};
      addHouse(h, nextHouseText());
    }
  }

  // Fields in strips of different crops, now and then a farm.
  void fillField(const Box& area) {
    const bool across = rng_.chance(0.5);
    const int strips = rng_.range(2, 4);
    const double size = std::floor((across ? area.h : area.w) / strips);
    for (int k = 0; k < strips; ++k) {
      const Box s = across ? Box{area.x, area.y + k * size, area.w, size}
                           : Box{area.x + k * size, area.y, size, area.h};
      addLawn(s, rng_.range(0, 9));
    }
    if (rng_.chance(0.4)) {
      const double w = rng_.range(70, 110), h = rng_.range(50, 80);
      addHouse({area.x + (area.w - w) / 2, area.y + (area.h - h) / 2, w, h}, "Ladan");
    }
  }

  void addDriver(double x, double y) {
    world_.drivers.append(
        PersonSpec{}.name("Tarko").at(x, y).size(PERSON_W, PERSON_H).money(1000.0).make());
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

  // Driven cars on different roads, a second one on a road only when every road has one.
  void addDrivenCars(int count) {
    if (straightRoads_.empty()) return;
    std::vector<const Road*> roads = straightRoads_;
    for (size_t i = roads.size(); i > 1; --i) std::swap(roads[i - 1], roads[rng_.next() % i]);
    for (int k = 0; k < count; ++k) {
      const Road& road = *roads[k % roads.size()];
      const double length = std::max(road.w, road.h);
      const int round = k / static_cast<int>(roads.size());
      addDrivenCar(road, length * (round % 2 ? 0.25 : round ? 0.75 : 0.5));
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
        world_.badGuys.append(
            PersonSpec{}.name("Eno").at(x, y).size(PERSON_W, PERSON_H).money(10.0).make());
        continue;
      }
      // Drawn money first, then the name: the order the shipped cities were made in.
      const double money = rng_.range(1, 20) * 10.0;
      const std::string name = rng_.pick(FIRST_NAMES);
      world_.pedestrians.append(
          PersonSpec{}.name(name).at(x, y).size(PERSON_W, PERSON_H).money(money).make());
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
      world_.weapons.append(WeaponSpec{}
                                .name(gun.name)
                                .at(x, y)
                                .ammo(gun.ammo)
                                .weaponImage(gun.weaponImage)
                                .bulletImage(gun.bulletImage)
                                .power(gun.power)
                                .rate(gun.rate)
                                .make());
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
    for (int tries = 0; !world_.houses.full() && tries < 200000; ++tries) {
      const Box& in = interiors_[rng_.next() % interiors_.size()];
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
      const Box& in = interiors_[rng_.next() % interiors_.size()];
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
  std::vector<double> columns_, rows_;  // left (top) edges of the bands
  std::vector<GridRoad> grid_;
  std::vector<Block> blocks_;
  std::vector<Box> interiors_;           // inside the rings
  std::vector<const Road*> straightRoads_;
  std::vector<Box> strips_;  // sidewalk strips (walkers start on these)
  std::vector<Box> houses_;
  std::vector<Box> parks_;
  std::vector<Box> parked_;
  std::vector<Box> parkedTurns_;  // the square a parked car turns in
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
  clearRemains(world);
  const Style& style = options.stress              ? STRESS
                       : options.style == "suburb"    ? SUBURB
                       : options.style == "smalltown" ? SMALLTOWN
                                                      : DOWNTOWN;
  CityBuilder builder(world, options, style);
  builder.build();
  if (options.stress) builder.fillToCapacity();
}

bool knownCityStyle(const std::string& style) {
  return style == "downtown" || style == "suburb" || style == "smalltown";
}

bool writeCityRecipe(const CityOptions& options, const std::string& folder) {
  std::ofstream out(folder + "/" + CITY_RECIPE, std::ios::binary | std::ios::trunc);
  out << "style " << options.style << "\nseed " << options.seed << "\ndensity "
      << options.density << "\nstress " << (options.stress ? 1 : 0) << "\n";
  out.close();
  return static_cast<bool>(out);
}

bool readCityRecipe(const std::string& folder, CityOptions& options) {
  std::ifstream in(folder + "/" + CITY_RECIPE);
  CityOptions read;
  std::string key;
  int fields = 0;
  while (in >> key) {
    if (key == "style" && in >> read.style && knownCityStyle(read.style))
      ++fields;
    else if (key == "seed" && in >> read.seed)
      ++fields;
    else if (key == "density" && in >> read.density)
      ++fields;
    else if (key == "stress" && in >> read.stress)
      ++fields;
    else
      return false;
  }
  if (fields != 4) return false;
  options = read;
  return true;
}

bool addToLevelList(const std::string& name) {
  World world;
  world.levels = readLevelList();
  if (std::find(world.levels.begin(), world.levels.end(), name) != world.levels.end()) return true;
  world.levels.push_back(name);
  return saveLevelList(world).empty();
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
  for (int i = 0; i < world.sidewalks.count(); ++i)
    if (world.sidewalks[i]->neighbours.empty()) report("sidewalk without neighbours", i);
  // Ground everywhere: every point of a fine grid lies in some house, road, sidewalk or lawn.
  auto covered = [&world](double x, double y) {
    auto in = [x, y](const auto& list) {
      for (const auto& r : list)
        if (r->x <= x && x <= r->x + r->w && r->y <= y && y <= r->y + r->h) return true;
      return false;
    };
    return in(world.lawns) || in(world.roads) || in(world.sidewalks) || in(world.houses);
  };
  for (double y = 0.5; y < WORLD_SIZE; y += 25)
    for (double x = 0.5; x < WORLD_SIZE; x += 25)
      if (!covered(x, y)) {
        report("bare ground at x " + std::to_string(static_cast<int>(x)) + ", y",
               static_cast<int>(y));
        return problems;
      }
  return problems;
}
