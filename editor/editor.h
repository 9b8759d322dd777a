// The editor loop and its tools.
#pragma once

#include <SDL.h>

#include <string>

struct Editor;
struct Rect;
struct World;

// The editor's frames last at least this long (at most 50 frames a second).
constexpr int EDITOR_FRAME_MS = 20;

void editorLoop(Editor& editor);
// One editor frame: events, camera, world, overlay, panel, crosshair, flip, pacing.
// Returns true when the user left the editor.
bool editorFrame(Editor& editor);
// Handles one event as the editor frame does; returns true when it leaves the editor.
bool handleEditorEvent(Editor& editor, const SDL_Event& event);

// The typing rule of the name prompt and the property fields: a key's character (low byte)
// is appended while the text has at most 30 characters; Backspace removes the last one.
void typeKey(std::string& text, const SDL_keysym& key);

void editorCamera(Editor& editor);
void drawEditor(Editor& editor);

// True when the point lies at least one unit inside the rectangle on every side.
bool insideShrunk(double px, double py, const Rect& rect);
// Whether the current tool may set a point at the probe.
bool placementAllowed(const Editor& editor);
// The same while a rectangle is drawn (the player tool only when the World has no player).
bool dragAllowed(const Editor& editor);
void placeObject(Editor& editor);
void selectAt(Editor& editor);
void deleteSelected(Editor& editor);

// Cursor moves: relative mouse motion, and an arrow step of (dx, dy).
void moveCursorByMouse(Editor& editor, int dx, int dy);
void stepCursor(Editor& editor, int dx, int dy);
// Return or the left button: a point object, the second corner, or the first corner.
void confirmPoint(Editor& editor);
// Makes the anchor the top-left corner of the rectangle from the anchor to the cursor.
void normalizeDrag(Editor& editor);
