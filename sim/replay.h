// Recorded games: where a game started and every frame's input, written to and read from a
// text file, and played back into a world. A replay gives the identical game frame by frame.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "sim/frame_input.h"

struct World;

struct Recording {
  uint32_t seed = 1;        // the world's random stream at the game's start
  std::string mapName;      // the map the game started on
  int viewW = 0, viewH = 0;  // the view's size: on-screen rules depend on it
  uint32_t startTime = 0;   // the clock when the city was started
  std::vector<FrameInput> frames;
};

// The text form: a "zor-recording 1" line, then seed, map, view and start lines, then one
// "frame" line per frame. Returns false when the stream fails.
bool writeRecording(std::ostream& out, const Recording& recording);
// Reads what writeRecording wrote; false (with `error` set) for anything else.
bool readRecording(std::istream& in, Recording& recording, std::string& error);

// Readies `world` as the recorded game started: seed, hand-driven clock at the start time,
// view size and map name (the caller then starts the city, as the program's start does).
void prepareForRecording(World& world, const Recording& recording);
// Plays every recorded frame through the tick, stopping after a frame the player left in.
void playRecording(World& world, const Recording& recording);

// Everything the rules can see in the world, as text: two worlds that play alike give the same
// bytes (every list through the map-file writer, then bullets, marks, drops, money on the
// roads, the player, the clock, the view and the random stream).
std::string worldState(const World& world);
