// Loading the game's images with their colour keys: blue for the status icons, pure green for
// everything else. A missing file leaves its slot empty and is simply never drawn.
#include "render/sprites.h"

#include <SDL_image.h>

#include <sstream>

#include "render/media.h"
#include "platform/platform.h"
#include "world/data_folders.h"

namespace {

// Without a video mode (tools, tests) images are kept as plain 32-bit XRGB, the layout the
// display format has on every desktop we run on.
SDL_Surface* toPlain32(SDL_Surface* loaded) {
  SurfacePtr pattern(
      SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0));
  if (!pattern) return nullptr;
  return SDL_ConvertSurface(loaded, pattern->format, SDL_SWSURFACE);
}

// The key mapped with the format the game names for it; with that image missing, with the
// keyed image's own format (all loaded images share one format anyway).
Uint32 keyFor(const SDL_Surface* formatSource, const SDL_Surface* keyed, Uint8 r, Uint8 g,
              Uint8 b) {
  const SDL_Surface* from = formatSource ? formatSource : keyed;
  return SDL_MapRGB(from->format, r, g, b);
}

void setKey(const SurfacePtr& image, const SDL_Surface* formatSource, Uint8 r, Uint8 g, Uint8 b) {
  if (!image) return;
  platformSetColorKey(image.get(), keyFor(formatSource, image.get(), r, g, b));
}

}  // namespace

SurfacePtr loadImage(const std::string& path) {
  SDL_Surface* loaded = IMG_Load(dataPath(path).c_str());
  if (!loaded) return {};
  if (SDL_GetVideoSurface()) return SurfacePtr(platformDisplayFormat(loaded));
  SDL_Surface* converted = toPlain32(loaded);
  SDL_FreeSurface(loaded);
  return SurfacePtr(converted);
}

void loadFrames(const std::string& folder, const std::string& stem, int last,
                const std::string& extension, SurfacePtr* table, Uint32 key) {
  for (int i = 0; i <= last; ++i) {
    std::ostringstream built;
    built << folder << stem << i << "." << extension;
    std::string name;
    std::istringstream(built.str()) >> name;
    table[i] = loadImage(name);
    if (table[i]) platformSetColorKey(table[i].get(), key);
  }
}

void loadSprites(Media& media) {
  media.turned.clear();  // kept by image: a new image may take an old one's place in memory
  media.background = loadImage("GFX/background.png");
  media.heartIcon = loadImage("GFX/status/heart.png");
  media.moneyIcon = loadImage("GFX/status/money.png");
  media.moneyImage = loadImage("GFX/money.png");
  media.crosshair = loadImage("GFX/crosshair.png");
  media.starIcon = loadImage("GFX/status/star.png");
  media.weaponBackground = loadImage("GFX/status/weaponbackground.png");
  media.bloodStain = loadImage("GFX/bloodstain.png");
  media.targetImage[0] = loadImage("GFX/targets/target0.png");
  media.arrowImage[0] = loadImage("GFX/arrows/arrow0.png");

  const SDL_Surface* money = media.moneyIcon.get();
  setKey(media.moneyIcon, money, 0, 76, 161);
  setKey(media.heartIcon, money, 0, 76, 161);

  const SDL_Surface* heart = media.heartIcon.get();
  for (const SurfacePtr* image :
       {&media.crosshair, &media.bloodStain, &media.targetImage[0], &media.arrowImage[0],
        &media.moneyImage, &media.weaponBackground, &media.starIcon})
    setKey(*image, heart, 0, 255, 0);

  // The series are keyed with one value mapped up front; without the heart icon it is mapped
  // with the format the frames are converted to.
  const SDL_Surface* video = SDL_GetVideoSurface();
  const Uint32 green = heart   ? SDL_MapRGB(heart->format, 0, 255, 0)
                       : video ? SDL_MapRGB(video->format, 0, 255, 0)
                               : 0x0000FF00;
  loadFrames("GFX/Playeranimation/", "player", 7, "png", media.playerFrames.data(), green);
  loadFrames("GFX/bullets/", "bullet", 1, "png", media.bulletFrames.data(), green);
  loadFrames("GFX/cars/", "car", 1, "png", media.carFrames.data(), green);
  loadFrames("GFX/weapons/", "weapon", 2, "png", media.weaponFrames.data(), green);
  loadFrames("GFX/pedestrants/pedestrant1/", "pedestrant.", 7, "png", media.pedestrianFrames.data(),
             green);
}
