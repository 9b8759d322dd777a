// The editor's tools: cursor moves, placement tests, placing, selecting, deleting, map keys,
// the overlay and the paced frame.
#include <cmath>

#include "editor/editor.h"
#include "editor/properties.h"
#include "editor_fixture.h"
#include "sim/collision.h"
#include "sim/vehicles.h"
#include "world/lifetime.h"

namespace {

template <class R>
R* addRect(RecordList<R>& list, double x, double y, double w, double h) {
  auto r = std::make_unique<R>();
  r->x = x;
  r->y = y;
  r->w = w;
  r->h = h;
  return list.append(std::move(r));
}

Person* addPerson(RecordList<Person>& list, double x, double y) {
  return list.append(
      makePerson("P", nullptr, 0, true, false, 100, 0, 0, x, y, 30, 20, {}, 50, 10));
}

Car* addCar(World& world, double x, double y) {
  auto car = std::make_unique<Car>();
  static_cast<Body&>(*car) = Body(x, y, 69, 94, 100, 0, 0);
  return world.cars.append(std::move(car));
}

class EditorTools : public EditorTest {
 protected:
  void cursorAt(int x, int y) {
    game.world.cursorX = x;
    game.world.cursorY = y;
  }
  // Moves the cursor with the mouse as the user would, one motion event.
  void moveTo(int x, int y) {
    handleEditorEvent(game.editor, motion(x - game.world.cursorX, y - game.world.cursorY));
  }
  void clickAt(int x, int y) {
    cursorAt(x, y);
    handleEditorEvent(game.editor, button(SDL_BUTTON_LEFT));
  }
  void rightClickAt(int x, int y) {
    cursorAt(x, y);
    handleEditorEvent(game.editor, button(SDL_BUTTON_RIGHT));
  }
  void frameWith(const SDL_Event& e) {
    push(e);
    editorFrame(game.editor);
  }
  std::string selection() const {
    return std::string(1, game.editor.selectedKind) + std::to_string(game.editor.selectedIndex);
  }
};

TEST_F(EditorTools, MouseMotionKeepsTheCursorInsideTheWorld) {
  World& world = game.world;
  Media& media = game.media;
  cursorAt(2990, 500);
  handleEditorEvent(game.editor, motion(10, 5));  // x would reach 3000
  EXPECT_EQ(world.cursorX, 2990);
  EXPECT_EQ(world.cursorY, 505);
  handleEditorEvent(game.editor, motion(9, 5));
  EXPECT_EQ(world.cursorX, 2999);
  EXPECT_EQ(world.cursorY, 510);

  cursorAt(10, 10);
  handleEditorEvent(game.editor, motion(-9, -9));
  EXPECT_EQ(world.cursorX, 1);
  EXPECT_EQ(world.cursorY, 1);
  handleEditorEvent(game.editor, motion(-1, 40));  // x would reach 0: neither moves
  EXPECT_EQ(world.cursorX, 1);
  EXPECT_EQ(world.cursorY, 1);
  handleEditorEvent(game.editor, motion(3000, 3000));
  EXPECT_EQ(world.cursorX, 1);
  EXPECT_EQ(world.cursorY, 1);
}

TEST_F(EditorTools, ArrowStepsStayWithinOneTo2999) {
  World& world = game.world;
  Media& media = game.media;
  struct Step {
    SDLKey key;
    int fromX, fromY, toX, toY;
  } steps[] = {
      {SDLK_UP, 500, 5, 500, 5},          {SDLK_UP, 500, 11, 500, 1},
      {SDLK_UP, 500, 500, 500, 490},      {SDLK_DOWN, 500, 2989, 500, 2999},
      {SDLK_DOWN, 500, 2990, 500, 2990},  {SDLK_LEFT, 10, 500, 10, 500},
      {SDLK_LEFT, 11, 500, 1, 500},       {SDLK_RIGHT, 2989, 500, 2999, 500},
      {SDLK_RIGHT, 2990, 500, 2990, 500},
  };
  for (const Step& s : steps) {
    cursorAt(s.fromX, s.fromY);
    game.editor.probeX = s.fromX;
    game.editor.probeY = s.fromY;
    handleEditorEvent(game.editor, key(s.key));
    EXPECT_EQ(world.cursorX, s.toX) << "from " << s.fromX << "," << s.fromY;
    EXPECT_EQ(world.cursorY, s.toY) << "from " << s.fromX << "," << s.fromY;
  }
}

TEST_F(EditorTools, WhileDrawingTheCursorCannotEnterSolidGround) {
  World& world = game.world;
  Media& media = game.media;
  addRect(world.houses, 1000, 1000, 200, 200);
  game.editor.tool = 'h';
  clickAt(900, 1100);
  ASSERT_TRUE(game.editor.dragging);
  moveTo(1010, 1100);  // ten units into the house
  EXPECT_EQ(world.cursorX, 900);
  moveTo(1000, 1100);  // its edge is fine
  EXPECT_EQ(world.cursorX, 1000);
  handleEditorEvent(game.editor, key(SDLK_RIGHT));
  EXPECT_EQ(world.cursorX, 1000);

  // A lawn may be drawn across houses, and without a rectangle the cursor goes anywhere.
  game.editor.tool = 'g';
  moveTo(1100, 1100);
  EXPECT_EQ(world.cursorX, 1100);
  game.editor.tool = 'h';
  game.editor.dragging = false;
  moveTo(1150, 1150);
  EXPECT_EQ(world.cursorX, 1150);
  EXPECT_EQ(world.cursorY, 1150);
}

TEST_F(EditorTools, InsideShrunkLeavesAOneUnitBorder) {
  const Rect r{100, 200, 50, 40};
  EXPECT_TRUE(insideShrunk(101, 201, r));
  EXPECT_TRUE(insideShrunk(149, 239, r));
  EXPECT_FALSE(insideShrunk(100.99, 220, r));
  EXPECT_FALSE(insideShrunk(149.01, 220, r));
  EXPECT_FALSE(insideShrunk(120, 200.5, r));
  EXPECT_FALSE(insideShrunk(120, 239.5, r));
  EXPECT_FALSE(insideShrunk(100, 200, r));
  // A rectangle thinner than two units has no inside at all.
  EXPECT_FALSE(insideShrunk(101, 201, Rect{100, 200, 1.5, 40}));
}

TEST_F(EditorTools, PlacementAllowedForEveryTool) {
  World& world = game.world;
  Media& media = game.media;
  addRect(world.houses, 100, 100, 100, 100);
  addRect(world.roads, 300, 100, 100, 100);
  addRect(world.sidewalks, 500, 100, 100, 100);
  struct Probe {
    int x, y;
  } const probes[] = {{150, 150}, {350, 150}, {550, 150}, {50, 50}};
  // Expected for a probe in the house, the road, the sidewalk, open ground.
  struct Row {
    char tool;
    bool allowed[4];
  } const table[] = {
      {'b', {false, true, true, true}},  {'h', {false, false, false, true}},
      {'v', {false, false, false, true}}, {'t', {false, false, false, true}},
      {'g', {true, true, true, true}},   {'w', {true, true, true, true}},
      {'f', {true, true, true, true}},   {'p', {true, true, true, true}},
      {'e', {true, true, true, true}},   {'s', {false, false, false, false}},
  };
  for (const Row& row : table) {
    game.editor.tool = row.tool;
    for (int i = 0; i < 4; ++i) {
      game.editor.probeX = probes[i].x;
      game.editor.probeY = probes[i].y;
      EXPECT_EQ(placementAllowed(game.editor), row.allowed[i]) << row.tool << " probe " << i;
      EXPECT_EQ(dragAllowed(game.editor), row.allowed[i]) << row.tool << " probe " << i;
    }
  }
  // The player tool may drag only while there is no player.
  game.editor.tool = 's';
  game.editor.probeX = game.editor.probeY = 50;
  world.player.reset();
  EXPECT_TRUE(dragAllowed(game.editor));
  EXPECT_FALSE(placementAllowed(game.editor));
}

TEST_F(EditorTools, AHouseMayStartOnAnotherHousesEdgeButNotInsideIt) {
  World& world = game.world;
  Media& media = game.media;
  addRect(world.houses, 100, 100, 100, 100);
  game.editor.tool = 'h';
  clickAt(102, 150);
  EXPECT_FALSE(game.editor.dragging);
  clickAt(199, 150);
  EXPECT_FALSE(game.editor.dragging);
  clickAt(100, 150);
  EXPECT_TRUE(game.editor.dragging);
  EXPECT_EQ(game.editor.anchorX, 100);
  // The second corner follows the same rule.
  clickAt(150, 150);
  EXPECT_TRUE(game.editor.dragging);
  EXPECT_EQ(world.houses.count(), 1);
  clickAt(130, 300);
  EXPECT_FALSE(game.editor.dragging);
  ASSERT_EQ(world.houses.count(), 2);
  EXPECT_EQ(world.houses[1]->h, 150);
}

TEST_F(EditorTools, EveryKindIsPlacedWithItsDefaults) {
  World& world = game.world;
  Media& media = game.media;
  for (char tool : {'h', 'v', 't', 'g', 'w'}) {
    game.editor.tool = tool;
    clickAt(700, 800);
    clickAt(760, 830);
  }
  game.editor.tool = 'b';
  clickAt(1000, 1100);
  game.editor.tool = 'f';
  clickAt(1200, 1300);
  game.editor.tool = 'p';
  clickAt(1400, 1500);
  game.editor.tool = 'e';
  clickAt(1600, 1700);

  ASSERT_EQ(world.houses.count(), 1);
  const House& house = *world.houses[0];
  EXPECT_EQ(house.x, 700);
  EXPECT_EQ(house.y, 800);
  EXPECT_EQ(house.w, 60);
  EXPECT_EQ(house.h, 30);
  EXPECT_EQ(house.life, 100);
  EXPECT_EQ(house.damage, 0);
  EXPECT_EQ(house.colourIndex, 0);
  EXPECT_EQ(house.text, "-");

  ASSERT_EQ(world.roads.count(), 1);
  EXPECT_EQ(world.roads[0]->name, "-");
  EXPECT_EQ(world.roads[0]->w, 60);
  EXPECT_TRUE(world.roads[0]->neighbours.empty());
  ASSERT_EQ(world.sidewalks.count(), 1);
  EXPECT_EQ(world.sidewalks[0]->h, 30);
  ASSERT_EQ(world.lawns.count(), 1);
  EXPECT_EQ(world.lawns[0]->colourIndex, 0);
  EXPECT_EQ(world.lawns[0]->x, 700);

  ASSERT_EQ(world.weapons.count(), 1);
  const Weapon& weapon = *world.weapons[0];
  EXPECT_EQ(weapon.x, 700);
  EXPECT_EQ(weapon.w, 60);
  EXPECT_EQ(weapon.h, 30);
  EXPECT_EQ(weapon.name, "default");
  EXPECT_EQ(weapon.power, 10);
  EXPECT_EQ(weapon.rate, 1);
  EXPECT_EQ(weapon.ammo, 20);
  EXPECT_EQ(weapon.range, 1000);
  EXPECT_EQ(weapon.weaponImage, 0);
  EXPECT_EQ(weapon.imageIndex, 0);
  EXPECT_EQ(weapon.lastShotAt, 0u);

  ASSERT_EQ(world.cars.count(), 1);
  const Car& car = *world.cars[0];
  EXPECT_EQ(car.x, 1000);
  EXPECT_EQ(car.y, 1100);
  EXPECT_EQ(car.w, 69);
  EXPECT_EQ(car.h, 94);
  EXPECT_EQ(car.life, 100);
  EXPECT_EQ(car.damage, 0);
  EXPECT_EQ(car.heading, 0);
  EXPECT_EQ(car.maxSpeed, 10);
  EXPECT_DOUBLE_EQ(car.acceleration, 0.1);
  EXPECT_EQ(car.speed, 0);
  EXPECT_EQ(car.startSpeed, 0);
  EXPECT_EQ(car.driver, NO_DRIVER);
  EXPECT_EQ(car.model, 0);
  EXPECT_EQ(car.modelName, "Saab");
  EXPECT_EQ(car.spareInt, 4);
  EXPECT_DOUBLE_EQ(car.halfDiagonal, std::sqrt(34.5 * 34.5 + 47 * 47));

  struct Expected {
    const RecordList<Person>& list;
    const char* name;
    double x, y, money;
    size_t weapons;
  } const people[] = {{world.pedestrians, "Sela", 1200, 1300, 10, 1},
                      {world.drivers, "Tarko", 1400, 1500, 100, 1},
                      {world.badGuys, "Eno", 1600, 1700, 10, 3}};
  for (const Expected& e : people) {
    ASSERT_EQ(e.list.count(), 1) << e.name;
    const Person& p = *e.list[0];
    EXPECT_EQ(p.name, e.name);
    EXPECT_EQ(p.x, e.x);
    EXPECT_EQ(p.y, e.y);
    EXPECT_EQ(p.w, 30);
    EXPECT_EQ(p.h, 20);
    EXPECT_EQ(p.life, 100);
    EXPECT_EQ(p.damage, 0);
    EXPECT_EQ(p.wantedLevel, 0);
    EXPECT_EQ(p.money, e.money);
    EXPECT_EQ(p.walkSpeed, 1);
    EXPECT_EQ(p.topWalkSpeed, 5);
    EXPECT_EQ(p.kind, 0);
    EXPECT_EQ(p.heading, 0);
    EXPECT_TRUE(p.flag);
    EXPECT_FALSE(p.inCar);
    EXPECT_EQ(p.targetCar, nullptr);
    ASSERT_EQ(p.weapons.size(), e.weapons);
    EXPECT_EQ(p.weapons[0]->name, "Hands");
    EXPECT_EQ(p.weapons[0]->power, 50);
  }
  const Person& badGuy = *world.badGuys[0];
  EXPECT_EQ(badGuy.currentWeapon, 2);
  EXPECT_EQ(badGuy.weapons[1]->name, "AK47");
  EXPECT_EQ(badGuy.weapons[1]->ammo, 100);
  EXPECT_EQ(badGuy.weapons[1]->range, 500);
  EXPECT_EQ(badGuy.weapons[1]->power, 1000);
  EXPECT_EQ(badGuy.weapons[1]->x, 1600);
  EXPECT_EQ(badGuy.weapons[2]->name, "M4");
  EXPECT_EQ(badGuy.weapons[2]->ammo, 1000);
  EXPECT_EQ(badGuy.weapons[2]->rate, 30);
  EXPECT_EQ(world.pedestrians[0]->currentWeapon, 0);

  // Point tools never start or end a rectangle.
  EXPECT_FALSE(game.editor.dragging);
}

TEST_F(EditorTools, AFullListRefusesMoreObjects) {
  World& world = game.world;
  Media& media = game.media;
  game.editor.tool = 'e';
  for (int i = 0; i < world.badGuys.capacity() + 3; ++i) clickAt(100 + i, 100);
  EXPECT_EQ(world.badGuys.count(), world.badGuys.capacity());
  EXPECT_EQ(world.badGuys.last()->x, 100 + world.badGuys.capacity() - 1);
  game.editor.tool = 'h';
  for (int i = 0; i < world.houses.capacity() + 2; ++i) {
    clickAt(10 + i * 5, 2000);
    clickAt(11 + i * 5, 2001);  // one-pixel houses never hold a later corner
  }
  EXPECT_EQ(world.houses.count(), world.houses.capacity());
}

TEST_F(EditorTools, ARectangleGrowsOnlyRightAndDownFromTheSmallestCorner) {
  World& world = game.world;
  Media& media = game.media;
  game.editor.tool = 'h';
  cursorAt(500, 500);
  frameWith(button(SDL_BUTTON_LEFT));
  ASSERT_TRUE(game.editor.dragging);
  for (int i = 0; i < 5; ++i) frameWith(motion(-20, 20));
  EXPECT_EQ(world.cursorX, 400);
  EXPECT_EQ(world.cursorY, 600);
  EXPECT_EQ(game.editor.anchorX, 400);  // the first corner was dragged along
  // A corner in line with the first makes no house; the rectangle stays open.
  frameWith(button(SDL_BUTTON_LEFT));
  EXPECT_EQ(world.houses.count(), 0);
  EXPECT_TRUE(game.editor.dragging);
  frameWith(motion(30, 0));
  frameWith(button(SDL_BUTTON_LEFT));
  ASSERT_EQ(world.houses.count(), 1);
  EXPECT_FALSE(game.editor.dragging);
  EXPECT_EQ(world.houses[0]->x, 400);
  EXPECT_EQ(world.houses[0]->y, 500);
  EXPECT_EQ(world.houses[0]->w, 30);
  EXPECT_EQ(world.houses[0]->h, 100);
  // Nine frames, each paced to 20 ms on the manual clock.
  EXPECT_EQ(world.clock.now(), 1000u + 9 * EDITOR_FRAME_MS);
}

TEST_F(EditorTools, ToolsMaySwitchWhileARectangleIsDrawn) {
  World& world = game.world;
  Media& media = game.media;
  game.editor.tool = 'h';
  clickAt(500, 500);
  handleEditorEvent(game.editor, key(SDLK_f));
  clickAt(600, 650);
  ASSERT_EQ(world.pedestrians.count(), 1);
  EXPECT_EQ(world.pedestrians[0]->x, 600);
  EXPECT_TRUE(game.editor.dragging);
  handleEditorEvent(game.editor, key(SDLK_v));
  clickAt(700, 700);
  EXPECT_FALSE(game.editor.dragging);
  ASSERT_EQ(world.roads.count(), 1);
  EXPECT_EQ(world.houses.count(), 0);
  EXPECT_EQ(world.roads[0]->x, 600);  // the point placement moved the anchor
  EXPECT_EQ(world.roads[0]->w, 100);
  EXPECT_EQ(world.roads[0]->h, 50);
}

TEST_F(EditorTools, ThePlayerToolPlacesNothing) {
  World& world = game.world;
  Media& media = game.media;
  handleEditorEvent(game.editor, key(SDLK_s));
  ASSERT_EQ(game.editor.tool, 's');
  clickAt(500, 500);
  cursorAt(600, 600);
  handleEditorEvent(game.editor, enter());
  EXPECT_FALSE(game.editor.dragging);
  EXPECT_EQ(world.player->x, 100);
  for (char kind : {'h', 'v', 't', 'g', 'w', 'b', 'f', 'p', 'e'})
    EXPECT_EQ(kindCount(world, kind), 0) << kind;
}

TEST_F(EditorTools, EscapeEndsTypingThenTheRectangleThenTheEditor) {
  game.editor.tool = 'h';
  clickAt(500, 500);
  game.editor.editing = true;
  EXPECT_FALSE(handleEditorEvent(game.editor, escape()));
  EXPECT_FALSE(game.editor.editing);
  EXPECT_TRUE(game.editor.dragging);
  EXPECT_FALSE(handleEditorEvent(game.editor, escape()));
  EXPECT_FALSE(game.editor.dragging);
  EXPECT_TRUE(handleEditorEvent(game.editor, escape()));
  EXPECT_TRUE(handleEditorEvent(game.editor, quit()));

  // The loop stops polling at the Escape that leaves: what follows is left for the menu.
  push(escape());
  push(typed('x'));
  editorLoop(game.editor);
  SDL_Event next;
  ASSERT_EQ(SDL_PollEvent(&next), 1);
  EXPECT_EQ(next.key.keysym.sym, SDLK_x);
}

TEST_F(EditorTools, SelectionFollowsTheKindOrder) {
  World& world = game.world;
  Media& media = game.media;
  // One of every kind under the cursor, added in reverse of the selection order.
  addRect(world.lawns, 900, 900, 200, 200);
  addRect(world.sidewalks, 900, 900, 200, 200);
  addRect(world.roads, 900, 900, 200, 200);
  addRect(world.houses, 900, 900, 200, 200);
  addPerson(world.drivers, 1000, 1000);
  addCar(world, 1000, 1000);
  addPerson(world.badGuys, 1000, 1000);
  addPerson(world.pedestrians, 1000, 1000);
  world.weapons.append(makeWeapon("default", 990, 990, 20, 1000, 0, 0, 10, 1));
  world.player->x = 1000;
  world.player->y = 1000;
  std::string order;
  for (int i = 0; i < 9; ++i) {
    rightClickAt(1000, 1000);
    order += game.editor.selectedKind;
    if (game.editor.selectedKind == 's')
      world.player->x = 2500;  // the player cannot be deleted: step it aside
    else
      handleEditorEvent(game.editor, key(SDLK_d));
  }
  EXPECT_EQ(order, "febpshvtg");
  EXPECT_EQ(world.weapons.count(), 1);  // never selected
  EXPECT_NE(world.player, nullptr);
}

TEST_F(EditorTools, SelectionEdgesAndMisses) {
  World& world = game.world;
  Media& media = game.media;
  addRect(world.roads, 0, 0, 1000, 1000);
  addPerson(world.pedestrians, 500, 500);
  rightClickAt(500, 500);
  EXPECT_EQ(selection(), "f0");

  addRect(world.houses, 1500, 1500, 100, 100);
  addRect(world.houses, 1550, 1550, 100, 100);
  rightClickAt(1600, 1600);  // both houses hold it: the lower position wins
  EXPECT_EQ(selection(), "h0");
  rightClickAt(1650, 1650);  // the far corner of the second house, edges included
  EXPECT_EQ(selection(), "h1");
  rightClickAt(1651, 1650);  // empty ground keeps the selection
  EXPECT_EQ(selection(), "h1");

  // A person is hit strictly within its half diagonal (about 18.03 for 30 x 20).
  rightClickAt(500, 518);
  EXPECT_EQ(selection(), "f0");
  rightClickAt(1651, 1650);
  rightClickAt(500, 519);
  EXPECT_EQ(selection(), "v0");

  // The player is selected by kind only; the index keeps its value.
  world.player->x = 2500;
  world.player->y = 2500;
  rightClickAt(2505, 2505);
  EXPECT_EQ(selection(), "s0");

  // The right button drops a half-drawn rectangle.
  game.editor.tool = 'g';
  clickAt(2000, 2000);
  ASSERT_TRUE(game.editor.dragging);
  rightClickAt(2100, 2100);
  EXPECT_FALSE(game.editor.dragging);
}

TEST_F(EditorTools, DeletingACarPutsItsDriverOutWithoutMovingIt) {
  World& world = game.world;
  Media& media = game.media;
  for (int i = 0; i < 3; ++i) addPerson(world.drivers, 200 + i * 100, 200);
  Car* first = addCar(world, 1000, 1000);
  Car* second = addCar(world, 1500, 1000);
  first->heading = 90;
  first->driver = 1;
  Person& driver = *world.drivers[1];
  driver.inCar = true;
  driver.targetCar = first;
  driver.carDistance = 0;
  second->driver = 2;
  world.drivers[2]->inCar = true;
  world.drivers[2]->targetCar = second;
  const ExitPoint exit = exitPoint(*first);

  game.editor.selectedKind = 'b';
  game.editor.selectedIndex = 0;
  handleEditorEvent(game.editor, key(SDLK_d));
  ASSERT_EQ(world.cars.count(), 1);
  EXPECT_EQ(world.cars[0], second);
  EXPECT_EQ(second->driver, 2);
  EXPECT_EQ(world.drivers[2]->targetCar, second);
  EXPECT_FALSE(driver.inCar);
  EXPECT_EQ(driver.targetCar, nullptr);
  EXPECT_FALSE(driver.walkingToCar);
  EXPECT_EQ(driver.carDistance, NO_CONTACT);
  EXPECT_EQ(driver.nextX, exit.x);
  EXPECT_EQ(driver.nextY, exit.y);
  EXPECT_EQ(driver.x, 300);  // not committed
  EXPECT_EQ(selection(), " -1");

  // The player at the wheel gets out the same way.
  Person& player = *world.player;
  player.inCar = true;
  player.targetCar = second;
  second->driver = PLAYER_DRIVER;
  const ExitPoint playerExit = exitPoint(*second);
  game.editor.selectedKind = 'b';
  game.editor.selectedIndex = 0;
  deleteSelected(game.editor);
  EXPECT_EQ(world.cars.count(), 0);
  EXPECT_FALSE(player.inCar);
  EXPECT_EQ(player.targetCar, nullptr);
  EXPECT_EQ(player.nextX, playerExit.x);
  EXPECT_EQ(player.nextY, playerExit.y);
  EXPECT_EQ(player.x, 100);
  // The driver of the second car was not named by it any more; only the reference goes.
  EXPECT_EQ(world.drivers[2]->targetCar, nullptr);

  // A car that names a driver past the end of the list touches no driver.
  Car* stray = addCar(world, 700, 700);
  stray->driver = 9;
  game.editor.selectedKind = 'b';
  game.editor.selectedIndex = 0;
  deleteSelected(game.editor);
  EXPECT_EQ(world.cars.count(), 0);
  EXPECT_EQ(world.drivers.count(), 3);
}

TEST_F(EditorTools, DeletingKeepsEveryReferenceValid) {
  World& world = game.world;
  Media& media = game.media;
  for (int i = 0; i < 3; ++i) addPerson(world.drivers, 200 + i * 100, 200);
  Car* a = addCar(world, 1000, 1000);
  Car* b = addCar(world, 1200, 1000);
  a->driver = 0;
  b->driver = 2;
  game.editor.selectedKind = 'p';
  game.editor.selectedIndex = 0;
  deleteSelected(game.editor);
  EXPECT_EQ(a->driver, NO_DRIVER);
  EXPECT_EQ(b->driver, 1);  // still the same driver, one place down
  EXPECT_EQ(world.drivers.count(), 2);

  House* h0 = addRect(world.houses, 10, 10, 10, 10);
  House* h1 = addRect(world.houses, 30, 10, 10, 10);
  House* h2 = addRect(world.houses, 50, 10, 10, 10);
  Person* walker = addPerson(world.pedestrians, 500, 500);
  Person* badGuy = addPerson(world.badGuys, 600, 600);
  walker->blockingHouse = h1;
  badGuy->attacker = walker;
  game.editor.selectedKind = 'h';
  game.editor.selectedIndex = 1;
  deleteSelected(game.editor);
  ASSERT_EQ(world.houses.count(), 2);
  EXPECT_EQ(world.houses[0], h0);
  EXPECT_EQ(world.houses[1], h2);
  EXPECT_EQ(walker->blockingHouse, nullptr);

  Road* r0 = addRect(world.roads, 0, 0, 100, 20);
  Road* r1 = addRect(world.roads, 100, 0, 100, 20);
  r0->neighbours.push_back(r1);
  r1->neighbours.push_back(r0);
  badGuy->segment = r1;
  game.editor.selectedKind = 'v';
  game.editor.selectedIndex = 1;
  deleteSelected(game.editor);
  EXPECT_TRUE(r0->neighbours.empty());
  EXPECT_EQ(badGuy->segment, nullptr);

  game.editor.selectedKind = 'f';
  game.editor.selectedIndex = 0;
  deleteSelected(game.editor);
  EXPECT_EQ(world.pedestrians.count(), 0);
  EXPECT_EQ(badGuy->attacker, nullptr);

  addRect(world.sidewalks, 0, 0, 10, 10);
  addRect(world.lawns, 0, 0, 10, 10);
  for (char kind : {'t', 'g', 'e'}) {
    game.editor.selectedKind = kind;
    game.editor.selectedIndex = 0;
    deleteSelected(game.editor);
    EXPECT_EQ(kindCount(world, kind), 0) << kind;
  }

  // The player cannot be deleted; a stale position deletes nothing.
  game.editor.selectedKind = 's';
  game.editor.selectedIndex = 0;
  deleteSelected(game.editor);
  EXPECT_NE(world.player, nullptr);
  EXPECT_EQ(selection(), " -1");
  game.editor.selectedKind = 'h';
  game.editor.selectedIndex = 2;
  deleteSelected(game.editor);
  EXPECT_EQ(world.houses.count(), 2);
  EXPECT_EQ(selection(), " -1");
}

TEST_F(EditorTools, MapKeysSaveReloadAndClear) {
  World& world = game.world;
  Media& media = game.media;
  world.mapName = "town";
  game.editor.tool = 'h';
  clickAt(400, 500);
  clickAt(450, 600);
  handleEditorEvent(game.editor, key(SDLK_F2));
  const char* files[] = {"houses", "roads", "cars", "pedestrants", "weapons",
                         "sidewalks", "lawns", "drivers", "badguys"};
  EXPECT_EQ(readFile("maps/town/houses.txt"), "400 500 50 100 - 100 0 0");
  for (const char* f : files)
    EXPECT_TRUE(fileExists(std::string("maps/town/") + f + ".txt")) << f;

  // F3 drops what was not saved.
  clickAt(1000, 1000);
  clickAt(1100, 1100);
  ASSERT_EQ(world.houses.count(), 2);
  handleEditorEvent(game.editor, key(SDLK_F3));
  ASSERT_EQ(world.houses.count(), 1);
  EXPECT_EQ(world.houses[0]->x, 400);

  // F12 then F2: an empty map on disk; the player stays.
  game.editor.selectedKind = 'h';
  game.editor.selectedIndex = 0;
  handleEditorEvent(game.editor, key(SDLK_F12));
  EXPECT_EQ(world.houses.count(), 0);
  ASSERT_NE(world.player, nullptr);
  handleEditorEvent(game.editor, key(SDLK_F2));
  for (const char* f : files)
    EXPECT_EQ(readFile(std::string("maps/town/") + f + ".txt"), "") << f;
  // The old selection names nothing now: no panel edit starts and nothing is deleted.
  EXPECT_FALSE(selectionUsable(game.editor));
  handleEditorEvent(game.editor, typed('1'));
  EXPECT_FALSE(game.editor.editing);
  handleEditorEvent(game.editor, key(SDLK_d));
  EXPECT_EQ(selection(), " -1");

  EXPECT_TRUE(game.editor.showHelp);
  handleEditorEvent(game.editor, key(SDLK_F1));
  EXPECT_FALSE(game.editor.showHelp);
}

TEST_F(EditorTools, AFailedSaveIsShownAndTheMapStaysToBeSavedAgain) {
  World& world = game.world;
  world.mapName = "town";
  writeFile("maps/town", "");  // a file where the map's folder should be
  game.editor.tool = 'h';
  clickAt(400, 500);
  clickAt(450, 600);
  handleEditorEvent(game.editor, key(SDLK_F2));
  EXPECT_EQ(game.editor.saveMessage, "Not saved: maps/town/houses.txt: Not a directory");
  EXPECT_EQ(world.houses.count(), 1);
  fillScreen(white());
  drawEditor(game.editor);
  EXPECT_GT(countInk(10, 10, 300, 15), 20);  // in the top left corner
  ASSERT_EQ(remove("maps/town"), 0);
  handleEditorEvent(game.editor, key(SDLK_F2));
  EXPECT_EQ(game.editor.saveMessage, "");
  fillScreen(white());
  drawEditor(game.editor);
  EXPECT_EQ(countInk(10, 10, 300, 15), 0);
  EXPECT_EQ(readFile("maps/town/houses.txt"), "400 500 50 100 - 100 0 0");
}

TEST_F(EditorTools, WhileTypingLettersAreTextAndMapKeysStillWork) {
  World& world = game.world;
  Media& media = game.media;
  world.mapName = "typed";
  game.editor.tool = 'g';
  game.editor.editing = true;
  game.editor.editText = "";
  handleEditorEvent(game.editor, typed('h'));
  handleEditorEvent(game.editor, typed('d'));
  EXPECT_EQ(game.editor.tool, 'g');
  EXPECT_EQ(game.editor.editText, "hd");
  for (int i = 0; i < 40; ++i) handleEditorEvent(game.editor, typed('7'));
  EXPECT_EQ(game.editor.editText.size(), 31u);
  handleEditorEvent(game.editor, backspace());
  EXPECT_EQ(game.editor.editText.size(), 30u);
  handleEditorEvent(game.editor, key(SDLK_F1));
  EXPECT_FALSE(game.editor.showHelp);
  handleEditorEvent(game.editor, key(SDLK_F2));
  EXPECT_TRUE(fileExists("maps/typed/houses.txt"));
  // Keys without a character add nothing.
  handleEditorEvent(game.editor, key(SDLK_LSHIFT));
  handleEditorEvent(game.editor, key(SDLK_UP));
  EXPECT_EQ(game.editor.editText.size(), 30u);
  EXPECT_EQ(world.cursorY, 150);
  // The left button still places while typing.
  clickAt(300, 300);
  EXPECT_TRUE(game.editor.dragging);
}

TEST_F(EditorTools, CameraFollowsTheCursorWithinTheWorld) {
  World& world = game.world;
  Media& media = game.media;
  cursorAt(100, 100);
  editorCamera(game.editor);
  EXPECT_EQ(world.view.x, 0);
  EXPECT_EQ(world.view.y, 0);
  cursorAt(1500, 1500);
  editorCamera(game.editor);
  EXPECT_EQ(world.view.x, 1100);
  EXPECT_EQ(world.view.y, 1200);
  cursorAt(2999, 2999);
  editorCamera(game.editor);
  EXPECT_EQ(world.view.x, 2200);
  EXPECT_EQ(world.view.y, 2400);
}

TEST_F(EditorTools, OverlayDrawsPreviewSwatchesHelpAndTypedText) {
  World& world = game.world;
  Media& media = game.media;
  const int W = 800, H = 600;
  fillScreen(white());
  game.editor.tool = 'h';
  clickAt(100, 100);
  cursorAt(300, 250);
  drawEditor(game.editor);
  EXPECT_EQ(countPixels(110, 110, 50, 50, media.houseColours[0]), 2500);
  EXPECT_EQ(countPixels(310, 110, 20, 20, media.houseColours[0]), 0);
  EXPECT_EQ(game.editor.dragWidth, 200);
  EXPECT_EQ(game.editor.dragHeight, 150);
  // Swatches beside the house, road, sidewalk and lawn lines.
  EXPECT_EQ(countPixels(W - 80, 10, 20, 20, media.houseColours[0]), 400);
  EXPECT_EQ(countPixels(W - 80, 35, 20, 20, media.roadGrey), 400);
  EXPECT_EQ(countPixels(W - 80, 60, 20, 20, media.sidewalkGrey), 400);
  EXPECT_EQ(countPixels(W - 80, 135, 20, 20, media.lawnColours[0]), 400);
  EXPECT_GT(countInk(W - 170, 10, 90, 400), 200);  // help text
  EXPECT_GT(countInk(W - 100, H - 150, 100, 75), 50);  // StartX .. Hoejd
  EXPECT_GT(countInk(W - 100, H - 70, 100, 15), 20);  // cursor position
  EXPECT_GT(countInk(0, H - 30, 100, 15), 10);  // tool name
  EXPECT_EQ(countInk(W / 2, H - 20, 100, 15), 0);

  // Without help, without a rectangle, weapons get no preview; typed text shows.
  fillScreen(white());
  handleEditorEvent(game.editor, key(SDLK_F1));
  game.editor.tool = 'w';
  game.editor.editing = true;
  game.editor.editText = "12345";
  drawEditor(game.editor);
  EXPECT_EQ(countPixels(110, 110, 50, 50, media.houseColours[0]), 0);
  EXPECT_EQ(countInk(W - 170, 10, 90, 400), 0);
  EXPECT_EQ(countPixels(W - 80, 10, 20, 20, media.houseColours[0]), 0);
  EXPECT_GT(countInk(W / 2, H - 20, 100, 15), 10);

  game.editor.dragging = false;
  fillScreen(white());
  drawEditor(game.editor);
  EXPECT_EQ(countInk(W - 100, H - 150, 100, 75), 0);

  // The preview is drawn where the view shows it: off the screen, nothing; partly on it, the
  // visible part only.
  game.editor.tool = 'v';
  game.editor.dragging = true;
  game.editor.anchorX = 1;
  game.editor.anchorY = 1;
  cursorAt(300, 300);
  world.view.x = 2200;
  world.view.y = 2400;
  fillScreen(white());
  drawEditor(game.editor);
  EXPECT_EQ(countPixels(0, 0, W, H, media.roadGrey), 0);
  world.view.x = 250;
  world.view.y = 200;
  fillScreen(white());
  drawEditor(game.editor);
  EXPECT_EQ(countPixels(0, 0, W, H, media.roadGrey), 50 * 100);
}

TEST_F(EditorTools, ToolNamesAreLatin1) {
  for (char tool : {'h', 'v', 't', 'g', 'w', 'b', 'f', 'p', 'e', 's'}) {
    const std::string name = toolName(tool);
    EXPECT_FALSE(name.empty()) << tool;
    // One byte per letter: no UTF-8 sequence slipped into a label.
    EXPECT_EQ(name.find('\xc3'), std::string::npos) << tool;
  }
  EXPECT_EQ(toolName('v'), "V\xe4gar");
  EXPECT_EQ(toolName('f'), "Fotg\xe4ngare");
  EXPECT_EQ(toolName('x'), "");
}

}  // namespace
