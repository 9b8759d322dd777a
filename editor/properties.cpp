// The property panel: the selected object's numbered fields, starting to type one, and
// parsing the typed text back into the record.
#include "editor/properties.h"

#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "editor/editor_state.h"
#include "render/media.h"
#include "world/world.h"
#include "editor/editor.h"
#include "platform/platform.h"
#include "render/text.h"
#include "sim/collision.h"

namespace {

// What a field number of the selected record stands for, and where its value lives.
struct Field {
  enum Type { None, Coordinate, Number, Text, Model, Heading, WeaponIndex };
  Type type = None;
  double* number = nullptr;   // Coordinate, Number
  int32_t* integer = nullptr;  // Model, Heading, WeaponIndex
  std::string* text = nullptr;
  Car* car = nullptr;        // Model: its model name follows
  Person* person = nullptr;  // WeaponIndex: the weapons it carries
};

Field coordinate(double& v) { return Field{Field::Coordinate, &v}; }
Field number(double& v) { return Field{Field::Number, &v}; }

template <class R>
Field rectangleField(R& r, int n) {
  switch (n) {
    case 1: return coordinate(r.x);
    case 2: return coordinate(r.y);
    case 3: return number(r.w);
    case 4: return number(r.h);
    default: return {};
  }
}

// Fields 1 to 4 of every person: centre, life, damage.
Field personField(Person& p, int n) {
  switch (n) {
    case 1: return coordinate(p.x);
    case 2: return coordinate(p.y);
    case 3: return number(p.life);
    case 4: return number(p.damage);
    default: return {};
  }
}

Field walkerField(Person& p, int n) {
  if (n == 5) return number(p.topWalkSpeed);
  if (n == 6) return number(p.money);
  return personField(p, n);
}

Field carField(Car& c, int n) {
  switch (n) {
    case 1: return coordinate(c.x);
    case 2: return coordinate(c.y);
    case 3: return number(c.life);
    case 4: return number(c.damage);
    case 5: return Field{Field::Model, nullptr, &c.model, nullptr, &c};
    case 6: return number(c.acceleration);
    case 7: return number(c.maxSpeed);
    case 8: return Field{Field::Heading, nullptr, &c.heading};
    default: return {};
  }
}

// Field n of the selection; None when the selection is not usable or has no such field.
Field selectedField(Editor& editor, int n) {
  if (!selectionUsable(editor)) return {};
  World& world = editor.world;
  const int i = editor.selectedIndex;
  switch (editor.selectedKind) {
    case 's': return personField(*world.player, n);
    case 'h': {
      House& house = *world.houses[i];
      if (n == 5) return number(house.life);
      if (n == 6) return number(house.damage);
      if (n == 7) return Field{Field::Text, nullptr, nullptr, &house.text};
      return rectangleField(house, n);
    }
    case 'v': {
      Road& road = *world.roads[i];
      if (n == 5) return Field{Field::Text, nullptr, nullptr, &road.name};
      return rectangleField(road, n);
    }
    case 't': return rectangleField(*world.sidewalks[i], n);
    case 'g': return rectangleField(*world.lawns[i], n);
    case 'b': return carField(*world.cars[i], n);
    case 'f': return walkerField(*world.pedestrians[i], n);
    case 'e': {
      Person& badGuy = *world.badGuys[i];
      if (n == 7) return Field{Field::WeaponIndex, nullptr, &badGuy.currentWeapon, nullptr,
                               nullptr, &badGuy};
      return walkerField(badGuy, n);
    }
    case 'p': return personField(*world.drivers[i], n);
    default: return {};  // map weapons have no editable fields
  }
}

// The text a field edit starts from: the value as the panel shows it.
std::string valueText(const Field& field) {
  switch (field.type) {
    case Field::Coordinate:
    case Field::Number: {
      const std::string shown = toText(*field.number);
      return shown.substr(0, shown.find(' '));
    }
    case Field::Model:
    case Field::Heading:
    case Field::WeaponIndex:
      return toText(static_cast<int>(*field.integer));
    case Field::Text:
      return *field.text;
    default:
      return "";
  }
}

void applyText(const Field& field, const std::string& text) {
  switch (field.type) {
    case Field::Coordinate: {
      const double v = leadingNumber(text);
      if (v > 0 && v < WORLD_SIZE) *field.number = v;
      break;
    }
    case Field::Number: {
      // Infinity (a number past the double range) cannot be drawn or saved: it is refused.
      const double v = leadingNumber(text);
      if (std::isfinite(v)) *field.number = v;
      break;
    }
    case Field::Model: {
      const int m = leadingInt(text);
      *field.integer = m;
      if (m == 0 || m == 1) field.car->modelName = modelNameOf(m);
      break;
    }
    case Field::Heading:
      *field.integer = normalizeHeading(leadingInt(text));
      break;
    case Field::WeaponIndex: {
      const int i = leadingInt(text);
      if (i >= 0 && i < static_cast<int>(field.person->weapons.size())) *field.integer = i;
      break;
    }
    case Field::Text:
      *field.text = text;
      break;
    default:
      break;
  }
}

constexpr int PANEL_TOP = 300;
constexpr int ROW_STEP = 14;

void drawRow(Media& media, int row, const std::string& label, const std::string& value,
             int valueX) {
  const int y = PANEL_TOP + ROW_STEP * (row - 1);
  drawText(media, media.smallFont.get(), label, media.black, 10, y);
  drawText(media, media.smallFont.get(), value, media.black, valueX, y);
}

template <class R>
void drawRectanglePanel(Media& media, const R& r) {
  drawRow(media, 1, "1.x ", toText(r.x), 70);
  drawRow(media, 2, "2.y ", toText(r.y), 70);
  drawRow(media, 3, "3.bredd ", toText(r.w), 70);
  drawRow(media, 4, "4.h\xf6jd ", toText(r.h), 70);
}

// The first four rows people and cars share: position, life, damage.
template <class B>
void drawLifeRows(Media& media, const B& b, int valueX) {
  drawRow(media, 1, "1.x ", toText(b.x), valueX);
  drawRow(media, 2, "2.y ", toText(b.y), valueX);
  drawRow(media, 3, "3.liv ", toText(b.life), valueX);
  drawRow(media, 4, "4.skada ", toText(b.damage), valueX);
}

void drawPersonPanel(Media& media, const Person& p) { drawLifeRows(media, p, 70); }

void drawWalkerPanel(Media& media, const Person& p) {
  drawPersonPanel(media, p);
  drawRow(media, 5, "5.fart ", toText(p.topWalkSpeed), 70);
  drawRow(media, 6, "6.pengar ", toText(p.money), 70);
}

void drawCarPanel(Media& media, const Car& c) {
  drawLifeRows(media, c, 120);
  drawRow(media, 5, "5.model(nr)0-1", toText(static_cast<int>(c.model)), 120);
  drawRow(media, 6, "6.acceleration (0.0-2.0)", toText(c.acceleration), 180);
  drawRow(media, 7, "7.Max fart", toText(c.maxSpeed), 120);
  drawRow(media, 8, "8.Riktning", toText(static_cast<int>(c.heading)), 120);
}

bool isSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool selectionUsable(const Editor& editor) {
  if (editor.selectedKind == 's') return editor.world.player != nullptr;
  return editor.selectedIndex >= 0 && editor.selectedIndex < kindCount(editor.world, editor.selectedKind);
}

double leadingNumber(const std::string& text) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && isSpace(text[i])) ++i;
  const size_t start = i;
  if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < n && isDigit(text[i])) ++i, ++digits;
  if (i < n && text[i] == '.') {
    ++i;
    while (i < n && isDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0.0;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < n && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < n && isDigit(text[j])) {
      i = j;
      while (i < n && isDigit(text[i])) ++i;
    }
  }
  // Only the decimal form is passed on: no hexadecimal, "inf" or "nan" from the parse.
  return std::strtod(text.substr(start, i - start).c_str(), nullptr);
}

