// The uniform candidate grid and the switch between grids and the plain all-pairs loops.
#include "sim/spatial_grid.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "world/world.h"
#include "sim/collision.h"
#include "sim/scratch.h"

namespace {

// Below this many members trying every one is as quick as filing them.
constexpr int MIN_MEMBERS_FOR_GRID = 32;

// Below this many pairs a plain loop is as quick as filling and reading a grid.
constexpr long MIN_PAIRS_FOR_GRID = 4096;

// For a finite v: the cell floor(v / CELL_SIZE), clamped to the border cells. Below 0 every
// value is in cell 0, and from 0 on truncation is the floor, so no floor call is needed.
inline int cellOf(double v) {
  constexpr int LAST = SpatialGrid::CELLS_PER_SIDE - 1;
  if (!(v >= 0)) return 0;
  if (v >= SpatialGrid::CELL_SIZE * SpatialGrid::CELLS_PER_SIDE) return LAST;
  return std::min(static_cast<int>(v / SpatialGrid::CELL_SIZE), LAST);
}

}  // namespace

// Cell numbers grow with the coordinate (division by a positive size and floor keep order,
// and so does clamping to the border), so two overlapping intervals always share a cell.
inline bool SpatialGrid::spanOf(double low, double high, Span& span) {
  if (!std::isfinite(low) || !std::isfinite(high)) return false;
  if (high < low) std::swap(low, high);
  span = {cellOf(low), cellOf(high)};
  return true;
}

void SpatialGrid::clear() {
  for (int cell : filledCells_) cells_[cell].clear();
  for (int cell : filledCircleCells_) {
    circleCells_[cell].clear();
    circleListed_[cell] = false;
  }
  packed_ = false;
  filledCells_.clear();
  filledCircleCells_.clear();
  everywhere_.clear();
  members_ = 0;
  widestCircle_ = 0;
  negativeIndex_ = false;
  ascending_ = true;
  lastIndex_ = -1;
}

void SpatialGrid::insert(int index, double left, double top, double right, double bottom) {
  ++members_;
  if (index <= lastIndex_) ascending_ = false;
  lastIndex_ = index;
  if (index < 0)
    negativeIndex_ = true;
  else if (static_cast<size_t>(index) >= offered_.size())
    offered_.resize(static_cast<size_t>(index) + 1, stamp_);
  Span xs, ys;
  if (!spanOf(left, right, xs) || !spanOf(top, bottom, ys)) {
    everywhere_.push_back(index);
    return;
  }
  for (int cy = ys.first; cy <= ys.last; ++cy)
    for (int cx = xs.first; cx <= xs.last; ++cx) {
      const int at = cy * CELLS_PER_SIDE + cx;
      if (cells_[at].empty()) filledCells_.push_back(at);
      cells_[at].push_back(index);
    }
}

int SpatialGrid::circleCell(double x, double y, double radius) const {
  Span xs, ys;
  if (!std::isfinite(radius) || !spanOf(x, x, xs) || !spanOf(y, y, ys)) return -1;
  return ys.first * CELLS_PER_SIDE + xs.first;
}

void SpatialGrid::insertCircle(int index, double x, double y, double radius) {
  ++members_;
  if (index < 0)
    negativeIndex_ = true;
  else if (static_cast<size_t>(index) >= offered_.size())
    offered_.resize(static_cast<size_t>(index) + 1, stamp_);
  const int at = circleCell(x, y, radius);
  if (at < 0) {
    everywhere_.push_back(index);
    return;
  }
  packed_ = false;
  radius = std::fabs(radius);
  // A cell emptied by removals stays listed, once, till the next clear.
  if (!circleListed_[at]) {
    circleListed_[at] = true;
    filledCircleCells_.push_back(at);
  }
  circleCells_[at].push_back({index, x, y, radius});
  widestCircle_ = std::max(widestCircle_, radius);
}

// A cell's order does not matter (queries sort what they offer), so the last member takes the
// place of the one that goes.
void SpatialGrid::removeCircle(int index, double x, double y, double radius) {
  const int cellAt = circleCell(x, y, radius);
  if (cellAt >= 0) {
    std::vector<Circle>& cell = circleCells_[cellAt];
    const auto at = std::find_if(cell.begin(), cell.end(), [&](const Circle& c) {
      return c.index == index && c.x == x && c.y == y;
    });
    if (at == cell.end()) return;
    *at = cell.back();
    cell.pop_back();
    packed_ = false;
  } else {
    const auto at = std::find(everywhere_.begin(), everywhere_.end(), index);
    if (at == everywhere_.end()) return;
    *at = everywhere_.back();
    everywhere_.pop_back();
  }
  --members_;
}

