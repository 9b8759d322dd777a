// Bullet flight and hits: bullets pass through whatever they hit until the life they
// spend on their targets runs out.
#include <cmath>
#include <vector>

#include "world/lifetime.h"
#include "world/world.h"
#include "sim/collision.h"
#include "sim/scratch.h"
#include "sim/spatial_grid.h"
#include "sim/weapons.h"

namespace {

constexpr double kBulletStep = 10.0;  // pixels per frame

// A moving target (car or person). What the target had left is taken from the bullet
// before the target takes the bullet's power. The circle test keeps the costly outline
// measure for the few targets that can touch; before it, a target farther away than the
// two reaches along either axis is passed over without a square root (the distance is
// never below either axis difference, so the outcome is the circle test's).
bool hitTarget(Bullet& bullet, double bulletReach, Body& target, OutlineMemo* memo) {
  const double reach = bulletReach + target.halfDiagonal;
  if (std::fabs(target.x - bullet.x) >= reach || std::fabs(target.y - bullet.y) >= reach)
    return false;
  if (pointDistance(bullet.x, bullet.y, target.x, target.y) >= reach) return false;
  if (!boxBoxCloserThan(target, bullet, BLOCK_DISTANCE, memo)) return false;
  bullet.damage += target.life - target.damage;
  target.damage += bullet.power;
  return true;
}

// A house takes the power first; the bullet then spends what the house has left.
// A house beyond the bullet's reach on either axis is passed over before the exact test,
// with the very differences that test measures, so the outcome is the same.
bool hitHouse(Bullet& bullet, double bulletReach, House& house, OutlineMemo* memo) {
  const Rect rect = rectOf(house);
  if (!hasArea(rect)) return false;
  if (rect.x - bullet.x >= bulletReach || bullet.x - (rect.x + rect.w) >= bulletReach ||
      rect.y - bullet.y >= bulletReach || bullet.y - (rect.y + rect.h) >= bulletReach)
    return false;
  if (!nearHouseNow(rect, bullet)) return false;
  if (!boxRectCloserThan(bullet, rect, BLOCK_DISTANCE, memo)) return false;
  house.damage += bullet.power;
  bullet.damage += house.life - house.damage;
  return true;
}

// Box of a target that a bullet can reach, widened so that no rounding in the exact
// pre-tests can accept a pair whose boxes the grid keeps apart.
constexpr double kGridMargin = 1.0;

void fileTarget(SpatialGrid& grid, int index, const Body& target) {
  const double r = target.halfDiagonal + kGridMargin;
  grid.insert(index, target.x - r, target.y - r, target.x + r, target.y + r);
}

void fileTarget(SpatialGrid& grid, int index, const House& house) {
  grid.insert(index, house.x - kGridMargin, house.y - kGridMargin,
              house.x + house.w + kGridMargin, house.y + house.h + kGridMargin);
}

// One pass over the bullets in list order; `visit` (given the bullet and its index) tells
// whether the bullet is gone. Bullets leave the list as if one by one: the next bullet moves
// into a gone one's slot and so sits the pass out. The gone ones leave together when the pass
// is over, and their cells with them.
template <class Visit>
void bulletPass(World& world, Visit visit) {
  RecordList<Bullet>& bullets = world.bullets;
  SimScratch& scratch = scratchOf(world);
  std::vector<char>& gone = scratch.goneBullets;
  gone.assign(bullets.count(), 0);
  bool any = false, sitsOut = false;
  for (int i = 0; i < bullets.count(); ++i) {
    if (sitsOut) {
      sitsOut = false;
      continue;
    }
    if (visit(*bullets[i], i)) gone[i] = any = sitsOut = true;
  }
  if (!any) return;
  removeRecords(bullets, gone);
  std::vector<int>& cells = scratch.bulletCells;
  size_t kept = 0;
  for (size_t i = 0; i < cells.size(); ++i)
    if (i >= gone.size() || !gone[i]) cells[kept++] = cells[i];
  cells.resize(kept);
}

// One pass of every bullet over one group: a bullet stops at its first hit in the group and
// is gone once spent. With many pairs the members come from a grid, nearest cells only but
// still in list order; the targets stand still during the pass, so one filing serves every
// bullet.
template <class T, class Hit>
void hitGroup(World& world, const RecordList<T>& group, Hit hit) {
  SimScratch& scratch = scratchOf(world);
  OutlineMemo* memo = &scratch.outlines;
  if (!useGridFor(world, world.bullets.count(), group.count())) {
    bulletPass(world, [&](Bullet& bullet, int) {
      const double reach = halfDiagonal(bullet);
      for (const auto& member : group)
        if (hit(bullet, reach, *member, memo)) return isDead(bullet);
      return false;
    });
    return;
  }
  SpatialGrid& grid = scratch.bulletTargets;
  std::vector<int>& candidates = scratch.bullets;
  grid.clear();
  for (int k = 0; k < group.count(); ++k) fileTarget(grid, k, *group[k]);
  const std::vector<int>& cells = scratch.bulletCells;
  bulletPass(world, [&](Bullet& bullet, int i) {
    const double reach = halfDiagonal(bullet);
    const size_t at = static_cast<size_t>(i);
    const std::vector<int>* cell = grid.membersOfCell(at < cells.size() ? cells[at] : -1);
    if (!cell) {
      grid.query(bullet.x - reach, bullet.y - reach, bullet.x + reach, bullet.y + reach,
                 candidates);
      cell = &candidates;
    }
    for (int k : *cell)
      if (hit(bullet, reach, *group[k], memo)) return isDead(bullet);
    return false;
  });
}

}  // namespace

void moveBullets(World& world) {
  // Flight; a bullet that leaves makes the next one wait a frame.
  std::vector<int>& cells = scratchOf(world).bulletCells;
  cells.clear();
  bulletPass(world, [&](Bullet& bullet, int) {
    const double radians = bullet.heading * PI / 180.0;
    bullet.x += kBulletStep * std::cos(radians);
    bullet.y -= kBulletStep * std::sin(radians);
    return !anyCornerInView(bullet, world.view) || isDead(bullet) ||
           pointDistance(bullet.x, bullet.y, bullet.originX, bullet.originY) > bullet.range;
  });
  for (const auto& bullet : world.bullets) {
    const double reach = halfDiagonal(*bullet);
    cells.push_back(SpatialGrid::cellOfBox(bullet->x - reach, bullet->y - reach,
                                           bullet->x + reach, bullet->y + reach));
  }

  hitGroup(world, world.houses, hitHouse);
  hitGroup(world, world.cars, hitTarget);
  hitGroup(world, world.pedestrians, hitTarget);
  hitGroup(world, world.badGuys, hitTarget);
  hitGroup(world, world.drivers, hitTarget);
  // The player is a group of one, hit in a car or on foot, by anybody's bullets.
  if (Person* player = world.player.get()) {
    OutlineMemo* memo = &scratchOf(world).outlines;
    bulletPass(world, [&](Bullet& bullet, int) {
      return hitTarget(bullet, halfDiagonal(bullet), *player, memo) && isDead(bullet);
    });
  }
}
