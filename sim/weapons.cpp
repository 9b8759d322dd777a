// Weapon switching and firing: rate, ammunition, the panic of bystanders, the new bullet.
#include "sim/weapons.h"

#include <cstdint>
#include <memory>

#include "world/world.h"
#include "sim/collision.h"

namespace {
constexpr double kBulletWidth = 10;
constexpr double kBulletLength = 5;
constexpr int32_t kUnlimitedAmmo = -1;
}  // namespace

void nextWeapon(Person& person) {
  const int n = static_cast<int>(person.weapons.size());
  if (n == 0) return;
  person.currentWeapon = person.currentWeapon < n - 1 ? person.currentWeapon + 1 : 0;
}

void previousWeapon(Person& person) {
  const int n = static_cast<int>(person.weapons.size());
  if (n == 0) return;
  person.currentWeapon = person.currentWeapon >= 1 ? person.currentWeapon - 1 : n - 1;
}

Weapon* currentWeaponOf(Person& person) {
  const int i = person.currentWeapon;
  if (i < 0 || i >= static_cast<int>(person.weapons.size())) return nullptr;
  return person.weapons[i].get();
}

void fire(World& world, Person& shooter) {
  Weapon* weapon = currentWeaponOf(shooter);
  if (!weapon) return;
  const uint32_t now = world.clock.now();

  // A gun that never fired counts as fired a second ago, so its first shot is not held back.
  if (weapon->lastShotAt == 0) weapon->lastShotAt = now - 1000;
  if (weapon->ammo != kUnlimitedAmmo && weapon->ammo <= 0) return;
  // Rate 0 means an endless interval; the division is avoided rather than relied on.
  if (weapon->rate == 0.0) return;
  const uint32_t sinceLastShot = now - weapon->lastShotAt;  // unsigned: survives tick wrap
  if (static_cast<double>(sinceLastShot) <= 1000.0 / weapon->rate) return;

  // Everybody who can see the shot runs away from the shooter.
  for (auto& pedestrian : world.pedestrians) {
    if (!anyCornerInView(*pedestrian, world.view)) continue;
    pedestrian->scared = true;
    faceRect(*pedestrian, rectOf(shooter));
    pedestrian->heading = turnHeading(pedestrian->heading, 180);
  }

  if (weapon->ammo != kUnlimitedAmmo) --weapon->ammo;
  weapon->lastShotAt = now;

  const double x = cornerX(shooter, 3);
  const double y = cornerY(shooter, 3);
  auto bullet = std::make_unique<Bullet>();
  static_cast<Body&>(*bullet) =
      Body(x, y, kBulletWidth, kBulletLength, weapon->power, 0.0, shooter.heading);
  bullet->originX = x;
  bullet->originY = y;
  bullet->power = weapon->power;
  bullet->range = weapon->range;
  bullet->imageIndex = weapon->imageIndex;
  bullet->serial = ++world.shotsFired;
  world.bullets.append(std::move(bullet));  // a full list drops the shot's bullet
}
