// Pedestrians on the sidewalk network and drivers on the road network.
#pragma once

#include <string>

struct World;
struct Person;
struct Body;
struct Segment;

void updatePedestrians(World& world);
void updateDrivers(World& world);

void attachToNearestSidewalk(World& world, Person& person);
void attachToNearestRoad(World& world, Person& driver);
void facePoint(Body& body, double px, double py);
bool carBlocks(const World& world, const Person& person);
// "left", "right", "up", "down" or "none": where next lies as seen from current.
std::string segmentRelation(const Segment& current, const Segment& next);
// "horizontal", "vertical" or "square".
std::string segmentKind(const Segment& segment);
// +20 on an even rand(), -20 on an odd one.
void randomTurn(Body& body);
