// The map editor: the crosshair and its moves, the tools that place, select and delete, the
// overlay with the Swedish labels, and the paced editor frame.
#include "editor/editor.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

#include "editor/editor_state.h"
#include "editor/kinds.h"
#include "render/media.h"
#include "world/world.h"
#include "editor/properties.h"
#include "platform/platform.h"
#include "render/text.h"
#include "render/world_view.h"
#include "sim/camera.h"
#include "sim/collision.h"
#include "world/lifetime.h"
#include "world/map_files.h"

namespace {

// Corners may not be set inside the solid kinds; `drawing` marks a corner being dragged.
bool probeAllowed(const Editor& editor, bool drawing) {
  const EditorKind* kind = editorKind(editor.tool);
  return kind && kind->allowed(editor.world, editor.probeX, editor.probeY, drawing);
}

bool isPointTool(char tool) {
  const EditorKind* kind = editorKind(tool);
  return kind && kind->point;
}

// F1, F2, F3 and F12 work whether a field is typed or not. Returns true when the key was one.
bool mapKey(Editor& editor, SDLKey key) {
  World& world = editor.world;
  switch (key) {
    case SDLK_F1:
      editor.showHelp = !editor.showHelp;
      return true;
    case SDLK_F2: {
      // The map stays in memory as it is, so the user can make room and press F2 again.
      const std::string error = saveMap(world);
      editor.saveMessage = error.empty() ? "" : "Not saved: " + error;
      platformFilesChanged();
      return true;
    }
    case SDLK_F3:
      clearWorld(world);
      loadMap(world);
      return true;
    case SDLK_F12:
      clearWorld(world);
      return true;
    default:
      return false;
  }
}

// Keys while no field is typed. Returns true when the key leaves the editor.
bool toolKey(Editor& editor, SDLKey key) {
  if (key < 128 && editorKind(static_cast<char>(key))) {
    editor.tool = static_cast<char>(key);
    return false;
  }
  switch (key) {
    case SDLK_RETURN:
      confirmPoint(editor);
      return false;
    case SDLK_ESCAPE:
      if (editor.dragging) {
        editor.dragging = false;
        return false;
      }
      return true;
    case SDLK_d:
      deleteSelected(editor);
      return false;
    case SDLK_UP:
      stepCursor(editor, 0, -10);
      return false;
    case SDLK_DOWN:
      stepCursor(editor, 0, 10);
      return false;
    case SDLK_RIGHT:
      stepCursor(editor, 10, 0);
      return false;
    case SDLK_LEFT:
      stepCursor(editor, -10, 0);
      return false;
    default:
      mapKey(editor, key);
      return false;
  }
}

// Colour of the rectangle preview and the help swatch of a kind; false for kinds without one.
bool kindColour(const Media& media, char key, uint32_t& colour) {
  const EditorKind* kind = editorKind(key);
  if (!kind || !kind->colour) return false;
  colour = kind->colour(media);
  return true;
}

void fillScreen(Media& media, int x, int y, int w, int h, uint32_t colour) {
  if (!media.screen || w <= 0 || h <= 0) return;
  // Rectangles far off the screen are clipped here so the 16-bit SDL_Rect cannot wrap them.
  const long left = std::max<long>(x, -1), top = std::max<long>(y, -1);
  const long right = std::min<long>(static_cast<long>(x) + w, media.screen->w + 1);
  const long bottom = std::min<long>(static_cast<long>(y) + h, media.screen->h + 1);
  if (right <= left || bottom <= top) return;
  SDL_Rect area{static_cast<Sint16>(left), static_cast<Sint16>(top),
                static_cast<Uint16>(right - left), static_cast<Uint16>(bottom - top)};
  SDL_FillRect(media.screen, &area, colour);
}

struct HelpLine {
  const char* text;
  int y;
  char swatch;  // kind whose colour is shown beside the line, or ' '
};

// Latin-1 bytes, drawn as they are.
const HelpLine kHelp[] = {
    {"Hus(h)", 10, 'h'},
    {"V\xe4g(v)", 35, 'v'},
    {"Trottoar(t)", 60, 't'},
    {"Fotg\xe4ngare(f)", 85, ' '},
    {"Bil(b)", 110, ' '},
    {"Gr\xe4smatta(g)", 135, 'g'},
    {"D\xf6lj/Visa(F1)", 160, ' '},
    {"Spara(F2)", 185, ' '},
    {"S\xe4tt start punkt(1)", 210, ' '},
    {"Skapa(LMB)", 235, ' '},
    {"Markera(RMB)", 260, ' '},
    {"Ta bort(d)", 285, ' '},
    {"T\xf6m karta(F12)", 310, ' '},
    {"F\xf6rare(p)", 330, ' '},
    {"Spelare(s)", 360, ' '},
    {"Elak gubbe(e)", 390, ' '},
};

int screenWidth(const Editor& editor) {
  return editor.media.screen ? editor.media.screen->w : editor.world.view.w;
}
int screenHeight(const Editor& editor) {
  return editor.media.screen ? editor.media.screen->h : editor.world.view.h;
}

}  // namespace

