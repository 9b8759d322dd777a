// Camera clamps, the layer order of the city picture, culling, rotated sprites in their slots,
// bullet pictures, money markers and arrows, and the texts about where the player stands.
#include "render/world_view.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "render/media.h"
#include "world/world.h"
#include "render/rotate.h"
#include "render/sprites.h"
#include "sim/camera.h"
#include "render_support.h"

using namespace rendertest;

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
    startMedia();
    screen = plainSurface(w, h);
    media.screen = screen.get();
    world.view = {0, 0, w, h};
    mapMediaColours(media, screen->format);
    media.background = plainSurface(w, h, kBackground);
    world.player =
        makePerson("Valdero", nullptr, 0, false, false, 100, 0, 0, 40, 560, 29, 18, {}, 100, 0);
    world.player->heading = 90;
  }
  Uint32 at(int x, int y) { return colourAt(screen.get(), x, y); }
  bool loadFont() {
    if (!std::filesystem::exists("GFX/fonts/ADVERT.TTF")) return false;
    media.smallFont.reset(TTF_OpenFont("GFX/fonts/ADVERT.TTF", 12));
    return media.smallFont != nullptr;
  }
};

template <class T>
T* addRect(RecordList<T>& list, double x, double y, double w, double h) {
  auto r = std::make_unique<T>();
  r->x = x;
  r->y = y;
  r->w = w;
  r->h = h;
  return list.append(std::move(r));
}

Person* addPerson(RecordList<Person>& list, double x, double y, int heading = 90) {
  Person* p =
      list.append(makePerson("Sela", nullptr, 0, true, false, 100, 0, 0, x, y, 10, 10, {}, 50, 10));
  p->heading = heading;
  return p;
}

Car* addCar(World& world, double x, double y, int model, int heading = 90) {
  return world.cars.append(makeMapCar(x, y, 20, 40, 0, 100, heading, 5, model, 4, 0, 0.1));
}

}  // namespace

TEST(UpdateCamera, CentresOnThePlayerAndStaysInsideTheWorld) {
  World world;
  world.player =
      makePerson("Valdero", nullptr, 0, false, false, 100, 0, 0, 100, 100, 29, 18, {}, 100, 0);
  world.view = {0, 0, 800, 600};
  updateCamera(world);
  EXPECT_EQ(world.view.x, 0);
  EXPECT_EQ(world.view.y, 0);

  world.player->x = 1500.9;
  world.player->y = 1500;
  updateCamera(world);
  EXPECT_EQ(world.view.x, 1100);
  EXPECT_EQ(world.view.y, 1200);

  world.player->x = 2950;
  world.player->y = 2950;
  updateCamera(world);
  EXPECT_EQ(world.view.x, 2200);
  EXPECT_EQ(world.view.y, 2400);
  EXPECT_EQ(world.view.w, 800);  // the size is the screen's and never changes here

  // A screen wider than the world: the upper clamp runs last and wins.
  world.view = {0, 0, 3200, 600};
  world.player->x = 1500;
  updateCamera(world);
  EXPECT_EQ(world.view.x, -200);
}

TEST(UpdateCamera, UsesTheScreenSizeWhenThereIsAScreen) {
  Scene scene(640, 480);
  scene.world.player->x = 1000;
  scene.world.player->y = 1000;
  updateCamera(scene.world);
  EXPECT_EQ(scene.world.view.x, 1000 - 320);
  EXPECT_EQ(scene.world.view.y, 1000 - 240);
}

