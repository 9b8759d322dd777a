// Text drawing through the media's one text surface, and the number formatting of the screens.
#include "render/text.h"

#include <sstream>

#include "render/media.h"
#include "platform/platform.h"

void drawText(Media& media, TTF_Font* font, const std::string& text, SDL_Color colour, int x,
              int y) {
  if (!font || !media.screen) return;
  media.textSurface.reset();
  SDL_Surface* rendered = platformRenderText(font, text, colour);
  if (!rendered) return;  // an empty text renders nothing
  SDL_Rect at{static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
  SDL_BlitSurface(rendered, nullptr, media.screen, &at);
  media.textSurface.reset(rendered);
}

std::string toText(int value) { return std::to_string(value); }

std::string toText(double value) {
  std::ostringstream out;
  out << value;
  return out.str();
}
