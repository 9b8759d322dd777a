// The named-field builders of weapons, persons and cars.
#include "world/builders.h"

#include <cmath>

std::unique_ptr<Weapon> WeaponSpec::make() const {
  auto weapon = std::make_unique<Weapon>();
  weapon->x = x_;
  weapon->y = y_;
  weapon->name = name_;
  weapon->ammo = ammo_;
  weapon->range = range_;
  weapon->weaponImage = weaponImage_;
  weapon->imageIndex = bulletImage_;
  weapon->power = power_;
  weapon->rate = rate_;
  return weapon;
}

std::unique_ptr<Person> PersonSpec::make() {
  auto person = std::make_unique<Person>();
  static_cast<Body&>(*person) = Body(x_, y_, w_, h_, life_, damage_, 0);
  person->name = name_;
  person->wantedLevel = wanted_;
  person->targetCar = car_;
  person->handsPower = hands_;
  giveHands(*person);
  for (auto& gun : guns_) person->weapons.push_back(std::move(gun));
  guns_.clear();
  person->money = money_;
  if (holding_ >= 0 && holding_ < static_cast<int32_t>(person->weapons.size()))
    person->currentWeapon = holding_;
  person->flag = flag_;
  person->inCar = inCar_;
  if (inCar_)
    person->carDistance = 0.0;
  else
    person->walkingToCar = car_ != nullptr;
  return person;
}

std::unique_ptr<Car> CarSpec::make() const {
  auto car = std::make_unique<Car>();
  static_cast<Body&>(*car) =
      Body(std::trunc(x_), std::trunc(y_), w_, h_, life_, damage_, heading_);
  car->model = model_;
  car->spareInt = spare_;
  car->maxSpeed = maxSpeed_;
  car->acceleration = acceleration_;
  car->speed = speed_;
  car->startSpeed = speed_;
  car->modelName = modelNameOf(model_);
  return car;
}
