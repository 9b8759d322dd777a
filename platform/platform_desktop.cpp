// The desktop side of the platform layer: plain SDL 1.2, SDL_image and SDL_ttf.
#include "platform/platform.h"

void platformStart() {}

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
