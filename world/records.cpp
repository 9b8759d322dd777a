// Record constructors shared by the map loader, the level start and the editor.
#include "world/records.h"

#include <cmath>

#include "world/builders.h"

const char* nameOf(BlockSide side) {
  switch (side) {
    case BlockSide::None: return "none";
    case BlockSide::Up: return "up";
    case BlockSide::Down: return "down";
    case BlockSide::Left: return "left";
    case BlockSide::Right: return "right";
    case BlockSide::UpRight: return "upright";
    case BlockSide::UpLeft: return "upleft";
    case BlockSide::DownLeft: return "downleft";
    case BlockSide::DownRight: return "downright";
    case BlockSide::In: return "in";
  }
  return "none";
}

Body::Body(double x, double y, double w, double h, double life, double damage, int32_t heading)
    : x(x), y(y), w(w), h(h), life(life), damage(damage), heading(heading) {
  settleBody(*this);
}

void settleBody(Body& b) {
  b.secondHeading = b.heading;
  b.prevX = b.nextX = b.x;
  b.prevY = b.nextY = b.y;
  b.halfDiagonal = std::sqrt((b.w / 2) * (b.w / 2) + (b.h / 2) * (b.h / 2));
}

void giveHands(Person& person) {
  person.weapons.insert(person.weapons.begin(), WeaponSpec{}
                                                    .name("Hands")
                                                    .at(person.x, person.y)
                                                    .ammo(-1)
                                                    .range(10)
                                                    .power(person.handsPower)
                                                    .rate(4.0)
                                                    .make());
}

std::unique_ptr<Weapon> makeAK47(double x, double y, int32_t ammo) {
  return WeaponSpec{}.name("AK47").at(x, y).ammo(ammo).range(500).weaponImage(2).bulletImage(1)
      .power(1000.0).rate(10.0).make();
}

std::unique_ptr<Weapon> makeM4(double x, double y) {
  return WeaponSpec{}.name("M4").at(x, y).ammo(1000).range(200).weaponImage(1).bulletImage(1)
      .power(10.0).rate(30.0).make();
}

void addWeapon(Person& person, std::unique_ptr<Weapon> weapon) {
  bool merged = false;
  for (auto& held : person.weapons) {
    if (held->name == weapon->name) {
      held->ammo += weapon->ammo;
      merged = true;
    }
  }
  if (!merged) person.weapons.push_back(std::move(weapon));
}

std::string modelNameOf(int32_t model) {
  if (model == 0) return "Saab";
  if (model == 1) return "Volvo";
  return "";
}
