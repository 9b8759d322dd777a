// The records of everything placed in the city, and the constructors the loader and editor use.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "world/rect.h"


// Starting value of every distance search; a clearance keeps it when nothing is near.
constexpr double NO_CONTACT = 100000.0;

struct House;
struct Car;
struct Segment;

// Where the house that blocked a walker lies, as seen from the walker on the screen
// (Down = the house is below); In when the walker's centre is inside it.
enum class BlockSide { None, Up, Down, Left, Right, UpRight, UpLeft, DownLeft, DownRight, In };
// "none", "up", "down", "left", "right", "upright", "upleft", "downleft", "downright", "in".
const char* nameOf(BlockSide side);

// The moving part shared by cars, persons and bullets. Centre-based, heading in whole degrees.
struct Body {
  Body() = default;
  Body(double x, double y, double w, double h, double life, double damage, int32_t heading);

  double x = 0, y = 0;  // centre
  double w = 0;         // across the heading
  double h = 0;         // along the heading
  double life = 0;
  double damage = 0;  // dead when damage >= life
  int32_t heading = 0;
  int32_t secondHeading = 0;
  double prevX = 0, prevY = 0;  // centre before the last accepted move
  double nextX = 0, nextY = 0;  // tentative centre of the move being tried
  double halfDiagonal = 0;      // sqrt((w/2)^2 + (h/2)^2), fixed at creation
  double spare = 0.0;           // kept, no use
  double houseClearance = NO_CONTACT;
  const House* blockingHouse = nullptr;
  double carDistance = NO_CONTACT;
  BlockSide blockSide = BlockSide::None;
};

struct Car : Body {
  int32_t model = 0;
  int32_t spareInt = 4;
  double maxSpeed = 0;
  double speed = 0;  // pixels per frame, negative when reversing
  double acceleration = 0;
  double startSpeed = 0;
  int32_t driver = -1;  // -1 none, -2 the player, >= 0 index into the drivers list
  std::string modelName;
};

// Sentinel values of Car::driver.
constexpr int32_t NO_DRIVER = -1;
constexpr int32_t PLAYER_DRIVER = -2;

struct Weapon {
  double x = 0, y = 0, w = 30, h = 10;
  uint32_t lastShotAt = 0;  // ms, 0 = never
  int32_t weaponImage = 0;  // 0 bare hands, 1 "M4", 2 "AK47"
  int32_t imageIndex = 0;   // bullet picture
  double power = 0;
  double rate = 0;  // shots per second
  std::string name;
  int32_t ammo = 0;  // -1 = unlimited
  int32_t range = 0;
};

// Pedestrians, drivers, bad guys and the player.
struct Person : Body {
  std::string name;
  double wantedLevel = 0;
  int32_t currentWeapon = 0;
  Car* targetCar = nullptr;
  double money = 0;
  int32_t walkFrame = 0;  // 0..7
  double walkSpeed = 1.0;
  double topWalkSpeed = 5.0;
  bool walkingToCar = false;
  bool flag = false;  // 1 for persons of the map and the editor, 0 for the player
  bool inCar = false;
  std::vector<std::unique_ptr<Weapon>> weapons;  // [0] is always the bare hands
  double handsPower = 0;
  Person* attacker = nullptr;
  bool scared = false;  // bad guys: alerted

  // Map persons: network walking (waypoint -1 = unset) and picture set.
  int32_t waypointAX = -1, waypointAY = -1;
  int32_t waypointBX = -1, waypointBY = -1;
  int32_t kind = 0;
  const Segment* segment = nullptr;
  const Segment* nextSegment = nullptr;
  const Segment* previousSegment = nullptr;
  int32_t savedHeading = 0;  // heading saved when panicking
  // Drivers: the nearest the car has come to the point it aims at, and the frames since.
  double closestToAim = 100000.0;
  int32_t framesWithoutHeadway = 0;

  // The player.
  int32_t enteredAt = -10;  // ms when the player last boarded a car
  int32_t playerSpare = 0;
};