void SpatialGrid::offerOnce(int index, std::vector<int>& out) const {
  unsigned& mark = offered_[static_cast<size_t>(index)];
  if (mark == stamp_) return;
  mark = stamp_;
  out.push_back(index);
}

void SpatialGrid::queryCircles(double x, double y, double reach, std::vector<int>& out,
                               bool inOrder) const {
  out.clear();
  // A query that is not finite gets every member.
  const bool finite = std::isfinite(x) && std::isfinite(y) && std::isfinite(reach);
  Span xs{0, CELLS_PER_SIDE - 1}, ys{0, CELLS_PER_SIDE - 1};
  if (finite) {
    const double r = reach + widestCircle_;
    spanOf(x - r, x + r, xs);
    spanOf(y - r, y + r, ys);
  }
  if (++stamp_ == 0) {  // the stamps wrapped: forget every old mark
    std::fill(offered_.begin(), offered_.end(), 0u);
    stamp_ = 1;
  }
  auto overlaps = [&](const Circle& c) {
    const double within = reach + c.radius;
    return !finite || (std::fabs(c.x - x) <= within && std::fabs(c.y - y) <= within);
  };
  if (negativeIndex_) {  // negative indices have no stamp: gathered, sorted, taken once each
    out = everywhere_;
    for (int cy = ys.first; cy <= ys.last; ++cy)
      for (int cx = xs.first; cx <= xs.last; ++cx)
        for (const Circle& c : circleCells_[cy * CELLS_PER_SIDE + cx])
          if (overlaps(c)) out.push_back(c.index);
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return;
  }
  for (int index : everywhere_) offerOnce(index, out);
  if (packed_) {
    for (int cy = ys.first; cy <= ys.last; ++cy) {
      const int row = cy * CELLS_PER_SIDE;
      const Circle* c = packedCircles_.data() + packedStart_[row + xs.first];
      const Circle* end = packedCircles_.data() + packedStart_[row + xs.last + 1];
      for (; c != end; ++c)
        if (overlaps(*c)) offerOnce(c->index, out);
    }
  } else {
    for (int cy = ys.first; cy <= ys.last; ++cy)
      for (int cx = xs.first; cx <= xs.last; ++cx)
        for (const Circle& c : circleCells_[cy * CELLS_PER_SIDE + cx])
          if (overlaps(c)) offerOnce(c.index, out);
  }
  if (inOrder && !std::is_sorted(out.begin(), out.end())) std::sort(out.begin(), out.end());
}

// Each cell's run starts where the cells before it end; the cells holding circles are then
// copied to their places, in whatever order they were first filled.
void SpatialGrid::packCircles() {
  if (packed_) return;
  constexpr int CELLS = CELLS_PER_SIDE * CELLS_PER_SIDE;
  int start = 0;
  for (int cell = 0; cell < CELLS; ++cell) {
    packedStart_[cell] = start;
    start += static_cast<int>(circleCells_[cell].size());
  }
  packedStart_[CELLS] = start;
  packedCircles_.resize(static_cast<size_t>(start));
  for (int cell : filledCircleCells_) {
    const std::vector<Circle>& circles = circleCells_[cell];
    std::copy(circles.begin(), circles.end(), packedCircles_.begin() + packedStart_[cell]);
  }
  packed_ = true;
}

int SpatialGrid::cellOfBox(double left, double top, double right, double bottom) {
  Span xs, ys;
  if (!spanOf(left, right, xs) || !spanOf(top, bottom, ys) || xs.first != xs.last ||
      ys.first != ys.last)
    return -1;
  return ys.first * CELLS_PER_SIDE + xs.first;
}

const std::vector<int>* SpatialGrid::membersOfCell(int cell) const {
  if (cell < 0 || !ascending_ || negativeIndex_ || !everywhere_.empty()) return nullptr;
  return &cells_[cell];
}

