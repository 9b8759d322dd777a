// A uniform grid over the city that hands pair tests their candidates in list order.
//
// Many movers against many targets is the one quadratic cost of a full city; the grid keeps
// each test to the targets near its box. It never changes an outcome: a target is a candidate
// whenever its box and the query box overlap, so it is offered for every pair the exact
// pre-tests could accept, and candidates come in ascending list order, each once, because the
// first hit in a list wins.
#pragma once

#include <vector>

#include "world/rect.h"

struct World;
struct SimScratch;

class SpatialGrid {
 public:
  static constexpr double CELL_SIZE = 100.0;  // pixels
  static constexpr int CELLS_PER_SIDE = 30;   // the 3000-pixel world; beyond it, the border cells

  // Forgets every member.
  void clear();
  // Files member `index` under every cell its box touches. A box that is not finite (a bad map
  // value) makes the member a candidate of every query.
  void insert(int index, double left, double top, double right, double bottom);
  // The members whose boxes may overlap the query box, each once, in ascending order.
  // A query box that is not finite gets every member.
  void query(double left, double top, double right, double bottom, std::vector<int>& out) const;
  // What query would offer, without copying it, when that is one cell's members as they stand:
  // the box within one cell, no member filed everywhere and every box filed once in ascending
  // order of index. Otherwise nullptr. Valid until the grid changes.
  const std::vector<int>* soleCell(double left, double top, double right, double bottom) const;
  // The same in two steps, for a box asked about in several grids: the one cell the box falls
  // in (the same in every grid), or -1 when it spans more or is not finite; then that cell's
  // members in this grid, or nullptr.
  static int cellOfBox(double left, double top, double right, double bottom);
  const std::vector<int>* membersOfCell(int cell) const;
  // The query's candidates: the sole cell's members where they serve, else `out` filled.
  const std::vector<int>& candidates(double left, double top, double right, double bottom,
                                     std::vector<int>& out) const;
  int memberCount() const { return members_; }

  // Members that move (cars) are filed as circles under the one cell of their centre, so
  // filing and unfiling touch one cell; a query looks as far as the widest circle filed and
  // offers the members whose circles' boxes overlap its own. Do not mix them with boxes in one
  // grid. A circle that is not finite makes the member a candidate of every query.
  void insertCircle(int index, double x, double y, double radius);
  // Unfiles one circle filed with these very numbers (nothing when there is none).
  void removeCircle(int index, double x, double y, double radius);
  // The members whose circles' boxes may overlap the box around (x, y) reaching `reach` each
  // way, each once: in ascending order, or as they come when `inOrder` is false.
  void queryCircles(double x, double y, double reach, std::vector<int>& out,
                    bool inOrder = true) const;
  // Lays the circles out cell after cell, row by row, so that a query reads the cells it spans
  // in a row as one run, until the next change to the circles. For passes in which no filed
  // member moves: most queries come in them.
  void packCircles();

 private:
  struct Span {
    int first, last;
  };
  static bool spanOf(double low, double high, Span& span);

  struct Circle {
    int index;
    double x, y, radius;
  };
  // The cell a circle is filed under, or -1 for everywhere_.
  int circleCell(double x, double y, double radius) const;
  void offerOnce(int index, std::vector<int>& out) const;

  std::vector<int> cells_[CELLS_PER_SIDE * CELLS_PER_SIDE];
  std::vector<Circle> circleCells_[CELLS_PER_SIDE * CELLS_PER_SIDE];
  bool circleListed_[CELLS_PER_SIDE * CELLS_PER_SIDE] = {};  // in filledCircleCells_
  // The cells' circles packed, and where each cell's run starts in them (one past the last
  // cell too); valid while packed_ holds. Members filed everywhere are read from everywhere_.
  std::vector<Circle> packedCircles_;
  int packedStart_[CELLS_PER_SIDE * CELLS_PER_SIDE + 1] = {};
  bool packed_ = false;
  // The cells filed into since the last clear, which is all a clear needs to empty.
  std::vector<int> filledCells_, filledCircleCells_;
  std::vector<int> everywhere_;
  int members_ = 0;
  double widestCircle_ = 0;  // the largest radius filed since the last clear
  // Which members a query has offered already: the query's stamp by member index.
  mutable std::vector<unsigned> offered_;
  mutable unsigned stamp_ = 0;
  bool negativeIndex_ = false;
  // Whether every box was filed after the box of a smaller index (so each cell holds its
  // members once, in ascending order).
  bool ascending_ = true;
  int lastIndex_ = -1;
};