TEST(ArrowPlace, PointsFromTheScreenEdgeTowardAnOffScreenItem) {
  const View view{0, 0, 800, 600};
  auto place = [&](double x, double y, View v = {0, 0, 800, 600}) {
    MoneyItem item;
    item.x = x;
    item.y = y;
    return arrowPlace(item, v, 800, 600, 400, 300);
  };
  ArrowPlace p = place(900, 300);  // straight right: 30 inside the right edge, at its y
  EXPECT_DOUBLE_EQ(p.x, 770);
  EXPECT_DOUBLE_EQ(p.y, 300);
  p = place(-100, 200);  // left
  EXPECT_DOUBLE_EQ(p.x, 30);
  EXPECT_DOUBLE_EQ(p.y, 200);
  p = place(400, 700);  // below
  EXPECT_DOUBLE_EQ(p.x, 400);
  EXPECT_DOUBLE_EQ(p.y, 570);
  p = place(420, -100);  // above
  EXPECT_DOUBLE_EQ(p.x, 420);
  EXPECT_DOUBLE_EQ(p.y, 30);
  p = place(-100, -100);  // corners
  EXPECT_DOUBLE_EQ(p.x, 30);
  EXPECT_DOUBLE_EQ(p.y, 30);
  p = place(900, -100);
  EXPECT_DOUBLE_EQ(p.x, 770);
  EXPECT_DOUBLE_EQ(p.y, 30);
  p = place(-100, 700);
  EXPECT_DOUBLE_EQ(p.x, 30);
  EXPECT_DOUBLE_EQ(p.y, 570);
  p = place(900, 700);
  EXPECT_DOUBLE_EQ(p.x, 770);
  EXPECT_DOUBLE_EQ(p.y, 570);
  // Right of the screen at exactly its bottom: the corner test comes later and wins.
  p = place(900, 600);
  EXPECT_DOUBLE_EQ(p.x, 770);
  EXPECT_DOUBLE_EQ(p.y, 570);
  // The edges move with the view.
  p = place(2000, 800, {1000, 500, 800, 600});
  EXPECT_DOUBLE_EQ(p.x, 1770);
  EXPECT_DOUBLE_EQ(p.y, 800);
  // Straddling the left edge above the screen matches no test: the player's centre.
  p = place(-10, -100);
  EXPECT_DOUBLE_EQ(p.x, 400);
  EXPECT_DOUBLE_EQ(p.y, 300);
  (void)view;
}

TEST(DrawWorld, GroundLayersStackLawnSidewalkRoad) {
  Scene scene;
  World& world = scene.world;
  Media& media = scene.media;
  addRect(world.lawns, 100, 100, 300, 300)->colourIndex = 2;
  addRect(world.sidewalks, 150, 150, 200, 200);
  addRect(world.roads, 200, 200, 100, 100);
  // An unknown colour index paints with the first colour.
  addRect(world.lawns, 500, 100, 50, 50)->colourIndex = 42;
  drawWorld(media, world);
  EXPECT_EQ(scene.at(50, 50), kBackground);
  EXPECT_EQ(scene.at(120, 120), media.lawnColours[2] & 0xFFFFFF);
  EXPECT_EQ(scene.at(160, 160), media.sidewalkGrey & 0xFFFFFF);
  EXPECT_EQ(scene.at(250, 250), media.roadGrey & 0xFFFFFF);
  EXPECT_EQ(scene.at(299, 299), media.roadGrey & 0xFFFFFF);
  EXPECT_EQ(scene.at(300, 300), media.sidewalkGrey & 0xFFFFFF);
  EXPECT_EQ(scene.at(520, 120), media.lawnColours[0] & 0xFFFFFF);
  EXPECT_EQ(media.sidewalkGrey & 0xFFFFFF, rgb(88, 88, 88));
  EXPECT_EQ(media.roadGrey & 0xFFFFFF, rgb(133, 133, 133));
}

TEST(DrawWorld, RectanglesFollowTheViewAndAreClippedAtTheScreenEdge) {
  Scene scene;
  World& world = scene.world;
  Media& media = scene.media;
  world.view.x = 100;
  world.view.y = 100;
  // A lawn larger than the view on every side shows wherever nothing covers it.
  addRect(world.lawns, 0, 0, 3000, 3000)->colourIndex = 3;
  addRect(world.lawns, 50.7, 50.7, 100, 100);  // ends at 150 in the world, 50 on screen
  addRect(world.houses, 2000, 2000, 50, 50);   // far outside: culled
  addRect(world.lawns, 600, 300, -50, 40)->colourIndex = 4;  // a negative width paints nothing
  drawWorld(media, world);
  EXPECT_EQ(scene.at(0, 0), media.lawnColours[0] & 0xFFFFFF);
  EXPECT_EQ(scene.at(49, 49), media.lawnColours[0] & 0xFFFFFF);
  EXPECT_EQ(scene.at(51, 51), media.lawnColours[3] & 0xFFFFFF);
  EXPECT_EQ(scene.at(700, 210), media.lawnColours[3] & 0xFFFFFF);
}

