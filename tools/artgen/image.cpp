// Plain RGB pictures: keyed blits, nearest-neighbour turns and the PNG and BMP encoders.
#include "image.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace art {

int channelDistance(Rgb a, Rgb b) {
  return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

void blitKeyed(Image& dst, const Image& src, int x, int y, Rgb key) {
  for (int sy = 0; sy < src.h; ++sy)
    for (int sx = 0; sx < src.w; ++sx) {
      Rgb c = src.at(sx, sy);
      if (c != key && dst.inside(x + sx, y + sy)) dst.at(x + sx, y + sy) = c;
    }
}

void blitOpaque(Image& dst, const Image& src, int x, int y) {
  for (int sy = 0; sy < src.h; ++sy)
    for (int sx = 0; sx < src.w; ++sx)
      if (dst.inside(x + sx, y + sy)) dst.at(x + sx, y + sy) = src.at(sx, sy);
}

static double sinSeries(double x) {  // |x| <= pi/4
  double x2 = x * x, term = x, sum = x;
  for (int n = 1; n < 12; ++n) {
    term *= -x2 / double((2 * n) * (2 * n + 1));
    sum += term;
  }
  return sum;
}

static double cosSeries(double x) {  // |x| <= pi/4
  double x2 = x * x, term = 1.0, sum = 1.0;
  for (int n = 1; n < 12; ++n) {
    term *= -x2 / double((2 * n - 1) * (2 * n));
    sum += term;
  }
  return sum;
}

double sinDeg(double degrees) {
  double d = std::fmod(degrees, 360.0);
  if (d < 0) d += 360.0;
  int quadrant = int(std::floor(d / 90.0 + 0.5));  // 0..4
  double rest = (d - 90.0 * quadrant) * (3.14159265358979323846 / 180.0);
  switch (quadrant & 3) {
    case 0: return sinSeries(rest);
    case 1: return cosSeries(rest);
    case 2: return -sinSeries(rest);
    default: return -cosSeries(rest);
  }
}

double cosDeg(double degrees) { return sinDeg(degrees + 90.0); }

Image rotateNearest(const Image& src, double degrees, Rgb key) {
  double s = sinDeg(degrees), c = cosDeg(degrees);
  double hw = src.w / 2.0, hh = src.h / 2.0;
  int halfW = int(std::ceil(std::fabs(c) * hw + std::fabs(s) * hh - 1e-9));
  int halfH = int(std::ceil(std::fabs(s) * hw + std::fabs(c) * hh - 1e-9));
  halfW = std::max(halfW, 1);
  halfH = std::max(halfH, 1);
  Image out(2 * halfW, 2 * halfH, key);
  for (int y = 0; y < out.h; ++y)
    for (int x = 0; x < out.w; ++x) {
      // Screen y points down, so a counter-clockwise turn on screen maps back like this.
      double dx = x + 0.5 - halfW, dy = y + 0.5 - halfH;
      double sx = c * dx - s * dy + hw, sy = s * dx + c * dy + hh;
      int ix = int(std::floor(sx)), iy = int(std::floor(sy));
      if (src.inside(ix, iy)) out.at(x, y) = src.at(ix, iy);
    }
  return out;
}

Image scaleNearest(const Image& src, int factor) {
  Image out(src.w * factor, src.h * factor);
  for (int y = 0; y < out.h; ++y)
    for (int x = 0; x < out.w; ++x) out.at(x, y) = src.at(x / factor, y / factor);
  return out;
}

Image shrink(const Image& src, int factor) {
  Image out(src.w / factor, src.h / factor);
  int n = factor * factor;
  for (int y = 0; y < out.h; ++y)
    for (int x = 0; x < out.w; ++x) {
      int r = 0, g = 0, b = 0;
      for (int j = 0; j < factor; ++j)
        for (int i = 0; i < factor; ++i) {
          Rgb c = src.at(x * factor + i, y * factor + j);
          r += c.r;
          g += c.g;
          b += c.b;
        }
      out.at(x, y) = Rgb{uint8_t((r + n / 2) / n), uint8_t((g + n / 2) / n), uint8_t((b + n / 2) / n)};
    }
  return out;
}

static void put32(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v >> 24));
  out.push_back(uint8_t(v >> 16));
  out.push_back(uint8_t(v >> 8));
  out.push_back(uint8_t(v));
}

static void chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  put32(out, uint32_t(data.size()));
  size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  uLong crc = crc32(0L, Z_NULL, 0);
  crc = crc32(crc, out.data() + start, uInt(out.size() - start));
  put32(out, uint32_t(crc));
}

