// The camera that follows the player, and the city painted bottom to top: background, lawns,
// sidewalks, roads, blood, money, bullets, cars, houses, money markers, people, the player and
// the texts about where the player stands.
#include "render/world_view.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/platform.h"
#include "render/blit.h"
#include "render/ground_cover.h"
#include "render/media.h"
#include "render/rotate.h"
#include "render/text.h"
#include "sim/collision.h"
#include "world/records.h"
#include "world/world.h"

namespace {

constexpr int kArrowInset = 30;        // pixels between an arrow's centre and the screen edge
constexpr uint32_t kCarNameMs = 2000;  // how long the model name shows after boarding

GroundPainting g_groundPainting = GroundPainting::EachPixelOnce;

// Where a rectangle of the city lies on the screen: its part in the view (corners truncated
// toward zero, as the world's coordinates are). Clipping before narrowing keeps any size or
// position inside SDL's 16 bits. False when nothing of it shows.
template <class R>
bool screenArea(const R& r, const View& view, SDL_Rect& area) {
  if (!rectInView(rectOf(r), view)) return false;
  const int64_t viewRight = view.x + view.w, viewBottom = view.y + view.h;
  const int64_t left = truncateToInt(r.x), top = truncateToInt(r.y);
  const int64_t x0 = std::max<int64_t>(left, view.x), y0 = std::max<int64_t>(top, view.y);
  const int64_t x1 = std::min<int64_t>(left + truncateToInt(r.w), viewRight);
  const int64_t y1 = std::min<int64_t>(top + truncateToInt(r.h), viewBottom);
  if (x1 <= x0 || y1 <= y0) return false;
  area = SDL_Rect{toSint16(x0 - view.x), toSint16(y0 - view.y), toUint16(x1 - x0),
                  toUint16(y1 - y0)};
  return true;
}

// Fills every rectangle of the list that shows; colourOf picks each one's colour.
template <class R, class ColourOf>
void fillRects(Media& media, const View& view, const RecordList<R>& list, ColourOf colourOf) {
  SDL_Rect area;
  for (const auto& record : list)
    if (screenArea(*record, view, area)) fillRect(media.screen, area, colourOf(*record));
}

// Puts every rectangle of the list that shows on the stack.
template <class R, class ColourOf>
void stackRects(const View& view, const RecordList<R>& list, bool painted, ColourOf colourOf,
                std::vector<CoverRect>& stack) {
  SDL_Rect area;
  for (const auto& record : list)
    if (screenArea(*record, view, area))
      stack.push_back({area.x, area.y, area.x + area.w, area.y + area.h, colourOf(*record),
                       painted});
}

// The screen's clip rectangle, which every fill and blit keeps to.
CoverRect clipArea(const SDL_Surface* screen) {
  const SDL_Rect& c = screen->clip_rect;
  return {c.x, c.y, c.x + c.w, c.y + c.h, 0, false};
}

SDL_Rect pieceRect(const CoverPiece& p) {
  return SDL_Rect{static_cast<Sint16>(p.x), static_cast<Sint16>(p.y), static_cast<Uint16>(p.w),
                  static_cast<Uint16>(p.h)};
}

// The ground under everything that moves: the background where nothing covers it, then lawns,
// sidewalks and roads. Each pixel is written once, by the topmost of them; pixels under a
// house are left alone, as the house is filled over them later in the frame.
void paintGround(Media& media, const World& world) {
  const View& view = world.view;
  auto lawnColour = [&](const Lawn& l) { return media.lawnColours[tableIndex(l.colourIndex)]; };
  auto sidewalkColour = [&](const Sidewalk&) { return media.sidewalkGrey; };
  auto roadColour = [&](const Road&) { return media.roadGrey; };
  if (g_groundPainting == GroundPainting::LayerByLayer) {
    blitAt(media.screen, media.background.get(), 0, 0);
    fillRects(media, view, world.lawns, lawnColour);
    fillRects(media, view, world.sidewalks, sidewalkColour);
    fillRects(media, view, world.roads, roadColour);
    return;
  }
  static std::vector<CoverRect> stack;
  static std::vector<CoverPiece> pieces;
  stack.clear();
  stackRects(view, world.lawns, true, lawnColour, stack);
  stackRects(view, world.sidewalks, true, sidewalkColour, stack);
  stackRects(view, world.roads, true, roadColour, stack);
  stackRects(view, world.houses, false, [](const House&) { return 0u; }, stack);
  coverPieces(stack, clipArea(media.screen), pieces);
  for (const CoverPiece& p : pieces) {
    if (p.top < 0)
      blitPart(media.screen, media.background.get(), pieceRect(p));
    else if (stack[p.top].painted)
      fillRect(media.screen, pieceRect(p), stack[p.top].colour);
  }
}

// The houses, over the cars: where houses overlap, only the topmost one is filled.
void paintHouses(Media& media, const World& world) {
  auto houseColour = [&](const House& h) { return media.houseColours[tableIndex(h.colourIndex)]; };
  if (g_groundPainting == GroundPainting::LayerByLayer) {
    fillRects(media, world.view, world.houses, houseColour);
    return;
  }
  static std::vector<CoverRect> stack;
  static std::vector<CoverPiece> pieces;
  stack.clear();
  stackRects(world.view, world.houses, true, houseColour, stack);
  coverPieces(stack, clipArea(media.screen), pieces);
  for (const CoverPiece& p : pieces)
    if (p.top >= 0) fillRect(media.screen, pieceRect(p), stack[p.top].colour);
}

// Picture files face up, headings count from the right: turn by the heading less 90 degrees
// (in doubles, so no heading read from a map can overflow).
double upright(int32_t heading) { return static_cast<double>(heading) - 90.0; }

// Frame counters come from map files and the walking step; one out of 0..7 shows frame 0.
int frameIndex(int walkFrame) { return (walkFrame >= 0 && walkFrame < 8) ? walkFrame : 0; }

void drawPeople(Media& media, const View& view, const RecordList<Person>& people) {
  for (const auto& person : people) {
    if (!(person->life > person->damage) || person->inCar) continue;
    if (!anyCornerInView(*person, view)) continue;
    SDL_Surface* frame =
        media.pedestrianFrames[tableIndex(person->kind) * 8 + frameIndex(person->walkFrame)].get();
    RecordPicture& picture = media.pictures[person.get()];
    picture.drawn = true;
    drawRotated(media, view, picture.surface, frame, upright(person->heading), person->x,
                person->y);
  }
}

// A bullet's heading never changes in flight: its picture is turned once and kept.
void drawBullets(Media& media, const World& world) {
  const View& view = world.view;
  for (const auto& bullet : world.bullets) {
    SDL_Surface* picture = bulletPicture(media, *bullet);
    if (!picture) continue;
    media.pictures[bullet.get()].drawn = true;
    blitAt(media.screen, picture, truncateToInt(bullet->x - view.x - picture->w / 2),
           truncateToInt(bullet->y - view.y - picture->h / 2));
  }
}

void drawMoneyItems(Media& media, const World& world) {
  const View& view = world.view;
  const int screenW = media.screen->w, screenH = media.screen->h;
  for (const auto& item : world.moneyItems) {
    if (rectInView(rectOf(*item), view)) {
      blitAt(media.screen, media.targetImage[0].get(),
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
    drawRotated(media, view, media.rotatedSprite, media.arrowImage[0].get(), pointer.heading, p.x,
                p.y);
  }
}

// The texts about where the player stands: the road name, the blocking house's text and,
// just after boarding, the car's model name.
void drawPlayerTexts(Media& media, const World& world) {
  const Person& player = *world.player;
  const int screenW = media.screen->w, screenH = media.screen->h;
  for (const auto& road : world.roads) {
    if (road->x < player.x && player.x < road->x + road->w && road->y < player.y &&
        player.y < road->y + road->h) {
      drawText(media, media.smallFont.get(), road->name, media.black, screenW / 2 - 100,
               screenH - 50);
      break;
    }
  }
  if (player.blockingHouse)
    drawText(media, media.smallFont.get(), player.blockingHouse->text, media.black, 20,
             screenH - 230);
  // Unsigned like the tick counter: a boarding time ahead of the clock shows nothing.
  const uint32_t sinceBoarding = world.clock.now() - static_cast<uint32_t>(player.enteredAt);
  if (player.targetCar && sinceBoarding < kCarNameMs && player.enteredAt > 0)
    drawText(media, media.smallFont.get(), player.targetCar->modelName, media.black, 20,
             screenH - 250);
}

}  // namespace

ArrowPlace arrowPlace(const MoneyItem& item, const View& view, int screenW, int screenH,
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

void drawRotated(Media& media, const View& view, SurfacePtr& slot, SDL_Surface* frame,
                 double angle, double x, double y) {
  slot.reset();
  if (!frame) return;
  slot = rotateSprite(frame, angle, 1.0);
  if (!slot) return;
  media.keyColour = SDL_MapRGB(frame->format, 0, 255, 0);
  platformSetColorKey(slot.get(), media.keyColour);
  if (!media.screen) return;
  SDL_Surface* picture = slot.get();
  blitAt(media.screen, picture, int64_t{truncateToInt(x)} - picture->w / 2 - view.x,
         int64_t{truncateToInt(y)} - picture->h / 2 - view.y, turnsOpaqueOrClear(frame));
}

namespace {

// The city without the sweep of the kept pictures.
void drawCity(Media& media, const World& world) {
  const View& view = world.view;

  paintGround(media, world);

  for (const auto& mark : world.deathMarks)
    blitAt(media.screen, media.bloodStain.get(), truncateToInt(mark->x - view.x),
           truncateToInt(mark->y - view.y));
  // Money drops are picked up by the simulation pass; drawing only shows what is left.
  for (const auto& drop : world.moneyDrops)
    blitAt(media.screen, media.moneyImage.get(), truncateToInt(drop->x - drop->w / 2 - view.x),
           truncateToInt(drop->y - drop->h / 2 - view.y));
  drawBullets(media, world);

  for (const auto& car : world.cars) {
    if (!anyCornerInView(*car, view)) continue;
    drawRotated(media, view, media.rotatedSprite, media.carFrames[tableIndex(car->model)].get(),
                upright(car->heading), car->x, car->y);
  }
  // Houses cover the cars under them.
  paintHouses(media, world);
  drawMoneyItems(media, world);

  drawPeople(media, view, world.pedestrians);
  drawPeople(media, view, world.badGuys);
  drawPeople(media, view, world.drivers);
  if (!world.player) return;
  const Person& player = *world.player;
  if (!player.inCar)
    drawRotated(media, view, media.rotatedSprite,
                media.playerFrames[frameIndex(player.walkFrame)].get(), upright(player.heading),
                player.x, player.y);
  drawPlayerTexts(media, world);
}

}  // namespace

SDL_Surface* bulletPicture(Media& media, const Bullet& bullet) {
  auto kept = media.pictures.find(&bullet);
  if (kept != media.pictures.end() && kept->second.serial == bullet.serial &&
      kept->second.surface)
    return kept->second.surface.get();
  SDL_Surface* frame = media.bulletFrames[tableIndex(bullet.imageIndex)].get();
  if (!frame) return nullptr;
  SurfacePtr turned = rotateSprite(frame, bullet.heading, 1.0);
  if (!turned) return nullptr;
  platformSetColorKey(turned.get(), SDL_MapRGB(frame->format, 0, 255, 0));
  RecordPicture& slot = media.pictures[&bullet];
  slot.surface = std::move(turned);
  slot.serial = bullet.serial;
  return slot.surface.get();
}

void setGroundPainting(GroundPainting painting) { g_groundPainting = painting; }

void drawWorld(Media& media, const World& world) {
  if (!media.screen) return;
  drawCity(media, world);
  // Pictures of records not drawn this time (gone, or out of view) are let go.
  for (auto it = media.pictures.begin(); it != media.pictures.end();) {
    if (!it->second.drawn) {
      it = media.pictures.erase(it);
    } else {
      it->second.drawn = false;
      ++it;
    }
  }
}
