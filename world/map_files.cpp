// Map folders on disk: the loader, the writer, the network links and the level list.
//
// For map makers. A map is the folder "maps/<name>/" with nine text files. Each file
// holds one record per line, fields separated by one blank. Any white space (blank,
// tab, line break, carriage return) separates fields when reading, so the line layout
// is a courtesy. x and y of every record must lie strictly inside 0..3000 as written,
// or the record is dropped (the writer never writes a kept record's x or y as 0 or 3000). Reading a file stops at the first field that does not
// read as its type (an int must be a plain integer such as 12 or -3; a double may be
// written 12, 0.5, -1.25 or 1e+06; "inf", "nan" and hex forms are refused), at the end
// of the file inside a record, and when the list is full (500 records); the records
// before stay. Doubles are saved with six significant digits.
//
// houses.txt     x y width height text life damage colour
//                  text: "0" means no text; life < 0 -> 100; damage < 0 -> 0;
//                  colour (int) outside 0..9 -> 0
// roads.txt      x y width height name
// cars.txt       x y width height damage life heading maxSpeed model spare startSpeed
//                acceleration   (x, y are the centre)
//                  x, y truncated to whole numbers (at least 1); damage < 0 -> 0; life < 0 -> 100;
//                  heading (int) < 0 -> 0; maxSpeed < 0 -> 100; model (int) < 0 -> 0;
//                  spare (int) < 0 -> 4; startSpeed < 0 -> 1 (also the speed);
//                  acceleration < 0 -> 10
// pedestrants.txt  x y width height flag damage heading kind life topWalkSpeed money
//                name wantedLevel   (centre)
//                  flag must be 0 or 1 but is always loaded as 1; heading (int) always
//                  loads as 0; topWalkSpeed always loads as 5; damage < 0 -> 0;
//                  kind (int) < 0 -> 0; life < 0 -> 100; money < 0 -> 0;
//                  wantedLevel < 0 -> 0
// weapons.txt    x y width height range power name ammo rate weaponImage bulletImage
//                  range (int) always loads as 1000; ammo, weaponImage are ints;
//                  bulletImage may be written as a double and is truncated toward zero
// sidewalks.txt  x y width height
// lawns.txt      x y width height colour   (x..height truncated to whole numbers, x and y
//                  at least 1)
// drivers.txt    x y width height   (centre; every driver is "Tarko", on foot)
// badguys.txt    x y width height   (centre; every bad guy is "Eno" with AK47 and M4)
//
// Texts are single fields. The writer replaces blanks, tabs and line breaks inside a
// text by '_' and writes an empty text as "-" (an empty house text as "0"), so no text
// can split or shift the records after it.
// Widths and heights are kept as written, however large; a house, road, sidewalk or lawn
// with a negative one is neither drawn nor in anyone's way.
// Lawn colours, car models, pedestrian kinds and weapon and bullet pictures beyond the
// ten pictures or colours are kept as written (they survive a save); whoever draws
// them falls back to entry 0.
#include "world/map_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <locale>
#include <sstream>

#include "world/data_folders.h"
#include "world/world.h"
#include "world/lifetime.h"

