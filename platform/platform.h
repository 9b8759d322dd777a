// What differs between the desktop build and the browser build: the few media calls whose
// behaviour the browser's SDL emulation changes, behind one set of functions. The build picks
// platform_desktop.cpp or platform_web.cpp.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <string>

// Readies the surroundings before the game starts. On the desktop SIGINT and SIGTERM are
// caught from here on (see platformStopRequested). In the browser the maps the player saved
// in an earlier visit are brought back from the browser's storage over the shipped ones.
void platformStart();
// True once SIGINT or SIGTERM arrived after platformStart: every screen then ends as if left,
// up to the main menu, and the program quits as by its Quit item (nothing unsaved is written).
bool platformStopRequested();
// Why no window can be opened here, as one line that says how to fix it; empty when a
// display is there or a video driver was named explicitly (SDL_VIDEODRIVER). Asked before
// SDL's video starts (no display named) and again after (the display named is not there).
std::string platformDisplayProblem();
// The running program's own file; empty when it cannot be told.
std::string platformProgramPath();
// The game has ended (Quit). A window closes by itself; a page says so and how to start again.
void platformEnd();

// The held keys, indexed by the SDLK_ key codes.
const Uint8* platformKeyState();

// Converts a freshly loaded image to the screen's format. Takes the loaded surface over:
// returns the converted one (empty when that fails) and frees or keeps the original itself.
SDL_Surface* platformDisplayFormat(SDL_Surface* loaded);

// Makes every pixel of the colour `key` (mapped with the image's format) transparent.
void platformSetColorKey(SDL_Surface* image, Uint32 key);

// Opens a TrueType font file at a point size; empty when it cannot.
TTF_Font* platformOpenFont(const char* path, int points);

// Renders a Latin-1 text (the editor's Swedish labels) blended in one colour; empty for an
// empty text or when rendering fails.
SDL_Surface* platformRenderText(TTF_Font* font, const std::string& latin1, SDL_Color colour);

// The character a key press types; 0 for keys that type none (arrows, function keys, Shift).
Uint16 platformTypedCharacter(const SDL_keysym& key);

// Hides the system pointer, leaving it at the screen point (x, y) where that can be done.
void platformHidePointer(int x, int y);

// Direct pixel access: call begin before reading or writing surface->pixels and, when it
// returned true, end afterwards, telling whether the pixels were written.
bool platformBeginPixels(SDL_Surface* surface);
void platformEndPixels(SDL_Surface* surface, bool written);

// The colour key SDL's blit applies to the surface, when it has one (mapped with the surface's
// format). In the browser blits apply no key: keyed pixels are transparent in the pixels.
bool platformColorKey(const SDL_Surface* surface, Uint32& key);

// The surface-wide alpha SDL's blit applies along with SDL_SRCALPHA (255 = opaque).
Uint8 platformSurfaceAlpha(const SDL_Surface* surface);

// True when filling and copying a surface's pixels in memory is a cheap way to draw (the
// desktop). In the browser every surface is a canvas whose pixels in memory are a copy that has
// to be read back and uploaded, so drawing goes through SDL's fill and blit there.
bool platformDirectPixels();

// True when an image's own pixels already hold its transparency in an alpha channel, in the
// byte order of rotated pictures (red in the low byte, alpha in the high one), so that they
// can be copied as they are instead of through a blit.
bool platformPixelsCarryAlpha(const SDL_Surface* image);

// Map files were written: where files do not outlive the session by themselves (the
// browser), they are put into lasting storage now.
void platformFilesChanged();

// One play frame was shown; workMs is the time it took before its wait. The browser build
// reports the frame rate to the console every few seconds.
void platformFrameShown(uint32_t workMs);