static int paeth(int a, int b, int c) {
  int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

// Each row gets the filter whose output has the smallest sum of absolute signed bytes.
static std::vector<uint8_t> filterRows(const Image& img) {
  const size_t stride = size_t(img.w) * 3;
  std::vector<uint8_t> raw(stride * img.h);
  for (size_t i = 0; i < img.px.size(); ++i) {
    raw[i * 3] = img.px[i].r;
    raw[i * 3 + 1] = img.px[i].g;
    raw[i * 3 + 2] = img.px[i].b;
  }
  std::vector<uint8_t> out((stride + 1) * img.h);
  std::vector<uint8_t> zero(stride, 0), trial[5];
  for (auto& t : trial) t.resize(stride);
  for (int y = 0; y < img.h; ++y) {
    const uint8_t* cur = &raw[stride * y];
    const uint8_t* up = y ? &raw[stride * (y - 1)] : zero.data();
    for (size_t i = 0; i < stride; ++i) {
      int a = i >= 3 ? cur[i - 3] : 0, b = up[i], c = i >= 3 ? up[i - 3] : 0;
      trial[0][i] = cur[i];
      trial[1][i] = uint8_t(cur[i] - a);
      trial[2][i] = uint8_t(cur[i] - b);
      trial[3][i] = uint8_t(cur[i] - (a + b) / 2);
      trial[4][i] = uint8_t(cur[i] - paeth(a, b, c));
    }
    long bestScore = -1;
    int best = 0;
    for (int f = 0; f < 5; ++f) {
      long score = 0;
      const uint8_t* t = trial[f].data();
      for (size_t i = 0; i < stride; ++i) score += t[i] < 128 ? t[i] : 256 - t[i];
      if (bestScore < 0 || score < bestScore) {
        bestScore = score;
        best = f;
      }
    }
    uint8_t* row = &out[(stride + 1) * y];
    row[0] = uint8_t(best);
    std::memcpy(row + 1, trial[best].data(), stride);
  }
  return out;
}

std::vector<uint8_t> encodePng(const Image& img) {
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  std::vector<uint8_t> ihdr;
  put32(ihdr, uint32_t(img.w));
  put32(ihdr, uint32_t(img.h));
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, adaptive filters, no interlace
  chunk(out, "IHDR", ihdr);

  std::vector<uint8_t> filtered = filterRows(img);
  z_stream zs{};
  if (deflateInit2(&zs, 6, Z_DEFLATED, 15, 9, Z_DEFAULT_STRATEGY) != Z_OK)
    throw std::runtime_error("deflateInit2 failed");
  std::vector<uint8_t> packed(deflateBound(&zs, uLong(filtered.size())));
  zs.next_in = filtered.data();
  zs.avail_in = uInt(filtered.size());
  zs.next_out = packed.data();
  zs.avail_out = uInt(packed.size());
  int rc = deflate(&zs, Z_FINISH);
  packed.resize(zs.total_out);
  deflateEnd(&zs);
  if (rc != Z_STREAM_END) throw std::runtime_error("deflate failed");
  chunk(out, "IDAT", packed);
  chunk(out, "IEND", {});
  return out;
}

static void put16le(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
static void put32le(std::vector<uint8_t>& out, uint32_t v) {
  put16le(out, v & 0xffff);
  put16le(out, v >> 16);
}

std::vector<uint8_t> encodeBmp(const Image& img) {
  const uint32_t rowBytes = (uint32_t(img.w) * 3 + 3) & ~3u;
  const uint32_t dataSize = rowBytes * uint32_t(img.h);
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  put32le(out, 54 + dataSize);
  put32le(out, 0);
  put32le(out, 54);
  put32le(out, 40);  // BITMAPINFOHEADER
  put32le(out, uint32_t(img.w));
  put32le(out, uint32_t(img.h));  // positive height: rows stored bottom up
  put16le(out, 1);
  put16le(out, 24);
  put32le(out, 0);
  put32le(out, dataSize);
  put32le(out, 2835);
  put32le(out, 2835);
  put32le(out, 0);
  put32le(out, 0);
  for (int y = img.h - 1; y >= 0; --y) {
    uint32_t written = 0;
    for (int x = 0; x < img.w; ++x, written += 3) {
      Rgb c = img.at(x, y);
      out.push_back(c.b);
      out.push_back(c.g);
      out.push_back(c.r);
    }
    for (; written < rowBytes; ++written) out.push_back(0);
  }
  return out;
}

}  // namespace art