// Whether the simulation hands its pair tests their candidates through grids. Both ways give
// the same outcomes; the plain way is the reference that the tests and benchmarks compare with.
enum class GridUse {
  Auto,    // grids where the lists are long enough to gain from them
  Always,  // grids for every list (the tests' fast path)
  Never,   // every member of every list, in order (the plain rules)
};
// The use is the world's own (Auto until set).
void setGridUse(const World& world, GridUse use);
GridUse gridUse(const World& world);
// Whether a pass of `movers` over `targets` members goes through a grid under the world's use.
bool useGridFor(const World& world, int movers, int targets);

// A grid kept between passes so its cells keep their room, with the houses it holds (a house
// grid stays valid while they stay as they were).
struct GridSlot {
  SpatialGrid grid;
  std::vector<Rect> houses;
  bool holdsHouses = false;
  // A car grid stays valid while every car is where it was filed.
  struct FiledCar {
    const void* car;
    double x, y, nextX, nextY, reach;
    bool operator==(const FiledCar& o) const {
      return car == o.car && x == o.x && y == o.y && nextX == o.nextX && nextY == o.nextY &&
             reach == o.reach;
    }
  };
  std::vector<FiledCar> cars;
  bool holdsCars = false;
};

// A grid of one World's houses or cars, open for the length of a pass; while it is open the
// pair tests of that World take their candidates from it. Scopes may nest.
class PassGrid {
 public:
  enum class Kind { Houses, Cars };
  PassGrid(const World& world, Kind kind);
  ~PassGrid();
  PassGrid(const PassGrid&) = delete;
  PassGrid& operator=(const PassGrid&) = delete;

  // The grid of the innermost open scope of this kind for this World, or nullptr (then every
  // member is a candidate). Each World keeps its own chain of open scopes.
  static SpatialGrid* of(const World& world, Kind kind);

 protected:
  SpatialGrid* grid_ = nullptr;  // nullptr when the plain loops serve as well
  GridSlot* slot_ = nullptr;       // where grid_ lives, with what it holds

 private:
  SimScratch& scratch_;  // the World's, where the open scopes are chained
  Kind kind_;
  const PassGrid* outer_;
};

// The houses, for a pass in which no house moves, appears or goes (the walkers' and the cars').
class HouseGridScope : public PassGrid {
 public:
  explicit HouseGridScope(const World& world);
};

// The cars, for a pass in which no car appears or goes. A car that moves or is tried at a new
// place during the pass is filed again there (and no longer where it was), so the grid holds
// every place a pre-test can look at.
class CarGridScope : public PassGrid {
 public:
  // `carsMove`: cars are filed again during the pass (else its queries read them packed).
  explicit CarGridScope(const World& world, bool carsMove = false);
  // Files car `index` where it stands and where it was last tried.
  void refile(int index);

 private:
  const World& world_;
};

// The houses whose rectangles may come within `reach` of (x, y), in ascending list order: from
// the open grid of this World, else every house. (A house passed over lies farther away on
// some axis, so neither nearHouse nor any closer test can accept it.)
// Returns the candidates: `out`, or the grid's own cell where no copy is needed (valid while
// the pass lasts).
const std::vector<int>& housesNear(const World& world, double x, double y, double reach,
                                   std::vector<int>& out);
// The same for the cars whose circles (half-diagonal) may come within `reach` of (x, y), where
// they stand or where they were last tried; in no particular order when `inOrder` is false,
// for a pass that any one car settles (sorting a crowded street's cars costs mispredictions).
void carsNear(const World& world, double x, double y, double reach, std::vector<int>& out,
              bool inOrder = true);
// Widening of every filed box, so that no rounding in the exact pre-tests can accept a pair
// whose boxes the grid keeps apart.
constexpr double GRID_MARGIN = 1.0;
