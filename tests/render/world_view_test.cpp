// Camera clamps, the layer order of the city picture, culling, turned pictures kept per image
// and heading, bullet pictures, money markers and arrows, and the texts about where the player
// stands.
#include "render/world_view.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>
#include <tuple>

#include "render/media.h"
#include "world/world.h"
#include "sim/camera.h"
#include "support/sdl.h"
#include "support/records.h"

using namespace testsupport;

namespace {

constexpr Uint32 kKey = 0x0000FF00;
const Uint32 kBackground = rgb(200, 200, 200);

// An upright sprite of one colour with a one-pixel key border, keyed like the game's frames.
SurfacePtr keyedFrame(int w, int h, Uint32 colour) {
  SurfacePtr s = plainSurface(w, h, kKey);
  SDL_Rect inside{1, 1, static_cast<Uint16>(w - 2), static_cast<Uint16>(h - 2)};
  SDL_FillRect(s.get(), &inside, colour);
  SDL_SetColorKey(s.get(), SDL_SRCCOLORKEY, kKey);
  return s;
}

// A World drawing onto an 800 x 600 plain surface, with a flat light background.
struct Scene {
  SurfacePtr screen;
  World world;
  Media media;

  Scene(int w = 800, int h = 600) {
    startSdl();
    screen = plainSurface(w, h);
    media.screen = screen.get();
    world.view = {0, 0, w, h};
    mapMediaColours(media, screen->format);
    media.background = plainSurface(w, h, kBackground);
    world.player = PersonSpec{}.name("Valdero").flag(false).at(40, 560).hands(100).make();
    world.player->heading = 90;
  }
  Uint32 at(int x, int y) { return pixelAt(screen.get(), x, y); }
};

template <class T>
T* addRect(RecordList<T>& list, double x, double y, double w, double h) {
  return list.append(makeRect<T>(x, y, w, h));
}

Car* addCar(World& world, double x, double y, int model) {
  return world.cars.append(testCar().at(x, y).heading(90).maxSpeed(5).model(model).make());
}

class DrawWorld : public ::testing::Test, protected Scene {};

}  // namespace

TEST(UpdateCamera, CentresOnThePlayerAndStaysInsideTheWorld) {
  World world;
  world.player = PersonSpec{}.make();
  // Player (x, y) and screen width -> view (x, y); a screen wider than the world: the upper
  // clamp runs last and wins. The size is the screen's and never changes here.
  for (const auto& [px, py, w, vx, vy] :
       {std::tuple{100.0, 100.0, 800, 0, 0}, {1500.9, 1500.0, 800, 1100, 1200},
        {2950.0, 2950.0, 800, 2200, 2400}, {1500.0, 1500.0, 3200, -200, 1200}}) {
    world.view = {0, 0, w, 600};
    world.player->x = px;
    world.player->y = py;
    updateCamera(world);
    EXPECT_EQ(world.view.x, vx) << px;
    EXPECT_EQ(world.view.y, vy) << py;
    EXPECT_EQ(world.view.w, w);
  }
}

TEST(ArrowPlace, PointsFromTheScreenEdgeTowardAnOffScreenItem) {
  // Item (x, y) in view (vx, vy) -> arrow (ax, ay): 30 inside the edge the item lies beyond.
  using Case = std::tuple<double, double, int, int, double, double>;
  for (const auto& [x, y, vx, vy, ax, ay] : std::initializer_list<Case>{
      {900, 300, 0, 0, 770, 300},   {-100, 200, 0, 0, 30, 200},  {400, 700, 0, 0, 400, 570},
      {420, -100, 0, 0, 420, 30},   {-100, -100, 0, 0, 30, 30},  {900, -100, 0, 0, 770, 30},
      {-100, 700, 0, 0, 30, 570},   {900, 700, 0, 0, 770, 570},
      {900, 600, 0, 0, 770, 570},   // right at exactly the bottom: the corner test wins
      {900, 0, 0, 0, 770, 30},      // right at exactly the top: the corner too
      {-30, 700, 0, 0, 30, 570},    // below, ending exactly at the left edge: the corner
      {400, 570, 0, 0, 400, 570},   // ending exactly at the bottom edge counts as below
      {2000, 800, 1000, 500, 1770, 800},  // the edges move with the view
      {-10, -100, 0, 0, 400, 300},  // straddling the left edge above: the player's centre
  }) {
    MoneyItem item;
    item.x = x;
    item.y = y;
    const ArrowPlace p = arrowPlace(item, View{vx, vy, 800, 600}, 800, 600, 400, 300);
    EXPECT_DOUBLE_EQ(p.x, ax) << x << "," << y;
    EXPECT_DOUBLE_EQ(p.y, ay) << x << "," << y;
  }
}

