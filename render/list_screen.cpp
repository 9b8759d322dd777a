// The shared list screen of the main menu, its sub-screens and the editor's map menu.
#include "render/list_screen.h"

#include "platform/platform.h"
#include "render/media.h"
#include "render/pacing.h"
#include "render/text.h"

ListInput listEvent(ListScreen& list, const SDL_Event& event) {
  if (event.type == SDL_QUIT) {
    list.back = true;
    return ListInput::Back;
  }
  if (event.type != SDL_KEYDOWN) return ListInput::None;
  const int count = static_cast<int>(list.items.size());
  switch (event.key.keysym.sym) {
    case SDLK_ESCAPE:
      list.back = true;
      return ListInput::Back;
    case SDLK_UP:
      if (list.selected > 0) {
        --list.selected;
        return ListInput::Moved;
      }
      return ListInput::None;
    case SDLK_DOWN:
      if (list.selected < count - 1) {
        ++list.selected;
        return ListInput::Moved;
      }
      return ListInput::None;
    case SDLK_RETURN:
      // An empty list has nothing to choose; a stale highlight past the end neither.
      if (list.selected < 0 || list.selected >= count) return ListInput::None;
      list.chosen = list.selected;
      return ListInput::Chosen;
    default:
      return ListInput::None;
  }
}

void pollListEvents(ListScreen& list) {
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    const ListInput input = listEvent(list, event);
    if (input == ListInput::Chosen || input == ListInput::Back) return;
  }
}

bool pollDismissed() {
  if (platformStopRequested()) return true;
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    if (e.type == SDL_QUIT) return true;
    if (e.type == SDL_KEYDOWN &&
        (e.key.keysym.sym == SDLK_RETURN || e.key.keysym.sym == SDLK_ESCAPE))
      return true;
  }
  return false;
}

void drawBackground(Media& media) {
  if (!media.background || !media.screen) return;
  SDL_Rect at{0, 0, 0, 0};
  SDL_BlitSurface(media.background.get(), nullptr, media.screen, &at);
}

void drawListItems(Media& media, const ListScreen& list) {
  if (!media.screen) return;
  const int middle = media.screen->h / 2;
  const int count = static_cast<int>(list.items.size());
  for (int i = 0; i < count; ++i) {
    const int offset = i - list.selected;
    if (offset == 0) {
      drawText(media, media.bigFont.get(), list.items[i], media.white, 200, middle);
    } else {
      const int gap = offset < 0 ? -30 : 30;
      drawText(media, media.bigFont.get(), list.items[i], media.black, 200,
               middle + 30 * offset + gap);
    }
  }
}

void runListScreen(Media& media, Clock& clock, ListScreen& list,
                   const std::function<void(int)>& act) {
  while (!list.back) {
    pollListEvents(list);
    if (platformStopRequested()) {
      list.back = true;
      break;
    }
    drawBackground(media);
    if (list.chosen < 0) {
      drawListItems(media, list);
    } else {
      const int chosen = list.chosen;
      act(chosen);
      list.chosen = -1;
    }
    if (media.screen) SDL_Flip(media.screen);
    waitMs(clock, MENU_PASS_DELAY_MS);
  }
}
