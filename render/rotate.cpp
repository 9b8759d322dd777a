// Turning a colour-keyed sprite to a heading: nearest-neighbour inverse mapping in 16.16 fixed
// point into a fresh 32-bit surface with alpha.
#include "render/rotate.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <type_traits>

#include "platform/platform.h"

namespace {

// Byte order of every rotated picture: red in the low byte, alpha in the high one.
constexpr Uint32 kRedMask = 0x000000FF;
constexpr Uint32 kGreenMask = 0x0000FF00;
constexpr Uint32 kBlueMask = 0x00FF0000;
constexpr Uint32 kAlphaMask = 0xFF000000;

// Degrees to radians with pi taken as 3.141592654; the slightly-off sine and cosine of the
// right angles are what give turned pictures their extra pixel of border.
constexpr double kDegreesToRadians = 0.017453292522222223;

SDL_Surface* newPicture(int w, int h) {
  return SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, kRedMask, kGreenMask, kBlueMask, kAlphaMask);
}

// How source pixels become picture pixels: taken as they are from an alpha copy, converted from
// the display's 0x00RRGGBB layout, or converted from any other 8-bit-per-colour layout.
enum class Reading { AlphaCopy, Xrgb, AnyRgb };

// Read access to the upright picture as the 32-bit alpha copy would hold it: key pixels zero,
// every other pixel opaque in the picture byte order.
struct SourceView {
  const Uint8* pixels = nullptr;
  int pitch = 0;
  int w = 0, h = 0;

  bool keyed = false;
  Uint32 rgbMask = 0, key = 0;
  Uint32 rMask = 0, gMask = 0, bMask = 0;
  int rShift = 0, gShift = 0, bShift = 0;

  template <Reading kReading>
  Uint32 at(int x, int y) const {
    const Uint32 p = reinterpret_cast<const Uint32*>(pixels + y * pitch)[x];
    if (kReading == Reading::AlphaCopy) return p;
    if (keyed && (p & rgbMask) == key) return 0;
    if (kReading == Reading::Xrgb)  // the display format: swap red and blue, add alpha
      return kAlphaMask | (p & 0x0000FF00) | ((p >> 16) & 0xFF) | ((p & 0xFF) << 16);
    return ((p & rMask) >> rShift) | (((p & gMask) >> gShift) << 8) |
           (((p & bMask) >> bShift) << 16) | kAlphaMask;
  }
};

// True when the source's own pixels can be read and converted on the fly with exactly the
// outcome of blitting it onto a zeroed alpha copy: 32-bit, 8 bits per colour, no alpha channel
// and no surface-wide translucency.
bool readableDirectly(const SDL_Surface* s) {
  const SDL_PixelFormat* f = s->format;
  if (f->BytesPerPixel != 4 || f->Amask != 0) return false;
  if (f->Rloss || f->Gloss || f->Bloss) return false;
  if ((s->flags & SDL_SRCALPHA) && platformSurfaceAlpha(s) != SDL_ALPHA_OPAQUE) return false;
  return true;
}

SourceView viewOf(const SDL_Surface* s) {
  SourceView v;
  v.pixels = static_cast<const Uint8*>(s->pixels);
  v.pitch = s->pitch;
  v.w = s->w;
  v.h = s->h;
  const SDL_PixelFormat* f = s->format;
  v.rMask = f->Rmask;
  v.gMask = f->Gmask;
  v.bMask = f->Bmask;
  v.rShift = f->Rshift;
  v.gShift = f->Gshift;
  v.bShift = f->Bshift;
  v.rgbMask = f->Rmask | f->Gmask | f->Bmask;
  Uint32 key = 0;
  v.keyed = platformColorKey(s, key);
  v.key = key & v.rgbMask;
  return v;
}

// Columns c of a row where lo <= start + c * step < hi, as the half-open range [first, last).
void solveSpan(int64_t start, int64_t step, int64_t lo, int64_t hi, int64_t& first, int64_t& last) {
  auto floorDiv = [](int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
  };
  auto ceilDiv = [&](int64_t a, int64_t b) { return -floorDiv(-a, b); };
  if (step == 0) {
    if (lo <= start && start < hi) return;  // the whole row
    first = last = 0;
    return;
  }
  if (step > 0) {
    first = std::max(first, ceilDiv(lo - start, step));
    last = std::min(last, floorDiv(hi - 1 - start, step) + 1);
  } else {
    first = std::max(first, ceilDiv(hi - 1 - start, step));
    last = std::min(last, floorDiv(lo - start, step) + 1);
  }
}

