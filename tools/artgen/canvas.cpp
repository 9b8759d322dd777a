// The supersampled painter: shape tests, shading helpers and resolution to keyed pixels.
#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace art {

Colour rgb(int r, int g, int b) { return Colour{double(r), double(g), double(b)}; }

Colour mix(Colour a, Colour b, double t) {
  return Colour{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour lit(Colour c, double factor) {
  if (factor <= 1.0) return Colour{c.r * factor, c.g * factor, c.b * factor};
  return mix(c, rgb(255, 255, 255), std::min(1.0, factor - 1.0));
}

static uint8_t clampByte(double v) {
  if (v <= 0) return 0;
  if (v >= 255) return 255;
  return uint8_t(std::lround(v));
}

Rgb toRgb(Colour c) { return Rgb{clampByte(c.r), clampByte(c.g), clampByte(c.b)}; }

Shape ellipse(double cx, double cy, double rx, double ry) {
  return Shape{cx - rx, cy - ry, cx + rx, cy + ry, [=](double x, double y) {
                 double dx = (x - cx) / rx, dy = (y - cy) / ry;
                 return dx * dx + dy * dy <= 1.0;
               }};
}

Shape circle(double cx, double cy, double r) { return ellipse(cx, cy, r, r); }

Shape bluntEllipse(double cx, double cy, double rx, double ry) {
  return Shape{cx - rx, cy - ry, cx + rx, cy + ry, [=](double x, double y) {
                 double dx = (x - cx) / rx, dy = (y - cy) / ry;
                 return dx * dx * dx * dx + dy * dy <= 1.0;
               }};
}

Shape ellipseTurned(double cx, double cy, double rx, double ry, double degrees) {
  double c = cosDeg(degrees), s = sinDeg(degrees);
  double m = std::max(rx, ry);
  return Shape{cx - m, cy - m, cx + m, cy + m, [=](double x, double y) {
                 double dx = x - cx, dy = y - cy;
                 double u = (c * dx - s * dy) / rx, v = (s * dx + c * dy) / ry;
                 return u * u + v * v <= 1.0;
               }};
}

Shape rect(double x0, double y0, double x1, double y1) {
  return Shape{x0, y0, x1, y1, [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; }};
}

Shape roundRect(double x0, double y0, double x1, double y1, double radius) {
  return Shape{x0, y0, x1, y1, [=](double x, double y) {
                 if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
                 double cx = std::clamp(x, x0 + radius, x1 - radius);
                 double cy = std::clamp(y, y0 + radius, y1 - radius);
                 double dx = x - cx, dy = y - cy;
                 return dx * dx + dy * dy <= radius * radius;
               }};
}

Shape capsule(double x0, double y0, double x1, double y1, double r) {
  return Shape{std::min(x0, x1) - r, std::min(y0, y1) - r, std::max(x0, x1) + r, std::max(y0, y1) + r,
               [=](double x, double y) {
                 double vx = x1 - x0, vy = y1 - y0, len2 = vx * vx + vy * vy;
                 double t = len2 > 0 ? std::clamp(((x - x0) * vx + (y - y0) * vy) / len2, 0.0, 1.0) : 0.0;
                 double dx = x - (x0 + vx * t), dy = y - (y0 + vy * t);
                 return dx * dx + dy * dy <= r * r;
               }};
}

Shape polygon(std::vector<double> xy) {
  double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
  for (size_t i = 0; i + 1 < xy.size(); i += 2) {
    x0 = std::min(x0, xy[i]);
    x1 = std::max(x1, xy[i]);
    y0 = std::min(y0, xy[i + 1]);
    y1 = std::max(y1, xy[i + 1]);
  }
  return Shape{x0, y0, x1, y1, [pts = std::move(xy)](double x, double y) {
                 int winding = 0;
                 size_t n = pts.size() / 2;
                 for (size_t i = 0; i < n; ++i) {
                   double ax = pts[2 * i], ay = pts[2 * i + 1];
                   double bx = pts[2 * ((i + 1) % n)], by = pts[2 * ((i + 1) % n) + 1];
                   double cross = (bx - ax) * (y - ay) - (x - ax) * (by - ay);
                   if (ay <= y) {
                     if (by > y && cross > 0) ++winding;
                   } else if (by <= y && cross < 0) {
                     --winding;
                   }
                 }
                 return winding != 0;
               }};
}

Shape rectTurned(double cx, double cy, double w, double h, double degrees) {
  double c = cosDeg(degrees), s = sinDeg(degrees);
  double m = std::sqrt(w * w + h * h) / 2;
  return Shape{cx - m, cy - m, cx + m, cy + m, [=](double x, double y) {
                 double dx = x - cx, dy = y - cy;
                 double u = c * dx - s * dy, v = s * dx + c * dy;
                 return std::fabs(u) <= w / 2 && std::fabs(v) <= h / 2;
               }};
}

// Whether a point lies in a shape's box: a cheap test before the shape's own.
static bool inBox(const Shape& s, double x, double y) { return x >= s.x0 && x <= s.x1 && y >= s.y0 && y <= s.y1; }

Shape unite(Shape a, Shape b) {
  return Shape{std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1),
               [a, b](double x, double y) {
                 return (inBox(a, x, y) && a.inside(x, y)) || (inBox(b, x, y) && b.inside(x, y));
               }};
}

Shape intersect(Shape a, Shape b) {
  return Shape{std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1),
               [a, b](double x, double y) { return a.inside(x, y) && b.inside(x, y); }};
}

