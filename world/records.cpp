// Record constructors shared by the map loader, the level start and the editor.
#include "world/records.h"

#include <cmath>

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
  person.weapons.insert(person.weapons.begin(), makeWeapon("Hands", person.x, person.y, -1, 10, 0,
                                                           0, person.handsPower, 4.0));
}

std::unique_ptr<Weapon> makeWeapon(const std::string& name, double x, double y, int32_t ammo,
                                   int32_t range, int32_t weaponImage, int32_t imageIndex,
                                   double power, double rate) {
  auto weapon = std::make_unique<Weapon>();
  weapon->x = x;
  weapon->y = y;
  weapon->w = 30;
  weapon->h = 10;
  weapon->name = name;
  weapon->ammo = ammo;
  weapon->range = range;
  weapon->weaponImage = weaponImage;
  weapon->imageIndex = imageIndex;
  weapon->power = power;
  weapon->rate = rate;
  return weapon;
}

std::unique_ptr<Weapon> makeAK47(double x, double y, int32_t ammo) {
  return makeWeapon("AK47", x, y, ammo, 500, 2, 1, 1000.0, 10.0);
}

std::unique_ptr<Weapon> makeM4(double x, double y) {
  return makeWeapon("M4", x, y, 1000, 200, 1, 1, 10.0, 30.0);
}

std::unique_ptr<Person> makePerson(const std::string& name, Car* targetCar, int32_t currentWeapon,
                                   bool flag, bool inCar, double life, double damage,
                                   double wantedLevel, double x, double y, double w, double h,
                                   std::vector<std::unique_ptr<Weapon>> extraWeapons,
                                   double handsPower, double money) {
  auto person = std::make_unique<Person>();
  static_cast<Body&>(*person) = Body(x, y, w, h, life, damage, 0);
  person->name = name;
  person->wantedLevel = wantedLevel;
  person->targetCar = targetCar;
  person->handsPower = handsPower;
  giveHands(*person);
  for (auto& weapon : extraWeapons) person->weapons.push_back(std::move(weapon));
  person->money = money;
  person->walkFrame = 0;
  person->walkSpeed = 1.0;
  person->topWalkSpeed = 5.0;
  person->currentWeapon =
      (currentWeapon >= 0 && currentWeapon < static_cast<int32_t>(person->weapons.size()))
          ? currentWeapon
          : 0;
  person->flag = flag;
  person->inCar = inCar;
  if (inCar) {
    person->walkingToCar = false;
    person->carDistance = 0.0;
  } else {
    person->walkingToCar = targetCar != nullptr;
  }
  return person;
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

std::unique_ptr<Car> makeMapCar(double x, double y, double w, double h, double damage, double life,
                                int32_t heading, double maxSpeed, int32_t model, int32_t spareInt,
                                double startSpeed, double acceleration) {
  auto car = std::make_unique<Car>();
  static_cast<Body&>(*car) = Body(std::trunc(x), std::trunc(y), w, h, life, damage, heading);
  car->model = model;
  car->spareInt = spareInt;
  car->maxSpeed = maxSpeed;
  car->acceleration = acceleration;
  car->speed = startSpeed;
  car->startSpeed = startSpeed;
  car->driver = NO_DRIVER;
  car->modelName = modelNameOf(model);
  return car;
}
