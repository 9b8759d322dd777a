// Cutting a stack of opaque rectangles into pieces by the topmost one: a sweep down the area
// in bands between rectangle edges; within a band the rectangles are laid topmost first and
// each claims only the stretches no higher one has claimed.
#include "render/ground_cover.h"

#include <algorithm>

namespace {

struct Span {
  int x0, x1, top;
};

// Whether two pieces would be painted alike: both uncovered, or both under rectangles that
// are painted (or left) the same way in the same colour.
bool alike(const std::vector<CoverRect>& stack, int a, int b) {
  if (a < 0 || b < 0) return a == b;
  return stack[a].painted == stack[b].painted &&
         (!stack[a].painted || stack[a].colour == stack[b].colour);
}

bool sameBand(const std::vector<CoverRect>& stack, const std::vector<Span>& a,
              const std::vector<Span>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].x0 != b[i].x0 || a[i].x1 != b[i].x1 || !alike(stack, a[i].top, b[i].top))
      return false;
  return true;
}

// The first stretch at or after k that no rectangle has claimed yet (with path halving).
int unclaimed(std::vector<int>& next, int k) {
  while (next[k] != k) {
    next[k] = next[next[k]];
    k = next[k];
  }
  return k;
}

}  // namespace

void coverPieces(const std::vector<CoverRect>& stack, const CoverRect& area,
                 std::vector<CoverPiece>& pieces) {
  pieces.clear();
  if (area.x1 <= area.x0 || area.y1 <= area.y0) return;
  // The stack clipped to the area, by top edge.
  std::vector<int> members, ys{area.y0, area.y1};
  std::vector<CoverRect> clipped(stack.size());
  for (size_t i = 0; i < stack.size(); ++i) {
    CoverRect c = stack[i];
    c.x0 = std::max(c.x0, area.x0);
    c.y0 = std::max(c.y0, area.y0);
    c.x1 = std::min(c.x1, area.x1);
    c.y1 = std::min(c.y1, area.y1);
    clipped[i] = c;
    if (c.x1 <= c.x0 || c.y1 <= c.y0) continue;
    members.push_back(static_cast<int>(i));
    ys.push_back(c.y0);
    ys.push_back(c.y1);
  }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  std::stable_sort(members.begin(), members.end(),
                   [&](int a, int b) { return clipped[a].y0 < clipped[b].y0; });

  std::vector<int> active;  // the rectangles across the current band, topmost first
  std::vector<int> xs, owner, next;
  std::vector<Span> band, open;  // `open` runs down from openTop unchanged
  int openTop = area.y0;
  size_t entering = 0;
  auto close = [&](int bottom) {
    for (const Span& s : open) pieces.push_back({s.x0, openTop, s.x1 - s.x0, bottom - openTop, s.top});
  };
  for (size_t b = 0; b + 1 < ys.size(); ++b) {
    const int top = ys[b];
    active.erase(std::remove_if(active.begin(), active.end(),
                                [&](int i) { return clipped[i].y1 <= top; }),
                 active.end());
    for (; entering < members.size() && clipped[members[entering]].y0 <= top; ++entering) {
      const int i = members[entering];
      active.insert(std::upper_bound(active.begin(), active.end(), i, std::greater<int>()), i);
    }
    xs.assign({area.x0, area.x1});
    for (int i : active) {
      xs.push_back(clipped[i].x0);
      xs.push_back(clipped[i].x1);
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    const int stretches = static_cast<int>(xs.size()) - 1;
    owner.assign(stretches, -1);
    next.resize(stretches + 1);
    for (int k = 0; k <= stretches; ++k) next[k] = k;
    for (int i : active) {
      const int from = static_cast<int>(std::lower_bound(xs.begin(), xs.end(), clipped[i].x0) - xs.begin());
      const int to = static_cast<int>(std::lower_bound(xs.begin(), xs.end(), clipped[i].x1) - xs.begin());
      for (int k = unclaimed(next, from); k < to; k = unclaimed(next, k)) {
        owner[k] = i;
        next[k] = k + 1;
      }
    }
    band.clear();
    for (int k = 0; k < stretches; ++k) {
      if (!band.empty() && alike(stack, band.back().top, owner[k]))
        band.back().x1 = xs[k + 1];
      else
        band.push_back({xs[k], xs[k + 1], owner[k]});
    }
    if (b > 0 && sameBand(stack, band, open)) continue;
    close(top);
    open.swap(band);
    openTop = top;
  }
  close(area.y1);
}