namespace {

// How a field is spelled in the file.
enum class Type {
  Double,
  Int,
  Flag,          // an int that must be 0 or 1
  Text,          // one token
  DoubleAsInt,   // read as a double, truncated toward zero to an int
};

// What the loader does with a value once the whole record has been read.
enum class Fix {
  None,
  IfNegative,      // a negative value becomes `value`
  Always,          // read, but the record always takes `value`
  OutsideTable,    // outside 0..9 becomes `value`
  Truncate,        // truncated toward zero to a whole number
  WholeInside,     // a coordinate truncated toward zero, but at least 1: still inside the world
  ZeroMeansEmpty,  // the text "0" is the empty text (and the empty text is written "0")
};

struct Field {
  Type type;
  Fix fix;
  double value;
};

// One field of one record on its way in or out. Ints are carried exactly in `number`.
struct Value {
  double number = 0;
  std::string text;
};
using Values = std::vector<Value>;

// x and y lead every record; the acceptance rule reads them.
constexpr Field kX{Type::Double, Fix::None, 0};
constexpr Field kWholeX{Type::Double, Fix::WholeInside, 0};
constexpr Field kDouble{Type::Double, Fix::None, 0};
constexpr Field kInt{Type::Int, Fix::None, 0};
constexpr Field kText{Type::Text, Fix::None, 0};
constexpr Field kWhole{Type::Double, Fix::Truncate, 0};

struct FileFormat {
  MapFile file;
  const char* name;
  std::vector<Field> fields;
  bool (*full)(const World&);
  void (*add)(World&, const Values&);
  int (*count)(const World&);
  void (*emit)(const World&, int index, Values&);
};

int32_t asInt(const Value& v) { return static_cast<int32_t>(v.number); }

// --- Houses ---
void addHouse(World& world, const Values& v) {
  auto house = std::make_unique<House>();
  house->x = v[0].number;
  house->y = v[1].number;
  house->w = v[2].number;
  house->h = v[3].number;
  house->text = v[4].text;
  house->life = v[5].number;
  house->damage = v[6].number;
  house->colourIndex = asInt(v[7]);
  world.houses.append(std::move(house));
}
void emitHouse(const World& world, int i, Values& v) {
  const House& r = *world.houses[i];
  v[0].number = r.x;
  v[1].number = r.y;
  v[2].number = r.w;
  v[3].number = r.h;
  v[4].text = r.text;
  v[5].number = r.life;
  v[6].number = r.damage;
  v[7].number = r.colourIndex;
}

// --- Roads ---
void addRoad(World& world, const Values& v) {
  auto road = std::make_unique<Road>();
  road->x = v[0].number;
  road->y = v[1].number;
  road->w = v[2].number;
  road->h = v[3].number;
  road->name = v[4].text;
  world.roads.append(std::move(road));
}
void emitRoad(const World& world, int i, Values& v) {
  const Road& r = *world.roads[i];
  v[0].number = r.x;
  v[1].number = r.y;
  v[2].number = r.w;
  v[3].number = r.h;
  v[4].text = r.name;
}

// --- Cars ---
void addCar(World& world, const Values& v) {
  world.cars.append(makeMapCar(v[0].number, v[1].number, v[2].number, v[3].number, v[4].number,
                               v[5].number, asInt(v[6]), v[7].number, asInt(v[8]), asInt(v[9]),
                               v[10].number, v[11].number));
}
void emitCar(const World& world, int i, Values& v) {
  const Car& c = *world.cars[i];
  v[0].number = c.x;
  v[1].number = c.y;
  v[2].number = c.w;
  v[3].number = c.h;
  v[4].number = c.damage;
  v[5].number = c.life;
  v[6].number = c.heading;
  v[7].number = c.maxSpeed;
  v[8].number = c.model;
  v[9].number = c.spareInt;
  v[10].number = c.startSpeed;
  v[11].number = c.acceleration;
}

// --- Pedestrians ---
void addPedestrian(World& world, const Values& v) {
  auto p = makePerson(v[11].text, nullptr, 0, v[4].number != 0, false, v[8].number, v[5].number,
                      v[12].number, v[0].number, v[1].number, v[2].number, v[3].number, {}, 50.0,
                      v[10].number);
  p->heading = p->secondHeading = asInt(v[6]);
  p->kind = asInt(v[7]);
  p->topWalkSpeed = v[9].number;
  world.pedestrians.append(std::move(p));
}
void emitPedestrian(const World& world, int i, Values& v) {
  const Person& p = *world.pedestrians[i];
  v[0].number = p.x;
  v[1].number = p.y;
  v[2].number = p.w;
  v[3].number = p.h;
  v[4].number = p.flag ? 1 : 0;
  v[5].number = p.damage;
  v[6].number = p.heading;
  v[7].number = p.kind;
  v[8].number = p.life;
  v[9].number = p.topWalkSpeed;
  v[10].number = p.money;
  v[11].text = p.name;
  v[12].number = p.wantedLevel;
}

// --- Weapons lying in the city ---
void addMapWeapon(World& world, const Values& v) {
  auto w = makeWeapon(v[6].text, v[0].number, v[1].number, asInt(v[7]), asInt(v[4]), asInt(v[9]),
                      asInt(v[10]), v[5].number, v[8].number);
  w->w = v[2].number;
  w->h = v[3].number;
  w->lastShotAt = 0;
  world.weapons.append(std::move(w));
}
void emitWeapon(const World& world, int i, Values& v) {
  const Weapon& w = *world.weapons[i];
  v[0].number = w.x;
  v[1].number = w.y;
  v[2].number = w.w;
  v[3].number = w.h;
  v[4].number = w.range;
  v[5].number = w.power;
  v[6].text = w.name;
  v[7].number = w.ammo;
  v[8].number = w.rate;
  v[9].number = w.weaponImage;
  v[10].number = w.imageIndex;
}

// --- Sidewalks ---
void addSidewalk(World& world, const Values& v) {
  auto s = std::make_unique<Sidewalk>();
  s->x = v[0].number;
  s->y = v[1].number;
  s->w = v[2].number;
  s->h = v[3].number;
  s->spare = 0;
  world.sidewalks.append(std::move(s));
}
void emitSidewalk(const World& world, int i, Values& v) {
  const Sidewalk& s = *world.sidewalks[i];
  v[0].number = s.x;
  v[1].number = s.y;
  v[2].number = s.w;
  v[3].number = s.h;
}

// --- Lawns ---
void addLawn(World& world, const Values& v) {
  auto l = std::make_unique<Lawn>();
  l->x = v[0].number;
  l->y = v[1].number;
  l->w = v[2].number;
  l->h = v[3].number;
  l->colourIndex = asInt(v[4]);
  world.lawns.append(std::move(l));
}
void emitLawn(const World& world, int i, Values& v) {
  const Lawn& l = *world.lawns[i];
  v[0].number = l.x;
  v[1].number = l.y;
  v[2].number = l.w;
  v[3].number = l.h;
  v[4].number = l.colourIndex;
}

// --- Drivers and bad guys: only where they stand is in the file ---
void addDriver(World& world, const Values& v) {
  world.drivers.append(makePerson("Tarko", nullptr, 0, true, false, 100.0, 0.0, 0.0, v[0].number,
                                  v[1].number, v[2].number, v[3].number, {}, 50.0, 1000.0));
}
void addBadGuy(World& world, const Values& v) {
  auto p = makePerson("Eno", nullptr, 0, true, false, 100.0, 0.0, 0.0, v[0].number, v[1].number,
                      v[2].number, v[3].number, {}, 50.0, 10.0);
  addWeapon(*p, makeAK47(p->x, p->y));
  addWeapon(*p, makeM4(p->x, p->y));
  if (p->weapons.size() > 2) p->currentWeapon = 2;  // the M4
  world.badGuys.append(std::move(p));
}
void emitPlace(const Person& p, Values& v) {
  v[0].number = p.x;
  v[1].number = p.y;
  v[2].number = p.w;
  v[3].number = p.h;
}

// The nine file tables, in loading order (the order of MapFile).
const std::vector<FileFormat>& formats() {
  static const std::vector<FileFormat> table = {
      {MapFile::Houses,
       "houses.txt",
       {kX, kX, kDouble, kDouble, {Type::Text, Fix::ZeroMeansEmpty, 0},
        {Type::Double, Fix::IfNegative, 100.0}, {Type::Double, Fix::IfNegative, 0.0},
        {Type::Int, Fix::OutsideTable, 0}},
       [](const World& w) { return w.houses.full(); }, addHouse,
       [](const World& w) { return w.houses.count(); }, emitHouse},
      {MapFile::Roads,
       "roads.txt",
       {kX, kX, kDouble, kDouble, kText},
       [](const World& w) { return w.roads.full(); }, addRoad,
       [](const World& w) { return w.roads.count(); }, emitRoad},
      {MapFile::Cars,
       "cars.txt",
       {kWholeX, kWholeX, kDouble, kDouble,
        {Type::Double, Fix::IfNegative, 0.0},     // damage
        {Type::Double, Fix::IfNegative, 100.0},   // life
        {Type::Int, Fix::IfNegative, 0},          // heading
        {Type::Double, Fix::IfNegative, 100.0},   // maxSpeed
        {Type::Int, Fix::IfNegative, 0},          // model
        {Type::Int, Fix::IfNegative, 4},          // spare
        {Type::Double, Fix::IfNegative, 1.0},     // startSpeed
        {Type::Double, Fix::IfNegative, 10.0}},   // acceleration
       [](const World& w) { return w.cars.full(); }, addCar,
       [](const World& w) { return w.cars.count(); }, emitCar},
      {MapFile::Pedestrians,
       "pedestrants.txt",
       {kX, kX, kDouble, kDouble,
        {Type::Flag, Fix::Always, 1},            // flag
        {Type::Double, Fix::IfNegative, 0.0},    // damage
        {Type::Int, Fix::Always, 0},             // heading
        {Type::Int, Fix::IfNegative, 0},         // kind
        {Type::Double, Fix::IfNegative, 100.0},  // life
        {Type::Double, Fix::Always, 5.0},        // topWalkSpeed
        {Type::Double, Fix::IfNegative, 0.0},    // money
        kText,                                   // name
        {Type::Double, Fix::IfNegative, 0.0}},   // wantedLevel
       [](const World& w) { return w.pedestrians.full(); }, addPedestrian,
       [](const World& w) { return w.pedestrians.count(); }, emitPedestrian},
      {MapFile::Weapons,
       "weapons.txt",
       {kX, kX, kDouble, kDouble,
        {Type::Int, Fix::Always, 1000},  // range
        kDouble,                         // power
        kText,                           // name
        kInt,                            // ammo
        kDouble,                         // rate
        kInt,                            // weapon picture
        {Type::DoubleAsInt, Fix::None, 0}},  // bullet picture
       [](const World& w) { return w.weapons.full(); }, addMapWeapon,
       [](const World& w) { return w.weapons.count(); }, emitWeapon},
      {MapFile::Sidewalks,
       "sidewalks.txt",
       {kX, kX, kDouble, kDouble},
       [](const World& w) { return w.sidewalks.full(); }, addSidewalk,
       [](const World& w) { return w.sidewalks.count(); }, emitSidewalk},
      {MapFile::Lawns,
       "lawns.txt",
       {kWholeX, kWholeX, kWhole, kWhole, kInt},
       [](const World& w) { return w.lawns.full(); }, addLawn,
       [](const World& w) { return w.lawns.count(); }, emitLawn},
      {MapFile::Drivers,
       "drivers.txt",
       {kX, kX, kDouble, kDouble},
       [](const World& w) { return w.drivers.full(); }, addDriver,
       [](const World& w) { return w.drivers.count(); },
       [](const World& w, int i, Values& v) { emitPlace(*w.drivers[i], v); }},
      {MapFile::BadGuys,
       "badguys.txt",
       {kX, kX, kDouble, kDouble},
       [](const World& w) { return w.badGuys.full(); }, addBadGuy,
       [](const World& w) { return w.badGuys.count(); },
       [](const World& w, int i, Values& v) { emitPlace(*w.badGuys[i], v); }},
  };
  return table;
}

const FileFormat& formatOf(MapFile file) { return formats()[static_cast<int>(file)]; }

// A plain integer: optional sign and digits, inside the 32-bit range.
bool parseInt(const std::string& token, double& out) {
  size_t i = (!token.empty() && (token[0] == '+' || token[0] == '-')) ? 1 : 0;
  if (i == token.size()) return false;
  for (size_t k = i; k < token.size(); ++k)
    if (token[k] < '0' || token[k] > '9') return false;
  errno = 0;
  long long v = std::strtoll(token.c_str(), nullptr, 10);
  if (errno == ERANGE || v < INT32_MIN || v > INT32_MAX) return false;
  out = static_cast<double>(v);
  return true;
}

// A finite decimal or exponent form: [sign] digits [. digits] [e [sign] digits], with
// digits on at least one side of the point.
bool parseDouble(const std::string& token, double& out) {
  size_t i = 0, n = token.size();
  auto digits = [&] {
    size_t start = i;
    while (i < n && token[i] >= '0' && token[i] <= '9') ++i;
    return i - start;
  };
  if (i < n && (token[i] == '+' || token[i] == '-')) ++i;
  size_t mantissa = digits();
  if (i < n && token[i] == '.') {
    ++i;
    mantissa += digits();
  }
  if (mantissa == 0) return false;
  if (i < n && (token[i] == 'e' || token[i] == 'E')) {
    ++i;
    if (i < n && (token[i] == '+' || token[i] == '-')) ++i;
    if (digits() == 0) return false;
  }
  if (i != n) return false;
  double v = std::strtod(token.c_str(), nullptr);
  if (!std::isfinite(v)) return false;
  out = v;
  return true;
}

bool parseField(const Field& field, const std::string& token, Value& out) {
  switch (field.type) {
    case Type::Double:
      return parseDouble(token, out.number);
    case Type::Int:
      return parseInt(token, out.number);
    case Type::Flag:
      return parseInt(token, out.number) && (out.number == 0 || out.number == 1);
    case Type::Text:
      out.text = token;
      return true;
    case Type::DoubleAsInt: {
      double v;
      if (!parseDouble(token, v)) return false;
      v = std::trunc(v);
      if (v < INT32_MIN || v > INT32_MAX) return false;
      out.number = v;
      return true;
    }
  }
  return false;
}

void applyFix(const Field& field, Value& v) {
  switch (field.fix) {
    case Fix::None:
      break;
    case Fix::IfNegative:
      if (v.number < 0) v.number = field.value;
      break;
    case Fix::Always:
      v.number = field.value;
      break;
    case Fix::OutsideTable:
      if (v.number < 0 || v.number > 9) v.number = field.value;
      break;
    case Fix::Truncate:
      v.number = std::trunc(v.number);
      break;
    case Fix::WholeInside:
      // 0 < x < 1 passed the acceptance rule; as 0 it would be dropped by the next load.
      v.number = std::max(1.0, std::trunc(v.number));
      break;
    case Fix::ZeroMeansEmpty:
      if (v.text == "0") v.text.clear();
      break;
  }
}

bool insideWorld(double x, double y) { return x > 0 && x < WORLD_SIZE && y > 0 && y < WORLD_SIZE; }

// A text as one token: white space would split it into several fields on reading.
std::string tokenOf(const std::string& text, const Field& field) {
  if (text.empty()) return field.fix == Fix::ZeroMeansEmpty ? "0" : "-";
  std::string token = text;
  for (char& c : token)
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f') c = '_';
  return token;
}

// Six significant digits round 2999.9995 and above up to 3000, where the acceptance rule
// would drop the record on the next load: such an x or y is written as the nearest
// six-digit value inside the world instead. (No positive value rounds down to 0.)
void writeCoordinate(std::ostream& out, double v) {
  std::ostringstream six;
  six.imbue(std::locale::classic());
  six << v;
  if (v > 0 && v < WORLD_SIZE && std::strtod(six.str().c_str(), nullptr) >= WORLD_SIZE)
    out << WORLD_SIZE - 0.01;
  else
    out << (std::isfinite(v) ? v : 0.0);
}

void writeField(std::ostream& out, const Field& field, const Value& v) {
  switch (field.type) {
    case Type::Double:
      // A value the loader cannot read would end the file there and lose every
      // record after it; 0 is read back (and such a record is dropped on its own).
      out << (std::isfinite(v.number) ? v.number : 0.0);
      break;
    case Type::Int:
    case Type::Flag:
    case Type::DoubleAsInt:
      out << static_cast<long long>(v.number);
      break;
    case Type::Text:
      out << tokenOf(v.text, field);
      break;
  }
}

// What failed, for the editor's message: "maps/town/houses.txt: No space left on device".
std::string failure(const std::string& path, int error) {
  return path + ": " + std::strerror(error);
}

// The temporary name of a file being saved. '~' is refused in map names, so no map folder
// can ever take the temporary name of the level list.
std::string temporaryName(const std::string& path) { return path + "~"; }

// Writes the file under a temporary name next to it and renames it into place, so an
// interrupted or failed save leaves the previous file whole. Returns what failed, or "".
std::string replaceFile(const std::string& path, const std::string& content) {
  const std::string temp = temporaryName(path);
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return failure(path, errno);
  int error = 0;
  const char* p = content.data();
  size_t left = content.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errno;
      break;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  if (!error && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && !error) error = errno;
  if (!error && std::rename(temp.c_str(), path.c_str()) != 0) error = errno;
  if (!error) return "";
  ::unlink(temp.c_str());
  return failure(path, error);
}

// Makes the renames themselves durable.
void syncFolder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// The folder of saved maps and their list (the user's, under an installed game) may not exist
// yet on a first save. Map folders inside it are made one level only, as names have no '/'.
void makeSaveFolder() {
  const std::string list = savedLevelListPath();
  std::error_code ignored;
  std::filesystem::create_directories(list.substr(0, list.find_last_of('/')), ignored);
}

template <class List>
void linkSegments(const List& list) {
  const int n = list.count();
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      if (i == j) continue;
      if (rectDistance(rectOf(*list[j]), rectOf(*list[i])) < 4.0)
        list[i]->neighbours.push_back(list[j]);
    }
  }
}

