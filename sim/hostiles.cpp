// Bad guys: calm strolling on the sidewalks, and chasing and shooting the player within range.
#include "sim/hostiles.h"

#include "world/world.h"
#include "sim/collision.h"
#include "sim/on_foot.h"
#include "sim/spatial_grid.h"
#include "sim/traffic.h"
#include "sim/weapons.h"

namespace {

// Within the current weapon's range of the player the bad guy is alerted, seen or not.
bool playerInRange(const World& world, Person& badGuy) {
  const Person* player = world.player.get();
  const Weapon* weapon = currentWeaponOf(badGuy);
  if (!player || !weapon) return false;
  return pointDistance(player->x, player->y, badGuy.x, badGuy.y) < weapon->range;
}

// Alerted: straight at the player, firing whenever the weapon's rate allows.
void attack(World& world, Person& badGuy) {
  badGuy.savedHeading = badGuy.heading;
  faceRect(badGuy, rectOf(*world.player));
  walkStep(badGuy, WalkStep::Forward);
  if (!hitsHouse(world, badGuy) && !carBlocks(world, badGuy)) commitMove(badGuy);
  fire(world, badGuy);
}

}  // namespace

void updateBadGuys(World& world) {
  const HouseGridScope houses(world);  // no house or car moves while people walk
  const CarGridScope cars(world);
  for (int i = 0; i < world.badGuys.count(); ++i) {
    Person& badGuy = *world.badGuys[i];
    if (isDead(badGuy) || badGuy.inCar) continue;
    if (!anyCornerInView(badGuy, world.view)) badGuy.scared = false;
    if (playerInRange(world, badGuy)) badGuy.scared = true;
    // Without a player there is nobody to chase.
    if (badGuy.scared && world.player)
      attack(world, badGuy);
    else
      calmWalk(world, badGuy, BAD_GUY_WALK);
  }
}
