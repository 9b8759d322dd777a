// The shared list screen of the main menu, its sub-screens and the editor's map menu.
#include "app/list_screen.h"

#include "app/game.h"
#include "platform/platform.h"
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

void pollListEvents(Game& game, ListScreen& list) {
  while (SDL_PollEvent(&game.event)) {
    const ListInput input = listEvent(list, game.event);
    if (input == ListInput::Chosen || input == ListInput::Back) return;
  }
}

bool pollDismissed(Game& game) {
  if (platformStopRequested()) return true;
  while (SDL_PollEvent(&game.event)) {
    const SDL_Event& e = game.event;
    if (e.type == SDL_QUIT) return true;
    if (e.type == SDL_KEYDOWN &&
        (e.key.keysym.sym == SDLK_RETURN || e.key.keysym.sym == SDLK_ESCAPE))
      return true;
  }
  return false;
}

void drawBackground(World& world) {
  if (!world.background || !world.screen) return;
  SDL_Rect at{0, 0, 0, 0};
  SDL_BlitSurface(world.background.get(), nullptr, world.screen, &at);
}

void drawListItems(World& world, const ListScreen& list) {
  if (!world.screen) return;
  const int middle = world.screen->h / 2;
  const int count = static_cast<int>(list.items.size());
  for (int i = 0; i < count; ++i) {
    const int offset = i - list.selected;
    if (offset == 0) {
      drawText(world, world.bigFont.get(), list.items[i], world.white, 200, middle);
    } else {
      const int gap = offset < 0 ? -30 : 30;
      drawText(world, world.bigFont.get(), list.items[i], world.black, 200,
               middle + 30 * offset + gap);
    }
  }
}

void runListScreen(Game& game, ListScreen& list, const std::function<void(int)>& act) {
  World& world = game.world;
  while (!list.back) {
    pollListEvents(game, list);
    if (platformStopRequested()) {
      list.back = true;
      break;
    }
    drawBackground(world);
    if (list.chosen < 0) {
      drawListItems(world, list);
    } else {
      const int chosen = list.chosen;
      act(chosen);
      list.chosen = -1;
    }
    if (world.screen) SDL_Flip(world.screen);
    world.clock.delay(MENU_PASS_DELAY_MS);
  }
}
