// The game's pictures: every file loads at its path with its size, keyed sprites have clean
// edges, walk cycles mirror, the title screen keeps the menu readable, and the generator
// reproduces the committed files byte for byte.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <queue>
#include <set>
#include <string>
#include <vector>

#include "art.h"

namespace {

using art::Image;
using art::Rgb;

enum class Key { None, Green, Blue };

struct Expect {
  std::string path;
  int minW, maxW, minH, maxH;
  Key key;
};

// Every file the game loads, with the size range its records and screen places allow.
std::vector<Expect> expectedFiles() {
  std::vector<Expect> e = {
      {"GFX/background.png", 2560, 8192, 1600, 8192, Key::None},
      {"GFX/status/heart.png", 44, 56, 44, 56, Key::Blue},
      {"GFX/status/money.png", 44, 56, 44, 56, Key::Blue},
      {"GFX/money.png", 26, 34, 36, 44, Key::Green},
      {"GFX/crosshair.png", 15, 15, 15, 15, Key::Green},
      {"GFX/status/star.png", 16, 20, 16, 20, Key::Green},
      {"GFX/status/weaponbackground.png", 110, 130, 110, 130, Key::Green},
      {"GFX/bloodstain.png", 26, 34, 36, 44, Key::Green},
      {"GFX/targets/target0.png", 26, 34, 26, 34, Key::Green},
      {"GFX/arrows/arrow0.png", 26, 34, 16, 24, Key::Green},
      {"GFX/bullets/bullet0.png", 10, 10, 5, 5, Key::Green},
      {"GFX/bullets/bullet1.png", 10, 10, 5, 5, Key::Green},
      {"GFX/cars/car0.png", 69, 69, 94, 94, Key::Green},
      {"GFX/cars/car1.png", 69, 69, 94, 94, Key::Green},
      // Weapons sit at panel x 10 and must leave the name row and the ammo row free.
      {"GFX/weapons/weapon0.png", 20, 100, 16, 56, Key::Green},
      {"GFX/weapons/weapon1.png", 60, 100, 16, 56, Key::Green},
      {"GFX/weapons/weapon2.png", 60, 100, 16, 56, Key::Green},
      {"dot.bmp", 1, 8, 1, 8, Key::None},
  };
  for (int i = 0; i < 8; ++i) {
    e.push_back({"GFX/Playeranimation/player" + std::to_string(i) + ".png", 29, 29, 18, 18, Key::Green});
    e.push_back({"GFX/pedestrants/pedestrant1/pedestrant." + std::to_string(i) + ".png", 30, 30, 20, 20, Key::Green});
  }
  return e;
}

Rgb keyOf(Key k) { return k == Key::Blue ? art::kBlueKey : art::kGreenKey; }

struct SurfaceFree {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using Surface = std::unique_ptr<SDL_Surface, SurfaceFree>;

// Reads a loaded surface into plain pixels, whatever its depth.
Image toImage(SDL_Surface* s) {
  Image img(s->w, s->h);
  SDL_LockSurface(s);
  const int bpp = s->format->BytesPerPixel;
  for (int y = 0; y < s->h; ++y)
    for (int x = 0; x < s->w; ++x) {
      const Uint8* p = static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * bpp;
      Uint32 v = 0;
      if (bpp == 1) v = *p;
      else if (bpp == 2) v = *reinterpret_cast<const Uint16*>(p);
      else if (bpp == 3) v = SDL_BYTEORDER == SDL_LIL_ENDIAN ? (p[0] | p[1] << 8 | p[2] << 16) : (p[2] | p[1] << 8 | p[0] << 16);
      else v = *reinterpret_cast<const Uint32*>(p);
      Uint8 r, g, b;
      SDL_GetRGB(v, s->format, &r, &g, &b);
      img.at(x, y) = Rgb{r, g, b};
    }
  SDL_UnlockSurface(s);
  return img;
}

Image load(const std::string& path) {
  Surface s(IMG_Load(path.c_str()));
  if (!s) return Image();
  return toImage(s.get());
}

std::vector<uint8_t> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

double luminance(Rgb c) {
  auto lin = [](int v) {
    double s = v / 255.0;
    return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * lin(c.r) + 0.7152 * lin(c.g) + 0.0722 * lin(c.b);
}

Image mirrored(const Image& img) {
  Image out(img.w, img.h);
  for (int y = 0; y < img.h; ++y)
    for (int x = 0; x < img.w; ++x) out.at(x, y) = img.at(img.w - 1 - x, y);
  return out;
}

bool samePixels(const Image& a, const Image& b) { return a.w == b.w && a.h == b.h && a.px == b.px; }

int visibleRows(const Image& img, Rgb key) {
  int top = img.h, bottom = -1;
  for (int y = 0; y < img.h; ++y)
    for (int x = 0; x < img.w; ++x)
      if (img.at(x, y) != key) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  return bottom < top ? 0 : bottom - top + 1;
}

// Key pixels that cannot be reached from the picture's border through other key pixels; the
// first one found goes to `where`. Its own flood fill, apart from the generator's
// fillEnclosedKey on purpose: a fault in that fill must not hide itself here.
int enclosedKeyPixels(const Image& img, Rgb key, std::string* where = nullptr) {
  std::vector<char> seen(img.px.size(), 0);
  std::queue<std::pair<int, int>> q;
  auto push = [&](int x, int y) {
    if (!img.inside(x, y) || seen[size_t(y) * img.w + x] || img.at(x, y) != key) return;
    seen[size_t(y) * img.w + x] = 1;
    q.push({x, y});
  };
  for (int x = 0; x < img.w; ++x) {
    push(x, 0);
    push(x, img.h - 1);
  }
  for (int y = 0; y < img.h; ++y) {
    push(0, y);
    push(img.w - 1, y);
  }
  while (!q.empty()) {
    auto [x, y] = q.front();
    q.pop();
    push(x + 1, y);
    push(x - 1, y);
    push(x, y + 1);
    push(x, y - 1);
  }
  int enclosed = 0;
  for (size_t i = 0; i < img.px.size(); ++i)
    if (img.px[i] == key && !seen[i] && enclosed++ == 0 && where)
      *where = std::to_string(i % img.w) + "," + std::to_string(i / img.w);
  return enclosed;
}

// A visible pixel next to the key that leans toward the key's colour: a blended edge.
bool tintedTowardKey(Rgb c, Key k) {
  if (k == Key::Green) return c.g > c.r + 40 && c.g > c.b + 40;
  return c.b > c.r + 60 && c.b > c.g + 30;
}

class ArtFiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { IMG_Init(IMG_INIT_PNG); }
};

TEST_F(ArtFiles, EveryFileTheGameLoadsIsThereWithItsSizeAndNoAlpha) {
  for (const Expect& e : expectedFiles()) {
    SCOPED_TRACE(e.path);
    Surface s(IMG_Load(e.path.c_str()));
    ASSERT_TRUE(s) << IMG_GetError();
    EXPECT_GE(s->w, e.minW);
    EXPECT_LE(s->w, e.maxW);
    EXPECT_GE(s->h, e.minH);
    EXPECT_LE(s->h, e.maxH);
    // Transparency is the colour key alone: the files carry no alpha channel.
    EXPECT_EQ(s->format->Amask, 0u);
    EXPECT_EQ(s->format->BitsPerPixel, 24);
  }
  // Names the game builds from a stem and an index, the dotted pedestrian names included.
  EXPECT_TRUE(load("GFX/pedestrants/pedestrant1/pedestrant.5.png").w == 30);
  EXPECT_TRUE(load("GFX/weapons/weapon2.png").w > 0);
  // The title screen stays a reasonable download.
  EXPECT_LT(readFile("GFX/background.png").size(), 3u * 1024 * 1024);
}

TEST_F(ArtFiles, KeyedSpritesHaveKeyedCornersNoHolesAndNoKeyColouredEdges) {
  for (const Expect& e : expectedFiles()) {
    if (e.key == Key::None) continue;
    SCOPED_TRACE(e.path);
    Image img = load(e.path);
    ASSERT_GT(img.w, 0);
    const Rgb key = keyOf(e.key);
    EXPECT_EQ(img.at(0, 0), key);
    EXPECT_EQ(img.at(img.w - 1, 0), key);
    EXPECT_EQ(img.at(0, img.h - 1), key);
    EXPECT_EQ(img.at(img.w - 1, img.h - 1), key);
    std::string hole;
    EXPECT_EQ(enclosedKeyPixels(img, key, &hole), 0) << "transparent hole inside the sprite at " << hole;
    int visible = 0, nearKey = 0, fringe = 0;
    for (int y = 0; y < img.h; ++y)
      for (int x = 0; x < img.w; ++x) {
        Rgb c = img.at(x, y);
        if (c == key) continue;
        ++visible;
        if (art::channelDistance(c, key) < 64) ++nearKey;
        bool edge = false;
        for (auto [dx, dy] : {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}})
          if (img.inside(x + dx, y + dy) && img.at(x + dx, y + dy) == key) edge = true;
        if (edge && tintedTowardKey(c, e.key)) ++fringe;
      }
    EXPECT_GT(visible, img.w * img.h / 8) << "sprite is mostly empty";
    EXPECT_EQ(nearKey, 0);
    EXPECT_EQ(fringe, 0);
  }
}

TEST_F(ArtFiles, WalkCyclesStandInFrameZeroAndMirrorHalfAStrideApart) {
  for (std::string stem : {"GFX/Playeranimation/player", "GFX/pedestrants/pedestrant1/pedestrant."}) {
    SCOPED_TRACE(stem);
    std::vector<Image> f;
    for (int i = 0; i < 8; ++i) f.push_back(load(stem + std::to_string(i) + ".png"));
    ASSERT_GT(f[0].w, 0);
    // Standing: both sides alike. Half a stride later the other foot leads.
    EXPECT_TRUE(samePixels(f[0], mirrored(f[0])));
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(samePixels(f[i + 4], mirrored(f[i]))) << "frame " << i;
    // Each frame of the first half is a different pose, and the cycle has a direction.
    for (int i = 0; i < 4; ++i)
      for (int j = i + 1; j < 4; ++j) EXPECT_FALSE(samePixels(f[i], f[j])) << i << " vs " << j;
    EXPECT_FALSE(samePixels(f[1], f[7]));
    // Striding feet reach further ahead and behind than standing ones.
    EXPECT_GT(visibleRows(f[2], art::kGreenKey), visibleRows(f[0], art::kGreenKey) + 3);
  }
}

TEST_F(ArtFiles, PlayerAndPedestriansAreVisiblyDifferentPeople) {
  auto meanColour = [](const Image& img) {
    double r = 0, g = 0, b = 0;
    int n = 0;
    for (Rgb c : img.px)
      if (c != art::kGreenKey) {
        r += c.r;
        g += c.g;
        b += c.b;
        ++n;
      }
    return std::vector<double>{r / n, g / n, b / n};
  };
  auto p = meanColour(load("GFX/Playeranimation/player0.png"));
  auto q = meanColour(load("GFX/pedestrants/pedestrant1/pedestrant.0.png"));
  double d = std::sqrt((p[0] - q[0]) * (p[0] - q[0]) + (p[1] - q[1]) * (p[1] - q[1]) + (p[2] - q[2]) * (p[2] - q[2]));
  EXPECT_GT(d, 60.0);
  Image car0 = load("GFX/cars/car0.png"), car1 = load("GFX/cars/car1.png");
  int differing = 0;
  for (size_t i = 0; i < car0.px.size() && i < car1.px.size(); ++i) differing += car0.px[i] != car1.px[i];
  EXPECT_GT(differing, int(car0.px.size()) / 2) << "the two car models look alike";
}

TEST_F(ArtFiles, WeaponsFitThePanelAndLeaveItsTextRowsReadable) {
  Image panel = load("GFX/status/weaponbackground.png");
  ASSERT_GT(panel.w, 0);
  // Text rows, in panel coordinates: the name at (30, 0), "Unlimited" at (25, 90) and the
  // ammo at (80, 90), 12-point text about 16 pixels high; the car's life at (50, 50).
  struct Box {
    int x0, y0, x1, y1;
  };
  const Box nameRow{30, 3, 110, 17}, ammoRow{25, 92, 112, 106}, carLife{50, 52, 100, 66};
  for (Box b : {nameRow, ammoRow, carLife})
    for (int y = b.y0; y < b.y1; ++y)
      for (int x = b.x0; x < b.x1; ++x) ASSERT_GT(luminance(panel.at(x, y)), 0.4) << x << "," << y;
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    Image w = load("GFX/weapons/weapon" + std::to_string(i) + ".png");
    ASSERT_GT(w.w, 0);
    // Blitted at (W - 110, H - h / 2 - 60): panel x 10, panel y 60 - h / 2.
    const int ox = 10, oy = 60 - w.h / 2;
    EXPECT_LE(ox + w.w, panel.w);
    for (int y = 0; y < w.h; ++y)
      for (int x = 0; x < w.w; ++x) {
        if (w.at(x, y) == art::kGreenKey) continue;
        int px = ox + x, py = oy + y;
        bool inText = (py >= nameRow.y0 && py < nameRow.y1 && px >= nameRow.x0 && px < nameRow.x1) ||
                      (py >= ammoRow.y0 && py < ammoRow.y1 && px >= ammoRow.x0 && px < ammoRow.x1);
        ASSERT_FALSE(inText) << "weapon pixel under a text row at " << px << "," << py;
      }
  }
}

