// Recorded games: the file format, the playback and the world state that replays compare.
#include "sim/replay.h"

#include <istream>
#include <locale>
#include <ostream>
#include <sstream>

#include "sim/tick.h"
#include "world/map_files.h"
#include "world/world.h"

namespace {

constexpr const char* MAGIC = "zor-recording";
constexpr int VERSION = 1;

struct PressName {
  PressKind kind;
  const char* name;
};
const PressName kPressNames[] = {{PressKind::Enter, "Enter"},
                                 {PressKind::NextWeapon, "NextWeapon"},
                                 {PressKind::PreviousWeapon, "PreviousWeapon"},
                                 {PressKind::Motion, "Motion"}};

// The held keys as eight 0/1 flags, in the order of HeldKeys.
std::string heldFlags(const HeldKeys& h) {
  std::string flags;
  for (bool b : {h.forward, h.backward, h.left, h.right, h.faster, h.slower, h.handbrake, h.fire})
    flags += b ? '1' : '0';
  return flags;
}

bool readHeld(const std::string& flags, HeldKeys& h) {
  if (flags.size() != 8) return false;
  bool* fields[] = {&h.forward, &h.backward, &h.left,      &h.right,
                    &h.faster,  &h.slower,   &h.handbrake, &h.fire};
  for (size_t i = 0; i < 8; ++i) {
    if (flags[i] != '0' && flags[i] != '1') return false;
    *fields[i] = flags[i] == '1';
  }
  return true;
}

bool readFrame(std::istringstream& line, FrameInput& frame) {
  std::string flags;
  int leave = 0;
  size_t count = 0;
  if (!(line >> frame.time >> flags >> leave >> count) || !readHeld(flags, frame.held)) return false;
  if (leave != 0 && leave != 1) return false;
  frame.leave = leave == 1;
  for (size_t i = 0; i < count; ++i) {
    std::string name;
    Press press;
    if (!(line >> name) || !pressKindOf(name.c_str(), press.kind)) return false;
    if (press.kind == PressKind::Motion && !(line >> press.dx >> press.dy)) return false;
    frame.presses.push_back(press);
  }
  std::string rest;
  return !(line >> rest);
}

template <class T>
void listState(std::ostream& out, const char* name, const RecordList<T>& list) {
  out << name << ' ' << list.count() << '\n';
  for (const auto& r : list) out << r->x << ' ' << r->y << ' ' << r->value << ' ' << r->createdAt << '\n';
}

void bodyState(std::ostream& out, const Body& b) {
  out << b.x << ' ' << b.y << ' ' << b.w << ' ' << b.h << ' ' << b.life << ' ' << b.damage << ' '
      << b.heading << ' ' << b.nextX << ' ' << b.nextY << '\n';
}

}  // namespace

const char* pressName(PressKind kind) {
  for (const PressName& p : kPressNames)
    if (p.kind == kind) return p.name;
  return nullptr;
}

bool pressKindOf(const char* name, PressKind& kind) {
  for (const PressName& p : kPressNames)
    if (std::string(name) == p.name) {
      kind = p.kind;
      return true;
    }
  return false;
}

bool writeRecording(std::ostream& out, const Recording& r) {
  out << MAGIC << ' ' << VERSION << '\n'
      << "seed " << r.seed << '\n'
      << "map " << r.mapName << '\n'
      << "view " << r.viewW << ' ' << r.viewH << '\n'
      << "start " << r.startTime << '\n';
  for (const FrameInput& f : r.frames) {
    out << "frame " << f.time << ' ' << heldFlags(f.held) << ' ' << (f.leave ? 1 : 0) << ' '
        << f.presses.size();
    for (const Press& p : f.presses) {
      out << ' ' << pressName(p.kind);
      if (p.kind == PressKind::Motion) out << ' ' << p.dx << ' ' << p.dy;
    }
    out << '\n';
  }
  return static_cast<bool>(out);
}

bool readRecording(std::istream& in, Recording& r, std::string& error) {
  r = Recording();
  std::string line;
  auto fail = [&error](const std::string& why) {
    error = why;
    return false;
  };
  std::string magic;
  int version = 0;
  if (!std::getline(in, line) || !(std::istringstream(line) >> magic >> version) ||
      magic != MAGIC || version != VERSION)
    return fail("not a ZOR recording");
  std::string key;
  if (!std::getline(in, line) || !(std::istringstream(line) >> key >> r.seed) || key != "seed")
    return fail("no seed line");
  if (!std::getline(in, line) || line.compare(0, 4, "map ") != 0) return fail("no map line");
  r.mapName = line.substr(4);
  if (!std::getline(in, line) || !(std::istringstream(line) >> key >> r.viewW >> r.viewH) ||
      key != "view" || r.viewW <= 0 || r.viewH <= 0)
    return fail("no view line");
  if (!std::getline(in, line) || !(std::istringstream(line) >> key >> r.startTime) ||
      key != "start")
    return fail("no start line");
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    std::istringstream fields(line);
    fields.imbue(std::locale::classic());
    FrameInput frame;
    if (!(fields >> key) || key != "frame" || !readFrame(fields, frame))
      return fail("frame " + std::to_string(r.frames.size() + 1) + " does not read");
    r.frames.push_back(std::move(frame));
  }
  return true;
}

void prepareForRecording(World& world, const Recording& r) {
  world.random.seed(r.seed);
  world.clock.setManual(r.startTime);
  world.view.w = r.viewW;
  world.view.h = r.viewH;
  world.mapName = r.mapName;
}

void playRecording(World& world, const Recording& r) {
  for (const FrameInput& frame : r.frames) {
    tick(world, frame);
    if (frame.leave) break;
  }
}

std::string worldState(const World& world) {
  std::ostringstream out;
  out.imbue(std::locale::classic());
  out.precision(17);
  for (int f = 0; f < MAP_FILE_COUNT; ++f) {
    out << mapFileName(static_cast<MapFile>(f)) << '\n';
    writeMapFile(world, static_cast<MapFile>(f), out);
    out << '\n';
  }
  out << "bullets " << world.bullets.count() << '\n';
  for (const auto& b : world.bullets) bodyState(out, *b);
  listState(out, "deathMarks", world.deathMarks);
  listState(out, "moneyDrops", world.moneyDrops);
  listState(out, "moneyItems", world.moneyItems);
  if (world.player) {
    const Person& p = *world.player;
    out << "player ";
    bodyState(out, p);
    out << p.money << ' ' << p.wantedLevel << ' ' << p.walkSpeed << ' ' << p.currentWeapon << ' '
        << p.inCar << ' ' << p.walkingToCar << ' ' << world.cars.indexOf(p.targetCar) << '\n';
    for (const auto& w : p.weapons) out << w->name << ' ' << w->ammo << ' ' << w->lastShotAt << '\n';
  }
  for (const auto& c : world.cars) out << c->speed << ' ' << c->driver << '\n';
  out << "clock " << world.clock.now() << " cursor " << world.cursorX << ' ' << world.cursorY
      << " view " << world.view.x << ' ' << world.view.y << ' ' << world.view.w << ' '
      << world.view.h << '\n';
  RandomStream next = world.random;
  out << "random " << next.next() << ' ' << next.next() << '\n';
  return out.str();
}