bool holdsPoint(const Rect& r, double px, double py) {
  return px >= r.x && px <= r.x + r.w && py >= r.y && py <= r.y + r.h;
}

bool holdsCornerOf(const Rect& r, const Rect& o) {
  return holdsPoint(r, o.x, o.y) || holdsPoint(r, o.x + o.w, o.y) ||
         holdsPoint(r, o.x, o.y + o.h) || holdsPoint(r, o.x + o.w, o.y + o.h);
}

// Gap between [a, a + aw] and [b, b + bw]; 0 or less when they overlap.
double gap(double a, double aw, double b, double bw) {
  return a < b ? b - (a + aw) : a - (b + bw);
}

}  // namespace

const char* mapFileName(MapFile file) { return formatOf(file).name; }

std::string mapFilePath(const std::string& mapName, MapFile file) {
  return mapFolder(mapName) + "/" + mapFileName(file);
}

void readMapFile(World& world, MapFile file, std::istream& in) {
  const FileFormat& format = formatOf(file);
  const size_t fieldCount = format.fields.size();
  Values values(fieldCount);
  std::string token;
  while (!format.full(world)) {
    for (size_t k = 0; k < fieldCount; ++k) {
      if (!(in >> token)) return;
      if (!parseField(format.fields[k], token, values[k])) return;
    }
    if (!insideWorld(values[0].number, values[1].number)) continue;
    for (size_t k = 0; k < fieldCount; ++k) applyFix(format.fields[k], values[k]);
    format.add(world, values);
  }
}

