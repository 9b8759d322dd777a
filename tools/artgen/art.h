// Every picture the game loads, drawn from code, and the files they are written to.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "image.h"

namespace art {

struct ArtSet {
  Image background;
  Image heartIcon, moneyIcon, moneyImage, crosshair, starIcon, weaponBackground, bloodStain;
  Image target, arrow, dot;
  std::array<Image, 8> player, pedestrian;
  std::array<Image, 2> bullets, cars;
  std::array<Image, 3> weapons;
};

struct ArtFile {
  std::string path;  // relative to the repository root
  std::vector<uint8_t> bytes;
};

// Walk frames: frame 0 stands, the rest swing legs and arms through one stride.
Image drawPlayer(int frame);
Image drawPedestrian(int frame);
Image drawCar(int model);
Image drawBullet(int kind);
Image drawWeapon(int kind);
Image drawHeartIcon();
Image drawMoneyIcon();
Image drawStarIcon();
Image drawWeaponBackground();
Image drawMoneyImage();
Image drawBloodStain();
Image drawTarget();
Image drawArrow();
Image drawCrosshair();
Image drawDot();
Image drawBackground();

ArtSet drawArt();
// The game's files, at the paths the game loads them from.
std::vector<ArtFile> encodeArt(const ArtSet& set);
// Every picture on the city's grounds and at several headings, with a mock status display and
// a reduced title screen; fontPath may name a TrueType font for the status texts.
Image drawContactSheet(const ArtSet& set, const std::string& fontPath);
// The desktop icon, 128 x 128: the red hatchback on a road through a lawn, the player beside it.
Image drawIcon(const ArtSet& set);
// The game's files plus docs/art/contact_sheet.png and the icon dist/zor.png.
std::vector<ArtFile> generateAll(const std::string& root);

}  // namespace art
