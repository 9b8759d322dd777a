// The kinds of object the editor works with, one table entry each: the tool keys, the overlay,
// placing, selecting, deleting and the property panel all work from it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Car;
struct Media;
struct Person;
struct World;

// A numbered property of the selected record: what it stands for and where its value lives.
struct Field {
  enum Type { None, Coordinate, Number, Text, Model, Heading, WeaponIndex };
  Type type = None;
  double* number = nullptr;    // Coordinate, Number
  int32_t* integer = nullptr;  // Model, Heading, WeaponIndex
  std::string* text = nullptr;
  Car* car = nullptr;        // Model: its model name follows
  Person* person = nullptr;  // WeaponIndex: the weapons it carries
};

// One row of the property panel: field n is row n - 1.
struct PanelRow {
  std::string label;  // drawn at the left edge
  int valueX;         // where the value is drawn; 0 puts it right after the label, in one text
  Field field;
};

enum class Panel {
  Shown,     // drawn, and its fields can be typed
  Hidden,    // not drawn, though its fields can be typed (drivers)
  ReadOnly,  // drawn, but no field can be typed (weapons lying in the city)
};

struct EditorKind {
  char key;           // the tool key and the selection's kind letter
  const char* label;  // the tool's name in the overlay (Latin-1)
  bool point;         // placed at the cursor, else drawn as a rectangle
  bool single;        // the player: no list, no position
  int (*count)(const World&);
  // Whether a corner or point may be set at (px, py); `drawing` marks a rectangle's corner.
  bool (*allowed)(const World&, double px, double py, bool drawing);
  // The rectangle preview and the help swatch; nullptr for kinds without one.
  uint32_t (*colour)(const Media&);
  // Makes one at the anchor (a rectangle of w x h); a full list drops it. nullptr: never placed.
  void (*make)(World&, double x, double y, double w, double h);
  void (*remove)(World&, int index);  // nullptr: not deleted
  // Whether a click at (cx, cy) selects record `index`; nullptr: never selected.
  bool (*hit)(const World&, int index, double cx, double cy);
  Panel panel;
  std::vector<PanelRow> (*rows)(World&, int index);
};

// The entry of a kind letter; nullptr for an unknown one (and for ' ', no kind).
const EditorKind* editorKind(char key);
// The kind letters in the order a click tries them: the first hit wins.
extern const char kSelectionOrder[];