template <Reading kReading>
void fillTurned(const SourceView& src, SDL_Surface* dst, int halfW, int halfH, double sinInv,
                double cosInv) {
  // 64-bit accumulators: the same values as 32-bit ones for any picture that fits in them,
  // without overflow on absurd sizes.
  const int64_t icos = static_cast<int64_t>(cosInv);
  const int64_t isin = static_cast<int64_t>(sinInv);
  const int64_t xd = static_cast<int64_t>(src.w - dst->w) * 32768;
  const int64_t yd = static_cast<int64_t>(src.h - dst->h) * 32768;
  const int64_t ax = static_cast<int64_t>(halfW) * 65536 - icos * halfW;
  const int64_t ay = static_cast<int64_t>(halfH) * 65536 - isin * halfW;
  // Source coordinates are taken as 16-bit values; below this size they never wrap, so the
  // columns that land inside the source can be solved for instead of tested one by one.
  const bool spans = std::max({src.w, src.h, dst->w, dst->h}) < 8192;
  Uint8* row = static_cast<Uint8*>(dst->pixels);
  for (int r = 0; r < dst->h; ++r, row += dst->pitch) {
    const int64_t dy = halfH - r;
    int64_t sdx = ax + isin * dy + xd;
    int64_t sdy = ay - icos * dy + yd;
    Uint32* out = reinterpret_cast<Uint32*>(row);
    if (!spans) {
      for (int c = 0; c < dst->w; ++c) {
        const int sx = static_cast<int16_t>(sdx >> 16);
        const int sy = static_cast<int16_t>(sdy >> 16);
        out[c] = (sx >= 0 && sy >= 0 && sx < src.w && sy < src.h) ? src.at<kReading>(sx, sy) : 0;
        sdx += icos;
        sdy += isin;
      }
      continue;
    }
    int64_t first = 0, last = dst->w;
    solveSpan(sdx, icos, 0, static_cast<int64_t>(src.w) << 16, first, last);
    solveSpan(sdy, isin, 0, static_cast<int64_t>(src.h) << 16, first, last);
    first = std::min<int64_t>(first, dst->w);
    last = std::min<int64_t>(std::max(last, first), dst->w);
    std::fill(out, out + first, 0u);
    sdx += first * icos;
    sdy += first * isin;
    for (int64_t c = first; c < last; ++c) {
      out[c] = src.at<kReading>(static_cast<int>(sdx >> 16), static_cast<int>(sdy >> 16));
      sdx += icos;
      sdy += isin;
    }
    std::fill(out + last, out + dst->w, 0u);
  }
}

template <Reading kReading>
void fillScaled(const SourceView& src, SDL_Surface* dst) {
  Uint8* row = static_cast<Uint8*>(dst->pixels);
  for (int r = 0; r < dst->h; ++r, row += dst->pitch) {
    const int sy = static_cast<int>(static_cast<int64_t>(r) * src.h / dst->h);
    Uint32* out = reinterpret_cast<Uint32*>(row);
    for (int c = 0; c < dst->w; ++c)
      out[c] = src.at<kReading>(static_cast<int>(static_cast<int64_t>(c) * src.w / dst->w), sy);
  }
}

// Runs fill with the reading that suits the source.
template <class Fill>
void dispatch(const SourceView& src, bool direct, Fill fill) {
  if (!direct)
    fill(std::integral_constant<Reading, Reading::AlphaCopy>());
  else if (src.rMask == 0x00FF0000 && src.gMask == 0x0000FF00 && src.bMask == 0x000000FF)
    fill(std::integral_constant<Reading, Reading::Xrgb>());
  else
    fill(std::integral_constant<Reading, Reading::AnyRgb>());
}

}  // namespace

SurfacePtr rotateSprite(SDL_Surface* source, double angle, double zoom) {
  if (!source || source->w <= 0 || source->h <= 0) return {};

  // Common case: read the upright picture in place, or take its pixels unchanged when they
  // already carry their transparency (the browser). Anything else (palettes, 16 bits, alpha)
  // goes through a real blit onto a zeroed alpha copy, whose pixels are then taken unchanged.
  SurfacePtr copy;
  SDL_Surface* read = source;
  const bool direct = readableDirectly(source);
  if (!direct && !platformPixelsCarryAlpha(source)) {
    copy.reset(newPicture(source->w, source->h));
    if (!copy) return {};
    SDL_BlitSurface(source, nullptr, copy.get(), nullptr);
    read = copy.get();
  }
  if (!platformBeginPixels(read)) return {};
  const SourceView src = viewOf(read);

  if (zoom <= 0.001) zoom = 0.001;
  const double zoomInverse = 65536.0 / zoom;

  SurfacePtr result;
  if (std::fabs(angle) > 0.001) {
    const double rad = angle * kDegreesToRadians;
    const double sz = std::sin(rad) * zoom, cz = std::cos(rad) * zoom;
    const double sinInv = std::sin(rad) * zoomInverse, cosInv = std::cos(rad) * zoomInverse;
    const int x = src.w / 2, y = src.h / 2;
    const double cx = cz * x, cy = cz * y, sx = sz * x, sy = sz * y;
    const int halfW =
        std::max(static_cast<int>(std::ceil(std::max({std::fabs(cx + sy), std::fabs(cx - sy),
                                                      std::fabs(-cx + sy), std::fabs(-cx - sy)}))),
                 1);
    const int halfH =
        std::max(static_cast<int>(std::ceil(std::max({std::fabs(sx + cy), std::fabs(sx - cy),
                                                      std::fabs(-sx + cy), std::fabs(-sx - cy)}))),
                 1);
    result.reset(newPicture(2 * halfW, 2 * halfH));
    if (result && !platformBeginPixels(result.get())) result.reset();
    if (result) {
      auto fill = [&](auto reading) {
        fillTurned<decltype(reading)::value>(src, result.get(), halfW, halfH, sinInv, cosInv);
      };
      dispatch(src, direct, fill);
    }
  } else {
    const int w = std::max(static_cast<int>(src.w * zoom), 1);
    const int h = std::max(static_cast<int>(src.h * zoom), 1);
    result.reset(newPicture(w, h));
    if (result && !platformBeginPixels(result.get())) result.reset();
    if (result) {
      auto fill = [&](auto reading) { fillScaled<decltype(reading)::value>(src, result.get()); };
      dispatch(src, direct, fill);
    }
  }

  if (result) platformEndPixels(result.get(), true);
  platformEndPixels(read, false);
  if (result) SDL_SetAlpha(result.get(), SDL_SRCALPHA, 255);
  return result;
}

bool turnsOpaqueOrClear(const SDL_Surface* source) {
  return source && source->format->Amask == 0 &&
         !((source->flags & SDL_SRCALPHA) && platformSurfaceAlpha(source) != SDL_ALPHA_OPAQUE);
}
