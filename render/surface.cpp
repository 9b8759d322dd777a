// Release of owned surfaces and fonts.
#include "render/surface.h"

#include <SDL.h>
#include <SDL_ttf.h>

void SurfaceDeleter::operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
void FontDeleter::operator()(TTF_Font* font) const {
  if (TTF_WasInit()) TTF_CloseFont(font);
}
