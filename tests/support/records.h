// The records the tests build: the game's named-field builders with the small sizes the tests
// are laid out for.
//   auto car = testsupport::testCar().at(100, 200).heading(90).speed(3).make();
#pragma once

#include <memory>

#include "world/builders.h"

namespace testsupport {

// A person "Tarko" of 20 x 20.
inline PersonSpec testPerson() { return std::move(PersonSpec{}.name("Tarko").size(20, 20)); }

// The player as the moving tests use it: 20 x 20, hands power 10, no map flag.
inline PersonSpec playerSpec() {
  return std::move(testPerson().name("Player").flag(false).hands(10));
}

// A car of 20 x 40.
inline CarSpec testCar() { return CarSpec{}.size(20, 40); }

}  // namespace testsupport
