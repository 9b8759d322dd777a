// Loading the game's images with their colour keys.
#pragma once

#include <string>

#include "render/surface.h"

struct World;

// IMG_Load converted to the display format; empty when the file does not load.
SurfacePtr loadImage(const std::string& path);
// Loads every image of the game into the World.
void loadSprites(World& world);
