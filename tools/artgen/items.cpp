// Small things on the ground and in the air: bullets, money, blood, the money marker, the
// arrow toward money, the editor's crosshair and the dot.
#include <cmath>

#include "art.h"
#include "canvas.h"

namespace art {

namespace {

Image finish(const Canvas& c, double outline = 0.35) {
  Image img = c.resolve(kGreenKey);
  if (outline > 0) outlineSilhouette(img, kGreenKey, outline);
  fillEnclosedKey(img, kGreenKey);
  keepAwayFromKey(img, kGreenKey);
  return img;
}

// A fixed pseudo-random sequence, so splashes and scatter look the same on every run.
struct Lcg {
  uint32_t state;
  double next() {
    state = state * 1664525u + 1013904223u;
    return (state >> 8) / double(1u << 24);
  }
};

}  // namespace

Image drawBullet(int kind) {
  Canvas c(10, 5, 8);
  if (kind == 0) {
    // A blow of the bare hands: a short pale swish, bright at its head.
    c.fill(polygon({0.5, 2.5, 5.5, 1.0, 8.5, 1.0, 8.5, 4.0, 5.5, 4.0}), gradient(rgb(190, 170, 150), rgb(255, 244, 214), 0.5, 0, 8.5, 0));
    c.fill(ellipse(7.5, 2.5, 2.0, 2.0), rgb(255, 250, 232));
    return finish(c, 0.45);
  }
  // A round: copper-jacketed nose forward, brass base behind.
  c.fill(roundRect(0.5, 0.5, 6.5, 4.5, 0.75), gradient(rgb(250, 214, 110), rgb(150, 106, 34), 0, 0.5, 0, 4.5));
  c.fill(ellipse(6.0, 2.5, 3.75, 2.0), gradient(rgb(240, 150, 90), rgb(140, 62, 28), 0, 0.5, 0, 4.5));
  return finish(c, 0.45);
}

Image drawMoneyImage() {
  Canvas c(30, 40, 6);
  const Colour note = rgb(214, 226, 176), print = rgb(92, 124, 78), gold = rgb(236, 188, 52);
  struct NoteAt {
    double x, y, angle;
  } notes[] = {{15, 13, 20}, {14, 22, -15}, {16, 29, 65}};
  for (const NoteAt& n : notes) {
    c.fill(rectTurned(n.x, n.y, 22, 11, n.angle), lit(note, 0.85));
    c.fill(rectTurned(n.x, n.y, 19, 8, n.angle), note);
    c.fill(ellipseTurned(n.x, n.y, 3.5, 2.75, n.angle), print);
    c.fill(ellipseTurned(n.x, n.y, 2.0, 1.5, n.angle), lit(note, 0.95));
  }
  for (auto [x, y] : {std::pair{7.0, 34.5}, std::pair{23.5, 6.0}, std::pair{24.0, 35.0}}) {
    c.fill(circle(x, y, 3.75), dome(gold, x, y, 3.75, 3.75));
    c.fill(circle(x, y, 2.25), dome(lit(gold, 0.85), x, y + 1, 2.25, 2.25, 0.5));
  }
  return finish(c, 0.4);
}

Image drawBloodStain() {
  Canvas c(30, 40, 6);
  Lcg rnd{20241};
  const Colour dark = rgb(118, 10, 14), wet = rgb(150, 16, 20);
  // The pool: overlapping lobes around a middle, then drops flung outward on thin trails.
  c.fill(ellipse(15, 20, 8, 10), dark);
  for (int i = 0; i < 10; ++i) {
    double a = 36.0 * i + rnd.next() * 20.0, d = 5.0 + rnd.next() * 5.0;
    double x = 15 + cosDeg(a) * d * 0.8, y = 20 + sinDeg(a) * d;
    c.fill(circle(x, y, 2.5 + rnd.next() * 2.5), dark);
  }
  for (int i = 0; i < 9; ++i) {
    double a = 40.0 * i + rnd.next() * 25.0, d = 12.0 + rnd.next() * 5.5;
    double x = 15 + cosDeg(a) * d * 0.72, y = 20 + sinDeg(a) * d;
    if (x < 2.5 || x > 27.5 || y < 2.5 || y > 37.5) continue;
    c.fill(capsule(15 + cosDeg(a) * (d - 6) * 0.72, 20 + sinDeg(a) * (d - 6), x, y, 0.9), dark);
    c.fill(circle(x, y, 1.25 + rnd.next() * 1.25), dark);
  }
  c.overlay(ellipse(15, 20, 6, 8), wet, 0.8);
  c.overlay(ellipse(13, 16, 1.75, 1.25), rgb(200, 80, 80), 0.45);  // a small wet gleam
  return finish(c, 0.6);
}

Image drawTarget() {
  Canvas c(30, 30, 6);
  const double cx = 15, cy = 15;
  const Colour ring = rgb(255, 196, 20), gold = rgb(240, 190, 50);
  // Four bracket arcs with open corners around a coin.
  Shape band = subtract(circle(cx, cy, 14.25), circle(cx, cy, 11.0));
  Shape gaps = unite(unite(rectTurned(cx, cy, 40, 5, 45), rectTurned(cx, cy, 40, 5, -45)), circle(cx, cy, 0));
  c.fill(subtract(band, gaps), dome(ring, cx, cy, 14.25, 14.25, 0.5));
  c.fill(circle(cx, cy, 7.5), dome(gold, cx, cy, 7.5, 7.5));
  c.fill(circle(cx, cy, 5.5), dome(lit(gold, 0.88), cx, cy + 1.5, 5.5, 5.5, 0.5));
  Image img = finish(c, 0.35);
  // The dollar sign, pixel by pixel.
  const char* glyph[] = {"..#..", ".####", "#.#..", ".###.", "..#.#", "####.", "..#.."};
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 5; ++x)
      if (glyph[y][x] == '#') img.at(13 + x, 12 + y) = Rgb{110, 70, 10};
  return img;
}

Image drawArrow() {
  Canvas c(30, 20, 6);
  c.fill(polygon({1, 6.5, 16, 6.5, 16, 1, 29, 10, 16, 19, 16, 13.5, 1, 13.5}),
         gradient(rgb(255, 236, 90), rgb(240, 150, 20), 0, 2, 0, 18));
  c.overlay(polygon({2, 7.5, 17, 7.5, 17, 3.5, 25, 9.5, 2, 9.5}), rgb(255, 255, 210), 0.45);
  return finish(c, 0.3);
}

Image drawCrosshair() {
  // Drawn pixel by pixel: white strokes edged in black, a red middle; the middle is (7, 7).
  Image img(15, 15, kGreenKey);
  const Rgb edge{16, 16, 16}, core{250, 250, 250}, red{232, 40, 32};
  auto arm = [&](int x0, int y0, int x1, int y1) {
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) img.at(x, y) = edge;
  };
  arm(6, 0, 8, 4);
  arm(6, 10, 8, 14);
  arm(0, 6, 4, 8);
  arm(10, 6, 14, 8);
  for (int i = 0; i <= 3; ++i) {
    img.at(7, i) = core;
    img.at(7, 14 - i) = core;
    img.at(i, 7) = core;
    img.at(14 - i, 7) = core;
  }
  arm(6, 6, 8, 8);
  img.at(7, 7) = red;
  return img;
}

Image drawDot() {
  Image img(3, 3, Rgb{20, 20, 20});
  img.at(1, 1) = Rgb{0, 0, 0};
  return img;
}

}  // namespace art