Shape subtract(Shape a, Shape b) {
  return Shape{a.x0, a.y0, a.x1, a.y1,
               [a, b](double x, double y) { return a.inside(x, y) && !(inBox(b, x, y) && b.inside(x, y)); }};
}

Shape shifted(Shape s, double dx, double dy) {
  return Shape{s.x0 + dx, s.y0 + dy, s.x1 + dx, s.y1 + dy,
               [s, dx, dy](double x, double y) { return s.inside(x - dx, y - dy); }};
}

Paint solid(Colour c) {
  return [c](double, double) { return c; };
}

Paint dome(Colour base, double cx, double cy, double rx, double ry, double strength) {
  return [=](double x, double y) {
    double nx = (x - cx) / rx, ny = (y - cy) / ry;
    double d2 = std::min(1.0, nx * nx + ny * ny);
    double nz = std::sqrt(1.0 - d2);
    // Light from above, tilted toward the front of the sprite.
    double light = nz * 0.88 - ny * 0.47;
    double factor = 0.62 + 0.5 * light;
    factor = 1.0 + (factor - 1.0) * strength;
    return lit(base, factor);
  };
}

Paint gradient(Colour from, Colour to, double x0, double y0, double x1, double y1) {
  return [=](double x, double y) {
    double vx = x1 - x0, vy = y1 - y0, len2 = vx * vx + vy * vy;
    double t = len2 > 0 ? std::clamp(((x - x0) * vx + (y - y0) * vy) / len2, 0.0, 1.0) : 0.0;
    return mix(from, to, t);
  };
}

Canvas::Canvas(int width, int height, int supersample)
    : w_(width), h_(height), ss_(supersample),
      col_(size_t(width) * height * supersample * supersample),
      on_(size_t(width) * height * supersample * supersample, 0) {}

template <class F>
void Canvas::forSamples(const Shape& s, F f) {
  const int sw = w_ * ss_, sh = h_ * ss_;
  int i0 = std::max(0, int(std::floor(s.x0 * ss_)) - 1), i1 = std::min(sw - 1, int(std::ceil(s.x1 * ss_)) + 1);
  int j0 = std::max(0, int(std::floor(s.y0 * ss_)) - 1), j1 = std::min(sh - 1, int(std::ceil(s.y1 * ss_)) + 1);
  for (int j = j0; j <= j1; ++j) {
    double y = (j + 0.5) / ss_;
    for (int i = i0; i <= i1; ++i) {
      double x = (i + 0.5) / ss_;
      if (s.inside(x, y)) f(size_t(j) * sw + i, x, y);
    }
  }
}

void Canvas::fill(const Shape& s, const Paint& p) {
  forSamples(s, [&](size_t k, double x, double y) {
    col_[k] = p(x, y);
    on_[k] = 1;
  });
}

