// The status display over the finished picture: wanted stars, life with the heart, money with
// the coin, and the current weapon with its ammunition or, in a car, the car's life.
#include "render/status.h"

#include <SDL.h>

#include "app/world.h"
#include "render/blit.h"
#include "render/text.h"
#include "world/records.h"

namespace {

const Weapon* currentWeapon(const Person& person) {
  const int index = person.currentWeapon;
  if (index < 0 || index >= static_cast<int>(person.weapons.size())) return nullptr;
  return person.weapons[index].get();
}

}  // namespace

void drawStatus(World& world) {
  if (!world.screen || !world.player) return;
  const Person& player = *world.player;
  TTF_Font* font = world.smallFont.get();
  const int W = world.screen->w, H = world.screen->h;

  // One star per whole wanted level; stars past the right edge would not show, so a huge level
  // stops there instead of looping.
  const int stars = truncateToInt(player.wantedLevel);
  for (int i = 1; i <= stars && 20 * i - 10 < W; ++i)
    blitAt(world.screen, world.starIcon.get(), 20 * i - 10, H - 185);

  drawText(world, font, toText(player.life - player.damage), world.black, 70, H - 120);
  blitAt(world.screen, world.heartIcon.get(), 10, H - 130);
  drawText(world, font, toText(truncateToInt(player.money)), world.black, 70, H - 60);
  blitAt(world.screen, world.moneyIcon.get(), 10, H - 80);

  if (!player.inCar) {
    const Weapon* weapon = currentWeapon(player);
    if (!weapon) return;
    blitAt(world.screen, world.weaponBackground.get(), W - 120, H - 120);
    if (SDL_Surface* picture = world.weaponFrames[tableIndex(weapon->weaponImage)].get())
      blitAt(world.screen, picture, W - 110, H - picture->h / 2 - 60);
    drawText(world, font, weapon->name, world.black, W - 90, H - 120);
    if (weapon->ammo == -1)
      drawText(world, font, "Unlimited", world.black, W - 95, H - 30);
    else
      drawText(world, font, toText(weapon->ammo), world.black, W - 50, H - 30);
  } else if (player.targetCar) {
    blitAt(world.screen, world.weaponBackground.get(), W - 120, H - 120);
    drawText(world, font, toText(player.targetCar->life - player.targetCar->damage), world.black,
             W - 70, H - 70);
  }
}
