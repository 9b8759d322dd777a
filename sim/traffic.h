// Pedestrians on the sidewalk network and drivers on the road network.
#pragma once

struct World;
struct Person;
struct Body;
struct Segment;
class RandomStream;

void updatePedestrians(World& world);
void updateDrivers(World& world);

void attachToNearestSidewalk(World& world, Person& person);
void attachToNearestRoad(World& world, Person& driver);
bool carBlocks(const World& world, const Person& person);
// Where the next segment lies as seen from the current one; it picks the turn point.
enum class SegmentRelation { Left, Right, Up, Down, None };
// "left", "right", "up", "down", "none".
const char* nameOf(SegmentRelation relation);
SegmentRelation segmentRelation(const Segment& current, const Segment& next);

// A segment's shape: a strip along x, a strip along y, or neither.
enum class SegmentKind { Horizontal, Vertical, Square };
// "horizontal", "vertical", "square".
const char* nameOf(SegmentKind kind);
SegmentKind segmentKind(const Segment& segment);
// +20 on an even draw, -20 on an odd one (panic and fleeing).
void randomTurn(RandomStream& random, Body& body);
// +20 when the draw % 2 is 1, else -20 (wandering where there is no network).
void wanderTurn(RandomStream& random, Body& body);

// The connection a walker or a car takes next: connection[draw % count], drawn again while
// it is the segment it came from. Always bounded: when every connection is the previous
// segment, that one is accepted after MAX_SEGMENT_DRAWS draws; when another exists, the draws
// stop after a thousand and the first other connection is taken. nullptr when there are none.
constexpr int MAX_SEGMENT_DRAWS = 8;
const Segment* drawNextSegment(RandomStream& random, const Segment& current,
                               const Segment* previous);

// Calm pedestrians and bad guys walk the sidewalks alike; only three distances differ.
struct NetworkWalk {
  double turnExtra;    // B lies r + turnExtra inside the next segment
  double cornerExtra;  // A lies r + cornerExtra inside the segment's top-left corner
  bool reachBWithinR;  // B counts as reached within r (else within 10 pixels)
};
constexpr NetworkWalk PEDESTRIAN_WALK{10.0, 2.0, false};
constexpr NetworkWalk BAD_GUY_WALK{0.0, 0.0, true};
// One calm frame of a person on foot: waypoint walk when it has a segment, attaching to the
// nearest sidewalk when it has none, wandering when the world has no sidewalks.
void calmWalk(World& world, Person& person, const NetworkWalk& walk);
