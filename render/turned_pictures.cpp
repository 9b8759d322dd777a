// The game's pictures turned to a heading, kept per image and angle between frames, up to a
// fixed number of bytes, and drawn onto the screen.
#include "render/turned_pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "platform/platform.h"
#include "render/blit.h"
#include "render/rotate.h"

namespace {

// Angles kept by whole degree; far beyond any heading a map can hold.
constexpr double kLargestKeptAngle = 1e15;

bool wholeDegrees(double angle) {
  return std::fabs(angle) < kLargestKeptAngle && angle == std::floor(angle);
}

// True when copying the picture's spans onto `screen` gives SDL's blit (see copyTurned in
// blit.cpp, which this mirrors span by span).
bool readyForScreen(const SDL_Surface* screen) {
  return screen && platformDirectPixels() && plain32(screen->format);
}

// Spans of the turned surface as they land on the screen; false when a pixel is neither fully
// opaque nor fully clear (SDL blends it, so the surface is blitted instead).
bool makeSpans(SDL_Surface* turned, const SDL_PixelFormat* screenFormat, TurnedPicture& out) {
  Uint32 key = 0;
  platformColorKey(turned, key);
  key &= 0x00FFFFFF;
  const int rs = screenFormat->Rshift, gs = screenFormat->Gshift, bs = screenFormat->Bshift;
  enum Kind { Skip, Opaque, Clear };
  for (int r = 0; r < turned->h; ++r) {
    out.rowSpans.push_back(static_cast<int32_t>(out.spans.size()));
    const Uint32* in = rowOf(turned, r);
    Kind open = Skip;
    for (int c = 0; c < turned->w; ++c) {
      const Uint32 p = in[c];
      const Uint32 alpha = p >> 24;
      if (alpha != 0 && alpha != 0xFF) return false;
      const Kind kind = (p & 0x00FFFFFF) == key ? Skip : alpha ? Opaque : Clear;
      if (kind != open || kind == Skip) {
        open = kind;
        if (kind != Skip) {
          TurnedPicture::Span span;
          span.x = c;
          span.first = kind == Opaque ? static_cast<int32_t>(out.pixels.size()) : -1;
          out.spans.push_back(span);
        }
      }
      if (kind == Skip) continue;
      ++out.spans.back().length;
      if (kind == Opaque)
        out.pixels.push_back(((p & 0xFF) << rs) | (((p >> 8) & 0xFF) << gs) |
                             (((p >> 16) & 0xFF) << bs));
    }
  }
  out.rowSpans.push_back(static_cast<int32_t>(out.spans.size()));
  return true;
}

// Clears the spare byte of n screen pixels. Reading first, eight pixels at a time: the
// screen's spare bytes are mostly clear already, and pixels not written stay out of the
// cache's write-backs (writing back a pixel whose spare byte is clear changes nothing).
void keepColourOnly(Uint32* p, int n, Uint32 rgbMask) {
  const Uint32 spare = ~rgbMask;
  const uint64_t spares = (uint64_t{spare} << 32) | spare;
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t q[4];
    std::memcpy(q, p + i, sizeof q);
    if (((q[0] | q[1] | q[2] | q[3]) & spares) == 0) continue;
    for (int k = i; k < i + 8; ++k) p[k] &= rgbMask;
  }
  for (; i < n; ++i)
    if (p[i] & spare) p[i] &= rgbMask;
}

}  // namespace

bool turnPicture(SDL_Surface* frame, double angle, SDL_Surface* screen, TurnedPicture& out,
                 bool readyForCopy) {
  out = TurnedPicture();
  if (!frame) return false;
  SurfacePtr turned = rotateSprite(frame, angle, 1.0);
  if (!turned) return false;
  platformSetColorKey(turned.get(), SDL_MapRGB(frame->format, 0, 255, 0));
  out.w = turned->w;
  out.h = turned->h;
  if (readyForCopy && readyForScreen(screen) && !SDL_MUSTLOCK(turned.get()) &&
      makeSpans(turned.get(), screen->format, out)) {
    out.spans.shrink_to_fit();
    out.pixels.shrink_to_fit();
    out.bytes = sizeof out + out.spans.size() * sizeof(TurnedPicture::Span) +
                out.rowSpans.size() * sizeof(int32_t) + out.pixels.size() * sizeof(Uint32);
    return true;
  }
  out.spans.clear();
  out.rowSpans.clear();
  out.pixels.clear();
  out.bytes = sizeof out + static_cast<size_t>(turned->h) * turned->pitch;
  out.surface = std::move(turned);
  return true;
}