void writeMapFile(const World& world, MapFile file, std::ostream& out) {
  const FileFormat& format = formatOf(file);
  const size_t fieldCount = format.fields.size();
  Values values(fieldCount);
  const int n = format.count(world);
  for (int i = 0; i < n; ++i) {
    format.emit(world, i, values);
    for (size_t k = 0; k < fieldCount; ++k) {
      if (k > 0) out << ' ';
      if (k < 2)
        writeCoordinate(out, values[k].number);
      else
        writeField(out, format.fields[k], values[k]);
    }
    if (i != n - 1) out << '\n';
  }
}

void linkNetworks(World& world) {
  linkSegments(world.sidewalks);
  linkSegments(world.roads);
}

void loadMap(World& world) {
  // clearWorld also drops every reference the player holds into the old city; a caller
  // that forgot it would otherwise leave drivers standing on deleted roads.
  clearWorld(world);
  clearRemains(world);
  for (int f = 0; f < MAP_FILE_COUNT; ++f) {
    MapFile file = static_cast<MapFile>(f);
    std::ifstream in(mapFilePath(world.mapName, file), std::ios::binary);
    if (!in) continue;
    in.imbue(std::locale::classic());
    readMapFile(world, file, in);
  }
  linkNetworks(world);
}

std::string saveMap(World& world) {
  const std::string folder = mapSaveFolder(world.mapName);
  makeSaveFolder();
  std::string error;
  if (::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) error = failure(folder, errno);
  static const MapFile kSaveOrder[] = {MapFile::Houses,    MapFile::Roads,       MapFile::Cars,
                                       MapFile::Lawns,     MapFile::Pedestrians, MapFile::Sidewalks,
                                       MapFile::Weapons,   MapFile::Drivers,     MapFile::BadGuys};
  for (MapFile file : kSaveOrder) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    writeMapFile(world, file, out);
    // A file that cannot be written keeps its old version; the others are still saved.
    const std::string fileError = replaceFile(folder + "/" + mapFileName(file), out.str());
    if (error.empty()) error = fileError;
  }
  syncFolder(folder);
  return error;
}

