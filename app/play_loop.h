// The 20 ms play frame and its loop.
#pragma once

struct Game;

// Runs frames until Escape, window close, Alt+F4 or game over.
void playLoop(Game& game);
// One frame (steps 1 to 9: events, keys, movement, simulation, drawing, flip).
// Returns false when the loop must end after this frame's wait.
bool playFrame(Game& game, bool& showHud);
// The simulation part of a frame, in order: drivers, cars, pedestrians, bad guys, the
// player following its car and committing, marks, bullets, money, running over, deaths.
void simulateFrame(World& world);