void drawTurned(SDL_Surface* screen, const TurnedPicture& picture, int64_t x, int64_t y) {
  if (!screen) return;
  if (picture.surface) {
    blitAt(screen, picture.surface.get(), x, y);
    return;
  }
  if (picture.rowSpans.empty()) return;
  const int left = toSint16(x), top = toSint16(y);
  int dx = left, dy = top, w = picture.w, h = picture.h;
  if (!clipTo(screen, dx, dy, w, h)) return;
  // Columns of the picture that land inside the clip rectangle.
  const int from = dx - left, to = from + w;
  if (SDL_MUSTLOCK(screen) && SDL_LockSurface(screen) != 0) return;
  const SDL_PixelFormat* f = screen->format;
  const Uint32 rgbMask = f->Rmask | f->Gmask | f->Bmask;
  for (int r = dy - top; r < dy - top + h; ++r) {
    Uint32* out = rowOf(screen, top + r);
    for (int s = picture.rowSpans[r]; s < picture.rowSpans[r + 1]; ++s) {
      const TurnedPicture::Span& span = picture.spans[s];
      const int a = std::max(span.x, from), b = std::min(span.x + span.length, to);
      if (a >= b) continue;
      if (span.first < 0) {
        keepColourOnly(out + left + a, b - a, rgbMask);
      } else {
        std::memcpy(out + left + a, &picture.pixels[span.first + (a - span.x)],
                    static_cast<size_t>(b - a) * sizeof(Uint32));
      }
    }
  }
  if (SDL_MUSTLOCK(screen)) SDL_UnlockSurface(screen);
}

size_t TurnedPictures::KeyHash::operator()(const Key& k) const {
  return std::hash<const void*>()(k.frame) ^ (static_cast<size_t>(k.angle) * 0x9E3779B97F4A7C15u);
}

const TurnedPicture* TurnedPictures::get(SDL_Surface* frame, double angle, SDL_Surface* screen) {
  if (!frame) return nullptr;
  Layout layout;
  layout.direct = readyForScreen(screen);
  if (layout.direct) {
    layout.rMask = screen->format->Rmask;
    layout.gMask = screen->format->Gmask;
    layout.bMask = screen->format->Bmask;
  }
  if (layout.direct != layout_.direct || layout.rMask != layout_.rMask ||
      layout.gMask != layout_.gMask || layout.bMask != layout_.bMask) {
    clear();
    layout_ = layout;
  }
  if (!keeping_ || !wholeDegrees(angle)) {
    thisFrameOnly_.emplace_back();
    if (turnPicture(frame, angle, screen, thisFrameOnly_.back(), keeping_))
      return &thisFrameOnly_.back();
    thisFrameOnly_.pop_back();
    return nullptr;
  }

  const Key key{frame, static_cast<int64_t>(angle)};
  const auto found = index_.find(key);
  if (found != index_.end()) {
    order_.splice(order_.begin(), order_, found->second);
    return &found->second->picture;
  }
  Kept kept{key, TurnedPicture()};
  if (!turnPicture(frame, angle, screen, kept.picture)) return nullptr;
  bytes_ += kept.picture.bytes;
  order_.push_front(std::move(kept));
  index_[key] = order_.begin();
  return &order_.front().picture;
}

void TurnedPictures::endFrame() {
  thisFrameOnly_.clear();
  while (bytes_ > budget_ && !order_.empty()) {
    bytes_ -= order_.back().picture.bytes;
    index_.erase(order_.back().key);
    order_.pop_back();
  }
}

void TurnedPictures::clear() {
  index_.clear();
  order_.clear();
  bytes_ = 0;
  thisFrameOnly_.clear();
}

void TurnedPictures::setKeeping(bool keep) {
  keeping_ = keep;
  if (!keep) clear();
}
