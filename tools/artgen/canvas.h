// A supersampled painter: shapes are inside-tests in pixel units, resolved to keyed pixels.
#pragma once

#include <functional>
#include <vector>

#include "image.h"

namespace art {

struct Colour {
  double r = 0, g = 0, b = 0;  // 0..255
};

Colour rgb(int r, int g, int b);
Colour mix(Colour a, Colour b, double t);  // t = 0 gives a
// factor < 1 darkens toward black, > 1 brightens toward white.
Colour lit(Colour c, double factor);
Rgb toRgb(Colour c);

// A region of the picture plane: an inside-test and a box that holds it.
struct Shape {
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  std::function<bool(double, double)> inside;
};
using Paint = std::function<Colour(double, double)>;

Shape ellipse(double cx, double cy, double rx, double ry);
Shape circle(double cx, double cy, double r);
// |x/rx|^4 + (y/ry)^2 <= 1: an ellipse with blunt ends, like a pair of shoulders.
Shape bluntEllipse(double cx, double cy, double rx, double ry);
// An ellipse turned counter-clockwise by degrees.
Shape ellipseTurned(double cx, double cy, double rx, double ry, double degrees);
Shape rect(double x0, double y0, double x1, double y1);
Shape roundRect(double x0, double y0, double x1, double y1, double radius);
// All points within r of the segment.
Shape capsule(double x0, double y0, double x1, double y1, double r);
// Non-zero winding fill of a closed polygon given as x, y pairs.
Shape polygon(std::vector<double> xy);
Shape rectTurned(double cx, double cy, double w, double h, double degrees);
Shape unite(Shape a, Shape b);
Shape intersect(Shape a, Shape b);
Shape subtract(Shape a, Shape b);
// Moves a shape by (dx, dy).
Shape shifted(Shape s, double dx, double dy);

Paint solid(Colour c);
// Shades an ellipse like a dome lit from above and slightly ahead (toward -y), the same for
// the left and right sides so mirrored walk frames stay mirrored.
Paint dome(Colour base, double cx, double cy, double rx, double ry, double strength = 1.0);
// Vertical (toward -y) or horizontal light falloff across a box.
Paint gradient(Colour from, Colour to, double x0, double y0, double x1, double y1);

class Canvas {
 public:
  Canvas(int width, int height, int supersample);
  int width() const { return w_; }
  int height() const { return h_; }
  // Paints the shape opaque.
  void fill(const Shape& s, const Paint& p);
  void fill(const Shape& s, Colour c) { fill(s, solid(c)); }
  // Tints only what is already painted, by opacity.
  void overlay(const Shape& s, const Paint& p, double opacity);
  void overlay(const Shape& s, Colour c, double opacity) { overlay(s, solid(c), opacity); }
  void erase(const Shape& s);
  // Pixels at least half covered take the mean colour of their covered samples (so edges never
  // blend into the key); the rest become the key.
  Image resolve(Rgb key) const;
  // Antialiased composite over an opaque picture at (x, y).
  void compositeOnto(Image& dst, int x, int y) const;

 private:
  template <class F>
  void forSamples(const Shape& s, F f);
  // How many samples of pixel (x, y) are painted; their colours are added into sum.
  int coverage(int x, int y, Colour& sum) const;
  int w_, h_, ss_;
  std::vector<Colour> col_;
  std::vector<uint8_t> on_;
};

// Darkens the rim pixels of a keyed picture (those touching the key or the border) so the
// silhouette reads on any ground.
void outlineSilhouette(Image& img, Rgb key, double factor = 0.35);
// Fills transparent pixels walled in by the sprite (a gap between parts) with the darkened
// colour of a neighbour, so the key only ever shows around the outside.
void fillEnclosedKey(Image& img, Rgb key);
// Moves any visible pixel that comes too close to the key colour away from it.
void keepAwayFromKey(Image& img, Rgb key);

}  // namespace art
