// Text drawing through the media's one text surface, and number formatting.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <string>

struct Media;

// Renders a Latin-1 text with the font and colour and blits it with its top-left at (x, y).
void drawText(Media& media, TTF_Font* font, const std::string& text, SDL_Color colour, int x,
              int y);
std::string toText(int value);
std::string toText(double value);  // default stream formatting, six significant digits