TEST(DrawWorld, HousesCoverCarsAndKeyPixelsShowWhatIsBelow) {
  Scene scene;
  World& world = scene.world;
  Media& media = scene.media;
  media.carFrames[0] = keyedFrame(20, 40, rgb(220, 0, 0));
  media.carFrames[1] = keyedFrame(20, 40, rgb(0, 0, 220));
  addCar(world, 500, 300, 0);
  addCar(world, 600, 300, 1);
  addCar(world, 1700, 300, 0);  // outside the view
  addRect(world.houses, 585, 285, 30, 30)->colourIndex = 3;
  world.player->inCar = true;  // the player would take the shared slot last
  drawWorld(media, world);
  EXPECT_EQ(scene.at(500, 300), rgb(220, 0, 0));
  EXPECT_EQ(scene.at(490, 300), kBackground);  // the frame's key border
  EXPECT_EQ(scene.at(508, 300), rgb(220, 0, 0));
  EXPECT_EQ(scene.at(509, 300), kBackground);
  EXPECT_EQ(scene.at(600, 300), media.houseColours[3] & 0xFFFFFF);
  EXPECT_EQ(scene.at(600, 283), rgb(0, 0, 220));
  ASSERT_TRUE(media.rotatedSprite);
  EXPECT_EQ(media.keyColour, SDL_MapRGB(media.carFrames[0]->format, 0, 255, 0));
}

TEST(DrawWorld, CarsAreTurnedToTheirHeading) {
  Scene scene;
  World& world = scene.world;
  Media& media = scene.media;
  media.carFrames[0] = keyedFrame(20, 40, rgb(220, 0, 0));
  addCar(world, 400, 300, 0, 0);  // heading right: long side across the screen
  world.player->inCar = true;
  drawWorld(media, world);
  EXPECT_EQ(scene.at(415, 300), rgb(220, 0, 0));
  EXPECT_EQ(scene.at(400, 315), kBackground);
  ASSERT_TRUE(media.rotatedSprite);
  EXPECT_EQ(media.rotatedSprite->w, 42);
  EXPECT_EQ(media.rotatedSprite->h, 22);
}

TEST(DrawWorld, OnlyLivingPeopleOnFootInViewAreDrawnEachInItsOwnSlot) {
  Scene scene;
  World& world = scene.world;
  Media& media = scene.media;
  const Uint32 yellow = rgb(230, 230, 0);
  media.pedestrianFrames[0] = keyedFrame(10, 10, yellow);
  media.pedestrianFrames[3] = keyedFrame(10, 10, rgb(0, 120, 0));
  media.playerFrames[0] = keyedFrame(10, 10, rgb(255, 255, 255));
  Person* walker = addPerson(world.pedestrians, 700, 100);
  Person* dead = addPerson(world.pedestrians, 700, 200);
  dead->damage = dead->life;
  Person* badGuy = addPerson(world.badGuys, 700, 300);
  Person* seated = addPerson(world.drivers, 700, 400);
  seated->inCar = true;
  Person* driverOnFoot = addPerson(world.drivers, 700, 500);
  Person* far = addPerson(world.pedestrians, 1700, 100);
  Person* stepping = addPerson(world.pedestrians, 600, 100);
  stepping->walkFrame = 3;
  Person* oddKind = addPerson(world.pedestrians, 600, 200);
  oddKind->kind = 77;      // no such kind: the first set is used
  oddKind->walkFrame = 9;  // no such frame: the first is used
  world.player->x = 50;
  world.player->y = 500;

  drawWorld(media, world);
  EXPECT_EQ(scene.at(700, 100), yellow);
  EXPECT_EQ(scene.at(700, 200), kBackground);
  EXPECT_EQ(scene.at(700, 300), yellow);
  EXPECT_EQ(scene.at(700, 400), kBackground);
  EXPECT_EQ(scene.at(700, 500), yellow);
  EXPECT_EQ(scene.at(600, 100), rgb(0, 120, 0));
  EXPECT_EQ(scene.at(600, 200), yellow);
  EXPECT_EQ(scene.at(50, 500), rgb(255, 255, 255));
  for (Person* p : {walker, badGuy, driverOnFoot, stepping, oddKind})
    EXPECT_TRUE(pictureOf(media, *p)) << p->y;
  for (Person* p : {dead, seated, far}) EXPECT_FALSE(pictureOf(media, *p)) << p->x << "," << p->y;

  // The player in a car is not drawn.
  SDL_FillRect(scene.screen.get(), nullptr, 0);
  world.player->inCar = true;
  drawWorld(media, world);
  EXPECT_EQ(scene.at(50, 500), kBackground);
}

