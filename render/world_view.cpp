// The camera that follows the player, and the city painted bottom to top: background, lawns,
// sidewalks, roads, blood, money, bullets, cars, houses, money markers, people, the player and
// the texts about where the player stands.
#include "render/world_view.h"

#include <algorithm>
#include <cstdint>

#include "app/world.h"
#include "platform/platform.h"
#include "render/blit.h"
#include "render/rotate.h"
#include "render/text.h"
#include "sim/collision.h"
#include "world/records.h"

namespace {

constexpr int kArrowInset = 30;        // pixels between an arrow's centre and the screen edge
constexpr uint32_t kCarNameMs = 2000;  // how long the model name shows after boarding

// Fills the part of every rectangle of the list that lies in the view (corners truncated
// toward zero, as the world's coordinates are); colourOf picks each one's colour. Clipping
// before narrowing keeps any size or position inside SDL's 16 bits.
template <class R, class ColourOf>
void fillRects(World& world, const RecordList<R>& list, ColourOf colourOf) {
  const SDL_Rect& view = world.view;
  const int64_t viewRight = view.x + view.w, viewBottom = view.y + view.h;
  for (const auto& record : list) {
    const R& r = *record;
    if (!rectInView(rectOf(r), view)) continue;
    const int64_t left = truncateToInt(r.x), top = truncateToInt(r.y);
    const int64_t x0 = std::max<int64_t>(left, view.x), y0 = std::max<int64_t>(top, view.y);
    const int64_t x1 = std::min<int64_t>(left + truncateToInt(r.w), viewRight);
    const int64_t y1 = std::min<int64_t>(top + truncateToInt(r.h), viewBottom);
    if (x1 <= x0 || y1 <= y0) continue;
    const SDL_Rect area{toSint16(x0 - view.x), toSint16(y0 - view.y), toUint16(x1 - x0),
                        toUint16(y1 - y0)};
    fillRect(world.screen, area, colourOf(r));
  }
}

// Picture files face up, headings count from the right: turn by the heading less 90 degrees
// (in doubles, so no heading read from a map can overflow).
double upright(int32_t heading) { return static_cast<double>(heading) - 90.0; }

// Frame counters come from map files and the walking step; one out of 0..7 shows frame 0.
int frameIndex(int walkFrame) { return (walkFrame >= 0 && walkFrame < 8) ? walkFrame : 0; }

void drawPeople(World& world, const RecordList<Person>& people) {
  for (const auto& person : people) {
    if (!(person->life > person->damage) || person->inCar) continue;
    if (!anyCornerInView(*person, world.view)) continue;
    SDL_Surface* frame =
        world.pedestrianFrames[tableIndex(person->kind) * 8 + frameIndex(person->walkFrame)].get();
    drawRotated(world, person->picture, frame, upright(person->heading), person->x, person->y);
  }
}

// A bullet's picture is turned once, the first time it is drawn; its heading never changes.
void drawBullets(World& world) {
  const SDL_Rect& view = world.view;
  for (const auto& bullet : world.bullets) {
    if (!bullet->picture) {
      SDL_Surface* frame = world.bulletFrames[tableIndex(bullet->imageIndex)].get();
      if (!frame) continue;
      bullet->picture = rotateSprite(frame, bullet->heading, 1.0);
      if (!bullet->picture) continue;
      platformSetColorKey(bullet->picture.get(), SDL_MapRGB(frame->format, 0, 255, 0));
    }
    SDL_Surface* picture = bullet->picture.get();
    blitAt(world.screen, picture, truncateToInt(bullet->x - view.x - picture->w / 2),
           truncateToInt(bullet->y - view.y - picture->h / 2));
  }
}

void drawMoneyItems(World& world) {
  const SDL_Rect& view = world.view;
  const int screenW = world.screen->w, screenH = world.screen->h;
  for (const auto& item : world.moneyItems) {
    if (rectInView(rectOf(*item), view)) {
      blitAt(world.screen, world.targetImage[0].get(),
             truncateToInt(item->x - item->w / 2 - view.x),
             truncateToInt(item->y - item->h / 2 - view.y));
      continue;
    }
    if (!world.player) continue;
    const ArrowPlace p =
        arrowPlace(*item, view, screenW, screenH, world.player->x, world.player->y);
    Body pointer;
    pointer.x = p.x;
    pointer.y = p.y;
    faceRect(pointer, rectOf(*item));
    drawRotated(world, world.rotatedSprite, world.arrowImage[0].get(), pointer.heading, p.x, p.y);
  }
}

// The texts about where the player stands: the road name, the blocking house's text and,
// just after boarding, the car's model name.
void drawPlayerTexts(World& world) {
  const Person& player = *world.player;
  const int screenW = world.screen->w, screenH = world.screen->h;
  for (const auto& road : world.roads) {
    if (road->x < player.x && player.x < road->x + road->w && road->y < player.y &&
        player.y < road->y + road->h) {
      drawText(world, world.smallFont.get(), road->name, world.black, screenW / 2 - 100,
               screenH - 50);
      break;
    }
  }
  if (player.blockingHouse)
    drawText(world, world.smallFont.get(), player.blockingHouse->text, world.black, 20,
             screenH - 230);
  // Unsigned like the tick counter: a boarding time ahead of the clock shows nothing.
  const uint32_t sinceBoarding = world.clock.now() - static_cast<uint32_t>(player.enteredAt);
  if (player.targetCar && sinceBoarding < kCarNameMs && player.enteredAt > 0)
    drawText(world, world.smallFont.get(), player.targetCar->modelName, world.black, 20,
             screenH - 250);
}

}  // namespace

