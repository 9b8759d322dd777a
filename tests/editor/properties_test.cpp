// The property panel: which rows each kind shows and where, which digits start an edit, and
// how the typed text is parsed and checked before it goes into the record.
#include <tuple>
#include <utility>

#include "editor/editor.h"
#include "editor/properties.h"
#include "editor_fixture.h"
#include "world/map_files.h"

namespace {

class PropertyPanel : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    World& world = game.world;
    placeOneOfEach();
    ASSERT_EQ(world.weapons.count(), 1);
    ASSERT_EQ(world.badGuys.count(), 1);
  }
  // Starts field n, clears the old value with Backspace, types `text` and presses Return.
  void edit(int n, const std::string& text) {
    handleEditorEvent(game.editor, typed(static_cast<char>('0' + n)));
    ASSERT_TRUE(game.editor.editing) << "field " << n << " of " << game.editor.selectedKind;
    ASSERT_EQ(game.editor.editField, n);
    while (!game.editor.editText.empty()) handleEditorEvent(game.editor, backspace());
    for (char c : text) handleEditorEvent(game.editor, typed(c));
    handleEditorEvent(game.editor, enter());
    ASSERT_FALSE(game.editor.editing);
  }
  // Whether row n shows ink between x and x + w.
  bool rowInk(int n, int x, int w) { return countInk(x, 300 + 14 * (n - 1) + 2, w, 9) > 0; }
  void drawPanel() {
    clearScreen();
    drawProperties(game.editor);
  }
};

TEST_F(PropertyPanel, EachKindShowsItsRowsAtTheirPlaces) {
  struct Panel {
    char kind;
    int rows;     // rows 1..rows are drawn, none below
    int valueX;   // where the values stand
  } const panels[] = {{'h', 7, 70}, {'v', 5, 70}, {'t', 4, 70}, {'g', 4, 70}, {'w', 4, 70},
                      {'f', 6, 70}, {'s', 4, 70}, {'b', 8, 120}};
  for (const Panel& p : panels) {
    select(p.kind);
    drawPanel();
    for (int n = 1; n <= 8; ++n) {
      EXPECT_EQ(rowInk(n, 10, 20), n <= p.rows) << p.kind << " label row " << n;
      if (n > p.rows) continue;
      if (p.kind == 'b' && n == 6) {
        EXPECT_TRUE(rowInk(n, 180, 30)) << "acceleration value";
      } else {
        EXPECT_TRUE(rowInk(n, p.valueX, 20)) << p.kind << " value row " << n;
      }
    }
  }
  // The bad guy's seventh row is one text from x = 10 on, through its weapon count.
  select('e');
  drawPanel();
  EXPECT_TRUE(rowInk(7, 10, 20));
  EXPECT_TRUE(rowInk(7, 60, 40));
  EXPECT_FALSE(rowInk(8, 10, 200));

  // A driver has no panel; neither has a selection that names nothing.
  for (auto [kind, index] : {std::pair{'p', 0}, {'h', 1}, {' ', -1}}) {
    select(kind, index);
    drawPanel();
    EXPECT_EQ(countInk(0, 295, 300, 120), 0) << kind << index;
  }
}