bool insideShrunk(double px, double py, const Rect& rect) {
  return rect.x + 1 <= px && px <= rect.x + rect.w - 1 && rect.y + 1 <= py &&
         py <= rect.y + rect.h - 1;
}

bool placementAllowed(const Editor& editor) { return probeAllowed(editor, false); }
bool dragAllowed(const Editor& editor) { return probeAllowed(editor, true); }

void moveCursorByMouse(Editor& editor, int dx, int dy) {
  World& world = editor.world;
  editor.probeX = world.cursorX + dx;
  editor.probeY = world.cursorY + dy;
  if (editor.dragging && !dragAllowed(editor)) return;
  // A motion toward 0 or below moves neither coordinate; one toward 3000 only stops its own.
  if (editor.probeX > 0 && editor.probeY > 0) {
    if (editor.probeX < WORLD_SIZE) world.cursorX = editor.probeX;
    if (editor.probeY < WORLD_SIZE) world.cursorY = editor.probeY;
  }
}

void stepCursor(Editor& editor, int dx, int dy) {
  World& world = editor.world;
  if (dx != 0) editor.probeX = world.cursorX + dx;
  if (dy != 0) editor.probeY = world.cursorY + dy;
  if (editor.dragging && !dragAllowed(editor)) return;
  if (editor.probeX >= 1 && editor.probeX < WORLD_SIZE) world.cursorX = editor.probeX;
  if (editor.probeY >= 1 && editor.probeY < WORLD_SIZE) world.cursorY = editor.probeY;
}

void confirmPoint(Editor& editor) {
  World& world = editor.world;
  editor.probeX = world.cursorX;
  editor.probeY = world.cursorY;
  if (isPointTool(editor.tool)) {
    if (!placementAllowed(editor)) return;
    editor.anchorX = world.cursorX;
    editor.anchorY = world.cursorY;
    placeObject(editor);
  } else if (editor.dragging) {
    if (!placementAllowed(editor)) return;
    // A second corner in line with the first would make a rectangle without area, which
    // nobody sees or can select: the rectangle stays open for a corner off that line.
    normalizeDrag(editor);
    if (editor.dragWidth == 0 || editor.dragHeight == 0) return;
    editor.dragging = false;
    placeObject(editor);
  } else if (placementAllowed(editor)) {
    editor.dragging = true;
    editor.anchorX = world.cursorX;
    editor.anchorY = world.cursorY;
  }
}

void normalizeDrag(Editor& editor) {
  const World& world = editor.world;
  editor.dragWidth = std::abs(world.cursorX - editor.anchorX);
  if (world.cursorX < editor.anchorX) editor.anchorX = world.cursorX;
  editor.dragHeight = std::abs(world.cursorY - editor.anchorY);
  if (world.cursorY < editor.anchorY) editor.anchorY = world.cursorY;
}

void placeObject(Editor& editor) {
  normalizeDrag(editor);
  World& world = editor.world;
  const double x = editor.anchorX, y = editor.anchorY;
  const double w = editor.dragWidth, h = editor.dragHeight;
  if (!isPointTool(editor.tool) && (w == 0 || h == 0)) return;  // no rectangle without area
  // A full list drops the new record (append refuses it); the player is never placed.
  const EditorKind* kind = editorKind(editor.tool);
  if (kind && kind->make) kind->make(world, x, y, w, h);
}

void selectAt(Editor& editor) {
  const World& world = editor.world;
  const double cx = world.cursorX, cy = world.cursorY;
  // The first hit in this order wins; within a list the lowest position.
  for (const char* key = kSelectionOrder; *key; ++key) {
    const EditorKind& kind = *editorKind(*key);
    const int count = kind.count(world);
    for (int i = 0; i < count; ++i) {
      if (!kind.hit(world, i, cx, cy)) continue;
      editor.selectedKind = kind.key;
      if (!kind.single) editor.selectedIndex = i;
      return;
    }
  }
}

void deleteSelected(Editor& editor) {
  World& world = editor.world;
  const int index = editor.selectedIndex;
  const EditorKind* kind = editorKind(editor.selectedKind);
  if (kind && kind->remove && index >= 0 && index < kind->count(world)) kind->remove(world, index);
  editor.selectedKind = ' ';
  editor.selectedIndex = -1;
}

void typeKey(std::string& text, const SDL_keysym& key) {
  const Uint16 code = platformTypedCharacter(key);
  if (text.size() <= 30 && code != 0 && code != 8 && code != 13)
    text.push_back(static_cast<char>(code & 0xFF));
  if (key.sym == SDLK_BACKSPACE && !text.empty()) text.pop_back();
}

