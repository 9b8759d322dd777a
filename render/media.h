// What the game draws with: the screen, fonts, images, colour tables mapped to the screen's
// format, the scratch surfaces of text and turned pictures, and the turned pictures of records.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <cstdint>
#include <unordered_map>

#include "render/surface.h"

struct Body;

// A turned picture kept for one record between frames. A bullet's is turned once per flight
// (its serial tells a new bullet from an old one at the same address); a person's is turned
// again each time it is drawn.
struct RecordPicture {
  SurfacePtr surface;
  uint32_t serial = 0;
  bool drawn = false;  // drawn in the current picture; the others are dropped after it
};

struct Media {
  SDL_Surface* screen = nullptr;  // the video surface, owned by SDL
  FontPtr smallFont;              // 12 points
  FontPtr bigFont;                // 28 points
  SDL_Color black{0, 0, 0, 0};
  SDL_Color white{255, 255, 255, 0};

  // Images (empty when a file is missing; empty images are not drawn).
  SurfacePtr background;
  SurfacePtr textSurface;  // the most recently rendered text
  SurfacePtr heartIcon, moneyIcon, moneyImage, dotImage, crosshair, bloodStain, starIcon;
  std::array<SurfacePtr, 8> playerFrames;
  std::array<SurfacePtr, 10> carFrames;
  std::array<SurfacePtr, 80> pedestrianFrames;  // kind * 8 + walkFrame
  std::array<SurfacePtr, 10> weaponFrames;
  std::array<SurfacePtr, 10> bulletFrames;
  SurfacePtr weaponBackground;
  SurfacePtr rotatedSprite;  // shared slot: player, cars, arrows
  std::array<SurfacePtr, 10> targetImage;
  std::array<SurfacePtr, 10> arrowImage;
  std::unordered_map<const Body*, RecordPicture> pictures;  // map persons and bullets

  // Colours mapped to the screen format (see mapMediaColours).
  std::array<uint32_t, 10> houseColours{};  // i -> (50 + 10i, 58, 18)
  std::array<uint32_t, 10> lawnColours{};   // i -> (100 - 9i, 200 - 5i, 50 - 2i)
  uint32_t keyColour = 0;
  uint32_t sidewalkGrey = 0;  // (88, 88, 88)
  uint32_t roadGrey = 0;      // (133, 133, 133)
};

// Fills the colour tables with the given pixel format (or a 32-bit 0x00RRGGBB one when null).
void mapMediaColours(Media& media, const SDL_PixelFormat* format);
// The turned picture last drawn for a record, or nullptr.
SDL_Surface* pictureOf(const Media& media, const Body& record);