// Lawns under sidewalks under roads, placed relative to the view and clipped at the screen.
TEST_F(DrawWorld, GroundLayersStackAndFollowTheView) {
  world.view.x = 100;
  world.view.y = 50;
  auto colour = [&](Uint32 mapped) { return mapped & 0xFFFFFF; };
  addRect(world.lawns, 200, 150, 300, 300)->colourIndex = 2;
  addRect(world.sidewalks, 250, 200, 200, 200);
  addRect(world.roads, 300, 250, 100, 100);
  addRect(world.lawns, 600, 150, 50, 50)->colourIndex = 42;  // unknown: the first colour
  addRect(world.lawns, 50.7, 0.7, 100, 100)->colourIndex = 3;  // ends at 50, 50 on screen
  addRect(world.lawns, 700, 350, -50, 40)->colourIndex = 4;    // a negative width paints nothing
  addRect(world.houses, 2000, 2000, 50, 50);                   // far outside: culled
  drawWorld(media, world);
  EXPECT_EQ(at(49, 49), colour(media.lawnColours[3]));
  EXPECT_EQ(at(51, 51), kBackground);
  EXPECT_EQ(at(120, 120), colour(media.lawnColours[2]));
  EXPECT_EQ(at(160, 160), colour(media.sidewalkGrey));
  EXPECT_EQ(at(250, 250), colour(media.roadGrey));
  EXPECT_EQ(at(299, 299), colour(media.roadGrey));
  EXPECT_EQ(at(300, 300), colour(media.sidewalkGrey));
  EXPECT_EQ(at(520, 120), colour(media.lawnColours[0]));
  EXPECT_EQ(at(580, 320), kBackground);
  // Ten shades of lawn and ten of house, none of them black.
  std::set<Uint32> shades(media.lawnColours.begin(), media.lawnColours.end());
  shades.insert(media.houseColours.begin(), media.houseColours.end());
  shades.insert(0);
  EXPECT_EQ(shades.size(), 21u);
}

TEST_F(DrawWorld, HousesCoverCarsAndKeyPixelsShowWhatIsBelow) {
  media.carFrames[0] = keyedFrame(20, 40, rgb(220, 0, 0));
  media.carFrames[1] = keyedFrame(20, 40, rgb(0, 0, 220));
  addCar(world, 500, 300, 0);
  addCar(world, 600, 300, 1);
  addCar(world, 1700, 300, 0);  // outside the view
  addRect(world.houses, 585, 285, 30, 30)->colourIndex = 3;
  // A walk frame beyond 0..7 (a map may hold any) shows frame 0 of the person's own set.
  media.pedestrianFrames[0] = keyedFrame(20, 20, rgb(0, 200, 0));
  media.pedestrianFrames[8] = keyedFrame(20, 20, rgb(0, 0, 200));
  world.pedestrians.append(testsupport::testPerson().at(300, 500).make())->walkFrame = 8;
  world.drivers.append(testsupport::testPerson().at(200, 500).make());  // a driver on foot
  world.player->inCar = true;
  drawWorld(media, world);
  EXPECT_EQ(at(300, 500), rgb(0, 200, 0));
  EXPECT_EQ(at(200, 500), rgb(0, 200, 0));
  EXPECT_EQ(at(500, 300), rgb(220, 0, 0));
  EXPECT_EQ(at(490, 300), kBackground);  // the frame's key border
  EXPECT_EQ(at(508, 300), rgb(220, 0, 0));
  EXPECT_EQ(at(509, 300), kBackground);
  EXPECT_EQ(at(600, 300), media.houseColours[3] & 0xFFFFFF);
  EXPECT_EQ(at(600, 283), rgb(0, 0, 220));
  EXPECT_EQ(media.turned.count(), 3u);  // not the car outside the view
}

