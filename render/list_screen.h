// The list screen every menu of the game uses: a vertical list over the background, moved
// with Up and Down, chosen with Return, left with Escape or by closing the window.
#pragma once

#include <SDL.h>

#include <functional>
#include <string>
#include <vector>

class Clock;
struct Media;

struct ListScreen {
  std::vector<std::string> items;
  int selected = 0;
  int chosen = -1;  // -1 = nothing chosen
  bool back = false;
};

// What one event did to a list.
enum class ListInput { None, Moved, Chosen, Back };

// Up and Down move the highlight within the list, Return chooses it (not on an empty list),
// Escape and window close set the back flag.
ListInput listEvent(ListScreen& list, const SDL_Event& event);

// Polls pending events. Polling stops at the event that chooses or leaves, so keys typed ahead
// reach the screen that opens next.
void pollListEvents(ListScreen& list);

// Polls pending events until one closes the window or presses Return or Escape, and tells
// whether one did (or a stop signal arrived). Polling stops at that event, as in
// pollListEvents.
bool pollDismissed();

// The selected item in white at (200, H/2); the others in black above and below it, 30 pixels
// apart with an extra 30-pixel gap around the selected one.
void drawListItems(Media& media, const ListScreen& list);

// Blits the background at the screen's top-left corner (nothing when it is missing).
void drawBackground(Media& media);

// Runs the list until its back flag is set (or a stop signal arrived). Each pass: poll,
// background, the items (or `act(chosen)` when something was chosen, after which chosen is -1
// again), flip, a short wait.
void runListScreen(Media& media, Clock& clock, ListScreen& list,
                   const std::function<void(int)>& act);

// How long the menus wait per pass so that they do not spin a core.
constexpr int MENU_PASS_DELAY_MS = 5;
