// The contact sheet: every picture on the city's grounds, turned to several headings, a mock
// status display with its texts, and the title screen reduced.
#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <string>

#include "art.h"

namespace art {

namespace {

const Rgb kRoad{133, 133, 133}, kSidewalk{88, 88, 88}, kLawn{100, 200, 50}, kHouse{50, 58, 18};

void fillRect(Image& img, int x, int y, int w, int h, Rgb c) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i)
      if (img.inside(i, j)) img.at(i, j) = c;
}

// Centres a keyed picture turned to a heading (degrees, 90 = up) at (cx, cy), as the game does.
void placeTurned(Image& dst, const Image& src, int cx, int cy, double heading, double offset = -90, Rgb key = kGreenKey) {
  Image turned = rotateNearest(src, heading + offset, key);
  blitKeyed(dst, turned, cx - turned.w / 2, cy - turned.h / 2, key);
}

class Text {
 public:
  explicit Text(const std::string& path, int points) {
    if (!TTF_WasInit() && TTF_Init() == 0) ownInit_ = true;
    if (TTF_WasInit()) font_ = TTF_OpenFont(path.c_str(), points);
  }
  ~Text() {
    if (font_) TTF_CloseFont(font_);
    if (ownInit_) TTF_Quit();
  }
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;

  // Blended text with its top-left at (x, y), as the game draws its texts.
  void draw(Image& img, const std::string& s, int x, int y, Rgb colour) const {
    if (!font_ || s.empty()) return;
    SDL_Color c{colour.r, colour.g, colour.b, 0};
    SDL_Surface* surf = TTF_RenderText_Blended(font_, s.c_str(), c);
    if (!surf) return;
    SDL_LockSurface(surf);
    for (int j = 0; j < surf->h; ++j)
      for (int i = 0; i < surf->w; ++i) {
        if (!img.inside(x + i, y + j)) continue;
        Uint32 p = *reinterpret_cast<Uint32*>(static_cast<Uint8*>(surf->pixels) + j * surf->pitch + i * 4);
        Uint8 r, g, b, a;
        SDL_GetRGBA(p, surf->format, &r, &g, &b, &a);
        Rgb& d = img.at(x + i, y + j);
        d = Rgb{uint8_t((r * a + d.r * (255 - a) + 127) / 255), uint8_t((g * a + d.g * (255 - a) + 127) / 255),
                uint8_t((b * a + d.b * (255 - a) + 127) / 255)};
      }
    SDL_UnlockSurface(surf);
    SDL_FreeSurface(surf);
  }

 private:
  TTF_Font* font_ = nullptr;
  bool ownInit_ = false;
};

// One band of the sheet on one ground colour.
Image groundBand(const ArtSet& a, Rgb ground) {
  Image band(790, 210, ground);
  // Walk cycles, then one frame turned through the headings.
  for (int f = 0; f < 8; ++f) {
    placeTurned(band, a.player[f], 22 + f * 34, 22, 90);
    placeTurned(band, a.pedestrian[f], 22 + f * 34, 62, 90);
  }
  const int headings[] = {0, 45, 135, 200, 300};
  for (int i = 0; i < 5; ++i) {
    placeTurned(band, a.player[2], 310 + i * 40, 22, headings[i]);
    placeTurned(band, a.pedestrian[6], 310 + i * 40, 62, headings[i]);
  }
  // Small things: bullets at three headings, money, blood, marker, arrows, star, crosshair.
  for (int k = 0; k < 2; ++k)
    for (int i = 0; i < 3; ++i) placeTurned(band, a.bullets[k], 530 + i * 20, 16 + k * 18, i * 110, 0);
  blitKeyed(band, a.moneyImage, 600, 4, kGreenKey);
  blitKeyed(band, a.bloodStain, 640, 4, kGreenKey);
  blitKeyed(band, a.target, 680, 8, kGreenKey);
  placeTurned(band, a.arrow, 735, 22, 0, 0);
  placeTurned(band, a.arrow, 735, 62, 135, 0);
  blitKeyed(band, a.starIcon, 530, 54, kGreenKey);
  blitKeyed(band, a.starIcon, 550, 54, kGreenKey);
  blitKeyed(band, a.crosshair, 580, 56, kGreenKey);
  blitOpaque(band, a.dot, 610, 62);
  // Cars nose up, then turned.
  const int carHeadings[] = {90, 20, 0, 135, 250};
  for (int i = 0; i < 5; ++i) {
    placeTurned(band, a.cars[0], 60 + i * 118, 150, carHeadings[i]);
  }
  placeTurned(band, a.cars[1], 650, 150, 90);
  placeTurned(band, a.cars[1], 716, 150, 300);
  return band;
}

