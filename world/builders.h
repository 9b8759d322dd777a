// Weapons, persons and cars built from named fields: set what differs from the ordinary one,
// then make() it.
//   auto gun = WeaponSpec{}.name("AK47").at(x, y).ammo(100).make();
//   auto walker = PersonSpec{}.name("Sela").at(300, 200).money(10).make();
//   auto car = CarSpec{}.at(500, 400).heading(90).make();
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "world/records.h"

// A rectangle record (house, road, sidewalk, lawn, money, mark, bullet) at x, y of w by h, the
// rest as the record's defaults.
template <class R>
std::unique_ptr<R> makeRect(double x, double y, double w, double h) {
  auto r = std::make_unique<R>();
  r->x = x;
  r->y = y;
  r->w = w;
  r->h = h;
  return r;
}

// A gun as the editor places one: "default", 30 x 10, 20 rounds, range 1000, power 10, one shot
// a second, pictures 0.
struct WeaponSpec {
  WeaponSpec& name(const std::string& v) { name_ = v; return *this; }
  WeaponSpec& at(double x, double y) { x_ = x; y_ = y; return *this; }
  WeaponSpec& ammo(int32_t v) { ammo_ = v; return *this; }  // -1: unlimited
  WeaponSpec& range(int32_t v) { range_ = v; return *this; }
  WeaponSpec& weaponImage(int32_t v) { weaponImage_ = v; return *this; }
  WeaponSpec& bulletImage(int32_t v) { bulletImage_ = v; return *this; }
  WeaponSpec& power(double v) { power_ = v; return *this; }
  WeaponSpec& rate(double v) { rate_ = v; return *this; }
  std::unique_ptr<Weapon> make() const;

 private:
  std::string name_ = "default";
  double x_ = 0, y_ = 0;
  int32_t ammo_ = 20, range_ = 1000, weaponImage_ = 0, bulletImage_ = 0;
  double power_ = 10.0, rate_ = 1.0;
};

// A map person: 29 x 18, life 100, no damage, bare hands of power 50, nothing else, on foot,
// heading 0, flag 1, no money, not wanted.
struct PersonSpec {
  PersonSpec& name(const std::string& v) { name_ = v; return *this; }
  PersonSpec& at(double x, double y) { x_ = x; y_ = y; return *this; }
  PersonSpec& size(double w, double h) { w_ = w; h_ = h; return *this; }
  PersonSpec& life(double v) { life_ = v; return *this; }
  PersonSpec& damage(double v) { damage_ = v; return *this; }
  PersonSpec& wanted(double v) { wanted_ = v; return *this; }
  PersonSpec& money(double v) { money_ = v; return *this; }
  PersonSpec& hands(double power) { hands_ = power; return *this; }
  PersonSpec& flag(bool v) { flag_ = v; return *this; }
  // Carries the gun after the bare hands and the guns given before.
  PersonSpec& gun(std::unique_ptr<Weapon> w) { guns_.push_back(std::move(w)); return *this; }
  // The weapon held: an index past the weapons carried holds the bare hands.
  PersonSpec& holding(int32_t index) { holding_ = index; return *this; }
  // Walking to the car, or sitting in it.
  PersonSpec& target(Car* car, bool inCar = false) { car_ = car; inCar_ = inCar; return *this; }
  // Takes the guns given: a spec makes one person.
  std::unique_ptr<Person> make();

 private:
  std::string name_;
  double x_ = 0, y_ = 0, w_ = 29, h_ = 18;
  double life_ = 100, damage_ = 0, wanted_ = 0, money_ = 0, hands_ = 50;
  bool flag_ = true, inCar_ = false;
  Car* car_ = nullptr;
  int32_t holding_ = 0;
  std::vector<std::unique_ptr<Weapon>> guns_;
};

// A car as the editor places one: a Saab of 69 x 94, life 100, heading 0, standing, top speed
// 10, acceleration 0.1, no driver. The centre is truncated toward zero, as the map file's is.
struct CarSpec {
  CarSpec& at(double x, double y) { x_ = x; y_ = y; return *this; }
  CarSpec& size(double w, double h) { w_ = w; h_ = h; return *this; }
  CarSpec& life(double v) { life_ = v; return *this; }
  CarSpec& damage(double v) { damage_ = v; return *this; }
  CarSpec& heading(int32_t v) { heading_ = v; return *this; }
  CarSpec& model(int32_t v) { model_ = v; return *this; }
  CarSpec& spare(int32_t v) { spare_ = v; return *this; }
  CarSpec& maxSpeed(double v) { maxSpeed_ = v; return *this; }
  CarSpec& speed(double v) { speed_ = v; return *this; }  // the start speed, and the speed
  CarSpec& acceleration(double v) { acceleration_ = v; return *this; }
  std::unique_ptr<Car> make() const;

 private:
  double x_ = 0, y_ = 0, w_ = 69, h_ = 94, life_ = 100, damage_ = 0;
  int32_t heading_ = 0, model_ = 0, spare_ = 4;
  double maxSpeed_ = 10, speed_ = 0, acceleration_ = 0.1;
};
