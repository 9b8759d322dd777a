// The editor's kinds: for each, its key, label, list, colour, how one is made, selected and
// removed, and its property rows.
#include "editor/kinds.h"

#include <cmath>
#include <memory>

#include "editor/editor.h"
#include "render/media.h"
#include "render/text.h"
#include "sim/vehicles.h"
#include "world/builders.h"
#include "world/lifetime.h"
#include "world/world.h"

namespace {

// --- Placing ---

template <class List>
bool probeInsideAny(const List& list, double px, double py) {
  for (const auto& record : list)
    if (insideShrunk(px, py, rectOf(*record))) return true;
  return false;
}

bool anywhere(const World&, double, double, bool) { return true; }
bool outsideHouses(const World& world, double px, double py, bool) {
  return !probeInsideAny(world.houses, px, py);
}
// Houses, roads and sidewalks do not overlap one another.
bool outsideSolidGround(const World& world, double px, double py, bool) {
  return !probeInsideAny(world.houses, px, py) && !probeInsideAny(world.roads, px, py) &&
         !probeInsideAny(world.sidewalks, px, py);
}
// The player tool draws a rectangle only while there is no player, and never places one.
bool noPlayerYet(const World& world, double, double, bool drawing) {
  return drawing && !world.player;
}

void makeHouse(World& world, double x, double y, double w, double h) {
  auto house = makeRect<House>(x, y, w, h);
  house->text = "-";
  world.houses.append(std::move(house));
}
void makeRoad(World& world, double x, double y, double w, double h) {
  auto road = makeRect<Road>(x, y, w, h);
  road->name = "-";
  world.roads.append(std::move(road));
}
void makeSidewalk(World& world, double x, double y, double w, double h) {
  world.sidewalks.append(makeRect<Sidewalk>(x, y, w, h));
}
void makeLawn(World& world, double x, double y, double w, double h) {
  world.lawns.append(makeRect<Lawn>(x, y, w, h));
}
void makeMapWeapon(World& world, double x, double y, double w, double h) {
  auto weapon = WeaponSpec{}.at(x, y).make();
  weapon->w = w;
  weapon->h = h;
  world.weapons.append(std::move(weapon));
}
void makeCar(World& world, double x, double y, double, double) {
  world.cars.append(CarSpec{}.at(x, y).make());
}

// A person made by the editor: hands only, 30 x 20, standing at the anchor.
std::unique_ptr<Person> editorPerson(const std::string& name, double x, double y, double money) {
  return PersonSpec{}.name(name).at(x, y).size(30.0, 20.0).money(money).make();
}
void makePedestrian(World& world, double x, double y, double, double) {
  world.pedestrians.append(editorPerson("Sela", x, y, 10.0));
}
void makeDriver(World& world, double x, double y, double, double) {
  world.drivers.append(editorPerson("Tarko", x, y, 100.0));
}
void makeBadGuy(World& world, double x, double y, double, double) {
  if (world.badGuys.full()) return;
  auto badGuy = editorPerson("Eno", x, y, 10.0);
  addWeapon(*badGuy, makeAK47(x, y));
  addWeapon(*badGuy, makeM4(x, y));
  badGuy->currentWeapon = 2;  // the M4, after the hands
  world.badGuys.append(std::move(badGuy));
}

// --- Removing ---

// The car's driver gets out where leaveCar would put it, but the move is not committed.
void putOutDriver(World& world, Car& car) {
  Person* person = nullptr;
  if (car.driver >= 0 && car.driver < world.drivers.count())
    person = world.drivers[car.driver];
  else if (car.driver == PLAYER_DRIVER)
    person = world.player.get();
  if (person) stepOutOf(*person, car);
  car.driver = NO_DRIVER;
}

void deleteCar(World& world, int index) {
  putOutDriver(world, *world.cars[index]);
  removeCar(world, index);
}

// --- Selecting ---

bool hitsBody(const Body& b, double cx, double cy) {
  return std::sqrt((cx - b.x) * (cx - b.x) + (cy - b.y) * (cy - b.y)) < b.halfDiagonal;
}
template <class R>
bool hitsRect(const R& r, double cx, double cy) {
  return r.x <= cx && cx <= r.x + r.w && r.y <= cy && cy <= r.y + r.h;
}

// --- Property rows ---

Field coordinate(double& v) { return Field{Field::Coordinate, &v}; }
Field number(double& v) { return Field{Field::Number, &v}; }
Field text(std::string& v) { return Field{Field::Text, nullptr, nullptr, &v}; }

template <class R>
std::vector<PanelRow> rectangleRows(R& r) {
  return {{"1.x ", 70, coordinate(r.x)},
          {"2.y ", 70, coordinate(r.y)},
          {"3.bredd ", 70, number(r.w)},
          {"4.h\xf6jd ", 70, number(r.h)}};
}

// The first four rows people and cars share: position, life, damage.
std::vector<PanelRow> lifeRows(Body& b, int valueX) {
  return {{"1.x ", valueX, coordinate(b.x)},
          {"2.y ", valueX, coordinate(b.y)},
          {"3.liv ", valueX, number(b.life)},
          {"4.skada ", valueX, number(b.damage)}};
}

std::vector<PanelRow> walkerRows(Person& p) {
  std::vector<PanelRow> rows = lifeRows(p, 70);
  rows.push_back({"5.fart ", 70, number(p.topWalkSpeed)});
  rows.push_back({"6.pengar ", 70, number(p.money)});
  return rows;
}

std::vector<PanelRow> houseRows(World& world, int i) {
  House& house = *world.houses[i];
  std::vector<PanelRow> rows = rectangleRows(house);
  rows.push_back({"5.liv ", 70, number(house.life)});
  rows.push_back({"6.skada ", 70, number(house.damage)});
  rows.push_back({"7.namn ", 70, text(house.text)});
  return rows;
}
std::vector<PanelRow> roadRows(World& world, int i) {
  Road& road = *world.roads[i];
  std::vector<PanelRow> rows = rectangleRows(road);
  rows.push_back({"5.namn ", 70, text(road.name)});
  return rows;
}
std::vector<PanelRow> carRows(World& world, int i) {
  Car& c = *world.cars[i];
  std::vector<PanelRow> rows = lifeRows(c, 120);
  rows.push_back({"5.model(nr)0-1", 120, Field{Field::Model, nullptr, &c.model, nullptr, &c}});
  rows.push_back({"6.acceleration (0.0-2.0)", 180, number(c.acceleration)});
  rows.push_back({"7.Max fart", 120, number(c.maxSpeed)});
  rows.push_back({"8.Riktning", 120, Field{Field::Heading, nullptr, &c.heading}});
  return rows;
}
std::vector<PanelRow> badGuyRows(World& world, int i) {
  Person& badGuy = *world.badGuys[i];
  std::vector<PanelRow> rows = walkerRows(badGuy);
  rows.push_back({"7.vapen (0-" + toText(static_cast<int>(badGuy.weapons.size())) + ") ", 0,
                  Field{Field::WeaponIndex, nullptr, &badGuy.currentWeapon, nullptr, nullptr,
                        &badGuy}});
  return rows;
}

uint32_t houseColour(const Media& media) { return media.houseColours[0]; }
uint32_t roadColour(const Media& media) { return media.roadGrey; }
uint32_t sidewalkColour(const Media& media) { return media.sidewalkGrey; }
uint32_t lawnColour(const Media& media) { return media.lawnColours[0]; }

// In the order of the tool keys.
const EditorKind kKinds[] = {
    {'h', "Hus", false, false, [](const World& w) { return w.houses.count(); },
     outsideSolidGround, houseColour, makeHouse, removeHouse,
     [](const World& w, int i, double x, double y) { return hitsRect(*w.houses[i], x, y); },
     Panel::Shown, houseRows},
    {'v', "V\xe4gar", false, false, [](const World& w) { return w.roads.count(); },
     outsideSolidGround, roadColour, makeRoad, removeRoad,
     [](const World& w, int i, double x, double y) { return hitsRect(*w.roads[i], x, y); },
     Panel::Shown, roadRows},
    {'t', "Trottoar", false, false, [](const World& w) { return w.sidewalks.count(); },
     outsideSolidGround, sidewalkColour, makeSidewalk, removeSidewalk,
     [](const World& w, int i, double x, double y) { return hitsRect(*w.sidewalks[i], x, y); },
     Panel::Shown, [](World& w, int i) { return rectangleRows(*w.sidewalks[i]); }},
    {'g', "Gr\xe4smattor", false, false, [](const World& w) { return w.lawns.count(); }, anywhere,
     lawnColour, makeLawn, removeLawn,
     [](const World& w, int i, double x, double y) { return hitsRect(*w.lawns[i], x, y); },
     Panel::Shown, [](World& w, int i) { return rectangleRows(*w.lawns[i]); }},
    {'w', "Vapen", false, false, [](const World& w) { return w.weapons.count(); }, anywhere,
     nullptr, makeMapWeapon, removeWeapon, nullptr, Panel::ReadOnly,
     [](World& w, int i) { return rectangleRows(*w.weapons[i]); }},
    {'b', "Bilar", true, false, [](const World& w) { return w.cars.count(); }, outsideHouses,
     nullptr, makeCar, deleteCar,
     [](const World& w, int i, double x, double y) { return hitsBody(*w.cars[i], x, y); },
     Panel::Shown, carRows},
    {'f', "Fotg\xe4ngare", true, false, [](const World& w) { return w.pedestrians.count(); },
     anywhere, nullptr, makePedestrian, removePedestrian,
     [](const World& w, int i, double x, double y) { return hitsBody(*w.pedestrians[i], x, y); },
     Panel::Shown, [](World& w, int i) { return walkerRows(*w.pedestrians[i]); }},
    {'p', "F\xf6rare", true, false, [](const World& w) { return w.drivers.count(); }, anywhere,
     nullptr, makeDriver, removeDriver,
     [](const World& w, int i, double x, double y) { return hitsBody(*w.drivers[i], x, y); },
     Panel::Hidden, [](World& w, int i) { return lifeRows(*w.drivers[i], 70); }},
    {'e', "Elak gubbe", true, false, [](const World& w) { return w.badGuys.count(); }, anywhere,
     nullptr, makeBadGuy, removeBadGuy,
     [](const World& w, int i, double x, double y) { return hitsBody(*w.badGuys[i], x, y); },
     Panel::Shown, badGuyRows},
    {'s', "Spelare", false, true, [](const World& w) { return w.player ? 1 : 0; }, noPlayerYet,
     nullptr, nullptr, nullptr,
     [](const World& w, int, double x, double y) { return hitsBody(*w.player, x, y); },
     Panel::Shown, [](World& w, int) { return lifeRows(*w.player, 70); }},
};

}  // namespace

// People and cars stand on the ground: tried before it, or a map whose ground is covered would
// never let them (the player among them) be selected.
const char kSelectionOrder[] = "febpshvtg";

const EditorKind* editorKind(char key) {
  for (const EditorKind& kind : kKinds)
    if (kind.key == key) return &kind;
  return nullptr;
}
