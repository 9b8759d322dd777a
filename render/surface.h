// Owning handles for SDL surfaces and TrueType fonts.
#pragma once

#include <memory>

struct SDL_Surface;
typedef struct _TTF_Font TTF_Font;

struct SurfaceDeleter {
  void operator()(SDL_Surface* surface) const;
};
struct FontDeleter {
  void operator()(TTF_Font* font) const;
};

using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;
using FontPtr = std::unique_ptr<TTF_Font, FontDeleter>;
