// The camera that follows the player, and the city painted bottom to top: background, lawns,
// sidewalks, roads, blood, money, bullets, cars, houses, money markers, people, the player and
// the texts about where the player stands.
#include "render/world_view.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "render/blit.h"
#include "render/ground_cover.h"
#include "render/media.h"
#include "render/turned_pictures.h"
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

// One step of painting the city. The steps of the whole city are gathered in painting order
// first and then run a band of screen rows at a time, so that each band is painted while it
// sits in the processor's cache. Every step keeps to the screen's clip rectangle, so painting
// band by band writes exactly the pixels that painting in one go does.
struct PaintStep {
  enum class Kind : uint8_t { Fill, Part, Image, Turned };
  Kind kind = Kind::Fill;
  int top = 0, bottom = 0;  // the screen rows it can touch, [top, bottom)
  SDL_Rect rect{};          // Fill, Part (of the image)
  Uint32 colour = 0;        // Fill
  SDL_Surface* image = nullptr;           // Part, Image
  const TurnedPicture* turned = nullptr;  // Turned
  int64_t x = 0, y = 0;                   // Image, Turned: the top-left corner
};

// Rows per band: a band of the widest screens stays within the second-level cache.
constexpr int kBandRows = 64;

struct Painter {
  Media& media;
  const View& view;
  std::vector<PaintStep>& steps;

  void fill(const SDL_Rect& rect, Uint32 colour) {
    PaintStep s;
    s.kind = PaintStep::Kind::Fill;
    s.rect = rect;
    s.colour = colour;
    s.top = rect.y;
    s.bottom = rect.y + rect.h;
    steps.push_back(s);
  }
  void part(SDL_Surface* image, const SDL_Rect& rect) {
    if (!image) return;
    PaintStep s;
    s.kind = PaintStep::Kind::Part;
    s.rect = rect;
    s.image = image;
    s.top = rect.y;
    s.bottom = rect.y + rect.h;
    steps.push_back(s);
  }
  void image(SDL_Surface* image, int64_t x, int64_t y) {
    if (!image) return;
    PaintStep s;
    s.kind = PaintStep::Kind::Image;
    s.image = image;
    s.x = x;
    s.y = y;
    s.top = toSint16(y);  // blitAt saturates the corner
    s.bottom = s.top + image->h;
    steps.push_back(s);
  }
  void turned(const TurnedPicture* picture, int64_t x, int64_t y) {
    if (!picture) return;
    PaintStep s;
    s.kind = PaintStep::Kind::Turned;
    s.turned = picture;
    s.x = x;
    s.y = y;
    s.top = toSint16(y);  // drawTurned saturates the corner
    s.bottom = s.top + picture->h;
    steps.push_back(s);
  }
  // The frame turned by angle degrees, keyed pure green, centred on the world point (x, y).
  void rotated(SDL_Surface* frame, double angle, double x, double y) {
    const TurnedPicture* picture = media.turned.get(frame, angle, media.screen);
    if (!picture) return;
    turned(picture, int64_t{truncateToInt(x)} - picture->w / 2 - view.x,
           int64_t{truncateToInt(y)} - picture->h / 2 - view.y);
  }
};

void runStep(SDL_Surface* screen, const PaintStep& s) {
  switch (s.kind) {
    case PaintStep::Kind::Fill: fillRect(screen, s.rect, s.colour); break;
    case PaintStep::Kind::Part: blitPart(screen, s.image, s.rect); break;
    case PaintStep::Kind::Image: blitAt(screen, s.image, s.x, s.y); break;
    case PaintStep::Kind::Turned: drawTurned(screen, *s.turned, s.x, s.y); break;
  }
}