bool handleEditorEvent(Editor& editor, const SDL_Event& event) {
  editor.event = event;  // startFieldEdit reads the current event from here
  bool leave = false;
  const bool keyDown = event.type == SDL_KEYDOWN;
  const SDLKey key = keyDown ? event.key.keysym.sym : SDLK_UNKNOWN;

  if (event.type == SDL_QUIT) leave = true;
  if (keyDown && editor.editing) {
    if (!mapKey(editor, key)) {
      if (key == SDLK_RETURN)
        applyFieldEdit(editor);
      else if (key == SDLK_ESCAPE)
        editor.editing = false;
    }
  } else if (keyDown) {
    leave = toolKey(editor, key) || leave;
  }
  if (event.type == SDL_MOUSEMOTION) moveCursorByMouse(editor, event.motion.xrel, event.motion.yrel);
  if (event.type == SDL_MOUSEBUTTONDOWN) {
    if (event.button.button == SDL_BUTTON_LEFT) {
      confirmPoint(editor);
    } else if (event.button.button == SDL_BUTTON_RIGHT) {
      editor.dragging = false;
      selectAt(editor);
    }
  }
  // The same key press may switch the tool (by its key) and start a field (by its character).
  if (editor.editing) {
    if (keyDown) typeKey(editor.editText, event.key.keysym);
  } else {
    startFieldEdit(editor);
  }
  return leave;
}

void editorCamera(Editor& editor) {
  World& world = editor.world;
  centreView(world.view, world.cursorX, world.cursorY);
}

void drawEditor(Editor& editor) {
  World& world = editor.world;
  Media& media = editor.media;
  TTF_Font* font = media.smallFont.get();
  const SDL_Color black = media.black;
  const int W = screenWidth(editor), H = screenHeight(editor);

  // Every frame: a rectangle grows only right and down from the smallest corner reached.
  normalizeDrag(editor);

  if (editor.dragging) {
    drawText(media, font, "StartX: ", black, W - 100, H - 150);
    drawText(media, font, toText(editor.anchorX), black, W - 50, H - 150);
    drawText(media, font, "StartY: ", black, W - 100, H - 130);
    drawText(media, font, toText(editor.anchorY), black, W - 50, H - 130);
    drawText(media, font, "Bredd: ", black, W - 100, H - 110);
    drawText(media, font, toText(editor.dragWidth), black, W - 50, H - 110);
    drawText(media, font, "H\xf6jd: ", black, W - 100, H - 90);
    drawText(media, font, toText(editor.dragHeight), black, W - 50, H - 90);
  }
  drawText(media, font, "(" + toText(world.cursorX) + "," + toText(world.cursorY) + ")", black,
           W - 100, H - 70);

  const EditorKind* tool = editorKind(editor.tool);
  drawText(media, font, tool ? tool->label : "", black, 0, H - 30);
  uint32_t colour = 0;
  if (editor.dragging && kindColour(media, editor.tool, colour))
    fillScreen(media, editor.anchorX - world.view.x, editor.anchorY - world.view.y, editor.dragWidth,
               editor.dragHeight, colour);

  if (editor.showHelp) {
    for (const HelpLine& line : kHelp) {
      drawText(media, font, line.text, black, W - 170, line.y);
      if (kindColour(media, line.swatch, colour)) fillScreen(media, W - 80, line.y, 20, 20, colour);
    }
  }
  if (editor.editing) drawText(media, font, editor.editText, black, W / 2, H - 20);
  if (!editor.saveMessage.empty()) drawText(media, font, editor.saveMessage, black, 10, 10);
}

bool editorFrame(Editor& editor) {
  World& world = editor.world;
  Media& media = editor.media;
  editor.timer.start();
  bool leave = false;
  SDL_Event event;
  // Polling stops at the event that leaves, so keys typed ahead reach the map menu.
  while (!leave && SDL_PollEvent(&event)) leave = handleEditorEvent(editor, event);
  // Stopped by a signal the editor leaves as by Escape: unsaved changes are not written.
  if (platformStopRequested()) leave = true;

  editorCamera(editor);
  drawWorld(media, world);
  drawEditor(editor);
  drawProperties(editor);
  if (media.crosshair && media.screen) {
    SDL_Rect at{static_cast<Sint16>(world.cursorX - world.view.x - 7),
                static_cast<Sint16>(world.cursorY - world.view.y - 7), 0, 0};
    SDL_BlitSurface(media.crosshair.get(), nullptr, media.screen, &at);
  }
  if (media.screen) SDL_Flip(media.screen);

  waitFrameEnd(world.clock, editor.timer, EDITOR_FRAME_MS);
  return leave;
}

void editorLoop(Editor& editor) {
  while (!editorFrame(editor)) {
  }
}
