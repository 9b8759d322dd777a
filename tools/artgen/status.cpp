// The status display's pictures: heart, money bag, star, the weapon panel and the weapons.
#include <algorithm>
#include <cmath>

#include "art.h"
#include "canvas.h"

namespace art {

namespace {

Image finish(const Canvas& c, Rgb key, double outline) {
  Image img = c.resolve(key);
  if (outline > 0) outlineSilhouette(img, key, outline);
  fillEnclosedKey(img, key);
  keepAwayFromKey(img, key);
  return img;
}

// A classic heart: (x^2 + y^2 - 1)^3 <= x^2 y^3, scaled to half-width r.
Shape heart(double cx, double cy, double r) {
  return Shape{cx - r * 1.3, cy - r * 1.4, cx + r * 1.3, cy + r * 1.3, [=](double px, double py) {
                 double x = (px - cx) / r, y = -(py - cy) / r;
                 double a = x * x + y * y - 1;
                 return a * a * a - x * x * y * y * y <= 0;
               }};
}

// Blobby pixels of a small bitmap glyph, for the sign on the money bag.
void glyph(Canvas& c, const char* const* rows, int n, double x0, double y0, double cell, Colour col) {
  for (int y = 0; y < n; ++y)
    for (int x = 0; rows[y][x]; ++x)
      if (rows[y][x] == '#') c.fill(roundRect(x0 + x * cell, y0 + y * cell, x0 + (x + 1) * cell, y0 + (y + 1) * cell, cell * 0.3), col);
}

}  // namespace

Image drawHeartIcon() {
  Canvas c(50, 50, 6);
  const Colour red = rgb(222, 30, 44);
  c.fill(heart(25, 24, 20.5), dome(red, 25, 24, 22, 22, 0.8));
  c.overlay(ellipseTurned(16.5, 15.5, 5.5, 3.25, 40), rgb(255, 235, 235), 0.7);
  return finish(c, kBlueKey, 0.4);
}

Image drawMoneyIcon() {
  Canvas c(50, 50, 6);
  const Colour sack = rgb(214, 168, 82), cord = rgb(120, 70, 30), sign = rgb(70, 110, 40);
  // Bag body, gathered neck, the tied tuft on top.
  c.fill(ellipse(25, 32, 17.5, 15.5), dome(sack, 25, 30, 17.5, 16));
  c.fill(polygon({18, 20, 32, 20, 29, 13, 21, 13}), dome(sack, 25, 16, 7, 6, 0.6));
  c.fill(polygon({21, 12, 16, 4, 24, 8, 25, 3, 27, 8, 34, 4, 29, 12}), dome(lit(sack, 1.08), 25, 8, 9, 6, 0.6));
  c.fill(roundRect(18, 12, 32, 15.5, 1.5), cord);
  const char* dollar[] = {"..#..", ".####", "#.#..", ".###.", "..#.#", "####.", "..#.."};
  glyph(c, dollar, 7, 25 - 2.5 * 2.6, 33 - 3.5 * 2.6, 2.6, sign);
  return finish(c, kBlueKey, 0.4);
}

Image drawStarIcon() {
  Canvas c(18, 18, 8);
  std::vector<double> pts;
  for (int i = 0; i < 10; ++i) {
    double r = i % 2 ? 3.9 : 8.75, a = 90.0 + 36.0 * i;
    pts.push_back(9 + r * cosDeg(a));
    pts.push_back(9.6 - r * sinDeg(a));
  }
  c.fill(polygon(pts), dome(rgb(255, 206, 40), 9, 9.6, 9, 9, 0.7));
  return finish(c, kGreenKey, 0.45);
}

Image drawWeaponBackground() {
  Canvas c(120, 120, 4);
  const Colour frame = rgb(58, 60, 64), paper = rgb(222, 218, 204);
  c.fill(roundRect(0, 0, 120, 120, 12), gradient(rgb(96, 98, 104), frame, 0, 0, 0, 120));
  c.fill(roundRect(2.5, 2.5, 117.5, 117.5, 10), gradient(lit(paper, 1.06), lit(paper, 0.92), 0, 3, 0, 117));
  // A faint inset band where the weapon sits, leaving the text rows plain.
  c.overlay(roundRect(7, 22, 113, 88, 6), rgb(160, 156, 144), 0.22);
  return finish(c, kGreenKey, 0.0);
}

Image drawWeapon(int kind) {
  const Colour steel = rgb(58, 60, 64), black = rgb(36, 36, 40), shine = rgb(120, 124, 132);
  if (kind == 0) {
    // Bare hands: a clenched fist seen from the thumb side, knuckles forward, red cuff behind.
    const double k = 1.3;  // drawn on a 40 x 32 grid, enlarged to fill the panel
    Canvas c(52, 42, 6);
    const Colour skin = rgb(234, 182, 142);
    c.fill(roundRect(0.5 * k, 9 * k, 10 * k, 27 * k, 2 * k), dome(rgb(200, 40, 34), 5 * k, 18 * k, 6 * k, 10 * k));
    c.fill(roundRect(7 * k, 6 * k, 31 * k, 29 * k, 7 * k), dome(skin, 19 * k, 17 * k, 13 * k, 12 * k, 0.7));
    for (int i = 0; i < 4; ++i) {
      double y = 7.5 + i * 5.25;
      c.fill(roundRect(24 * k, y * k, 38.5 * k, (y + 5.5) * k, 2.7 * k), dome(skin, 31 * k, (y + 2.75) * k, 8 * k, 3.5 * k, 0.8));
      c.overlay(rect(24 * k, (y + 5.0) * k, 37 * k, (y + 5.5) * k), rgb(150, 90, 70), 0.6);
    }
    c.fill(roundRect(10 * k, 16.5 * k, 30 * k, 22.5 * k, 3 * k), dome(lit(skin, 1.05), 20 * k, 19.5 * k, 10 * k, 3.5 * k, 0.8));
    c.fill(ellipse(28.5 * k, 19.5 * k, 2.25 * k, 2.0 * k), rgb(246, 214, 200));  // thumbnail
    return finish(c, kGreenKey, 0.4);
  }
  if (kind == 1) {
    // "M4": black carbine with a telescoping stock, carry rail and ribbed handguard.
    Canvas c(96, 34, 6);
    c.fill(polygon({1, 11, 19, 12.5, 19, 19, 5, 24, 1, 24}), dome(black, 10, 17, 10, 8, 0.6));
    c.fill(rect(17, 12.5, 31, 16.5), steel);
    c.fill(polygon({40, 20, 49, 20, 52, 33, 44, 33.5}), dome(black, 46, 27, 5, 8, 0.5));  // magazine
    c.fill(polygon({30, 19.5, 37, 19.5, 35, 31, 29, 31}), dome(black, 33, 25, 4, 7, 0.5));  // grip
    c.fill(rect(29, 15, 56, 21), steel);  // lower receiver
    c.fill(polygon({36.5, 21, 42, 21, 42, 24, 37.5, 24}), black);  // trigger guard (closed)
    c.fill(rect(28, 9, 58, 15.5), gradient(shine, steel, 0, 9, 0, 15.5));  // upper receiver
    c.fill(rect(30, 6, 54, 9), black);  // rail
    for (int i = 0; i < 8; ++i) c.fill(rect(31 + i * 3, 5.5, 32.5 + i * 3, 6.5), black);
    c.fill(roundRect(56, 9, 80, 18, 2), gradient(rgb(84, 86, 92), black, 0, 9, 0, 18));
    for (int i = 0; i < 6; ++i) c.overlay(rect(59 + i * 3.5, 11, 60.5 + i * 3.5, 16), rgb(10, 10, 12), 0.6);
    c.fill(polygon({74, 9, 75, 2.5, 77.5, 2.5, 78, 9}), black);  // front sight
    c.fill(rect(80, 11.5, 90, 14.5), steel);  // barrel
    c.fill(rect(89, 10.5, 95, 15.5), black);  // flash hider
    return finish(c, kGreenKey, 0.45);
  }
  // "AK47": wooden stock and handguard, steel receiver, curved magazine.
  Canvas c(98, 40, 6);
  const Colour wood = rgb(160, 88, 40);
  Paint grain = [wood](double x, double y) {
    double band = std::fmod(x * 0.7 + y * 2.3, 6.0) < 1.2 ? 0.86 : 1.0;
    return lit(wood, band * (1.08 - 0.02 * std::fabs(y - 15)));
  };
  c.fill(polygon({1, 12, 27, 10.5, 27, 18.5, 12, 22, 2, 27}), grain);  // stock
  c.fill(polygon({34, 18.5, 41, 18.5, 39, 31, 32.5, 31}), dome(rgb(110, 56, 30), 36, 24, 5, 8, 0.5));  // grip
  // The curved magazine sweeps forward as it goes down.
  c.fill(polygon({46, 18, 57, 18, 59, 24, 62, 30, 66, 36, 57, 39, 53.5, 32, 50.5, 26}),
         dome(rgb(70, 64, 60), 56, 28, 8, 11, 0.5));
  c.fill(rect(26, 11, 60, 19), gradient(shine, steel, 0, 11, 0, 19));  // receiver
  c.fill(polygon({36, 19, 44, 19, 44, 22, 38, 22}), black);  // trigger guard (closed)
  c.overlay(rect(27, 11, 59, 12.5), rgb(180, 184, 190), 0.5);
  c.fill(roundRect(59, 11.5, 79, 19.5, 2), grain);  // lower handguard
  c.fill(roundRect(59, 8, 77, 11.5, 1.5), grain);   // upper handguard over the gas tube
  c.fill(rect(77, 8.5, 85, 13), steel);             // gas tube
  c.fill(rect(79, 12.5, 94, 15.5), steel);          // barrel
  c.fill(polygon({84, 15.5, 85, 4.5, 88, 4.5, 89, 15.5}), black);  // front sight block
  c.fill(rect(93, 11.5, 97, 16.5), black);  // muzzle
  return finish(c, kGreenKey, 0.45);
}

}  // namespace art