std::string saveLevelList(World& world) {
  // Beside the shipped maps the user's list holds only the user's own names.
  std::vector<std::string> shipped;
  if (!dataFolders().userMaps.empty()) shipped = readLevelList(dataFolders().shippedMaps + "/levels.txt");
  std::string content;
  bool first = true;
  for (const std::string& name : world.levels) {
    if (std::find(shipped.begin(), shipped.end(), name) != shipped.end()) continue;
    if (!first) content += '\n';
    content += name;
    first = false;
  }
  const std::string path = savedLevelListPath();
  const std::string folder = path.substr(0, path.find_last_of('/'));
  makeSaveFolder();
  const std::string error = replaceFile(path, content);
  if (error.empty()) syncFolder(folder);
  return error;
}

// Compared without case: on a system whose names ignore case, "Levels.TXT" is the list.
bool reservedMapName(const std::string& name) {
  std::string lower = name;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const std::string tmp = ".tmp";
  const bool endsTmp =
      lower.size() >= tmp.size() && lower.compare(lower.size() - tmp.size(), tmp.size(), tmp) == 0;
  return lower == "levels.txt" || endsTmp;
}

std::vector<std::string> parseLevelList(std::istream& in) {
  std::vector<std::string> names;
  std::string line;
  if (in.peek() == std::char_traits<char>::eof()) return names;
  // Every line is a name, so a list ending with a line break has a last, empty name.
  while (!in.eof()) {
    std::getline(in, line);
    if (in.bad()) break;
    // A list saved on Windows keeps its carriage returns out of the folder names.
    if (!line.empty() && line.back() == '\r') line.pop_back();
    names.push_back(line);
  }
  return names;
}

std::vector<std::string> readLevelList() {
  const DataFolders& folders = dataFolders();
  std::vector<std::string> names = readLevelList(folders.shippedMaps + "/levels.txt");
  if (folders.userMaps.empty()) return names;
  for (const std::string& name : readLevelList(folders.userMaps + "/levels.txt"))
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  return names;
}

std::vector<std::string> readLevelList(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return parseLevelList(in);
}

double rectDistance(const Rect& a, const Rect& b) {
  if (holdsCornerOf(a, b) || holdsCornerOf(b, a)) return 0.0;
  const double gapX = gap(a.x, a.w, b.x, b.w);
  const double gapY = gap(a.y, a.h, b.y, b.h);
  const bool overlapX = gapX <= 0;
  const bool overlapY = gapY <= 0;
  if (overlapX && overlapY) return NO_CONTACT;  // a cross: crossing segments are not linked
  if (overlapX) return gapY;
  if (overlapY) return gapX;
  return std::sqrt(gapX * gapX + gapY * gapY);
}
