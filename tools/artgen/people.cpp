// People seen from above, facing up: the player and the city's pedestrians, eight walk frames.
#include <algorithm>
#include <cmath>

#include "art.h"
#include "canvas.h"

namespace art {

namespace {

struct Look {
  int w, h;
  Colour jacket, jacketDark, trousers, shoes, skin, hair;
  double shoulderRx, shoulderRy;  // the torso ellipse
  double legSpread, stride;       // feet apart from the middle; how far a foot swings
  double armOut, armSwing;        // hands out from the middle; how far a hand swings
  double headR;
  bool cap;
  Colour capColour;
};

Image drawWalker(const Look& k, int frame) {
  const int ss = 8;
  Canvas c(k.w, k.h, ss);
  const double cx = k.w / 2.0, cy = k.h / 2.0;
  // One stride per eight frames; frames 0 and 4 pass with the feet together.
  const double s = sinDeg(45.0 * frame);
  const double leftFoot = -k.stride * s, rightFoot = k.stride * s;  // negative: ahead
  const double leftHand = k.armSwing * s, rightHand = -k.armSwing * s;
  // The foot swinging forward is lifted toward the eye: a little larger and lighter. It is
  // the left one in the first half of the stride; both are down while the feet pass.
  const double swing = std::fabs(s) * cosDeg(45.0 * frame);
  const double leftLift = std::max(0.0, swing), rightLift = std::max(0.0, -swing);

  // Legs: a trouser leg from the hip, the shoe at its end, toes ahead.
  for (int side = -1; side <= 1; side += 2) {
    double fx = cx + side * k.legSpread;
    double fy = cy + (side < 0 ? leftFoot : rightFoot);
    c.fill(capsule(fx, cy, fx, fy, 2.5), dome(k.trousers, fx, (cy + fy) / 2, 2.5, 5.0, 0.6));
    double toe = fy < cy - 0.01 ? -0.5 : 0.0, lift = side < 0 ? leftLift : rightLift;
    double rx = 2.5 + 0.6 * lift, ry = 3.0 + 0.7 * lift;
    c.fill(ellipse(fx, fy + toe, rx, ry), dome(lit(k.shoes, 1.0 + 0.25 * lift), fx, fy + toe, rx, ry, 0.7));
  }
  // Arms hang at the ends of the shoulders and swing against the legs; a hand shows past the
  // sleeve when the arm swings out.
  for (int side = -1; side <= 1; side += 2) {
    double sx = cx + side * k.armOut, sy = cy + 0.5;
    double hand = side < 0 ? leftHand : rightHand;
    double hx = cx + side * k.armOut, hy = sy + hand;
    double reach = hand > 0 ? 2.75 : (hand < 0 ? -2.75 : 0.0);
    if (reach != 0) c.fill(circle(hx, hy + reach, 2.0), dome(k.skin, hx, hy + reach, 2.0, 2.0, 0.4));
    c.fill(capsule(sx, sy - 1.0, hx, hy + (hand < 0 ? -0.5 : 0.5), 2.5), dome(lit(k.jacket, 0.84), hx, (sy + hy) / 2, 2.5, 5.0, 0.6));
  }
  // Torso: shoulders and back, a darker collar around the neck.
  c.fill(bluntEllipse(cx, cy + 0.5, k.shoulderRx, k.shoulderRy), dome(k.jacket, cx, cy + 0.5, k.shoulderRx, k.shoulderRy));
  c.fill(ellipse(cx, cy + 0.25, k.headR + 1.25, k.headR + 0.5), k.jacketDark);
  // Head: the face shows as a crescent in front of the hair.
  c.fill(circle(cx, cy - 0.5, k.headR), dome(k.skin, cx, cy - 0.5, k.headR, k.headR));
  if (k.cap) {
    c.fill(ellipse(cx, cy - k.headR + 0.25, k.headR - 0.75, 1.75), dome(lit(k.capColour, 0.8), cx, cy - k.headR, 3, 1.75));
    c.fill(circle(cx, cy + 0.25, k.headR - 0.25), dome(k.capColour, cx, cy + 0.25, k.headR, k.headR));
  } else {
    c.fill(circle(cx, cy + 0.75, k.headR - 0.25), dome(k.hair, cx, cy + 0.75, k.headR, k.headR));
  }
  Image img = c.resolve(kGreenKey);
  outlineSilhouette(img, kGreenKey, 0.5);
  fillEnclosedKey(img, kGreenKey);
  keepAwayFromKey(img, kGreenKey);
  return img;
}

}  // namespace

Image drawPlayer(int frame) {
  Look k{};
  k.w = 29;
  k.h = 18;
  k.jacket = rgb(206, 38, 32);
  k.jacketDark = rgb(110, 16, 14);
  k.trousers = rgb(40, 52, 96);
  k.shoes = rgb(236, 236, 230);
  k.skin = rgb(232, 180, 140);
  k.hair = rgb(34, 28, 26);
  k.shoulderRx = 10.25;
  k.shoulderRy = 5.0;
  k.legSpread = 4.25;
  k.stride = 5.0;
  k.armOut = 11.5;
  k.armSwing = 4.0;
  k.headR = 4.5;
  return drawWalker(k, frame);
}

Image drawPedestrian(int frame) {
  Look k{};
  k.w = 30;
  k.h = 20;
  k.jacket = rgb(66, 138, 214);
  k.jacketDark = rgb(28, 62, 110);
  k.trousers = rgb(150, 118, 74);
  k.shoes = rgb(150, 96, 52);
  k.skin = rgb(198, 142, 100);
  k.hair = rgb(226, 196, 112);
  k.shoulderRx = 10.5;
  k.shoulderRy = 5.5;
  k.legSpread = 4.5;
  k.stride = 5.5;
  k.armOut = 12.0;
  k.armSwing = 4.25;
  k.headR = 4.75;
  k.cap = false;
  k.capColour = rgb(236, 200, 54);
  return drawWalker(k, frame);
}

}  // namespace art
