// Record builders with named fields: set only what the test is about, the rest stays ordinary.
//   auto car = testsupport::CarSpec{}.at(100, 200).heading(90).speed(3).make();
#pragma once

#include <memory>
#include <string>

#include "world/records.h"

namespace testsupport {

struct PersonSpec {
  std::string name_ = "Tarko";
  double x_ = 0, y_ = 0, w_ = 20, h_ = 20, life_ = 100, money_ = 0, hands_ = 50;
  bool flag_ = true;
  PersonSpec& name(const std::string& v) { name_ = v; return *this; }
  PersonSpec& at(double x, double y) { x_ = x; y_ = y; return *this; }
  PersonSpec& size(double w, double h) { w_ = w; h_ = h; return *this; }
  PersonSpec& life(double v) { life_ = v; return *this; }
  PersonSpec& money(double v) { money_ = v; return *this; }
  PersonSpec& hands(double v) { hands_ = v; return *this; }
  PersonSpec& flag(bool v) { flag_ = v; return *this; }
  std::unique_ptr<Person> make() const {
    return makePerson(name_, nullptr, 0, flag_, false, life_, 0, 0, x_, y_, w_, h_, {}, hands_,
                      money_);
  }
};

// The player as the moving tests use it: 20 x 20, hands power 10, no map flag.
inline PersonSpec playerSpec() { return PersonSpec{}.name("Player").flag(false).hands(10); }

struct CarSpec {
  double x_ = 0, y_ = 0, w_ = 20, h_ = 40, life_ = 100, top_ = 10, speed_ = 0, accel_ = 0.1;
  int heading_ = 0, model_ = 0;
  CarSpec& at(double x, double y) { x_ = x; y_ = y; return *this; }
  CarSpec& size(double w, double h) { w_ = w; h_ = h; return *this; }
  CarSpec& heading(int v) { heading_ = v; return *this; }
  CarSpec& speed(double v) { speed_ = v; return *this; }
  CarSpec& top(double v) { top_ = v; return *this; }
  CarSpec& life(double v) { life_ = v; return *this; }
  CarSpec& model(int v) { model_ = v; return *this; }
  CarSpec& accel(double v) { accel_ = v; return *this; }
  std::unique_ptr<Car> make() const {
    return makeMapCar(x_, y_, w_, h_, 0, life_, heading_, top_, model_, 4, speed_, accel_);
  }
};

template <class R>
std::unique_ptr<R> rect(double x, double y, double w, double h) {
  auto r = std::make_unique<R>();
  r->x = x;
  r->y = y;
  r->w = w;
  r->h = h;
  return r;
}

}  // namespace testsupport
