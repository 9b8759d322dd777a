// The title screen, which is also the bare ground under the city: worn earth, the ZOR title in
// the top band, tyre tracks on the right, and a calm strip on the left for the menu texts.
#include <algorithm>
#include <cmath>

#include "art.h"
#include "canvas.h"

namespace art {

namespace {

constexpr int kWidth = 3840, kHeight = 2400;  // covers 4K and 2560 x 1600 full screen modes

uint32_t hash2(int x, int y, uint32_t seed) {
  uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}

// Smooth value noise in -1..1 with one lattice cell per `cell` pixels.
double valueNoise(double x, double y, double cell, uint32_t seed) {
  double fx = x / cell, fy = y / cell;
  int ix = int(std::floor(fx)), iy = int(std::floor(fy));
  double tx = fx - ix, ty = fy - iy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  auto v = [&](int i, int j) { return (hash2(ix + i, iy + j, seed) & 0xffff) / 32767.5 - 1.0; };
  double top = v(0, 0) + (v(1, 0) - v(0, 0)) * tx;
  double bottom = v(0, 1) + (v(1, 1) - v(0, 1)) * tx;
  return top + (bottom - top) * ty;
}

// Everything within r of a polygon (its outline grown outward by r).
Shape polygonGrown(std::vector<double> pts, double r) {
  Shape base = polygon(pts);
  if (r <= 0) return base;
  Shape grown{base.x0 - r, base.y0 - r, base.x1 + r, base.y1 + r, nullptr};
  grown.inside = [base, pts, r](double x, double y) {
    if (base.inside(x, y)) return true;
    size_t n = pts.size() / 2;
    for (size_t i = 0; i < n; ++i) {
      double ax = pts[2 * i], ay = pts[2 * i + 1];
      double bx = pts[2 * ((i + 1) % n)], by = pts[2 * ((i + 1) % n) + 1];
      double vx = bx - ax, vy = by - ay, len2 = vx * vx + vy * vy;
      double t = std::clamp(((x - ax) * vx + (y - ay) * vy) / len2, 0.0, 1.0);
      double dx = x - ax - vx * t, dy = y - ay - vy * t;
      if (dx * dx + dy * dy <= r * r) return true;
    }
    return false;
  };
  return grown;
}

Shape roundRectGrown(double x0, double y0, double x1, double y1, double radius, double g) {
  return roundRect(x0 - g, y0 - g, x1 + g, y1 + g, std::max(0.5, radius + g));
}

// The letters Z, O and R, 80 units high and `scale` pixels per unit, with their top-left at
// (x, y), and speed streaks behind them; grow > 0 thickens everything by that many pixels.
Shape titleLetters(double x, double y, double scale, double grow) {
  auto P = [&](std::vector<double> pts) {
    for (size_t i = 0; i < pts.size(); i += 2) {
      pts[i] = x + pts[i] * scale;
      pts[i + 1] = y + pts[i + 1] * scale;
    }
    return polygonGrown(pts, grow);
  };
  auto box = [&](double x0, double y0, double x1, double y1, double radius, double g) {
    return roundRectGrown(x + x0 * scale, y + y0 * scale, x + x1 * scale, y + y1 * scale, radius * scale, g);
  };
  Shape z = P({0, 0, 66, 0, 66, 16, 24, 64, 66, 64, 66, 80, 0, 80, 0, 64, 42, 16, 0, 16});
  Shape o = subtract(box(78, 0, 150, 80, 28, grow), box(97, 18, 131, 62, 10, -grow));
  Shape bowl = subtract(box(162, 0, 226, 50, 22, grow), box(181, 16, 206, 34, 6, -grow));
  Shape stem = box(162, 0, 181, 80, 0.5, grow);
  Shape leg = P({188, 40, 208, 40, 232, 80, 210, 80});
  Shape streaks = P({250, 16, 620, 22, 620, 24, 250, 30});
  streaks = unite(streaks, P({250, 40, 540, 45, 540, 47, 250, 52}));
  streaks = unite(streaks, P({250, 64, 460, 68, 460, 70, 250, 76}));
  return unite(unite(unite(z, o), unite(unite(bowl, stem), leg)), streaks);
}

// A ground colour per pixel: worn earth, lighter toward the upper left, darker at the edges.
Colour groundAt(int x, int y) {
  double n = valueNoise(x, y, 700, 11) * 7.0 + valueNoise(x, y, 190, 12) * 3.0 + valueNoise(x, y, 60, 13) * 1.2;
  double fx = x / double(kWidth), fy = y / double(kHeight);
  double shade = 8.0 - 14.0 * fy - 6.0 * fx;
  double reach = std::max(0.0, std::sqrt((fx - 0.35) * (fx - 0.35) + (fy - 0.45) * (fy - 0.45)) - 0.55);
  double vignette = -132.0 * reach * reach;
  double v = shade + n + vignette;
  return Colour{122 + v, 116 + v * 0.95, 94 + v * 0.8};
}

// Two pairs of tyre tracks swerving down the right of the screen, clear of the menu strip.
void tyreTracks(Image& img) {
  const int calmEdge = 1250;
  for (int y = 0; y < kHeight; ++y) {
    for (int track = 0; track < 2; ++track) {
      double centre = 1560 + 270 * sinDeg(y * 0.11 + 20 + track * 25) + 0.22 * y + track * 150;
      for (int wheel = -1; wheel <= 1; wheel += 2) {
        double cx = centre + wheel * 27;
        for (int x = int(cx) - 8; x <= int(cx) + 8; ++x) {
          if (x < calmEdge || x >= kWidth) continue;
          double d = std::fabs(x + 0.5 - cx);
          double cover = std::clamp(6.5 - d, 0.0, 1.0);
          // The tread reads as faint bars across the track.
          double tread = ((y / 6) % 2) ? 0.22 : 0.3;
          double fade = 0.55 + 0.45 * valueNoise(x, y, 300, 21 + track);
          double edge = std::clamp((x - calmEdge) / 150.0, 0.0, 1.0);
          double a = cover * tread * std::max(0.0, fade) * edge;
          Rgb& p = img.at(x, y);
          p = toRgb(mix(rgb(p.r, p.g, p.b), rgb(52, 46, 38), a));
        }
      }
    }
  }
}

void title(Image& img) {
  const int left = 176, top = 0, w = 680, h = 104;
  const double lx = 200 - left, ly = 7 - top, scale = 0.95;
  Canvas shadow(w, h, 4);
  shadow.fill(titleLetters(lx + 6, ly + 4, scale, 3.5), rgb(20, 16, 10));
  // Soften the shadow by compositing it twice, a little apart, at part strength.
  Image soft = img;
  shadow.compositeOnto(soft, left, top);
  for (int y = top; y < top + h; ++y)
    for (int x = left; x < left + w; ++x) {
      Rgb a = img.at(x, y), b = soft.at(x, y);
      img.at(x, y) = toRgb(mix(rgb(a.r, a.g, a.b), rgb(b.r, b.g, b.b), 0.55));
    }
  Canvas letters(w, h, 4);
  letters.fill(titleLetters(lx, ly, scale, 4.5), rgb(30, 18, 12));
  Paint fire = [ly, scale](double, double y) {
    double t = std::clamp((y - ly) / (80.0 * scale), 0.0, 1.0);
    return t < 0.5 ? mix(rgb(255, 226, 90), rgb(246, 140, 36), t * 2) : mix(rgb(246, 140, 36), rgb(204, 40, 28), t * 2 - 1);
  };
  letters.fill(titleLetters(lx, ly, scale, 0), fire);
  letters.overlay(intersect(titleLetters(lx, ly, scale, -3), rect(0, ly + 3, w, ly + 13)), rgb(255, 250, 220), 0.35);
  letters.compositeOnto(img, left, top);
}

}  // namespace

Image drawBackground() {
  // The ground changes slowly, so it is worked out on a coarse grid and blended between.
  constexpr int kStep = 4;
  const int gw = kWidth / kStep + 2, gh = kHeight / kStep + 2;
  std::vector<Colour> grid(size_t(gw) * gh);
  for (int j = 0; j < gh; ++j)
    for (int i = 0; i < gw; ++i) grid[size_t(j) * gw + i] = groundAt(i * kStep, j * kStep);
  Image img(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y) {
    const int j = y / kStep;
    const double ty = (y % kStep) / double(kStep);
    for (int x = 0; x < kWidth; ++x) {
      const int i = x / kStep;
      const double tx = (x % kStep) / double(kStep);
      const Colour* row0 = &grid[size_t(j) * gw + i];
      const Colour* row1 = row0 + gw;
      img.at(x, y) = toRgb(mix(mix(row0[0], row0[1], tx), mix(row1[0], row1[1], tx), ty));
    }
  }
  tyreTracks(img);
  title(img);
  return img;
}

}  // namespace art