const std::vector<int>* SpatialGrid::soleCell(double left, double top, double right,
                                              double bottom) const {
  return membersOfCell(cellOfBox(left, top, right, bottom));
}

const std::vector<int>& SpatialGrid::candidates(double left, double top, double right,
                                                double bottom, std::vector<int>& out) const {
  if (const std::vector<int>* cell = soleCell(left, top, right, bottom)) return *cell;
  query(left, top, right, bottom, out);
  return out;
}

// A member filed in several cells (or several times) is offered once: a stamp per member
// marks it within one query, so only the members offered are sorted.
void SpatialGrid::query(double left, double top, double right, double bottom,
                        std::vector<int>& out) const {
  out.clear();
  Span xs, ys;
  if (!spanOf(left, right, xs) || !spanOf(top, bottom, ys)) {
    xs = {0, CELLS_PER_SIDE - 1};
    ys = {0, CELLS_PER_SIDE - 1};
  }
  // With negative indices, and in the usual query of a small box that falls in one cell, the
  // members are gathered, sorted and taken once each.
  if (negativeIndex_ || (xs.first == xs.last && ys.first == ys.last && everywhere_.empty())) {
    out.insert(out.end(), everywhere_.begin(), everywhere_.end());
    for (int cy = ys.first; cy <= ys.last; ++cy)
      for (int cx = xs.first; cx <= xs.last; ++cx) {
        const std::vector<int>& cell = cells_[cy * CELLS_PER_SIDE + cx];
        out.insert(out.end(), cell.begin(), cell.end());
      }
    if (!std::is_sorted(out.begin(), out.end())) std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return;
  }
  if (++stamp_ == 0) {  // the stamps wrapped: forget every old mark
    std::fill(offered_.begin(), offered_.end(), 0u);
    stamp_ = 1;
  }
  for (int index : everywhere_) offerOnce(index, out);
  for (int cy = ys.first; cy <= ys.last; ++cy)
    for (int cx = xs.first; cx <= xs.last; ++cx)
      for (int index : cells_[cy * CELLS_PER_SIDE + cx]) offerOnce(index, out);
  if (!std::is_sorted(out.begin(), out.end())) std::sort(out.begin(), out.end());
}

void setGridUse(const World& world, GridUse use) { scratchOf(world).gridUse = use; }

GridUse gridUse(const World& world) { return scratchOf(world).gridUse; }

bool useGridFor(const World& world, int movers, int targets) {
  switch (gridUse(world)) {
    case GridUse::Always:
      return true;
    case GridUse::Never:
      return false;
    case GridUse::Auto:
      break;
  }
  return static_cast<long>(movers) * targets >= MIN_PAIRS_FOR_GRID;
}

