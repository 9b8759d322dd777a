// Loading the game's images with their colour keys.
#pragma once

#include <SDL.h>

#include <string>

#include "render/surface.h"

struct Media;

// IMG_Load of a file of the game's data (a relative path is taken under its data folder),
// converted to the display format (a plain 32-bit one while no video mode is set);
// empty when the file does not load.
SurfacePtr loadImage(const std::string& path);
// Fills table[0..last] from folder + stem + i + "." + extension, keying every frame that loads.
void loadFrames(const std::string& folder, const std::string& stem, int last,
                const std::string& extension, SurfacePtr* table, Uint32 key);
// Loads every image of the game into the media.
void loadSprites(Media& media);