TEST_F(ArtFiles, TitleScreenKeepsTheMenuStripReadableInBlackAndWhite) {
  Image bg = load("GFX/background.png");
  ASSERT_GE(bg.w, 2560);
  ASSERT_GE(bg.h, 1600);
  // Menu and controls texts (28 points) start at x = 200 below y = 90 on any screen size.
  double worstWhite = 100, worstBlack = 100;
  std::string whereWhite, whereBlack;
  for (int y = 92; y < bg.h; y += 3)
    for (int x = 190; x < 1200; x += 3) {
      double l = luminance(bg.at(x, y));
      std::string here = std::to_string(x) + "," + std::to_string(y);
      if (1.05 / (l + 0.05) < worstWhite) worstWhite = 1.05 / (l + 0.05), whereWhite = here;
      if ((l + 0.05) / 0.05 < worstBlack) worstBlack = (l + 0.05) / 0.05, whereBlack = here;
    }
  EXPECT_GE(worstWhite, 3.0) << "white text fades at " << whereWhite;
  EXPECT_GE(worstBlack, 3.0) << "black text fades at " << whereBlack;
  // The title sits in the top band: strong warm letter colours and a dark outline.
  int warm = 0, dark = 0;
  for (int y = 0; y < 92; ++y)
    for (int x = 190; x < 460; ++x) {
      Rgb c = bg.at(x, y);
      if (c.r > 200 && c.b < 100 && c.r > c.g + 20) ++warm;
      if (luminance(c) < 0.02) ++dark;
    }
  EXPECT_GT(warm, 3000);
  EXPECT_GT(dark, 800);
}