void Canvas::overlay(const Shape& s, const Paint& p, double opacity) {
  forSamples(s, [&](size_t k, double x, double y) {
    if (on_[k]) col_[k] = mix(col_[k], p(x, y), opacity);
  });
}

void Canvas::erase(const Shape& s) {
  forSamples(s, [&](size_t k, double, double) { on_[k] = 0; });
}

int Canvas::coverage(int x, int y, Colour& sum) const {
  const int sw = w_ * ss_;
  int covered = 0;
  for (int j = 0; j < ss_; ++j)
    for (int i = 0; i < ss_; ++i) {
      size_t k = size_t(y * ss_ + j) * sw + (x * ss_ + i);
      if (!on_[k]) continue;
      ++covered;
      sum.r += col_[k].r;
      sum.g += col_[k].g;
      sum.b += col_[k].b;
    }
  return covered;
}

Image Canvas::resolve(Rgb key) const {
  Image out(w_, h_, key);
  const int n = ss_ * ss_;
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x) {
      Colour sum;
      const int covered = coverage(x, y, sum);
      if (covered * 2 >= n) out.at(x, y) = toRgb(Colour{sum.r / covered, sum.g / covered, sum.b / covered});
    }
  return out;
}

void Canvas::compositeOnto(Image& dst, int ox, int oy) const {
  const int n = ss_ * ss_;
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x) {
      if (!dst.inside(ox + x, oy + y)) continue;
      Colour sum;
      const int covered = coverage(x, y, sum);
      if (!covered) continue;
      Rgb under = dst.at(ox + x, oy + y);
      Colour mean{sum.r / covered, sum.g / covered, sum.b / covered};
      dst.at(ox + x, oy + y) = toRgb(mix(rgb(under.r, under.g, under.b), mean, double(covered) / n));
    }
}

void outlineSilhouette(Image& img, Rgb key, double factor) {
  Image src = img;
  for (int y = 0; y < img.h; ++y)
    for (int x = 0; x < img.w; ++x) {
      Rgb c = src.at(x, y);
      if (c == key) continue;
      bool rim = false;
      const int d[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
      for (auto& o : d) {
        int nx = x + o[0], ny = y + o[1];
        if (!src.inside(nx, ny) || src.at(nx, ny) == key) rim = true;
      }
      if (rim) img.at(x, y) = toRgb(lit(rgb(c.r, c.g, c.b), factor));
    }
}

void fillEnclosedKey(Image& img, Rgb key) {
  std::vector<char> outside(img.px.size(), 0);
  std::vector<std::pair<int, int>> stack;
  auto push = [&](int x, int y) {
    if (!img.inside(x, y) || outside[size_t(y) * img.w + x] || img.at(x, y) != key) return;
    outside[size_t(y) * img.w + x] = 1;
    stack.push_back({x, y});
  };
  for (int x = 0; x < img.w; ++x) {
    push(x, 0);
    push(x, img.h - 1);
  }
  for (int y = 0; y < img.h; ++y) {
    push(0, y);
    push(img.w - 1, y);
  }
  while (!stack.empty()) {
    auto [x, y] = stack.back();
    stack.pop_back();
    push(x + 1, y);
    push(x - 1, y);
    push(x, y + 1);
    push(x, y - 1);
  }
  // Walled-in pixels take a shadowed neighbour colour, row by row so larger gaps fill too.
  for (int y = 0; y < img.h; ++y)
    for (int x = 0; x < img.w; ++x) {
      if (img.at(x, y) != key || outside[size_t(y) * img.w + x]) continue;
      Rgb n = x > 0 ? img.at(x - 1, y) : img.at(x, y - 1);
      img.at(x, y) = toRgb(lit(rgb(n.r, n.g, n.b), 0.7));
    }
}

void keepAwayFromKey(Image& img, Rgb key) {
  for (Rgb& c : img.px) {
    if (c == key) continue;
    if (channelDistance(c, key) < 72) {
      // Pull toward a neutral grey of the same brightness until clearly apart.
      int grey = (c.r + c.g + c.b) / 3;
      Colour cur = rgb(c.r, c.g, c.b);
      for (int step = 1; step <= 10 && channelDistance(c, key) < 72; ++step) c = toRgb(mix(cur, rgb(grey, grey, grey), step / 10.0));
    }
  }
}

}  // namespace art
