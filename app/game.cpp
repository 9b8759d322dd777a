// Building the one Game at start (window, fonts, images, level list, first map) and tearing it down.
#include "app/game.h"

#include <SDL_ttf.h>

#include <utility>

#include "platform/platform.h"
#include "render/sprites.h"
#include "world/data_folders.h"
#include "world/level.h"
#include "world/map_files.h"

namespace {

constexpr int FALLBACK_WIDTH = 1024;
constexpr int FALLBACK_HEIGHT = 768;

SDL_Rect fallbackSize(const Game& game) {
  if (game.desktopWidth > 0 && game.desktopHeight > 0)
    return SDL_Rect{0, 0, static_cast<Uint16>(game.desktopWidth),
                    static_cast<Uint16>(game.desktopHeight)};
  return SDL_Rect{0, 0, FALLBACK_WIDTH, FALLBACK_HEIGHT};
}

// The video flags that matter when a mode has to be opened again.
Uint32 modeFlagsOf(const SDL_Surface* screen) {
  return screen->flags & (SDL_FULLSCREEN | SDL_DOUBLEBUF | SDL_RESIZABLE);
}

// The SDL side of a failed start: whatever was opened is closed again.
bool failStart(Game& game, const std::string& why) {
  game.startFailure = why;
  shutdownGame(game);
  return false;
}

std::string sdlError() {
  const char* error = SDL_GetError();
  return error && *error ? std::string(" (") + error + ")" : "";
}

// The chosen mode, else the largest full-screen one; null when neither opens.
SDL_Surface* openScreen(const Game& game, const VideoMode& mode) {
  const std::vector<SDL_Rect> modes = fullscreenModes(game);
  const SDL_Rect largest = modes.empty() ? fallbackSize(game) : modes.front();
  const bool sized = mode.width > 0 && mode.height > 0;
  if (sized || !mode.fullscreen) {
    const int w = sized ? mode.width : largest.w, h = sized ? mode.height : largest.h;
    SDL_Surface* screen = SDL_SetVideoMode(w, h, 32, mode.fullscreen ? FULLSCREEN_FLAGS : WINDOW_FLAGS);
    if (screen) return screen;
  }
  return SDL_SetVideoMode(largest.w, largest.h, 32, FULLSCREEN_FLAGS);
}

}  // namespace

std::vector<SDL_Rect> fullscreenModes(const Game& game) {
  std::vector<SDL_Rect> modes;
  SDL_Rect** listed = SDL_ListModes(nullptr, FULLSCREEN_FLAGS);
  if (listed == reinterpret_cast<SDL_Rect**>(-1)) {
    modes.push_back(fallbackSize(game));
  } else if (listed) {
    for (int i = 0; listed[i]; ++i) modes.push_back(*listed[i]);
  }
  return modes;
}

bool setVideoMode(Game& game, int w, int h, Uint32 flags) {
  Media& media = game.media;
  const bool hadScreen = media.screen != nullptr;
  const int oldW = hadScreen ? media.screen->w : 0;
  const int oldH = hadScreen ? media.screen->h : 0;
  const Uint32 oldFlags = hadScreen ? modeFlagsOf(media.screen) : 0;

  SDL_Surface* screen = SDL_SetVideoMode(w, h, 32, flags);
  const bool changed = screen != nullptr;
  if (!screen && hadScreen) {
    // SDL may have closed the old screen while trying: keep it if it survived, else reopen it.
    screen = SDL_GetVideoSurface();
    if (!screen) screen = SDL_SetVideoMode(oldW, oldH, 32, oldFlags);
  }
  media.screen = screen;
  if (screen) {
    game.world.view.w = screen->w;
    game.world.view.h = screen->h;
    mapMediaColours(media, screen->format);
  }
  return changed;
}

bool startGame(Game& game, const StartChoice& choice) {
  World& world = game.world;
  Media& media = game.media;
  game.startFailure.clear();
  DataFolders folders;
  if (!findDataFolders(platformProgramPath(), folders))
    return failStart(game, std::string("cannot find the game's images and font (") + FONT_FILE +
                               "): run it from the game's folder or install it");
  setDataFolders(folders);
  // The game never runs without a window unless a video driver was asked for by name.
  std::string noDisplay = platformDisplayProblem();
  if (!noDisplay.empty()) return failStart(game, noDisplay);
  // Only video: the game plays no sound and reads no joystick.
  if (SDL_Init(SDL_INIT_VIDEO) == -1)
    return failStart(game, "SDL cannot start its video" + sdlError() +
                               ": check DISPLAY, or SDL_VIDEODRIVER when it is set");
  noDisplay = platformDisplayProblem();
  if (!noDisplay.empty()) return failStart(game, noDisplay);

  const SDL_VideoInfo* desktop = SDL_GetVideoInfo();
  if (desktop) {
    game.desktopWidth = desktop->current_w;
    game.desktopHeight = desktop->current_h;
  }
  media.screen = openScreen(game, choice.mode);
  if (!media.screen)
    return failStart(game, "no video mode can be opened" + sdlError() +
                               ": try another size with --window WxH");
  SDL_WM_SetCaption("ZOR", nullptr);
  if (TTF_Init() == -1) return failStart(game, "SDL_ttf cannot start" + sdlError());

  world.clock.follow(SDL_GetTicks());
  loadSprites(media);
  media.dotImage = loadImage("dot.bmp");
  world.view = View{0, 0, media.screen->w, media.screen->h};

  const std::string font = dataPath(FONT_FILE);
  media.smallFont.reset(platformOpenFont(font.c_str(), 12));
  if (media.smallFont) media.bigFont.reset(platformOpenFont(font.c_str(), 28));
  if (!media.bigFont)
    return failStart(game, "cannot open the font " + font + sdlError() +
                               ": reinstall the game or restore its GFX folder");
  mapMediaColours(media, media.screen->format);

  // A map asked for by name must be one of the list's: the name becomes a folder path.
  if (!choice.map.empty()) world.mapName = choice.map;
  if (!startFirstCity(world))
    return failStart(game, "no map \"" + world.mapName +
                               "\" in the map list: see \"Load map\" for the names");
  const Person& player = *world.player;
  platformHidePointer(static_cast<Uint16>(player.x + 50), static_cast<Uint16>(player.y + 50));

  game.editor.probeX = world.cursorX;
  game.editor.probeY = world.cursorY;
  SDL_EnableUNICODE(1);
  game.editor.editText.clear();
  return true;
}

void shutdownGame(Game& game) {
  // Surfaces and fonts all go while SDL and TTF still run.
  game.media = Media();
  World& world = game.world;
  Clock clock = world.clock;
  world = World();
  world.clock = clock;
  game.keys = nullptr;
  if (TTF_WasInit()) TTF_Quit();
  SDL_Quit();
}
