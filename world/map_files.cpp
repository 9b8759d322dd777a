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
#include <type_traits>
#include <variant>

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

// One field of one record on its way in or out. Ints are carried exactly in `number`.
struct Value {
  double number = 0;
  std::string text;
};

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

bool parseField(Type type, const std::string& token, Value& out) {
  switch (type) {
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

void applyFix(Fix fix, double value, Value& v) {
  switch (fix) {
    case Fix::None:
      break;
    case Fix::IfNegative:
      if (v.number < 0) v.number = value;
      break;
    case Fix::Always:
      v.number = value;
      break;
    case Fix::OutsideTable:
      if (v.number < 0 || v.number > 9) v.number = value;
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
std::string tokenOf(const std::string& text, Fix fix) {
  if (text.empty()) return fix == Fix::ZeroMeansEmpty ? "0" : "-";
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

void writeField(std::ostream& out, Type type, Fix fix, const Value& v) {
  switch (type) {
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
      out << tokenOf(v.text, fix);
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

// --- The files ---

// One field of a file: its name, how it is spelled, how the loader corrects it (`value` is
// the number a correction puts in), and the member of the record it fills and is written from.
template <class R>
struct Field {
  using Member = std::variant<double R::*, int32_t R::*, bool R::*, std::string R::*>;

  Field(const char* n, double R::*m, Fix f = Fix::None, double v = 0)
      : name(n), type(Type::Double), fix(f), value(v), member(m) {}
  Field(const char* n, int32_t R::*m, Fix f = Fix::None, double v = 0)
      : name(n), type(Type::Int), fix(f), value(v), member(m) {}
  Field(const char* n, int32_t R::*m, Type t) : name(n), type(t), fix(Fix::None), value(0), member(m) {}
  Field(const char* n, bool R::*m, Fix f, double v)
      : name(n), type(Type::Flag), fix(f), value(v), member(m) {}
  Field(const char* n, std::string R::*m, Fix f = Fix::None)
      : name(n), type(Type::Text), fix(f), value(0), member(m) {}

  void store(R& record, const Value& v) const {
    std::visit(
        [&](auto m) {
          using M = std::decay_t<decltype(record.*m)>;
          if constexpr (std::is_same_v<M, std::string>)
            record.*m = v.text;
          else
            record.*m = static_cast<M>(v.number);
        },
        member);
  }
  void load(const R& record, Value& v) const {
    std::visit(
        [&](auto m) {
          if constexpr (std::is_same_v<std::decay_t<decltype(record.*m)>, std::string>)
            v.text = record.*m;
          else
            v.number = static_cast<double>(record.*m);
        },
        member);
  }

  const char* name;  // as the comment at the top of this file calls it
  Type type;
  Fix fix;
  double value;
  Member member;
};

// A file's records: their list, their fields in file order (x and y lead every record; the
// acceptance rule reads them), the record before any field is read (what the file leaves out),
// and what its creation derives from the fields once they are in.
template <class R>
struct Format {
  RecordList<R> World::*list;
  std::vector<Field<R>> fields;
  std::unique_ptr<R> (*blank)();
  void (*settle)(R&);
};

template <class R>
std::unique_ptr<R> plain() {
  return std::make_unique<R>();
}
template <class R>
void nothing(R&) {}

// A map person: life 100 and hands of power 50 unless the file says otherwise.
std::unique_ptr<Person> mapPerson(const char* name, double money) {
  auto p = std::make_unique<Person>();
  p->name = name;
  p->flag = true;
  p->life = 100.0;
  p->handsPower = 50.0;
  p->money = money;
  return p;
}
void settlePerson(Person& p) {
  settleBody(p);
  giveHands(p);
}

const Format<House> kHouses{
    &World::houses,
    {{"x", &House::x},
     {"y", &House::y},
     {"width", &House::w},
     {"height", &House::h},
     {"text", &House::text, Fix::ZeroMeansEmpty},
     {"life", &House::life, Fix::IfNegative, 100.0},
     {"damage", &House::damage, Fix::IfNegative, 0.0},
     {"colour", &House::colourIndex, Fix::OutsideTable, 0}},
    plain<House>,
    nothing<House>};

const Format<Road> kRoads{
    &World::roads,
    {{"x", &Road::x}, {"y", &Road::y}, {"width", &Road::w}, {"height", &Road::h},
     {"name", &Road::name}},
    plain<Road>,
    nothing<Road>};

const Format<Car> kCars{
    &World::cars,
    {{"x", &Car::x, Fix::WholeInside},
     {"y", &Car::y, Fix::WholeInside},
     {"width", &Car::w},
     {"height", &Car::h},
     {"damage", &Car::damage, Fix::IfNegative, 0.0},
     {"life", &Car::life, Fix::IfNegative, 100.0},
     {"heading", &Car::heading, Fix::IfNegative, 0},
     {"maxSpeed", &Car::maxSpeed, Fix::IfNegative, 100.0},
     {"model", &Car::model, Fix::IfNegative, 0},
     {"spare", &Car::spareInt, Fix::IfNegative, 4},
     {"startSpeed", &Car::startSpeed, Fix::IfNegative, 1.0},
     {"acceleration", &Car::acceleration, Fix::IfNegative, 10.0}},
    plain<Car>,
    [](Car& car) {
      settleBody(car);
      car.speed = car.startSpeed;
      car.modelName = modelNameOf(car.model);
    }};

const Format<Person> kPedestrians{
    &World::pedestrians,
    {{"x", &Person::x},
     {"y", &Person::y},
     {"width", &Person::w},
     {"height", &Person::h},
     {"flag", &Person::flag, Fix::Always, 1},
     {"damage", &Person::damage, Fix::IfNegative, 0.0},
     {"heading", &Person::heading, Fix::Always, 0},
     {"kind", &Person::kind, Fix::IfNegative, 0},
     {"life", &Person::life, Fix::IfNegative, 100.0},
     {"topWalkSpeed", &Person::topWalkSpeed, Fix::Always, 5.0},
     {"money", &Person::money, Fix::IfNegative, 0.0},
     {"name", &Person::name},
     {"wantedLevel", &Person::wantedLevel, Fix::IfNegative, 0.0}},
    [] { return mapPerson("", 0.0); },
    settlePerson};

const Format<Weapon> kWeapons{
    &World::weapons,
    {{"x", &Weapon::x},
     {"y", &Weapon::y},
     {"width", &Weapon::w},
     {"height", &Weapon::h},
     {"range", &Weapon::range, Fix::Always, 1000},
     {"power", &Weapon::power},
     {"name", &Weapon::name},
     {"ammo", &Weapon::ammo},
     {"rate", &Weapon::rate},
     {"weaponImage", &Weapon::weaponImage},
     {"bulletImage", &Weapon::imageIndex, Type::DoubleAsInt}},
    plain<Weapon>,
    nothing<Weapon>};

const Format<Sidewalk> kSidewalks{
    &World::sidewalks,
    {{"x", &Sidewalk::x}, {"y", &Sidewalk::y}, {"width", &Sidewalk::w},
     {"height", &Sidewalk::h}},
    plain<Sidewalk>,
    nothing<Sidewalk>};

const Format<Lawn> kLawns{
    &World::lawns,
    {{"x", &Lawn::x, Fix::WholeInside},
     {"y", &Lawn::y, Fix::WholeInside},
     {"width", &Lawn::w, Fix::Truncate},
     {"height", &Lawn::h, Fix::Truncate},
     {"colour", &Lawn::colourIndex}},
    plain<Lawn>,
    nothing<Lawn>};

// Drivers and bad guys: only where they stand is in the file.
const std::vector<Field<Person>> kPlace{
    {"x", &Person::x}, {"y", &Person::y}, {"width", &Person::w}, {"height", &Person::h}};

const Format<Person> kDrivers{&World::drivers, kPlace, [] { return mapPerson("Tarko", 1000.0); },
                              settlePerson};

const Format<Person> kBadGuys{&World::badGuys, kPlace, [] { return mapPerson("Eno", 10.0); },
                              [](Person& p) {
                                settlePerson(p);
                                addWeapon(p, makeAK47(p.x, p.y));
                                addWeapon(p, makeM4(p.x, p.y));
                                p.currentWeapon = 2;  // the M4
                              }};

// Calls f with the format of a file.
template <class F>
void withFormat(MapFile file, F&& f) {
  switch (file) {
    case MapFile::Houses: return f(kHouses);
    case MapFile::Roads: return f(kRoads);
    case MapFile::Cars: return f(kCars);
    case MapFile::Pedestrians: return f(kPedestrians);
    case MapFile::Weapons: return f(kWeapons);
    case MapFile::Sidewalks: return f(kSidewalks);
    case MapFile::Lawns: return f(kLawns);
    case MapFile::Drivers: return f(kDrivers);
    case MapFile::BadGuys: return f(kBadGuys);
  }
}

template <class R>
void readRecords(World& world, const Format<R>& format, std::istream& in) {
  RecordList<R>& list = world.*format.list;
  const size_t fieldCount = format.fields.size();
  std::vector<Value> values(fieldCount);
  std::string token;
  while (!list.full()) {
    for (size_t k = 0; k < fieldCount; ++k) {
      if (!(in >> token)) return;
      if (!parseField(format.fields[k].type, token, values[k])) return;
    }
    if (!insideWorld(values[0].number, values[1].number)) continue;
    auto record = format.blank();
    for (size_t k = 0; k < fieldCount; ++k) {
      const Field<R>& field = format.fields[k];
      applyFix(field.fix, field.value, values[k]);
      field.store(*record, values[k]);
    }
    format.settle(*record);
    list.append(std::move(record));
  }
}

template <class R>
void writeRecords(const World& world, const Format<R>& format, std::ostream& out) {
  const RecordList<R>& list = world.*format.list;
  Value value;
  for (int i = 0; i < list.count(); ++i) {
    for (size_t k = 0; k < format.fields.size(); ++k) {
      const Field<R>& field = format.fields[k];
      field.load(*list[i], value);
      if (k > 0) out << ' ';
      if (k < 2)
        writeCoordinate(out, value.number);
      else
        writeField(out, field.type, field.fix, value);
    }
    if (i != list.count() - 1) out << '\n';
  }
}

}  // namespace

const char* mapFileName(MapFile file) {
  static const char* const kNames[MAP_FILE_COUNT] = {
      "houses.txt",    "roads.txt", "cars.txt",    "pedestrants.txt", "weapons.txt",
      "sidewalks.txt", "lawns.txt", "drivers.txt", "badguys.txt"};
  return kNames[static_cast<int>(file)];
}

std::string mapFilePath(const std::string& mapName, MapFile file) {
  return mapFolder(mapName) + "/" + mapFileName(file);
}

void readMapFile(World& world, MapFile file, std::istream& in) {
  withFormat(file, [&](const auto& format) { readRecords(world, format, in); });
}

void writeMapFile(const World& world, MapFile file, std::ostream& out) {
  withFormat(file, [&](const auto& format) { writeRecords(world, format, out); });
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