TEST_F(ArtFiles, CrosshairIsCentredOnPixelSevenSeven) {
  Image c = load("GFX/crosshair.png");
  ASSERT_EQ(c.w, 15);
  EXPECT_NE(c.at(7, 7), art::kGreenKey);
  for (int y = 0; y < 15; ++y)
    for (int x = 0; x < 15; ++x) {
      EXPECT_EQ(c.at(x, y), c.at(14 - x, y));
      EXPECT_EQ(c.at(x, y), c.at(x, 14 - y));
      EXPECT_EQ(c.at(x, y), c.at(y, x));
    }
}

TEST(ArtEncoding, PngAndBmpRoundTripThroughTheImageLoader) {
  IMG_Init(IMG_INIT_PNG);
  for (auto [w, h] : {std::pair{1, 1}, std::pair{7, 3}, std::pair{64, 33}}) {
    Image img(w, h);
    uint32_t s = 12345;
    for (Rgb& p : img.px) {
      s = s * 1103515245u + 12345u;
      p = Rgb{uint8_t(s >> 24), uint8_t(s >> 16), uint8_t(s >> 8)};
    }
    for (bool png : {true, false}) {
      SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + (png ? " png" : " bmp"));
      std::vector<uint8_t> bytes = png ? art::encodePng(img) : art::encodeBmp(img);
      SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
      Surface loaded(IMG_Load_RW(rw, 1));
      ASSERT_TRUE(loaded) << IMG_GetError();
      EXPECT_TRUE(samePixels(toImage(loaded.get()), img));
    }
  }
}

