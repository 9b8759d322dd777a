// The uniform candidate grid and the switch between grids and the plain all-pairs loops.
#include "sim/spatial_grid.h"

#include <algorithm>
#include <cmath>

namespace {

GridUse g_gridUse = GridUse::Auto;

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
