// Weapon choice: the list wraps both ways and every weapon in it, the first too, can be current.
#include <gtest/gtest.h>

#include "sim/weapons.h"
#include "support/records.h"
#include "world/world.h"

TEST(WeaponSwitching, WrapsAtBothEndsAndTheFirstWeaponCanBeCurrent) {
  auto person = testsupport::testPerson().make();
  addWeapon(*person, makeAK47(0, 0));
  addWeapon(*person, makeM4(0, 0));
  ASSERT_EQ(person->weapons.size(), 3u);
  person->currentWeapon = 0;
  EXPECT_EQ(currentWeaponOf(*person), person->weapons[0].get());
  previousWeapon(*person);
  EXPECT_EQ(person->currentWeapon, 2);
  nextWeapon(*person);
  EXPECT_EQ(person->currentWeapon, 0);
  person->currentWeapon = 3;
  EXPECT_EQ(currentWeaponOf(*person), nullptr);
}
