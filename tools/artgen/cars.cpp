// The two car models seen from above, nose up: a rounded red hatchback and a boxy cream estate.
#include <algorithm>
#include <cmath>

#include "art.h"
#include "canvas.h"

namespace art {

namespace {

constexpr int kW = 69, kH = 94;

// Body paint lit like a rounded panel: brighter along the middle, falling off to the sides.
Paint bodyPaint(Colour base, double x0, double x1, double lift) {
  return [=](double x, double y) {
    double u = (2 * x - x0 - x1) / (x1 - x0);
    double bulge = std::sqrt(std::max(0.0, 1.0 - u * u * u * u));
    (void)y;
    return lit(base, 0.62 + 0.42 * bulge + lift);
  };
}

Paint glassPaint(double y0, double y1) {
  Colour top = rgb(118, 150, 176), bottom = rgb(34, 46, 64);
  return [=](double x, double y) {
    double t = std::clamp((y - y0) / (y1 - y0), 0.0, 1.0);
    Colour c = mix(top, bottom, std::sqrt(t));
    (void)x;
    return c;
  };
}

// A trapezoid from the front edge (y0, half width a) to the back edge (y1, half width b).
Shape trapezoid(double cx, double y0, double a, double y1, double b) {
  return polygon({cx - a, y0, cx + a, y0, cx + b, y1, cx - b, y1});
}

void tyres(Canvas& c, double x0, double x1, double frontY, double rearY) {
  Colour rubber = rgb(28, 28, 30);
  for (double y : {frontY, rearY}) {
    c.fill(roundRect(x0 - 2.0, y, x0 + 4, y + 14, 2.5), rubber);
    c.fill(roundRect(x1 - 4, y, x1 + 2.0, y + 14, 2.5), rubber);
  }
}

void mirrors(Canvas& c, double x0, double x1, double y, Colour body) {
  c.fill(ellipse(x0 - 1.5, y, 2.5, 2.0), dome(body, x0 - 1.5, y, 2.5, 2.0));
  c.fill(ellipse(x1 + 1.5, y, 2.5, 2.0), dome(body, x1 + 1.5, y, 2.5, 2.0));
}

Image finish(const Canvas& c) {
  Image img = c.resolve(kGreenKey);
  outlineSilhouette(img, kGreenKey, 0.3);
  fillEnclosedKey(img, kGreenKey);
  keepAwayFromKey(img, kGreenKey);
  return img;
}

// Model 0, "Saab": rounded nose, sloping hatch, deep red.
Image drawHatchback() {
  Canvas c(kW, kH, 4);
  const double cx = kW / 2.0, x0 = 5, x1 = 64;
  const Colour body = rgb(176, 30, 36), dark = rgb(44, 44, 48);
  tyres(c, x0, x1, 14, 67);
  Shape shell = unite(roundRect(x0, 1, x1, 60, 15), roundRect(x0, 30, x1, 93, 11));
  c.fill(shell, bodyPaint(body, x0, x1, 0));
  mirrors(c, x0, x1, 36, body);
  // Bumpers follow the body's rounded ends.
  c.fill(intersect(shell, rect(0, 0, kW, 3.5)), dark);
  c.fill(intersect(shell, rect(0, 90.5, kW, kH)), dark);
  // Headlights and the grille between them.
  c.fill(roundRect(10, 3.5, 23, 8.5, 2.5), gradient(rgb(255, 250, 220), rgb(200, 190, 150), 0, 3.5, 0, 8.5));
  c.fill(roundRect(46, 3.5, 59, 8.5, 2.5), gradient(rgb(255, 250, 220), rgb(200, 190, 150), 0, 3.5, 0, 8.5));
  c.fill(roundRect(25, 3.5, 44, 6.5, 1.5), rgb(38, 38, 42));
  // Creases on the bonnet.
  c.overlay(rect(21, 10, 22, 30), rgb(0, 0, 0), 0.25);
  c.overlay(rect(47, 10, 48, 30), rgb(0, 0, 0), 0.25);
  // Windscreen, side windows, roof, hatch glass.
  c.fill(trapezoid(cx, 32, 23.5, 45, 20.5), glassPaint(32, 45));
  c.overlay(polygon({18, 34, 24, 34, 19, 43, 15, 43}), rgb(220, 235, 245), 0.35);
  c.fill(polygon({x0 + 4.5, 40, x0 + 8.5, 45, x0 + 8.5, 68, x0 + 5.5, 74}), glassPaint(30, 80));
  c.fill(polygon({x1 - 4.5, 40, x1 - 8.5, 45, x1 - 8.5, 68, x1 - 5.5, 74}), glassPaint(30, 80));
  c.fill(roundRect(x0 + 9, 45, x1 - 9, 69, 4), bodyPaint(body, x0 + 9, x1 - 9, 0.12));
  c.fill(trapezoid(cx, 69, 20.5, 84, 17.5), glassPaint(60, 92));
  c.overlay(rect(18, 76, 51, 77), rgb(120, 0, 0), 0.5);  // heater wires read as a hatch
  // Tail lights wrap the rear corners.
  c.fill(intersect(shell, unite(rect(x0, 85.5, 18, 90.5), rect(51, 85.5, x1, 90.5))), gradient(rgb(236, 56, 44), rgb(150, 18, 18), 0, 85.5, 0, 90.5));
  return finish(c);
}

// Model 1, "Volvo": square estate, upright screen, long roof with rails, cream paint.
Image drawEstate() {
  Canvas c(kW, kH, 4);
  const double cx = kW / 2.0, x0 = 5, x1 = 64;
  const Colour body = rgb(226, 214, 174), dark = rgb(50, 50, 54);
  tyres(c, x0, x1, 13, 68);
  Shape shell = roundRect(x0, 1, x1, 93, 6);
  c.fill(shell, bodyPaint(body, x0, x1, -0.05));
  mirrors(c, x0, x1, 31, body);
  c.fill(intersect(shell, rect(0, 0, kW, 4)), dark);
  c.fill(intersect(shell, rect(0, 90, kW, kH)), dark);
  // Square headlights with the grille between them.
  c.fill(rect(8, 4, 20, 9), gradient(rgb(255, 252, 230), rgb(196, 196, 170), 0, 4, 0, 9));
  c.fill(rect(49, 4, 61, 9), gradient(rgb(255, 252, 230), rgb(196, 196, 170), 0, 4, 0, 9));
  c.fill(rect(22, 4, 47, 8), rgb(30, 30, 34));
  c.fill(rect(33, 4.5, 36, 7.5), rgb(170, 170, 176));  // the diagonal badge reads as a dot
  c.overlay(rect(x0 + 2, 27, x1 - 2, 28), rgb(0, 0, 0), 0.25);  // the bonnet's back edge
  // Upright windscreen, long side windows, flat roof, small tailgate glass.
  c.fill(trapezoid(cx, 29, 25, 38, 23), glassPaint(29, 38));
  c.overlay(polygon({16, 30, 21, 30, 18, 37, 13, 37}), rgb(220, 235, 245), 0.35);
  c.fill(rect(x0 + 3.5, 37, x0 + 7, 81), glassPaint(20, 100));
  c.fill(rect(x1 - 7, 37, x1 - 3.5, 81), glassPaint(20, 100));
  c.fill(rect(x0 + 8, 38, x1 - 8, 82), bodyPaint(body, x0 + 8, x1 - 8, 0.1));
  c.fill(rect(16, 41, 18, 79), rgb(64, 64, 66));  // roof rails
  c.fill(rect(51, 41, 53, 79), rgb(64, 64, 66));
  c.fill(rect(x0 + 7, 82, x1 - 7, 87), glassPaint(70, 96));
  // Tall tail lights on the rear corners.
  c.fill(rect(x0 + 0.5, 78, x0 + 4, 90), gradient(rgb(236, 60, 44), rgb(160, 20, 20), 0, 78, 0, 90));
  c.fill(rect(x1 - 4, 78, x1 - 0.5, 90), gradient(rgb(236, 60, 44), rgb(160, 20, 20), 0, 78, 0, 90));
  c.fill(rect(x0 + 6, 88, x1 - 6, 90), rgb(120, 112, 92));  // tailgate handle strip
  return finish(c);
}

}  // namespace

Image drawCar(int model) { return model == 0 ? drawHatchback() : drawEstate(); }

}  // namespace art