// A network segment: a road or a sidewalk, linked to its neighbours by the loader.
struct Segment {
  double x = 0, y = 0, w = 0, h = 0;  // top-left corner and size
  std::vector<Segment*> neighbours;   // ascending list order
};

struct Road : Segment {
  int32_t spare = 0;
  std::string name;  // shown while the player stands on the road
};

struct Sidewalk : Segment {
  int32_t spare = 0;
};

struct House {
  double x = 0, y = 0, w = 0, h = 0;  // top-left corner and size
  double life = 100.0;
  double damage = 0.0;
  int32_t colourIndex = 0;  // 0..9
  std::string text;         // shown while the player is blocked by the house
};

// A thing is dead (a bullet spent, a house shot down) once its damage reaches its life.
inline bool isDead(const Body& body) { return body.life <= body.damage; }
inline bool isDead(const House& house) { return house.life <= house.damage; }

struct Lawn {
  double x = 0, y = 0, w = 0, h = 0;  // whole numbers
  int32_t colourIndex = 0;
};

// A bullet keeps its own copy of what it needs of its weapon, so it outlives the shooter.
struct Bullet : Body {
  double originX = 0, originY = 0;  // spawn point
  double power = 0;                 // the weapon's power
  int32_t range = 0;                // the weapon's range in pixels
  int32_t imageIndex = 0;           // bullet picture
  uint32_t serial = 0;              // the world's shot count when it was fired
};

// Money lying on a road (top-left rectangle), placed at level start.
struct MoneyItem {
  double x = 0, y = 0, w = 30, h = 30;
  double value = 0;
  int32_t lifetime = 0;  // seconds
  uint32_t createdAt = 0;
};

// Blood stain left where a person died (centre of the person).
struct DeathMark {
  double x = 0, y = 0, w = 30, h = 40;
  double value = 0;
  uint32_t createdAt = 0;
};

// Money dropped where a person died.
struct MoneyDrop {
  double x = 0, y = 0, w = 30, h = 40;
  double value = 0;
  uint32_t createdAt = 0;
};

// Ten-entry tables (colours, car pictures, pedestrian kinds, weapon and bullet
// pictures) are indexed through this, so a bad map value never reads past one.
inline int tableIndex(int index) { return (index >= 0 && index < 10) ? index : 0; }

// What a body's creation derives from its centre, size and heading: the second heading, the
// previous and tentative centre, the half-diagonal. For records whose fields were set one by one.
void settleBody(Body& body);
// Puts the bare hands ("Hands", power handsPower, at the person's centre) in front of its weapons.
void giveHands(Person& person);

// The two standard guns (world/builders.h builds the others).
std::unique_ptr<Weapon> makeAK47(double x, double y, int32_t ammo = 100);
std::unique_ptr<Weapon> makeM4(double x, double y);

// Gives a weapon: merges its ammo into every held weapon of the same name, else appends it.
void addWeapon(Person& person, std::unique_ptr<Weapon> weapon);

// Model name by model: "Saab", "Volvo", else empty.
std::string modelNameOf(int32_t model);

// Records read as rectangles (houses, segments, lawns and money by their top-left corner).
inline Rect rectOf(const House& r) { return {r.x, r.y, r.w, r.h}; }
inline Rect rectOf(const Segment& r) { return {r.x, r.y, r.w, r.h}; }
inline Rect rectOf(const Lawn& r) { return {r.x, r.y, r.w, r.h}; }
inline Rect rectOf(const MoneyItem& r) { return {r.x, r.y, r.w, r.h}; }
// A drop lies centred on its position, where it is drawn.
inline Rect rectOf(const MoneyDrop& r) { return {r.x - r.w / 2, r.y - r.h / 2, r.w, r.h}; }
// A body's centre and size read as a rectangle (how movers face a car or the player).
inline Rect rectOf(const Body& b) { return {b.x, b.y, b.w, b.h}; }