TEST(DrawWorld, MissingImagesAreSkippedAndNothingCrashes) {
  Scene scene;
  World& world = scene.world;
  Media& media = scene.media;
  media.background.reset();
  SDL_FillRect(scene.screen.get(), nullptr, rgb(1, 2, 3));
  addCar(world, 400, 300, 0);
  addCar(world, 450, 300, 55);
  addPerson(world.pedestrians, 500, 300);
  auto mark = std::make_unique<DeathMark>();
  mark->x = 300;
  mark->y = 300;
  world.deathMarks.append(std::move(mark));
  world.moneyDrops.append(std::make_unique<MoneyDrop>());
  auto item = std::make_unique<MoneyItem>();
  item->x = 2000;
  world.moneyItems.append(std::move(item));
  world.moneyItems.append(std::make_unique<MoneyItem>());
  auto bullet = std::make_unique<Bullet>();
  bullet->x = 350;
  bullet->y = 350;
  bullet->imageIndex = 1;
  Bullet* shot = world.bullets.append(std::move(bullet));
  drawWorld(media, world);
  EXPECT_FALSE(media.rotatedSprite);
  EXPECT_FALSE(pictureOf(media, *shot));
  for (int y = 0; y < 600; y += 7)
    for (int x = 0; x < 800; x += 7) ASSERT_EQ(scene.at(x, y), rgb(1, 2, 3)) << x << "," << y;

  // No screen: nothing at all happens.
  media.screen = nullptr;
  drawWorld(media, world);
}

TEST(DrawWorld, BloodMoneyAndTargetsSitAtTheirCorners) {
  Scene scene;
  World& world = scene.world;
  Media& media = scene.media;
  media.bloodStain = keyedFrame(8, 8, rgb(120, 0, 0));
  media.moneyImage = keyedFrame(30, 40, rgb(0, 150, 0));
  media.targetImage[0] = keyedFrame(10, 10, rgb(250, 120, 0));
  world.view.x = 10;
  auto mark = std::make_unique<DeathMark>();
  mark->x = 300.9;
  mark->y = 500;
  world.deathMarks.append(std::move(mark));
  auto drop = std::make_unique<MoneyDrop>();
  drop->x = 410;
  drop->y = 500;
  drop->value = 10;
  world.moneyDrops.append(std::move(drop));
  auto item = std::make_unique<MoneyItem>();
  item->x = 210;
  item->y = 300;
  world.moneyItems.append(std::move(item));
  world.player->inCar = true;  // leaves the shared slot to arrows alone
  drawWorld(media, world);
  // Blood: top-left at the mark, less the view.
  EXPECT_EQ(scene.at(290, 500), kBackground);  // key border
  EXPECT_EQ(scene.at(291, 501), rgb(120, 0, 0));
  EXPECT_EQ(scene.at(296, 506), rgb(120, 0, 0));
  EXPECT_EQ(scene.at(297, 507), kBackground);
  // Money drop: centred on its point with its own 30 x 40 size.
  EXPECT_EQ(scene.at(386, 481), rgb(0, 150, 0));
  EXPECT_EQ(scene.at(413, 518), rgb(0, 150, 0));
  EXPECT_EQ(scene.at(414, 519), kBackground);
  // Drawing never collects money.
  EXPECT_EQ(world.moneyDrops.count(), 1);
  EXPECT_EQ(world.player->money, 0);
  // A visible money item: its target at (x - w/2, y - h/2).
  EXPECT_EQ(scene.at(186, 286), rgb(250, 120, 0));
  EXPECT_EQ(scene.at(193, 293), rgb(250, 120, 0));
  EXPECT_EQ(scene.at(194, 294), kBackground);
  EXPECT_FALSE(media.rotatedSprite);  // no arrow for it
}

