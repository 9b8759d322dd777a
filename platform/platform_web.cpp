// The browser side of the platform layer, over Emscripten's SDL 1.2 emulation. There every
// surface is a canvas with a copy of its pixels in memory (RGBA bytes, red first); images are
// loaded with those pixels filled in, and a blit into a surface other than the screen copies
// them back, so the copy in memory is always current for the surfaces we read or key. Writes to
// it reach the canvas only when they are uploaded.
#include <emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/platform.h"

namespace {

// The shipped maps are remembered at start; afterwards every map file that differs from the
// shipped one is mirrored into a folder kept in the browser's IndexedDB storage, and brought
// back over /maps at the next visit. A file equal to the shipped one is dropped from the store.
EM_ASYNC_JS(void, zorOpenStorage, (), {
  var store = '/zor-store';
  var walk = function(dir, visit) {
    FS.readdir(dir).forEach(function(name) {
      if (name === '.' || name === '..') return;
      var path = dir + '/' + name;
      if (FS.isDir(FS.stat(path).mode)) walk(path, visit); else visit(path);
    });
  };
  Module.zorWalk = walk;
  Module.zorStore = store;
  Module.zorShipped = {};
  try {
    walk('/maps', function(path) { Module.zorShipped[path] = FS.readFile(path); });
  } catch (e) {}
  try {
    FS.mkdir(store);
    FS.mount(IDBFS, {}, store);
    await new Promise(function(done, fail) {
      FS.syncfs(true, function(e) { if (e) fail(e); else done(); });
    });
    if (FS.analyzePath(store + '/maps').exists) {
      walk(store + '/maps', function(path) {
        var target = path.substr(store.length);
        FS.mkdirTree(target.substr(0, target.lastIndexOf('/')));
        FS.writeFile(target, FS.readFile(path));
      });
    }
    Module.zorStorageOpen = true;
  } catch (e) {
    err('ZOR: the browser storage cannot be opened, saved maps last until the page is closed: ' + e);
  }
});

EM_ASYNC_JS(void, zorKeepFiles, (), {
  if (!Module.zorStorageOpen) return;
  var store = Module.zorStore;
  var same = function(a, b) {
    if (!a || a.length !== b.length) return false;
    for (var i = 0; i < a.length; ++i) if (a[i] !== b[i]) return false;
    return true;
  };
  try {
    Module.zorWalk('/maps', function(path) {
      if (path.endsWith('~')) return;  // a write that failed half-way
      var data = FS.readFile(path);
      var kept = store + path;
      if (same(Module.zorShipped[path], data)) {
        if (FS.analyzePath(kept).exists) FS.unlink(kept);
      } else {
        FS.mkdirTree(kept.substr(0, kept.lastIndexOf('/')));
        FS.writeFile(kept, data);
      }
    });
    await new Promise(function(done, fail) {
      FS.syncfs(false, function(e) { if (e) fail(e); else done(); });
    });
  } catch (e) {
    err('ZOR: the maps could not be stored in the browser: ' + e);
  }
});

// The emulation never reads the font file: it draws with a CSS font named after the file's
// path. Registering the file's own bytes under that name makes the text use our font.
EM_ASYNC_JS(int, zorRegisterFont, (const char* path), {
  var file = UTF8ToString(path);
  var family = PATH.normalize(file);
  Module.zorFonts = Module.zorFonts || {};
  if (Module.zorFonts[family]) return 1;
  var bytes;
  try {
    bytes = FS.readFile(file);
  } catch (e) {
    return 0;
  }
  try {
    var face = new FontFace(family, bytes);
    await face.load();
    document.fonts.add(face);
    Module.zorFonts[family] = true;
  } catch (e) {
    err('ZOR: the font ' + file + ' cannot be used: ' + e);
  }
  return 1;
});

// The emulation turns every mouse press and release into a touch event as well, and hands a
// touch it does not know on to the game as an event without writing it: the game then reads
// the event before again. So the release read as a second press, and one click in the editor
// set both corners of a rectangle. An event left unwritten is skipped here.
EM_JS(void, zorSkipUnwrittenEvents, (), {
  var make = SDL.makeCEvent;
  SDL.makeCEvent = function(event, ptr) {
    HEAP32[ptr >> 2] = 0;  // the type: no event
    var made = make(event, ptr);
    return made === false || HEAP32[ptr >> 2] === 0 ? false : made;
  };
});

EM_JS(void, zorUploadPixels, (SDL_Surface* surface), {
  var d = SDL.surfaces[surface];
  if (!d || !d.buffer || !d.ctx) return;
  if (!d.image || d.image.width !== d.width || d.image.height !== d.height)
    d.image = d.ctx.createImageData(d.width, d.height);
  d.image.data.set(HEAPU8.subarray(d.buffer, d.buffer + d.width * d.height * 4));
  d.ctx.putImageData(d.image, 0, 0);
});

// A text's size as SDL_ttf gives it: as wide as its glyphs advance, as high as the font's
// ascent and descent, with the baseline at the ascent. Returns the width, 0 when the font is
// unknown.
EM_JS(int, zorMeasureText, (TTF_Font* font, const char* utf8, int* height, int* ascent), {
  var data = SDL.fonts[font];
  if (!data) return 0;
  var ctx = SDL.ttfContext;
  ctx.font = SDL.makeFontString(data.size, data.name);
  var m = ctx.measureText(UTF8ToString(utf8));
  var up = Math.ceil(m.fontBoundingBoxAscent || data.size);
  var down = Math.ceil(m.fontBoundingBoxDescent || 0);
  HEAP32[height >> 2] = up + down;
  HEAP32[ascent >> 2] = up;
  return Math.max(1, Math.ceil(m.width));
});

EM_JS(void, zorDrawText, (SDL_Surface* surface, TTF_Font* font, const char* utf8, int ascent,
                          int r, int g, int b), {
  var data = SDL.fonts[font];
  var ctx = SDL.surfaces[surface].ctx;
  ctx.font = SDL.makeFontString(data.size, data.name);
  ctx.fillStyle = 'rgb(' + r + ',' + g + ',' + b + ')';
  ctx.textBaseline = 'alphabetic';
  ctx.fillText(UTF8ToString(utf8), 0, ascent);
});

EM_JS(void, zorShowEnd, (), {
  if (document.exitPointerLock) document.exitPointerLock();
  if (Module.canvas) Module.canvas.style.visibility = 'hidden';
  if (Module.setStatus) Module.setStatus('ZOR has ended. Reload the page to play again.');
});

EM_JS(void, zorHidePointer, (), {
  if (Module.canvas) Module.canvas.style.cursor = 'none';
});

constexpr Uint32 kRgb = 0x00FFFFFF;
constexpr Uint32 kAlpha = 0xFF000000;

std::string latin1ToUtf8(const std::string& latin1) {
  std::string utf8;
  utf8.reserve(latin1.size() * 2);
  for (unsigned char c : latin1) {
    if (c < 0x80) {
      utf8 += static_cast<char>(c);
    } else {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return utf8;
}

EM_JS(int, zorTextStarted, (), { return SDL.ttfContext ? 1 : 0; });

}  // namespace

// The game's waits (the 20 ms frame, the menus' short pause) are the page's turns to show the
// picture and take input. A browser timer fires a little late, and a loop paced by such waits
// would run slower than asked, so a wait that overran shortens the next one by as much: over
// consecutive waits the time asked for is kept on average.
extern "C" void SDL_Delay(Uint32 ms) {
  constexpr double kMostOwed = 20.0;     // ms (a frame); a longer lag is not made up
  constexpr double kStillPacing = 100.0;  // ms; a wait this long after the last one owes nothing
  static double owed = 0.0;
  static double lastWake = -1e9;
  const double start = emscripten_get_now();
  if (start - lastWake > kStillPacing) owed = 0.0;
  const double end = start + ms - owed;
  const double wait = end - start;
  emscripten_sleep(wait > 0 ? static_cast<unsigned>(std::ceil(wait)) : 0);
  lastWake = emscripten_get_now();
  owed = std::min(std::max(lastWake - end, 0.0), kMostOwed);
}

// The emulation lacks TTF_WasInit; SDL_ttf counts as started once TTF_Init made its context.
extern "C" int TTF_WasInit() { return zorTextStarted(); }

void platformStart() {
  zorSkipUnwrittenEvents();
  zorOpenStorage();
}

void platformEnd() { zorShowEnd(); }

// A page has no signals, always a canvas to draw on, and its files at the root.
bool platformStopRequested() { return false; }

std::string platformDisplayProblem() { return ""; }

std::string platformProgramPath() { return ""; }

const Uint8* platformKeyState() { return SDL_GetKeyboardState(nullptr); }

// Loaded images already are canvases in the screen's RGBA layout.
SDL_Surface* platformDisplayFormat(SDL_Surface* loaded) { return loaded; }

// Colour keys are not applied by the emulation's blit (a canvas draw), so the key pixels are
// made transparent in the picture itself, once.
void platformSetColorKey(SDL_Surface* image, Uint32 key) {
  if (!image || !image->pixels || image->format->BytesPerPixel != 4) return;
  const Uint32 rgb = key & kRgb;
  bool changed = false;
  for (int y = 0; y < image->h; ++y) {
    Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(image->pixels) + y * image->pitch);
    for (int x = 0; x < image->w; ++x) {
      if ((row[x] & kRgb) == rgb && (row[x] & kAlpha) != 0) {
        row[x] &= kRgb;
        changed = true;
      }
    }
  }
  if (changed) zorUploadPixels(image);
}

TTF_Font* platformOpenFont(const char* path, int points) {
  if (!zorRegisterFont(path)) return nullptr;
  return TTF_OpenFont(path, points);
}

// Drawn with the canvas's own text: the emulation's renderer reads texts as UTF-8, draws an
// empty one as a blank and makes the picture only as high as the point size, so that texts
// would sit higher than on the desktop and lose the tops of capital accents.
SDL_Surface* platformRenderText(TTF_Font* font, const std::string& latin1, SDL_Color colour) {
  if (latin1.empty() || !font) return nullptr;
  const std::string utf8 = latin1ToUtf8(latin1);
  int height = 0, ascent = 0;
  const int width = zorMeasureText(font, utf8.c_str(), &height, &ascent);
  if (width <= 0 || height <= 0) return nullptr;
  SDL_Surface* text = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 32, 0x000000FF,
                                           0x0000FF00, 0x00FF0000, 0xFF000000);
  if (text) zorDrawText(text, font, utf8.c_str(), ascent, colour.r, colour.g, colour.b);
  return text;
}

