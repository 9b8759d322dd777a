// The desktop side of the platform layer: plain SDL 1.2, SDL_image and SDL_ttf.
#include "platform/platform.h"

#include <signal.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

namespace {

volatile sig_atomic_t stopRequested = 0;

void onStopSignal(int) { stopRequested = 1; }

bool isSet(const char* variable) {
  const char* value = std::getenv(variable);
  return value && *value;
}

}  // namespace

void platformStart() {
  stopRequested = 0;
  struct sigaction action {};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  // A parent may have started us with these blocked; a signal already waiting arrives now.
  sigset_t stops;
  sigemptyset(&stops);
  sigaddset(&stops, SIGINT);
  sigaddset(&stops, SIGTERM);
  sigprocmask(SIG_UNBLOCK, &stops, nullptr);
}

bool platformStopRequested() { return stopRequested != 0; }

std::string platformDisplayProblem() {
  if (isSet("SDL_VIDEODRIVER")) return "";
  if (!isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY"))
    return "no display: set DISPLAY or start the game on a desktop";
  // SDL falls back to drawing off screen when the display named cannot be reached.
  char driver[32];
  if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_VideoDriverName(driver, sizeof driver)) {
    const std::string name = driver;
    if (name == "offscreen" || name == "dummy") {
      const char* display = std::getenv("DISPLAY");
      return std::string("cannot open the display ") + (display ? display : "") +
             ": check DISPLAY or start the game on a desktop";
    }
  }
  return "";
}

std::string platformProgramPath() {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return "";
  return std::string(path, static_cast<size_t>(n));
}

void platformEnd() {}

const Uint8* platformKeyState() { return SDL_GetKeyState(nullptr); }

SDL_Surface* platformDisplayFormat(SDL_Surface* loaded) {
  SDL_Surface* converted = SDL_DisplayFormat(loaded);
  SDL_FreeSurface(loaded);
  return converted;
}

void platformSetColorKey(SDL_Surface* image, Uint32 key) {
  SDL_SetColorKey(image, SDL_SRCCOLORKEY, key);
}

TTF_Font* platformOpenFont(const char* path, int points) { return TTF_OpenFont(path, points); }

SDL_Surface* platformRenderText(TTF_Font* font, const std::string& latin1, SDL_Color colour) {
  // The Latin-1 renderer keeps the editor's Swedish letters byte for byte.
  return TTF_RenderText_Blended(font, latin1.c_str(), colour);
}

Uint16 platformTypedCharacter(const SDL_keysym& key) { return key.unicode; }

void platformHidePointer(int x, int y) {
  SDL_ShowCursor(SDL_DISABLE);
  SDL_WarpMouse(static_cast<Uint16>(x), static_cast<Uint16>(y));
}

bool platformBeginPixels(SDL_Surface* surface) {
  return !SDL_MUSTLOCK(surface) || SDL_LockSurface(surface) == 0;
}

void platformEndPixels(SDL_Surface* surface, bool) {
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
}

bool platformColorKey(const SDL_Surface* surface, Uint32& key) {
  if (!(surface->flags & SDL_SRCCOLORKEY)) return false;
  key = surface->format->colorkey;
  return true;
}

Uint8 platformSurfaceAlpha(const SDL_Surface* surface) { return surface->format->alpha; }

bool platformDirectPixels() { return true; }

// On the desktop colour keys and surface alpha are applied by SDL's own blit.
bool platformPixelsCarryAlpha(const SDL_Surface*) { return false; }

void platformFilesChanged() {}

void platformFrameShown(uint32_t) {}
