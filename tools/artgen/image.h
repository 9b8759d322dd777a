// Plain RGB pictures, the colour keys, nearest-neighbour turns and the PNG and BMP encoders.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace art {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
  bool operator!=(const Rgb& o) const { return !(*this == o); }
};

// The game keys sprites with pure green; the two status icons with this blue.
constexpr Rgb kGreenKey{0, 255, 0};
constexpr Rgb kBlueKey{0, 76, 161};

struct Image {
  int w = 0, h = 0;
  std::vector<Rgb> px;
  Image() = default;
  Image(int width, int height, Rgb fill = Rgb{}) : w(width), h(height), px(size_t(width) * height, fill) {}
  Rgb& at(int x, int y) { return px[size_t(y) * w + x]; }
  const Rgb& at(int x, int y) const { return px[size_t(y) * w + x]; }
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
};

// Largest per-channel difference between two colours.
int channelDistance(Rgb a, Rgb b);

// Copies src onto dst at (x, y), skipping pixels of the key colour (as a colour-keyed blit).
void blitKeyed(Image& dst, const Image& src, int x, int y, Rgb key);
void blitOpaque(Image& dst, const Image& src, int x, int y);
// Turns a keyed picture counter-clockwise by degrees, nearest neighbour, into a box that holds
// it; uncovered pixels get the key.
Image rotateNearest(const Image& src, double degrees, Rgb key);
Image scaleNearest(const Image& src, int factor);
// Box-filtered reduction by an integer factor (for previews of big pictures).
Image shrink(const Image& src, int factor);

// Deterministic PNG (8-bit RGB, no alpha) and 24-bit BMP encoders.
std::vector<uint8_t> encodePng(const Image& img);
std::vector<uint8_t> encodeBmp(const Image& img);

// sin and cos from our own series, so the pictures do not depend on the C library's rounding.
double sinDeg(double degrees);
double cosDeg(double degrees);

}  // namespace art