void runSteps(SDL_Surface* screen, const std::vector<PaintStep>& steps, bool inBands) {
  if (!inBands) {
    for (const PaintStep& s : steps) runStep(screen, s);
    return;
  }
  const SDL_Rect clip = screen->clip_rect;
  const int end = clip.y + clip.h;
  const int bands = (clip.h + kBandRows - 1) / kBandRows;
  if (bands <= 0) return;
  // The steps of each band in painting order, by a counting sort on the bands they touch.
  static std::vector<int> first, order, fill;
  auto bandsOf = [&](const PaintStep& s, int& from, int& to) {
    from = std::max(s.top, static_cast<int>(clip.y));
    to = std::min(s.bottom, end);
    if (from >= to) return false;
    from = (from - clip.y) / kBandRows;
    to = (to - 1 - clip.y) / kBandRows;
    return true;
  };
  first.assign(bands + 1, 0);
  for (const PaintStep& s : steps) {
    int from, to;
    if (bandsOf(s, from, to))
      for (int b = from; b <= to; ++b) ++first[b + 1];
  }
  for (int b = 0; b < bands; ++b) first[b + 1] += first[b];
  order.resize(first[bands]);
  fill.assign(first.begin(), first.end() - 1);
  for (int i = 0; i < static_cast<int>(steps.size()); ++i) {
    int from, to;
    if (bandsOf(steps[i], from, to))
      for (int b = from; b <= to; ++b) order[fill[b]++] = i;
  }
  for (int b = 0; b < bands; ++b) {
    const int top = clip.y + b * kBandRows, bottom = std::min(top + kBandRows, end);
    SDL_Rect band{clip.x, static_cast<Sint16>(top), clip.w, static_cast<Uint16>(bottom - top)};
    SDL_SetClipRect(screen, &band);
    for (int k = first[b]; k < first[b + 1]; ++k) runStep(screen, steps[order[k]]);
  }
  SDL_SetClipRect(screen, &clip);
}

