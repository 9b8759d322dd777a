// What the game draws with: the screen, fonts, images, colour tables mapped to the screen's
// format, the scratch surface of text, and the turned pictures kept per image and heading.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <cstdint>

#include "render/surface.h"
#include "render/turned_pictures.h"

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
  std::array<SurfacePtr, 10> targetImage;
  std::array<SurfacePtr, 10> arrowImage;
  TurnedPictures turned;  // every image drawn at a heading, kept per image and angle

  // Colours mapped to the screen format (see mapMediaColours).
  std::array<uint32_t, 10> houseColours{};  // i -> (50 + 10i, 58, 18)
  std::array<uint32_t, 10> lawnColours{};   // i -> (100 - 9i, 200 - 5i, 50 - 2i)
  uint32_t sidewalkGrey = 0;  // (88, 88, 88)
  uint32_t roadGrey = 0;      // (133, 133, 133)
};

// Fills the colour tables with the given pixel format (or a 32-bit 0x00RRGGBB one when null).
void mapMediaColours(Media& media, const SDL_PixelFormat* format);