void updateCamera(World& world) {
  if (!world.player) return;
  const int screenW = world.screen ? world.screen->w : world.view.w;
  const int screenH = world.screen ? world.screen->h : world.view.h;
  SDL_Rect& view = world.view;
  view.x = toSint16(int64_t{truncateToInt(world.player->x)} - screenW / 2);
  view.y = toSint16(int64_t{truncateToInt(world.player->y)} - screenH / 2);
  if (view.x < 0) view.x = 0;
  if (view.y < 0) view.y = 0;
  if (view.x > WORLD_SIZE - view.w) view.x = toSint16(WORLD_SIZE - view.w);
  if (view.y > WORLD_SIZE - view.h) view.y = toSint16(WORLD_SIZE - view.h);
}

ArrowPlace arrowPlace(const MoneyItem& item, const SDL_Rect& view, int screenW, int screenH,
                      double playerX, double playerY) {
  const double left = view.x, right = view.x + screenW;
  const double top = view.y, bottom = view.y + screenH;
  const double x = item.x, y = item.y, w = item.w, h = item.h;
  ArrowPlace p{playerX, playerY};
  // Every test that holds replaces the place; the corners, tested last, win.
  if (x >= right && top <= y && y <= bottom) p = {right - kArrowInset, y};
  if (x + w <= left && top <= y && y <= bottom) p = {left + kArrowInset, y};
  if (left <= x && x <= right && y + h >= bottom) p = {x, bottom - kArrowInset};
  if (left <= x && x <= right && y <= top) p = {x, top + kArrowInset};
  if (x + w <= left && y + h <= top) p = {left + kArrowInset, top + kArrowInset};
  if (x >= right && y <= top) p = {right - kArrowInset, top + kArrowInset};
  if (x + w <= left && y >= bottom) p = {left + kArrowInset, bottom - kArrowInset};
  if (x >= right && y >= bottom) p = {right - kArrowInset, bottom - kArrowInset};
  return p;
}

void drawRotated(World& world, SurfacePtr& slot, SDL_Surface* frame, double angle, double x,
                 double y) {
  slot.reset();
  if (!frame) return;
  slot = rotateSprite(frame, angle, 1.0);
  if (!slot) return;
  world.keyColour = SDL_MapRGB(frame->format, 0, 255, 0);
  platformSetColorKey(slot.get(), world.keyColour);
  if (!world.screen) return;
  SDL_Surface* picture = slot.get();
  blitAt(world.screen, picture, truncateToInt(x) - picture->w / 2 - world.view.x,
         truncateToInt(y) - picture->h / 2 - world.view.y, turnsOpaqueOrClear(frame));
}

void drawWorld(World& world) {
  if (!world.screen) return;
  const SDL_Rect& view = world.view;

  blitAt(world.screen, world.background.get(), 0, 0);
  fillRects(world, world.lawns,
            [&](const Lawn& l) { return world.lawnColours[tableIndex(l.colourIndex)]; });
  fillRects(world, world.sidewalks, [&](const Sidewalk&) { return world.sidewalkGrey; });
  fillRects(world, world.roads, [&](const Road&) { return world.roadGrey; });

  for (const auto& mark : world.deathMarks)
    blitAt(world.screen, world.bloodStain.get(), truncateToInt(mark->x - view.x),
           truncateToInt(mark->y - view.y));
  // Money drops are picked up by the simulation pass; drawing only shows what is left.
  for (const auto& drop : world.moneyDrops)
    blitAt(world.screen, world.moneyImage.get(), truncateToInt(drop->x - drop->w / 2 - view.x),
           truncateToInt(drop->y - drop->h / 2 - view.y));
  drawBullets(world);

  for (const auto& car : world.cars) {
    if (!anyCornerInView(*car, view)) continue;
    drawRotated(world, world.rotatedSprite, world.carFrames[tableIndex(car->model)].get(),
                upright(car->heading), car->x, car->y);
  }
  // Houses cover the cars under them.
  fillRects(world, world.houses,
            [&](const House& h) { return world.houseColours[tableIndex(h.colourIndex)]; });
  drawMoneyItems(world);

  drawPeople(world, world.pedestrians);
  drawPeople(world, world.badGuys);
  drawPeople(world, world.drivers);
  if (!world.player) return;
  Person& player = *world.player;
  if (!player.inCar)
    drawRotated(world, world.rotatedSprite, world.playerFrames[frameIndex(player.walkFrame)].get(),
                upright(player.heading), player.x, player.y);
  drawPlayerTexts(world);
}
