// The play state: screen, fonts, sprites, the thirteen world lists and the player.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/clock.h"
#include "render/surface.h"
#include "world/record_list.h"
#include "world/records.h"

constexpr int BIG_LIST_CAPACITY = 500;
constexpr int BULLET_CAPACITY = 2000;
constexpr int MONEY_ITEM_CAPACITY = 20;

struct World {
  // Camera: x, y = world position of the screen's top-left corner; w, h = screen size.
  SDL_Rect view{0, 0, 0, 0};
  FontPtr smallFont;  // 12 points
  FontPtr bigFont;    // 28 points
  SDL_Color black{0, 0, 0, 0};
  SDL_Color white{255, 255, 255, 0};
  SDL_Surface* screen = nullptr;  // the video surface, owned by SDL

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

  // Colours mapped to the screen format (see mapWorldColours).
  std::array<uint32_t, 10> houseColours{};  // i -> (50 + 10i, 58, 18)
  std::array<uint32_t, 10> lawnColours{};   // i -> (100 - 9i, 200 - 5i, 50 - 2i)
  uint32_t keyColour = 0;
  uint32_t sidewalkGrey = 0;  // (88, 88, 88)
  uint32_t roadGrey = 0;      // (133, 133, 133)

  std::string mapName;
  std::vector<std::string> levels;
  int cursorX = 0, cursorY = 0;  // world coordinates, kept in 1..2999

  RecordList<House> houses{BIG_LIST_CAPACITY};
  RecordList<Sidewalk> sidewalks{BIG_LIST_CAPACITY};
  RecordList<Road> roads{BIG_LIST_CAPACITY};
  RecordList<Lawn> lawns{BIG_LIST_CAPACITY};
  RecordList<Weapon> weapons{BIG_LIST_CAPACITY};  // lying in the city
  RecordList<Car> cars{BIG_LIST_CAPACITY};
  RecordList<Person> pedestrians{BIG_LIST_CAPACITY};
  RecordList<DeathMark> deathMarks{BIG_LIST_CAPACITY};
  RecordList<MoneyDrop> moneyDrops{BIG_LIST_CAPACITY};
  RecordList<Bullet> bullets{BULLET_CAPACITY};
  RecordList<MoneyItem> moneyItems{MONEY_ITEM_CAPACITY};
  RecordList<Person> drivers{BIG_LIST_CAPACITY};
  RecordList<Person> badGuys{BIG_LIST_CAPACITY};

  std::unique_ptr<Person> player;

  Clock clock;
};

// Fills the colour tables with the given pixel format (or a 32-bit 0x00RRGGBB one when null).
void mapWorldColours(World& world, const SDL_PixelFormat* format);
