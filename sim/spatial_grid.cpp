// The uniform candidate grid and the switch between grids and the plain all-pairs loops.
#include "sim/spatial_grid.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "app/world.h"

namespace {

GridUse g_gridUse = GridUse::Auto;
const HouseGridScope* g_innermost = nullptr;

// Below this many houses trying every one is as quick as filing them.
constexpr int MIN_HOUSES_FOR_GRID = 32;

// Below this many pairs a plain loop is as quick as filling and reading a grid.
constexpr long MIN_PAIRS_FOR_GRID = 4096;

int cellOf(double v) {
  const double cell = std::floor(v / SpatialGrid::CELL_SIZE);
  if (cell < 0) return 0;
  if (cell > SpatialGrid::CELLS_PER_SIDE - 1) return SpatialGrid::CELLS_PER_SIDE - 1;
  return static_cast<int>(cell);
}

}  // namespace

// Cell numbers grow with the coordinate (division by a positive size and floor keep order,
// and so does clamping to the border), so two overlapping intervals always share a cell.
bool SpatialGrid::spanOf(double low, double high, Span& span) {
  if (!std::isfinite(low) || !std::isfinite(high)) return false;
  if (high < low) std::swap(low, high);
  span = {cellOf(low), cellOf(high)};
  return true;
}

void SpatialGrid::clear() {
  for (auto& cell : cells_) cell.clear();
  everywhere_.clear();
  members_ = 0;
}

void SpatialGrid::insert(int index, double left, double top, double right, double bottom) {
  ++members_;
  Span xs, ys;
  if (!spanOf(left, right, xs) || !spanOf(top, bottom, ys)) {
    everywhere_.push_back(index);
    return;
  }
  for (int cy = ys.first; cy <= ys.last; ++cy)
    for (int cx = xs.first; cx <= xs.last; ++cx) cells_[cy * CELLS_PER_SIDE + cx].push_back(index);
}

void SpatialGrid::query(double left, double top, double right, double bottom,
                        std::vector<int>& out) const {
  out.clear();
  Span xs, ys;
  if (!spanOf(left, right, xs) || !spanOf(top, bottom, ys)) {
    xs = {0, CELLS_PER_SIDE - 1};
    ys = {0, CELLS_PER_SIDE - 1};
  }
  out.insert(out.end(), everywhere_.begin(), everywhere_.end());
  for (int cy = ys.first; cy <= ys.last; ++cy)
    for (int cx = xs.first; cx <= xs.last; ++cx) {
      const std::vector<int>& cell = cells_[cy * CELLS_PER_SIDE + cx];
      out.insert(out.end(), cell.begin(), cell.end());
    }
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
}

void setGridUse(GridUse use) { g_gridUse = use; }

GridUse gridUse() { return g_gridUse; }

bool useGridFor(int movers, int targets) {
  switch (g_gridUse) {
    case GridUse::Always: return true;
    case GridUse::Never: return false;
    case GridUse::Auto: break;
  }
  return static_cast<long>(movers) * targets >= MIN_PAIRS_FOR_GRID;
}

HouseGridScope::HouseGridScope(const World& world) : world_(&world), outer_(g_innermost) {
  g_innermost = this;
  const int count = world.houses.count();
  if (gridUse() == GridUse::Never || (gridUse() == GridUse::Auto && count < MIN_HOUSES_FOR_GRID))
    return;
  // One grid per depth of nesting, kept between passes so its cells keep their room.
  static std::vector<std::unique_ptr<SpatialGrid>> grids;
  int depth = 0;
  for (const HouseGridScope* s = outer_; s; s = s->outer_) ++depth;
  while (static_cast<int>(grids.size()) <= depth) grids.push_back(std::make_unique<SpatialGrid>());
  SpatialGrid& grid = *grids[depth];
  grid.clear();
  for (int i = 0; i < count; ++i) {
    const House& h = *world.houses[i];
    grid.insert(i, h.x - GRID_MARGIN, h.y - GRID_MARGIN, h.x + h.w + GRID_MARGIN,
                h.y + h.h + GRID_MARGIN);
  }
  grid_ = &grid;
}

HouseGridScope::~HouseGridScope() { g_innermost = outer_; }

const SpatialGrid* houseGridOf(const World& world) {
  for (const HouseGridScope* s = g_innermost; s; s = s->outer_)
    if (s->world_ == &world) return s->grid_;
  return nullptr;
}

void housesNear(const World& world, double x, double y, double reach, std::vector<int>& out) {
  if (const SpatialGrid* grid = houseGridOf(world)) {
    grid->query(x - reach, y - reach, x + reach, y + reach, out);
    return;
  }
  out.resize(world.houses.count());
  for (int i = 0; i < world.houses.count(); ++i) out[i] = i;
}
