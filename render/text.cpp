// Text drawing through the World's one text surface, and the number formatting of the screens.
#include "render/text.h"

#include <sstream>

#include "app/world.h"
#include "platform/platform.h"

void drawText(World& world, TTF_Font* font, const std::string& text, SDL_Color colour, int x,
              int y) {
  if (!font || !world.screen) return;
  world.textSurface.reset();
  SDL_Surface* rendered = platformRenderText(font, text, colour);
  if (!rendered) return;  // an empty text renders nothing
  SDL_Rect at{static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
  SDL_BlitSurface(rendered, nullptr, world.screen, &at);
  world.textSurface.reset(rendered);
}

std::string toText(int value) { return std::to_string(value); }

std::string toText(double value) {
  std::ostringstream out;
  out << value;
  return out.str();
}
