// The status display over the finished picture: wanted stars, life with the heart, money with
// the coin, and the current weapon with its ammunition or, in a car, the car's life.
#include "render/status.h"

#include <SDL.h>

#include "render/media.h"
#include "world/world.h"
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

void drawStatus(Media& media, const World& world) {
  if (!media.screen || !world.player) return;
  const Person& player = *world.player;
  TTF_Font* font = media.smallFont.get();
  const int W = media.screen->w, H = media.screen->h;

  // One star per whole wanted level; stars past the right edge would not show, so a huge level
  // stops there instead of looping.
  const int stars = truncateToInt(player.wantedLevel);
  for (int i = 1; i <= stars && 20 * i - 10 < W; ++i)
    blitAt(media.screen, media.starIcon.get(), 20 * i - 10, H - 185);

  drawText(media, font, toText(player.life - player.damage), media.black, 70, H - 120);
  blitAt(media.screen, media.heartIcon.get(), 10, H - 130);
  drawText(media, font, toText(truncateToInt(player.money)), media.black, 70, H - 60);
  blitAt(media.screen, media.moneyIcon.get(), 10, H - 80);

  if (!player.inCar) {
    const Weapon* weapon = currentWeapon(player);
    if (!weapon) return;
    blitAt(media.screen, media.weaponBackground.get(), W - 120, H - 120);
    if (SDL_Surface* picture = media.weaponFrames[tableIndex(weapon->weaponImage)].get())
      blitAt(media.screen, picture, W - 110, H - picture->h / 2 - 60);
    drawText(media, font, weapon->name, media.black, W - 90, H - 120);
    if (weapon->ammo == -1)
      drawText(media, font, "Unlimited", media.black, W - 95, H - 30);
    else
      drawText(media, font, toText(weapon->ammo), media.black, W - 50, H - 30);
  } else if (player.targetCar) {
    blitAt(media.screen, media.weaponBackground.get(), W - 120, H - 120);
    drawText(media, font, toText(player.targetCar->life - player.targetCar->damage), media.black,
             W - 70, H - 70);
  }
}