TEST(DrawWorld, OffScreenMoneyGetsAnArrowTurnedTowardIt) {
  Scene scene;
  World& world = scene.world;
  Media& media = scene.media;
  media.arrowImage[0] = keyedFrame(20, 8, rgb(140, 0, 160));
  world.player->x = 100;
  world.player->y = 100;
  auto item = std::make_unique<MoneyItem>();
  item->x = 900;
  item->y = 300;
  world.moneyItems.append(std::move(item));
  world.player->inCar = true;
  drawWorld(media, world);
  // Heading 0 (not minus 90): the arrow lies flat, centred 30 inside the right edge.
  ASSERT_TRUE(media.rotatedSprite);
  EXPECT_EQ(media.rotatedSprite->w, 20);
  EXPECT_EQ(media.rotatedSprite->h, 8);
  EXPECT_EQ(scene.at(770, 300), rgb(140, 0, 160));
  EXPECT_EQ(scene.at(778, 302), rgb(140, 0, 160));
  EXPECT_EQ(scene.at(770, 306), kBackground);

  // Straight below: the arrow points down (heading 270), so it stands upright.
  world.moneyItems[0]->x = 400;
  world.moneyItems[0]->y = 900;
  drawWorld(media, world);
  ASSERT_TRUE(media.rotatedSprite);
  EXPECT_GT(media.rotatedSprite->h, media.rotatedSprite->w);
  EXPECT_EQ(scene.at(400, 575), rgb(140, 0, 160));
}

TEST(DrawWorld, BulletPicturesAreTurnedOnceAndKept) {
  Scene scene;
  World& world = scene.world;
  Media& media = scene.media;
  media.bulletFrames[1] = keyedFrame(10, 4, rgb(255, 160, 0));
  auto make = [&](double x, double y, int heading, int image) {
    auto b = std::make_unique<Bullet>();
    b->x = x;
    b->y = y;
    b->w = 10;
    b->h = 5;
    b->heading = heading;
    b->imageIndex = image;
    return world.bullets.append(std::move(b));
  };
  Bullet* flat = make(400, 100, 0, 1);
  Bullet* upward = make(500, 100, 90, 1);
  Bullet* strange = make(600, 100, 0, 99);  // no such picture: the first slot, empty here
  Bullet* far = make(5000, 100, 0, 1);      // bullets are not culled, only clipped
  drawWorld(media, world);
  ASSERT_TRUE(pictureOf(media, *flat));
  ASSERT_TRUE(pictureOf(media, *upward));
  EXPECT_FALSE(pictureOf(media, *strange));
  EXPECT_TRUE(pictureOf(media, *far));
  SurfacePtr turned = rotateSprite(media.bulletFrames[1].get(), 90, 1.0);
  EXPECT_EQ(pictureOf(media, *upward)->w, turned->w);
  EXPECT_EQ(pictureOf(media, *upward)->h, turned->h);
  EXPECT_EQ(pictureOf(media, *flat)->w, 10);
  EXPECT_EQ(scene.at(400, 100), rgb(255, 160, 0));
  EXPECT_EQ(scene.at(500, 102), rgb(255, 160, 0));
  EXPECT_EQ(scene.at(404, 103), kBackground);

  // A heading changed later does not re-turn the picture: it belongs to the flight.
  SDL_Surface* first = pictureOf(media, *flat);
  flat->heading = 45;
  drawWorld(media, world);
  EXPECT_EQ(pictureOf(media, *flat), first);
  media.bulletFrames[0] = keyedFrame(6, 6, rgb(9, 9, 9));
  drawWorld(media, world);
  EXPECT_TRUE(pictureOf(media, *strange));
}

