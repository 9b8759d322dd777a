// The game's pictures turned to a heading, kept per image and angle between frames, up to a
// fixed number of bytes, and drawn onto the screen.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <list>
#include <unordered_map>
#include <vector>

#include "render/surface.h"

// An image turned to one angle and keyed pure green. Where the screen takes direct 32-bit
// writes and every pixel is fully opaque or fully clear, it is held ready for the screen: per
// row, spans of opaque pixels already in the screen's layout and spans of clear ones (which
// only lose the screen's spare byte, as SDL's blit does); key pixels leave the screen alone.
// Otherwise it keeps the turned surface, which SDL blits.
struct TurnedPicture {
  struct Span {
    int32_t x = 0, length = 0;
    int32_t first = -1;  // index of its first pixel in `pixels`; -1 for a clear span
  };
  int w = 0, h = 0;
  SurfacePtr surface;               // when not held ready for the screen
  std::vector<Span> spans;          // row by row, left to right
  std::vector<int32_t> rowSpans;    // spans of row r: [rowSpans[r], rowSpans[r + 1])
  std::vector<Uint32> pixels;       // opaque pixels in the screen's layout
  size_t bytes = 0;                 // what it holds, for the budget
};

// The kept pictures, most recently used first; the least recently used ones go when the
// budget is passed. A picture is turned the same for the same image and angle, so drawing a
// kept one gives exactly the pixels of turning it afresh.
class TurnedPictures {
 public:
  static constexpr size_t kDefaultBudget = 8u << 20;

  // `frame` turned by `angle` degrees, ready for `screen`; nullptr when the frame is empty or
  // cannot be turned. Whole-degree angles are kept; any other (or any, while keeping is off) is
  // turned for this frame only. The picture stays valid until endFrame or clear.
  const TurnedPicture* get(SDL_Surface* frame, double angle, SDL_Surface* screen);
  // Lets go of this frame's unkept pictures and of the least recently used kept ones beyond
  // the budget.
  void endFrame();

  // Forgets every picture (the images were reloaded).
  void clear();
  // Turns the keeping off or on again. Off, every picture is turned afresh each time and
  // blitted as a surface: the plain reference the tests compare with.
  void setKeeping(bool keep);

  size_t count() const { return order_.size(); }
  size_t bytes() const { return bytes_; }
  void setBudget(size_t bytes) { budget_ = bytes; }

 private:
  struct Key {
    const SDL_Surface* frame;
    int64_t angle;
    bool operator==(const Key& o) const { return frame == o.frame && angle == o.angle; }
  };
  struct KeyHash {
    size_t operator()(const Key& k) const;
  };
  struct Kept {
    Key key;
    TurnedPicture picture;
  };
  // The screen layout the kept pictures were made for; another screen empties the cache.
  struct Layout {
    Uint32 rMask = 0, gMask = 0, bMask = 0;
    bool direct = false;
  };

  std::list<Kept> order_;
  std::unordered_map<Key, std::list<Kept>::iterator, KeyHash> index_;
  size_t bytes_ = 0;
  size_t budget_ = kDefaultBudget;
  bool keeping_ = true;
  Layout layout_;
  std::deque<TurnedPicture> thisFrameOnly_;
};

// Turns `frame` by `angle` degrees into `out`, ready for copying onto `screen` where it can
// be and `readyForCopy` asks for it (see TurnedPicture); false when the frame is empty or
// cannot be turned.
bool turnPicture(SDL_Surface* frame, double angle, SDL_Surface* screen, TurnedPicture& out,
                 bool readyForCopy = true);

// Draws the picture with its top-left corner at (x, y), saturated to SDL's 16 bits, with
// exactly the pixels SDL's blit of the turned surface gives.
void drawTurned(SDL_Surface* screen, const TurnedPicture& picture, int64_t x, int64_t y);
