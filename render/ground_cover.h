// Stacked opaque rectangles cut into pieces that each lie under one topmost rectangle (or
// under none), so that painting the pieces writes every pixel once and gives the picture of
// painting the whole stack bottom to top.
#pragma once

#include <SDL.h>

#include <vector>

// A rectangle of the stack in screen pixels (x1 and y1 excluded). Later rectangles lie over
// earlier ones. One that is not painted stands for a rectangle drawn later over everything:
// what lies under it need not be painted now.
struct CoverRect {
  int x0, y0, x1, y1;
  Uint32 colour;
  bool painted;
};

// A piece of the area under one rectangle of the stack (`top`, its index) or under none
// (top = -1). Neighbouring pieces that would be painted alike are joined.
struct CoverPiece {
  int x, y, w, h;
  int top;
};

// Cuts `area` into pieces by what lies on top; parts of the stack outside it are ignored.
void coverPieces(const std::vector<CoverRect>& stack, const CoverRect& area,
                 std::vector<CoverPiece>& pieces);