TEST_F(PropertyPanel, FieldDigitsStartEditsFromTheShownValue) {
  World& world = game.world;
  // Doubles start as shown (six significant digits), ints plain, texts whole.
  world.cars[0]->x = 1234.5678;
  world.houses[0]->text = "two words";
  for (auto [kind, digit, text] : {std::tuple{'h', '5', "100"}, {'b', '1', "1234.57"},
                                   {'b', '8', "0"}, {'h', '7', "two words"}}) {
    select(kind);
    handleEditorEvent(game.editor, typed(digit));
    EXPECT_TRUE(game.editor.editing) << kind << digit;
    EXPECT_EQ(game.editor.editText, text) << kind << digit;
    handleEditorEvent(game.editor, escape());
  }

  // Digits a kind does not have start nothing.
  const struct {
    char kind;
    char digit;
  } none[] = {{'f', '8'}, {'f', '7'}, {'p', '5'}, {'s', '5'}, {'t', '5'}, {'g', '5'},
              {'v', '6'}, {'h', '8'}, {'e', '8'}, {'w', '1'}, {'b', '9'}, {'h', '0'}};
  for (const auto& n : none) {
    select(n.kind);
    handleEditorEvent(game.editor, typed(n.digit));
    EXPECT_FALSE(game.editor.editing) << n.kind << " " << n.digit;
  }
  select('p');
  handleEditorEvent(game.editor, typed('4'));
  EXPECT_TRUE(game.editor.editing);
  EXPECT_EQ(game.editor.editText, "0");

  // Escape drops the text but keeps it and the field number until the next edit.
  handleEditorEvent(game.editor, typed('9'));
  handleEditorEvent(game.editor, escape());
  EXPECT_FALSE(game.editor.editing);
  EXPECT_EQ(game.editor.editField, 4);
  EXPECT_EQ(game.editor.editText, "09");
  EXPECT_EQ(world.drivers[0]->damage, 0);
}

TEST_F(PropertyPanel, NumbersAreTakenWithoutARangeTest) {
  World& world = game.world;
  House& house = *world.houses[0];
  Car& car = *world.cars[0];
  Person& badGuy = *world.badGuys[0];
  const struct {
    char kind;
    int field;
    const char* text;
    const double& value;
    double expected;
  } edits[] = {
      {'h', 3, "-20", house.w, -20},       {'h', 4, ".5", house.h, 0.5},
      {'h', 5, "", house.life, 0},          {'h', 6, "1e3x", house.damage, 1000},
      {'h', 6, "0x10", house.damage, 0},    // no hexadecimal: the number is the 0 before the x
      {'h', 5, "1e999", house.life, 0},     // too large to hold: refused
      {'b', 6, "7.5", car.acceleration, 7.5}, {'b', 7, "-3", car.maxSpeed, -3},
      {'b', 3, "55", car.life, 55},         {'b', 4, "5", car.damage, 5},
      {'e', 5, "2.5", badGuy.topWalkSpeed, 2.5}, {'e', 6, "77", badGuy.money, 77},
      {'s', 3, "120", world.player->life, 120},
      // Positions only: inside the world, beyond 0 and below 3000, else left as they were.
      {'h', 1, "2999.5", house.x, 2999.5},  {'h', 1, "3000", house.x, 2999.5},
      {'h', 2, "0.25", house.y, 0.25},      {'h', 2, "0", house.y, 0.25},
  };
  for (const auto& e : edits) {
    select(e.kind);
    edit(e.field, e.text);
    EXPECT_EQ(e.value, e.expected) << e.kind << " " << e.field << " " << e.text;
  }
}

TEST_F(PropertyPanel, CarModelHeadingAndBadGuyWeapon) {
  World& world = game.world;
  Car& car = *world.cars[0];
  select('b');
  for (const auto& [text, model, name] :
       {std::tuple{"1", 1, "Volvo"}, {"5", 5, "Volvo"}, {"0.9", 0, "Saab"},
        {"99999999999", 2147483647, "Saab"}}) {  // other models keep the name
    edit(5, text);
    EXPECT_EQ(car.model, model) << text;
    EXPECT_EQ(car.modelName, name) << text;
  }

  const struct {
    const char* typed;
    int heading;
  } headings[] = {{"-90", 270}, {"-1", 359}, {"-360", 0}, {"360", 360}, {"361", 1},
                  {"720", 360}, {"45deg", 45}, {"", 0},   {"-361", 359},
                  {"-99999999999", 232},       {"-2147483647", 233}};
  for (const auto& h : headings) {
    edit(8, h.typed);
    EXPECT_EQ(car.heading, h.heading) << h.typed;
  }

  Person& badGuy = *world.badGuys[0];
  ASSERT_EQ(badGuy.weapons.size(), 3u);
  select('e');
  for (const auto& [text, weapon] : {std::pair{"3", 2}, {"-1", 2}, {"0", 0}, {"1", 1}}) {
    edit(7, text);
    EXPECT_EQ(badGuy.currentWeapon, weapon) << text;
  }
}

}  // namespace
