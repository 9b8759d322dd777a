// zor_artgen ROOT: draws every picture of the game into ROOT (and the contact sheet into
// ROOT/docs/art). zor_artgen --preview ROOT DIR: the title screen with the menu texts on it.
#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "art.h"

namespace {

bool writeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::error_code ec;
  std::filesystem::create_directories(path.parent_path(), ec);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return bool(out);
}

// Menu texts drawn the way the menu draws them, to judge how they read on the background.
int preview(const std::string& root, const std::string& dir) {
  if (TTF_Init() != 0) return 1;
  TTF_Font* font = TTF_OpenFont((root + "/GFX/fonts/ADVERT.TTF").c_str(), 28);
  if (!font) return 1;
  art::Image bg = art::drawBackground();
  auto text = [&](art::Image& img, const char* s, int x, int y, SDL_Color c) {
    SDL_Surface* surf = TTF_RenderText_Blended(font, s, c);
    if (!surf) return;
    SDL_LockSurface(surf);
    for (int j = 0; j < surf->h; ++j)
      for (int i = 0; i < surf->w; ++i) {
        if (!img.inside(x + i, y + j)) continue;
        Uint32 p = *reinterpret_cast<Uint32*>(static_cast<Uint8*>(surf->pixels) + j * surf->pitch + i * 4);
        Uint8 r, g, b, a;
        SDL_GetRGBA(p, surf->format, &r, &g, &b, &a);
        art::Rgb& d = img.at(x + i, y + j);
        d = art::Rgb{uint8_t((r * a + d.r * (255 - a)) / 255), uint8_t((g * a + d.g * (255 - a)) / 255),
                     uint8_t((b * a + d.b * (255 - a)) / 255)};
      }
    SDL_UnlockSurface(surf);
    SDL_FreeSurface(surf);
  };
  const SDL_Color black{0, 0, 0, 0}, white{255, 255, 255, 0};
  const char* items[] = {"Play", "Restart", "Load map", "Controls", "Edit", "Change resolution", "Quit"};
  for (int H : {600, 1080, 1600}) {
    int W = H * 16 / 10;
    art::Image view(W, H);
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) view.at(x, y) = bg.at(x, y);
    int selected = 2;
    for (int i = 0; i < 7; ++i) {
      int y = i == selected ? H / 2 : H / 2 + 30 * (i - selected) + (i < selected ? -30 : 30);
      text(view, items[i], 200, y, i == selected ? white : black);
    }
    writeFile(std::filesystem::path(dir) / ("menu_" + std::to_string(H) + ".png"), art::encodePng(view));
  }
  art::Image controls(1280, 800);
  for (int y = 0; y < 800; ++y)
    for (int x = 0; x < 1280; ++x) controls.at(x, y) = bg.at(x, y);
  const char* lines[] = {"Control the character with the arrow keys", "Change weapons with m and n",
                         "Shoot with right control", "Enter and exit an vehicle with return",
                         "Show and hide Life,money,weaponinfo,wantedlevel,fps with i",
                         "Walk backwards in menus with escape and forward with return"};
  for (int i = 0; i < 6; ++i) text(controls, lines[i], 200, 100 + 50 * i, black);
  writeFile(std::filesystem::path(dir) / "controls.png", art::encodePng(controls));
  TTF_CloseFont(font);
  TTF_Quit();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--preview") return preview(argv[2], argv[3]);
  if (argc != 2) {
    std::fprintf(stderr, "usage: zor_artgen ROOT | zor_artgen --preview ROOT DIR\n");
    return 2;
  }
  const std::string root = argv[1];
  int failures = 0;
  for (const art::ArtFile& f : art::generateAll(root)) {
    if (!writeFile(std::filesystem::path(root) / f.path, f.bytes)) {
      std::fprintf(stderr, "cannot write %s\n", f.path.c_str());
      ++failures;
    }
  }
  return failures ? 1 : 0;
}