int leadingInt(const std::string& text) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && isSpace(text[i])) ++i;
  const bool negative = i < n && text[i] == '-';
  if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  long long value = 0;
  while (i < n && isDigit(text[i])) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    ++i;
  }
  if (negative) value = -value;
  if (value > INT_MAX) value = INT_MAX;
  return static_cast<int>(value);
}

void drawProperties(Editor& editor) {
  World& world = editor.world;
  Media& media = editor.media;
  if (!selectionUsable(editor)) return;
  const int i = editor.selectedIndex;
  switch (editor.selectedKind) {
    case 's': drawPersonPanel(media, *world.player); break;
    case 't': drawRectanglePanel(media, *world.sidewalks[i]); break;
    case 'g': drawRectanglePanel(media, *world.lawns[i]); break;
    case 'w': drawRectanglePanel(media, *world.weapons[i]); break;
    case 'h': {
      const House& house = *world.houses[i];
      drawRectanglePanel(media, house);
      drawRow(media, 5, "5.liv ", toText(house.life), 70);
      drawRow(media, 6, "6.skada ", toText(house.damage), 70);
      drawRow(media, 7, "7.namn ", house.text, 70);
      break;
    }
    case 'v': {
      const Road& road = *world.roads[i];
      drawRectanglePanel(media, road);
      drawRow(media, 5, "5.namn ", road.name, 70);
      break;
    }
    case 'b': drawCarPanel(media, *world.cars[i]); break;
    case 'f': drawWalkerPanel(media, *world.pedestrians[i]); break;
    case 'e': {
      const Person& badGuy = *world.badGuys[i];
      drawWalkerPanel(media, badGuy);
      drawText(media, media.smallFont.get(),
               "7.vapen (0-" + toText(static_cast<int>(badGuy.weapons.size())) + ") " +
                   toText(static_cast<int>(badGuy.currentWeapon)),
               media.black, 10, PANEL_TOP + ROW_STEP * 6);
      break;
    }
    default: break;  // drivers have no panel, though their fields can be typed
  }
}

void startFieldEdit(Editor& editor) {
  const SDL_Event& event = editor.event;
  if (event.type != SDL_KEYDOWN) return;
  const Uint16 code = platformTypedCharacter(event.key.keysym);
  if (code < '1' || code > '8') return;
  const int n = code - '0';
  const Field field = selectedField(editor, n);
  if (field.type == Field::None) return;
  editor.editing = true;
  editor.editField = n;
  editor.editText = valueText(field);
}

void applyFieldEdit(Editor& editor) {
  editor.editing = false;
  applyText(selectedField(editor, editor.editField), editor.editText);
  editor.editField = -1;
  editor.editText.clear();
}