TEST_F(DrawWorld, MissingImagesAreSkippedAndNothingCrashes) {
  media.background.reset();
  SDL_FillRect(screen.get(), nullptr, rgb(1, 2, 3));
  addCar(world, 400, 300, 0);
  addCar(world, 450, 300, 55);
  world.pedestrians.append(testsupport::testPerson().at(500, 300).size(10, 10).make());
  addRect(world.deathMarks, 300, 300, 30, 40);
  world.moneyDrops.append(std::make_unique<MoneyDrop>());
  addRect(world.moneyItems, 2000, 0, 30, 30);
  world.moneyItems.append(std::make_unique<MoneyItem>());
  Bullet* shot = addRect(world.bullets, 350, 350, 0, 0);
  shot->imageIndex = 1;
  drawWorld(media, world);
  EXPECT_EQ(media.turned.count(), 0u);
  EXPECT_FALSE(bulletPicture(media, *shot));
  for (int y = 0; y < 600; y += 7)
    for (int x = 0; x < 800; x += 7) ASSERT_EQ(at(x, y), rgb(1, 2, 3)) << x << "," << y;

  // No screen: nothing at all happens.
  media.screen = nullptr;
  drawWorld(media, world);
}

TEST_F(DrawWorld, BloodMoneyAndTargetsSitAtTheirCorners) {
  media.bloodStain = keyedFrame(8, 8, rgb(120, 0, 0));
  media.moneyImage = keyedFrame(30, 40, rgb(0, 150, 0));
  media.targetImage[0] = keyedFrame(10, 10, rgb(250, 120, 0));
  world.view.x = 10;
  addRect(world.deathMarks, 300.9, 500, 30, 40);
  addRect(world.moneyDrops, 410, 500, 30, 40)->value = 10;
  addRect(world.moneyItems, 210, 300, 30, 30);
  addRect(world.moneyItems, 2000, 300, 30, 30);  // off the screen: an arrow points to it
  media.arrowImage[0] = keyedFrame(9, 9, rgb(0, 0, 0));
  world.player->inCar = true;  // leaves the turned pictures to arrows alone
  drawWorld(media, world);
  // The first and last pixels inside each picture's key border. Blood: top-left at the mark,
  // less the view; a money drop centred on its point with its own 30 x 40 size; a visible
  // money item's target at (x - w/2, y - h/2).
  for (const auto& [x, y, colour] :
       {std::tuple{291, 501, rgb(120, 0, 0)}, {296, 506, rgb(120, 0, 0)},
        {386, 481, rgb(0, 150, 0)}, {413, 518, rgb(0, 150, 0)},
        {186, 286, rgb(250, 120, 0)}, {193, 293, rgb(250, 120, 0)}})
    EXPECT_EQ(at(x, y), colour) << x << "," << y;
  // Drawing never collects money.
  EXPECT_EQ(world.moneyDrops.count(), 1);
  EXPECT_EQ(world.player->money, 0);
  // One arrow, for the item off the screen only, 30 inside the right edge; its black stays.
  EXPECT_EQ(media.turned.count(), 1u);
  EXPECT_EQ(at(770, 300), rgb(0, 0, 0));
}

// The road the player stands on, the house in its way and, until two seconds after boarding,
// the car's model name.
TEST_F(DrawWorld, PlayerTextsNameTheRoadTheBlockingHouseAndANewCar) {
  media.smallFont.reset(TTF_OpenFont(FONT, 12));
  ASSERT_TRUE(media.smallFont) << "run from the repository root";
  addRect(world.roads, 0, 500, 200, 100)->name = "Storgatan";  // under the player at 40, 560
  House* house = addRect(world.houses, 2000, 2000, 10, 10);
  house->text = "Hus";
  world.player->blockingHouse = house;
  world.player->targetCar = addCar(world, 1500, 1500, 0);
  world.player->targetCar->modelName = "Volvo";
  world.player->enteredAt = 4000;
  world.clock.setManual(5999);
  auto shown = [&](int x, int y) { return darkPixels(screen.get(), x, y, 120, 15) > 0; };
  drawWorld(media, world);
  EXPECT_TRUE(shown(300, 550));  // the road
  EXPECT_TRUE(shown(20, 370));   // the house
  EXPECT_TRUE(shown(20, 350));   // the car
  world.clock.setManual(6000);
  world.player->blockingHouse = nullptr;
  world.player->x = 400;
  drawWorld(media, world);
  EXPECT_FALSE(shown(300, 550));
  EXPECT_FALSE(shown(20, 370));
  EXPECT_FALSE(shown(20, 350));
}

