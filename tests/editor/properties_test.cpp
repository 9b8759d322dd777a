// The property panel: which rows each kind shows and where, which digits start an edit, and
// how the typed text is parsed and checked before it goes into the record.
#include <tuple>
#include <utility>

#include "editor/editor.h"
#include "editor/properties.h"
#include "editor_fixture.h"

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
  // Long doubles start as shown (six significant digits), texts whole.
  world.cars[0]->x = 1234.5678;
  world.houses[0]->text = "two words";
  for (auto [kind, digit, text] : {std::tuple{'b', '1', "1234.57"}, {'h', '7', "two words"}}) {
    select(kind);
    handleEditorEvent(game.editor, typed(digit));
    EXPECT_TRUE(game.editor.editing) << kind << digit;
    EXPECT_EQ(game.editor.editText, text) << kind << digit;
    handleEditorEvent(game.editor, escape());
  }

  // Digits a kind does not have start nothing.
  for (auto [kind, digit] : {std::pair{'f', '8'}, {'f', '7'}, {'p', '5'}, {'s', '5'}, {'t', '5'},
                             {'g', '5'}, {'v', '6'}, {'h', '8'}, {'e', '8'}, {'w', '1'}, {'b', '9'},
                             {'h', '0'}}) {
    select(kind);
    handleEditorEvent(game.editor, typed(digit));
    EXPECT_FALSE(game.editor.editing) << kind << " " << digit;
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

// Typed text goes in as its leading number, without a range test but for positions (inside the
// world, else left as they were), headings (brought into 0..360) and the bad guy's weapon (one he
// holds); the field then starts its next edit from what it took.
TEST_F(PropertyPanel, TypedTextIsTakenAsItsLeadingNumber) {
  const struct {
    char kind;
    int field;
    const char *typed, *taken;
  } edits[] = {
      {'h', 3, "-20", "-20"},       {'h', 4, ".5", "0.5"},          {'h', 5, "", "0"},
      {'h', 6, "1e3x", "1000"},     {'h', 6, "0x10", "0"},  // no hexadecimal: the 0 before the x
      {'h', 5, "1e999", "0"},       // too large to hold: refused
      {'b', 6, "7.5", "7.5"},       {'b', 7, "-3", "-3"},           {'b', 3, "55", "55"},
      {'b', 4, "5", "5"},           {'e', 5, "2.5", "2.5"},         {'e', 6, "77", "77"},
      {'s', 3, "120", "120"},       {'h', 1, "2999.5", "2999.5"},   {'h', 1, "3000", "2999.5"},
      {'h', 2, "0.25", "0.25"},     {'h', 2, "0", "0.25"},          {'b', 5, "0.9", "0"},
      {'b', 5, "99999999999", "2147483647"},
      {'b', 8, "-90", "270"},       {'b', 8, "-1", "359"},          {'b', 8, "-360", "0"},
      {'b', 8, "360", "360"},       {'b', 8, "361", "1"},           {'b', 8, "720", "360"},
      {'b', 8, "45deg", "45"},      {'b', 8, "", "0"},              {'b', 8, "-361", "359"},
      {'b', 8, "-99999999999", "232"}, {'b', 8, "-2147483647", "233"},
      {'e', 7, "3", "2"},           {'e', 7, "-1", "2"},            {'e', 7, "0", "0"},
      {'e', 7, "1", "1"},
  };
  for (const auto& e : edits) {
    select(e.kind);
    edit(e.field, e.typed);
    handleEditorEvent(game.editor, typed(static_cast<char>('0' + e.field)));
    EXPECT_EQ(game.editor.editText, e.taken) << e.kind << " " << e.field << " " << e.typed;
    handleEditorEvent(game.editor, escape());
  }
  // Models 0 and 1 are named; other models keep the name they had.
  const Car& car = *game.world.cars[0];
  select('b');
  for (const auto& [model, name] : {std::pair{"1", "Volvo"}, {"5", "Volvo"}, {"0", "Saab"}}) {
    edit(5, model);
    EXPECT_EQ(car.modelName, name) << model;
  }
}

}  // namespace