namespace {

// One grid per kind and depth of nesting, in the world's scratch.
GridSlot& slotFor(SimScratch& scratch, int depth, PassGrid::Kind kind) {
  std::vector<std::unique_ptr<GridSlot>>& slots = scratch.slots;
  const size_t slot = 2 * static_cast<size_t>(depth) + (kind == PassGrid::Kind::Cars ? 1 : 0);
  while (slots.size() <= slot) slots.push_back(std::make_unique<GridSlot>());
  return *slots[slot];
}

bool sameRect(const Rect& a, const Rect& b) {
  return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

}  // namespace

PassGrid::PassGrid(const World& world, Kind kind)
    : scratch_(scratchOf(world)), kind_(kind), outer_(scratch_.innermost) {
  scratch_.innermost = this;
  const int count = kind == Kind::Houses ? world.houses.count() : world.cars.count();
  const GridUse use = scratch_.gridUse;
  if (use == GridUse::Never || (use == GridUse::Auto && count < MIN_MEMBERS_FOR_GRID)) return;
  // Scopes of one kind nested in each other need grids of their own; the rest share one, which
  // serves the next pass again while the houses or cars stay as they were filed.
  int depth = 0;
  for (const PassGrid* s = outer_; s; s = s->outer_) depth += s->kind_ == kind;
  slot_ = &slotFor(scratch_, depth, kind);
  grid_ = &slot_->grid;
}

PassGrid::~PassGrid() { scratch_.innermost = outer_; }

SpatialGrid* PassGrid::of(const World& world, Kind kind) {
  if (!world.scratch) return nullptr;  // no scratch yet: no scope was ever open
  for (const PassGrid* s = world.scratch->innermost; s; s = s->outer_)
    if (s->kind_ == kind) return s->grid_;
  return nullptr;
}

// Houses stand still for whole frames: the grid of the last pass serves again unless a house
// went, came or changed (comparing them is far cheaper than filing them).
HouseGridScope::HouseGridScope(const World& world) : PassGrid(world, Kind::Houses) {
  if (!grid_) return;
  std::vector<Rect>& filed = slot_->houses;
  bool same = slot_->holdsHouses && filed.size() == static_cast<size_t>(world.houses.count());
  for (int i = 0; same && i < world.houses.count(); ++i)
    same = sameRect(filed[i], rectOf(*world.houses[i]));
  if (same) return;
  grid_->clear();
  filed.clear();
  slot_->holdsHouses = true;
  for (int i = 0; i < world.houses.count(); ++i) {
    const House& h = *world.houses[i];
    filed.push_back(rectOf(h));
    grid_->insert(i, h.x - GRID_MARGIN, h.y - GRID_MARGIN, h.x + h.w + GRID_MARGIN,
                  h.y + h.h + GRID_MARGIN);
  }
}

namespace {

GridSlot::FiledCar filedCar(const Car& car) {
  // The pre-tests use the recorded half-diagonal and the computed one; take the larger.
  const double r = std::max(car.halfDiagonal, halfDiagonal(car)) + GRID_MARGIN;
  return {&car, car.x, car.y, car.nextX, car.nextY, r};
}

// A car is filed where it stands and where it was last tried.
bool triedElsewhere(const GridSlot::FiledCar& c) { return c.nextX != c.x || c.nextY != c.y; }

void file(SpatialGrid& grid, int index, const GridSlot::FiledCar& c) {
  grid.insertCircle(index, c.x, c.y, c.reach);
  if (triedElsewhere(c)) grid.insertCircle(index, c.nextX, c.nextY, c.reach);
}

void unfile(SpatialGrid& grid, int index, const GridSlot::FiledCar& c) {
  grid.removeCircle(index, c.x, c.y, c.reach);
  if (triedElsewhere(c)) grid.removeCircle(index, c.nextX, c.nextY, c.reach);
}

}  // namespace

// Cars stand still between most passes of a frame: the grid of the last pass serves again
// while every car is where it was filed.
CarGridScope::CarGridScope(const World& world, bool carsMove)
    : PassGrid(world, Kind::Cars), world_(world) {
  if (!grid_) return;
  std::vector<GridSlot::FiledCar>& filed = slot_->cars;
  const int count = world.cars.count();
  bool same = slot_->holdsCars && filed.size() == static_cast<size_t>(count);
  for (int i = 0; same && i < count; ++i) same = filed[i] == filedCar(*world.cars[i]);
  if (!same) {
    grid_->clear();
    filed.clear();
    slot_->holdsCars = true;
    for (int i = 0; i < count; ++i) {
      filed.push_back(filedCar(*world.cars[i]));
      file(*grid_, i, filed.back());
    }
  }
  if (!carsMove) grid_->packCircles();
}

void CarGridScope::refile(int index) {
  if (!grid_) return;
  const GridSlot::FiledCar now = filedCar(*world_.cars[index]);
  GridSlot::FiledCar& filed = slot_->cars[static_cast<size_t>(index)];
  if (filed == now) return;
  unfile(*grid_, index, filed);
  filed = now;
  file(*grid_, index, now);
}

namespace {

// Without a grid every member is a candidate.
void everyIndex(int count, std::vector<int>& out) {
  out.resize(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) out[static_cast<size_t>(i)] = i;
}

}  // namespace

const std::vector<int>& housesNear(const World& world, double x, double y, double reach,
                                   std::vector<int>& out) {
  if (SpatialGrid* grid = PassGrid::of(world, PassGrid::Kind::Houses))
    return grid->candidates(x - reach, y - reach, x + reach, y + reach, out);
  everyIndex(world.houses.count(), out);
  return out;
}

void carsNear(const World& world, double x, double y, double reach, std::vector<int>& out,
              bool inOrder) {
  if (SpatialGrid* grid = PassGrid::of(world, PassGrid::Kind::Cars)) {
    grid->queryCircles(x, y, reach, out, inOrder);
    return;
  }
  everyIndex(world.cars.count(), out);
}
