// Draws the whole set and names the files the game loads them from.
#include <string>

#include "art.h"

namespace art {

ArtSet drawArt() {
  ArtSet a;
  a.background = drawBackground();
  a.heartIcon = drawHeartIcon();
  a.moneyIcon = drawMoneyIcon();
  a.moneyImage = drawMoneyImage();
  a.crosshair = drawCrosshair();
  a.starIcon = drawStarIcon();
  a.weaponBackground = drawWeaponBackground();
  a.bloodStain = drawBloodStain();
  a.target = drawTarget();
  a.arrow = drawArrow();
  a.dot = drawDot();
  for (int i = 0; i < 8; ++i) {
    a.player[i] = drawPlayer(i);
    a.pedestrian[i] = drawPedestrian(i);
  }
  for (int i = 0; i < 2; ++i) {
    a.bullets[i] = drawBullet(i);
    a.cars[i] = drawCar(i);
  }
  for (int i = 0; i < 3; ++i) a.weapons[i] = drawWeapon(i);
  return a;
}

std::vector<ArtFile> encodeArt(const ArtSet& a) {
  std::vector<ArtFile> files;
  auto png = [&](const std::string& path, const Image& img) { files.push_back({path, encodePng(img)}); };
  png("GFX/background.png", a.background);
  png("GFX/status/heart.png", a.heartIcon);
  png("GFX/status/money.png", a.moneyIcon);
  png("GFX/money.png", a.moneyImage);
  png("GFX/crosshair.png", a.crosshair);
  png("GFX/status/star.png", a.starIcon);
  png("GFX/status/weaponbackground.png", a.weaponBackground);
  png("GFX/bloodstain.png", a.bloodStain);
  png("GFX/targets/target0.png", a.target);
  png("GFX/arrows/arrow0.png", a.arrow);
  for (int i = 0; i < 8; ++i) png("GFX/Playeranimation/player" + std::to_string(i) + ".png", a.player[i]);
  for (int i = 0; i < 2; ++i) png("GFX/bullets/bullet" + std::to_string(i) + ".png", a.bullets[i]);
  for (int i = 0; i < 2; ++i) png("GFX/cars/car" + std::to_string(i) + ".png", a.cars[i]);
  for (int i = 0; i < 3; ++i) png("GFX/weapons/weapon" + std::to_string(i) + ".png", a.weapons[i]);
  for (int i = 0; i < 8; ++i)
    png("GFX/pedestrants/pedestrant1/pedestrant." + std::to_string(i) + ".png", a.pedestrian[i]);
  files.push_back({"dot.bmp", encodeBmp(a.dot)});
  return files;
}

std::vector<ArtFile> generateAll(const std::string& root) {
  ArtSet a = drawArt();
  std::vector<ArtFile> files = encodeArt(a);
  files.push_back({"docs/art/contact_sheet.png", encodePng(drawContactSheet(a, root + "/GFX/fonts/ADVERT.TTF"))});
  files.push_back({"dist/zor.png", encodePng(drawIcon(a))});
  return files;
}

}  // namespace art