TEST(ArtEncoding, NearestTurnsKeepEveryPixelAndPadWithTheKey) {
  Image img(20, 40, art::kGreenKey);
  img.at(0, 0) = Rgb{255, 0, 0};    // top-left
  img.at(19, 39) = Rgb{0, 0, 255};  // bottom-right
  Image quarter = art::rotateNearest(img, 90, art::kGreenKey);
  ASSERT_EQ(quarter.w, 40);
  ASSERT_EQ(quarter.h, 20);
  // A counter-clockwise quarter turn takes the top-left corner to the bottom-left.
  EXPECT_EQ(quarter.at(0, 19), (Rgb{255, 0, 0}));
  EXPECT_EQ(quarter.at(39, 0), (Rgb{0, 0, 255}));
  Image half = art::rotateNearest(img, 180, art::kGreenKey);
  EXPECT_EQ(half.at(19, 39), (Rgb{255, 0, 0}));
  Image slanted = art::rotateNearest(img, 45, art::kGreenKey);
  EXPECT_EQ(slanted.at(0, 0), art::kGreenKey);
  EXPECT_GE(slanted.w, 42);
  EXPECT_NEAR(art::sinDeg(30), 0.5, 1e-15);
  EXPECT_NEAR(art::cosDeg(-420), 0.5, 1e-15);
  EXPECT_EQ(art::sinDeg(45 * 5), -art::sinDeg(45));
}

TEST(ArtGenerator, RedrawsTheCommittedFilesByteForByte) {
  std::vector<art::ArtFile> first = art::generateAll(".");
  std::vector<art::ArtFile> second = art::generateAll(".");
  ASSERT_EQ(first.size(), second.size());
  std::set<std::string> paths;
  for (size_t i = 0; i < first.size(); ++i) {
    SCOPED_TRACE(first[i].path);
    paths.insert(first[i].path);
    EXPECT_EQ(first[i].path, second[i].path);
    EXPECT_TRUE(first[i].bytes == second[i].bytes) << "two runs differ";
    EXPECT_TRUE(first[i].bytes == readFile(first[i].path)) << "committed file is stale: run make art";
  }
  // The generator writes exactly the files the game loads, plus the contact sheet and the icon.
  for (const Expect& e : expectedFiles()) EXPECT_EQ(paths.count(e.path), 1u) << e.path;
  EXPECT_EQ(paths.count("docs/art/contact_sheet.png"), 1u);
  EXPECT_EQ(paths.count("dist/zor.png"), 1u);
  EXPECT_EQ(paths.size(), expectedFiles().size() + 2);
}

}  // namespace