// Fills every rectangle of the list that shows; colourOf picks each one's colour.
template <class R, class ColourOf>
void fillRects(Painter& painter, const View& view, const RecordList<R>& list, ColourOf colourOf) {
  SDL_Rect area;
  for (const auto& record : list)
    if (screenArea(*record, view, area)) painter.fill(area, colourOf(*record));
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

bool sameCover(const CoverRect& a, const CoverRect& b) {
  return a.x0 == b.x0 && a.y0 == b.y0 && a.x1 == b.x1 && a.y1 == b.y1 && a.colour == b.colour &&
         a.painted == b.painted;
}

// The pieces of a stack over an area, cut again only when the stack or the area changed since
// the last time (while the camera rests, the city's rectangles stay where they were on the
// screen): comparing hundreds of rectangles costs far less than cutting them.
struct CoverCut {
  std::vector<CoverRect> stack, lastStack;
  std::vector<CoverPiece> pieces;
  CoverRect lastArea{0, 0, 0, 0, 0, false};
  bool cut = false;

  const std::vector<CoverPiece>& piecesOver(const CoverRect& area) {
    const bool same = cut && sameCover(area, lastArea) && stack.size() == lastStack.size() &&
                      std::equal(stack.begin(), stack.end(), lastStack.begin(), sameCover);
    if (!same) {
      coverPieces(stack, area, pieces);
      lastStack = stack;
      lastArea = area;
      cut = true;
    }
    return pieces;
  }
};

// The ground under everything that moves: the background where nothing covers it, then lawns,
// sidewalks and roads. Each pixel is written once, by the topmost of them; pixels under a
// house are left alone, as the house is filled over them later in the frame.
void paintGround(Painter& painter, const World& world) {
  Media& media = painter.media;
  const View& view = world.view;
  auto lawnColour = [&](const Lawn& l) { return media.lawnColours[tableIndex(l.colourIndex)]; };
  auto sidewalkColour = [&](const Sidewalk&) { return media.sidewalkGrey; };
  auto roadColour = [&](const Road&) { return media.roadGrey; };
  if (g_groundPainting == GroundPainting::LayerByLayer) {
    painter.image(media.background.get(), 0, 0);
    fillRects(painter, view, world.lawns, lawnColour);
    fillRects(painter, view, world.sidewalks, sidewalkColour);
    fillRects(painter, view, world.roads, roadColour);
    return;
  }
  static CoverCut ground;
  std::vector<CoverRect>& stack = ground.stack;
  stack.clear();
  stackRects(view, world.lawns, true, lawnColour, stack);
  stackRects(view, world.sidewalks, true, sidewalkColour, stack);
  stackRects(view, world.roads, true, roadColour, stack);
  stackRects(view, world.houses, false, [](const House&) { return 0u; }, stack);
  for (const CoverPiece& p : ground.piecesOver(clipArea(media.screen))) {
    if (p.top < 0)
      painter.part(media.background.get(), pieceRect(p));
    else if (stack[p.top].painted)
      painter.fill(pieceRect(p), stack[p.top].colour);
  }
}

// The houses, over the cars: where houses overlap, only the topmost one is filled.
void paintHouses(Painter& painter, const World& world) {
  Media& media = painter.media;
  auto houseColour = [&](const House& h) { return media.houseColours[tableIndex(h.colourIndex)]; };
  if (g_groundPainting == GroundPainting::LayerByLayer) {
    fillRects(painter, world.view, world.houses, houseColour);
    return;
  }
  static CoverCut houses;
  std::vector<CoverRect>& stack = houses.stack;
  stack.clear();
  stackRects(world.view, world.houses, true, houseColour, stack);
  for (const CoverPiece& p : houses.piecesOver(clipArea(media.screen)))
    if (p.top >= 0) painter.fill(pieceRect(p), stack[p.top].colour);
}

// Picture files face up, headings count from the right: turn by the heading less 90 degrees
// (in doubles, so no heading read from a map can overflow).
double upright(int32_t heading) { return static_cast<double>(heading) - 90.0; }

// Frame counters come from map files and the walking step; one out of 0..7 shows frame 0.
int frameIndex(int walkFrame) { return (walkFrame >= 0 && walkFrame < 8) ? walkFrame : 0; }

void drawPeople(Painter& painter, const View& view, const RecordList<Person>& people) {
  for (const auto& person : people) {
    if (!(person->life > person->damage) || person->inCar) continue;
    if (!anyCornerInView(*person, view)) continue;
    SDL_Surface* frame = painter.media
                             .pedestrianFrames[tableIndex(person->kind) * 8 +
                                               frameIndex(person->walkFrame)]
                             .get();
    painter.rotated(frame, upright(person->heading), person->x, person->y);
  }
}

// Bullets sit by their top-left corner, rounded after the half size is taken off.
void drawBullets(Painter& painter, const World& world) {
  const View& view = world.view;
  for (const auto& bullet : world.bullets) {
    const TurnedPicture* picture = bulletPicture(painter.media, *bullet);
    if (!picture) continue;
    painter.turned(picture, truncateToInt(bullet->x - view.x - picture->w / 2),
                   truncateToInt(bullet->y - view.y - picture->h / 2));
  }
}

void drawMoneyItems(Painter& painter, const World& world) {
  Media& media = painter.media;
  const View& view = world.view;
  const int screenW = media.screen->w, screenH = media.screen->h;
  for (const auto& item : world.moneyItems) {
    if (rectInView(rectOf(*item), view)) {
      painter.image(media.targetImage[0].get(), truncateToInt(item->x - item->w / 2 - view.x),
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
    painter.rotated(media.arrowImage[0].get(), pointer.heading, p.x, p.y);
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

namespace {

// The city, bottom layer first: everything but the texts as painting steps, then the texts.
void drawCity(Media& media, const World& world) {
  const View& view = world.view;
  static std::vector<PaintStep> steps;
  steps.clear();
  Painter painter{media, view, steps};

  paintGround(painter, world);

  for (const auto& mark : world.deathMarks)
    painter.image(media.bloodStain.get(), truncateToInt(mark->x - view.x),
                  truncateToInt(mark->y - view.y));
  // Money drops are picked up by the simulation pass; drawing only shows what is left.
  for (const auto& drop : world.moneyDrops)
    painter.image(media.moneyImage.get(), truncateToInt(drop->x - drop->w / 2 - view.x),
                  truncateToInt(drop->y - drop->h / 2 - view.y));
  drawBullets(painter, world);

  for (const auto& car : world.cars) {
    if (!anyCornerInView(*car, view)) continue;
    painter.rotated(media.carFrames[tableIndex(car->model)].get(), upright(car->heading), car->x,
                    car->y);
  }
  // Houses cover the cars under them.
  paintHouses(painter, world);
  drawMoneyItems(painter, world);

  drawPeople(painter, view, world.pedestrians);
  drawPeople(painter, view, world.badGuys);
  drawPeople(painter, view, world.drivers);

  const Person* player = world.player.get();
  if (player && !player->inCar)
    painter.rotated(media.playerFrames[frameIndex(player->walkFrame)].get(),
                    upright(player->heading), player->x, player->y);

  runSteps(media.screen, steps, g_groundPainting == GroundPainting::EachPixelOnce);
  if (player) drawPlayerTexts(media, world);
}

}  // namespace

const TurnedPicture* bulletPicture(Media& media, const Bullet& bullet) {
  return media.turned.get(media.bulletFrames[tableIndex(bullet.imageIndex)].get(), bullet.heading,
                          media.screen);
}

void setGroundPainting(GroundPainting painting) { g_groundPainting = painting; }

void drawWorld(Media& media, const World& world) {
  if (!media.screen) return;
  drawCity(media, world);
  media.turned.endFrame();
}