TEST(DrawWorld, RoadNameHouseTextAndCarNameShowWhereThePlayerIs) {
  Scene scene;
  World& world = scene.world;
  Media& media = scene.media;
  if (!scene.loadFont()) FAIL() << "the font GFX/fonts/ADVERT.TTF does not open";
  Road* road = addRect(world.roads, 200, 200, 100, 100);
  road->name = "Kungsgatan";
  addRect(world.roads, 150, 150, 300, 300)->name = "Later";
  world.player->x = 250;
  world.player->y = 250;
  const int nameX = 800 / 2 - 100, nameY = 600 - 50;
  drawWorld(media, world);
  EXPECT_TRUE(hasDarkPixel(scene.screen.get(), nameX, nameY, 200, 20));
  ASSERT_TRUE(media.textSurface);
  int w = 0, h = 0;
  TTF_SizeText(media.smallFont.get(), "Kungsgatan", &w, &h);
  EXPECT_EQ(media.textSurface->w, w);  // the first road wins

  // On the first road's edge the point is not strictly inside: the second road's name.
  world.player->x = 200;
  drawWorld(media, world);
  TTF_SizeText(media.smallFont.get(), "Later", &w, &h);
  EXPECT_EQ(media.textSurface->w, w);

  // Outside every road: no name.
  world.player->x = 20;
  world.player->y = 20;
  drawWorld(media, world);
  EXPECT_FALSE(hasDarkPixel(scene.screen.get(), nameX, nameY, 200, 20));

  // Blocked by a house: its text.
  House* house = addRect(world.houses, 600, 50, 40, 40);
  house->text = "Brannik";
  world.player->blockingHouse = house;
  drawWorld(media, world);
  EXPECT_TRUE(hasDarkPixel(scene.screen.get(), 20, 600 - 230, 120, 18));
  world.player->blockingHouse = nullptr;

  // The model name shows for two seconds after boarding.
  Car* car = addCar(world, 1500, 1500, 0);
  world.player->targetCar = car;
  world.clock.setManual(5000);
  const int carY = 600 - 250;
  world.player->enteredAt = 3001;
  drawWorld(media, world);
  EXPECT_TRUE(hasDarkPixel(scene.screen.get(), 20, carY, 120, 16));
  world.player->enteredAt = 3000;
  drawWorld(media, world);
  EXPECT_FALSE(hasDarkPixel(scene.screen.get(), 20, carY, 120, 16));
  world.clock.setManual(1000);
  world.player->enteredAt = 0;  // never boarded
  drawWorld(media, world);
  EXPECT_FALSE(hasDarkPixel(scene.screen.get(), 20, carY, 120, 16));
  world.player->enteredAt = 1500;  // a boarding time ahead of the clock
  drawWorld(media, world);
  EXPECT_FALSE(hasDarkPixel(scene.screen.get(), 20, carY, 120, 16));
  world.player->targetCar = nullptr;
  world.player->enteredAt = 900;
  drawWorld(media, world);
  EXPECT_FALSE(hasDarkPixel(scene.screen.get(), 20, carY, 120, 16));
}

// The game's own art: a small street scene comes out with every
// mover drawn over the ground and the key colour nowhere on screen.
TEST(DrawWorld, TheGamesArtDrawsWithoutKeyColourShowing) {
  if (!std::filesystem::exists("GFX/cars/car0.png") ||
      !std::filesystem::exists("GFX/pedestrants/pedestrant1/pedestrant.0.png"))
    FAIL() << "the game's art is missing";
  Scene scene;
  World& world = scene.world;
  Media& media = scene.media;
  loadSprites(media);
  media.background = plainSurface(800, 600, kBackground);
  addRect(world.roads, 0, 250, 800, 100);
  addCar(world, 200, 300, 0, 0);
  addCar(world, 400, 300, 1, 135);
  addPerson(world.pedestrians, 600, 200, 200);
  world.player->x = 700;
  world.player->y = 450;
  auto item = std::make_unique<MoneyItem>();
  item->x = 1200;
  item->y = 300;
  world.moneyItems.append(std::move(item));
  drawWorld(media, world);
  EXPECT_NE(scene.at(200, 300), media.roadGrey & 0xFFFFFF);
  EXPECT_NE(scene.at(400, 300), media.roadGrey & 0xFFFFFF);
  int green = 0;
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) green += scene.at(x, y) == rgb(0, 255, 0);
  EXPECT_EQ(green, 0);
}