// The emulation puts the key code into the character of keys that type nothing (arrows give
// codes above 1000, Backspace and Return their own codes).
Uint16 platformTypedCharacter(const SDL_keysym& key) {
  const Uint16 code = key.unicode;
  return (code >= 32 && code <= 255) ? code : 0;
}

// A page cannot move the pointer; the game moves its own cursor by relative motion anyway.
void platformHidePointer(int, int) { zorHidePointer(); }

bool platformBeginPixels(SDL_Surface*) { return true; }

void platformEndPixels(SDL_Surface* surface, bool written) {
  if (written) zorUploadPixels(surface);
}

bool platformColorKey(const SDL_Surface*, Uint32&) { return false; }

// Our surfaces are never made translucent as a whole.
Uint8 platformSurfaceAlpha(const SDL_Surface*) { return SDL_ALPHA_OPAQUE; }

bool platformDirectPixels() { return false; }

bool platformPixelsCarryAlpha(const SDL_Surface* image) {
  const SDL_PixelFormat* f = image->format;
  return f->BytesPerPixel == 4 && f->Rmask == 0x000000FF && f->Gmask == 0x0000FF00 &&
         f->Bmask == 0x00FF0000 && f->Amask == 0xFF000000;
}

void platformFilesChanged() { zorKeepFiles(); }

void platformFrameShown(uint32_t workMs) {
  constexpr int kReportEvery = 250;
  static int frames = 0;
  static double workTotal = 0;
  static double since = emscripten_get_now();
  ++frames;
  workTotal += workMs;
  if (frames < kReportEvery) return;
  const double now = emscripten_get_now();
  std::printf("zor-fps %.1f frames/s, %.1f ms of work a frame, over %d frames\n",
              frames * 1000.0 / (now - since), workTotal / frames, frames);
  frames = 0;
  workTotal = 0;
  since = now;
}