// The status display as the game lays it out on a small screen over a patch of city.
Image statusMock(const ArtSet& a, const Text& text, int weapon, bool inCar) {
  const int W = 420, H = 250;
  Image s(W, H, kLawn);
  fillRect(s, 140, 0, 90, H, kSidewalk);
  fillRect(s, 230, 0, 120, H, kRoad);
  fillRect(s, 350, 0, 70, 120, kHouse);
  placeTurned(s, a.cars[1], 290, 60, 80);
  placeTurned(s, a.player[3], 180, 70, 110);
  placeTurned(s, a.pedestrian[1], 100, 40, 250);
  const Rgb black{0, 0, 0};
  for (int i = 1; i <= 3; ++i) blitKeyed(s, a.starIcon, 20 * i - 10, H - 185, kGreenKey);
  text.draw(s, "87.5", 70, H - 120, black);
  blitKeyed(s, a.heartIcon, 10, H - 130, kBlueKey);
  text.draw(s, "1000", 70, H - 60, black);
  blitKeyed(s, a.moneyIcon, 10, H - 80, kBlueKey);
  blitKeyed(s, a.weaponBackground, W - 120, H - 120, kGreenKey);
  if (inCar) {
    text.draw(s, "64", W - 70, H - 70, black);
    return s;
  }
  const Image& pic = a.weapons[weapon];
  blitKeyed(s, pic, W - 110, H - pic.h / 2 - 60, kGreenKey);
  const char* names[] = {"Hands", "M4", "AK47"};
  text.draw(s, names[weapon], W - 90, H - 120, black);
  if (weapon == 0)
    text.draw(s, "Unlimited", W - 95, H - 30, black);
  else
    text.draw(s, weapon == 1 ? "1000" : "100", W - 50, H - 30, black);
  return s;
}

}  // namespace

Image drawContactSheet(const ArtSet& a, const std::string& fontPath) {
  Text label(fontPath, 12);
  const Rgb grounds[] = {kRoad, kSidewalk, kLawn, kHouse};
  Image top(790, 4 * 210);
  for (int g = 0; g < 4; ++g) blitOpaque(top, groundBand(a, grounds[g]), 0, g * 210);
  Image huds(840, 500, Rgb{40, 40, 40});
  for (int i = 0; i < 4; ++i) {
    Image m = statusMock(a, label, i < 3 ? i : 1, i == 3);
    blitOpaque(huds, m, (i % 2) * 420, (i / 2) * 250);
  }
  Image bigTop = scaleNearest(top, 2), bigHuds = scaleNearest(huds, 2);
  Image reduced = shrink(a.background, 4);
  Image sheet(std::max({bigTop.w, bigHuds.w, reduced.w}), bigTop.h + bigHuds.h + reduced.h + 16, Rgb{40, 40, 40});
  blitOpaque(sheet, bigTop, 0, 0);
  blitOpaque(sheet, bigHuds, 0, bigTop.h + 8);
  blitOpaque(sheet, reduced, 0, bigTop.h + bigHuds.h + 16);
  return sheet;
}

Image drawIcon(const ArtSet& a) {
  Image icon(128, 128, kLawn);
  fillRect(icon, 26, 0, 8, 128, kSidewalk);
  fillRect(icon, 34, 0, 60, 128, kRoad);
  fillRect(icon, 94, 0, 8, 128, kSidewalk);
  placeTurned(icon, a.cars[0], 66, 60, 100);
  placeTurned(icon, scaleNearest(a.player[3], 2), 100, 104, 135);
  return icon;
}

}  // namespace art
