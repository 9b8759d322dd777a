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
#include "editor/kinds.h"
#include "platform/platform.h"
#include "render/text.h"
#include "sim/collision.h"

namespace {

// The rows of the selection; none when the selection is not usable.
std::vector<PanelRow> selectedRows(Editor& editor) {
  if (!selectionUsable(editor)) return {};
  return editorKind(editor.selectedKind)->rows(editor.world, editor.selectedIndex);
}

// Field n of the selection; None when the selection is not usable, has no such field or none
// that can be typed.
Field selectedField(Editor& editor, int n) {
  const std::vector<PanelRow> rows = selectedRows(editor);
  if (n < 1 || n > static_cast<int>(rows.size())) return {};
  if (editorKind(editor.selectedKind)->panel == Panel::ReadOnly) return {};
  return rows[n - 1].field;
}

// The value as the panel shows it.
std::string shownText(const Field& field) {
  switch (field.type) {
    case Field::Coordinate:
    case Field::Number:
      return toText(*field.number);
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

// The text a field edit starts from: the value as the panel shows it.
std::string valueText(const Field& field) {
  const std::string shown = shownText(field);
  if (field.type != Field::Coordinate && field.type != Field::Number) return shown;
  return shown.substr(0, shown.find(' '));
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

void drawRow(Media& media, int row, const PanelRow& r) {
  const int y = PANEL_TOP + ROW_STEP * (row - 1);
  if (r.valueX == 0) {
    drawText(media, media.smallFont.get(), r.label + shownText(r.field), media.black, 10, y);
    return;
  }
  drawText(media, media.smallFont.get(), r.label, media.black, 10, y);
  drawText(media, media.smallFont.get(), shownText(r.field), media.black, r.valueX, y);
}

bool isSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool selectionUsable(const Editor& editor) {
  const EditorKind* kind = editorKind(editor.selectedKind);
  if (!kind) return false;
  if (kind->single) return kind->count(editor.world) > 0;
  return editor.selectedIndex >= 0 && editor.selectedIndex < kind->count(editor.world);
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
  const std::vector<PanelRow> rows = selectedRows(editor);
  if (rows.empty() || editorKind(editor.selectedKind)->panel == Panel::Hidden) return;
  for (size_t i = 0; i < rows.size(); ++i) drawRow(editor.media, static_cast<int>(i) + 1, rows[i]);
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