// Random cities drawn both ways give the same picture pixel for pixel: rectangles of every
// layer overlapping each other and the view's edges (some without size), cars, bullets and
// people at every heading, some across band edges, a clip rectangle on some screens, and a
// background smaller than the screen, beyond which the screen keeps what the frame before
// left there. The plain painter turns every picture afresh; the other draws twice, the second
// time from its kept pictures and over a larger clip.
TEST_F(DrawWorld, PaintingEachPixelOnceGivesThePlainPaintersPicture) {
  struct Restore {
    ~Restore() { setGroundPainting(GroundPainting::EachPixelOnce); }
  } restore;
  constexpr int kW = 320, kH = 240;
  auto build = [](Scene& scene, unsigned seed) {
    std::mt19937 random(seed);
    auto whole = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    auto some = [&](double lo, double hi) {
      return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    World& world = scene.world;
    world.view.x = whole(0, 300);
    world.view.y = whole(0, 300);
    scene.media.background = plainSurface(kW - 30, kH - 20);
    // Pixels that differ from their neighbours and between the two pictures.
    for (Uint32 y = 0; y < kH; ++y)
      for (Uint32 x = 0; x < kW; ++x) {
        const Uint32 noise = (x * 2654435761u) ^ (y * 40503u) ^ (seed * 97u);
        rawPixel(scene.screen.get(), x, y) = noise;
        if (x < kW - 30 && y < kH - 20) rawPixel(scene.media.background.get(), x, y) = noise * 7;
      }
    if (whole(0, 2) == 0) {
      SDL_Rect clip{static_cast<Sint16>(whole(0, 60)), static_cast<Sint16>(whole(0, 60)),
                    static_cast<Uint16>(whole(0, kW)), static_cast<Uint16>(whole(0, kH))};
      SDL_SetClipRect(scene.screen.get(), &clip);
    }
    auto place = [&](auto& list, int count) {
      for (int i = 0; i < count; ++i) {
        const double x = world.view.x + some(-150, kW + 50), y = world.view.y + some(-150, kH + 50);
        const double w = whole(0, 9) == 0 ? 0 : some(-5, 250), h = some(0, 200);
        addRect(list, x, y, w, h);
      }
    };
    place(world.lawns, whole(0, 25));
    place(world.sidewalks, whole(0, 25));
    place(world.roads, whole(0, 25));
    place(world.houses, whole(0, 12));
    for (const auto& lawn : world.lawns) lawn->colourIndex = whole(0, 9);
    for (const auto& house : world.houses) house->colourIndex = whole(0, 9);
    scene.media.carFrames[0] = keyedFrame(20, 40, rgb(220, 0, 0));
    scene.media.bulletFrames[0] = keyedFrame(10, 5, rgb(250, 250, 0));
    scene.media.pedestrianFrames[0] = keyedFrame(12, 14, rgb(0, 0, 200));
    for (int i = 0; i < 6; ++i)
      addCar(world, world.view.x + some(0, kW), world.view.y + some(0, kH), 0)->heading =
          whole(0, 359);
    for (int i = 0; i < 30; ++i) {
      const double bx = world.view.x + some(-10, kW + 10), by = world.view.y + some(-10, kH + 10);
      addRect(world.bullets, bx, by, 0, 0)->heading = whole(0, 359);
      Person* person = world.pedestrians.append(testsupport::testPerson()
                                                    .at(world.view.x + some(0, kW),
                                                        world.view.y + some(0, kH))
                                                    .size(12, 14)
                                                    .make());
      person->heading = whole(0, 359);
    }
  };
  for (unsigned city = 1; city <= 40; ++city) {
    Scene once(kW, kH), plain(kW, kH);
    build(once, city);
    build(plain, city);
    setGroundPainting(GroundPainting::EachPixelOnce);
    // First within the left half of the clip, then within all of it.
    const SDL_Rect clip = once.screen->clip_rect;
    SDL_Rect half = clip;
    half.w /= 2;
    SDL_SetClipRect(once.screen.get(), &half);
    drawWorld(once.media, once.world);
    SDL_SetClipRect(once.screen.get(), &clip);
    drawWorld(once.media, once.world);
    setGroundPainting(GroundPainting::LayerByLayer);
    plain.media.turned.setKeeping(false);
    drawWorld(plain.media, plain.world);
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x)
        if (rawPixel(once.screen.get(), x, y) != rawPixel(plain.screen.get(), x, y))
          FAIL() << "city " << city << " differs at (" << x << ", " << y << ")";
  }
}
