#pragma once
// Every tolerance of the library, named by what it measures (drawing units, radians, squared
// units, parameter units or a fraction, as each says), and pi. The first group is shared by many
// functions; the others belong to one engine each, which keeps its own rule: where two engines
// use different values for one kind of question, both are named here.

namespace Tavro {
// A coordinate difference, chord, distance, bulge, triangle area, cross or dot product that
// counts as zero.
constexpr double kTol = 1e-6;
// A bulge that counts as zero where a point on the arc is computed; an x extent or running area
// that counts as zero in the centroid.
constexpr double kArcTol = 1e-10;
// A squared distance that counts as zero (a ring already closed).
constexpr double kSquaredTol = 1e-12;
// The accepted range of an arc or segment parameter.
constexpr double kParamLow = -1e-7;
constexpr double kParamHigh = 1.0000001;

// ---- Host curve entities ----
// The host's default point and vector tolerances (AcGeTol).
constexpr double kEqualPointDefault = 1e-10;
constexpr double kEqualVectorDefault = 1e-12;
// A sine of the angle between two directions below which they are parallel (three points on a
// line, two pieces along one line), relative to the lengths multiplied.
constexpr double kParallelSine = 1e-12;
// A discriminant this far below zero, relative to its terms, is a touch rounded off.
constexpr double kTangentDiscriminant = 1e-12;
// The rounding allowed for a piece's box, relative to its coordinates, and the smallest pad.
constexpr double kBoxRounding = 1e-9;
constexpr double kTinyPad = 1e-300;
// An absolute floor under squared offsets compared with relative bounds.
constexpr double kTinySquare = 1e-20;
// Slack on a piece's own parameter when deciding whether a hit lies on it.
constexpr double kPieceParamSlack = 1e-10;
// How far a point may lie from the curve and still have a parameter there.
constexpr double kOnCurveTol = 1e-8;

// ---- Measures ----
// Below this included angle the area between chord and arc is taken from its series.
constexpr double kAreaSeriesAngle = 1e-3;
// A product of two squared segment lengths below which a segment has no direction.
constexpr double kDegenerateLengthProduct = 1e-6;
// An angle's rounding margin where a direction window is widened.
constexpr double kAngleRounding = 1e-9;
// Two corner scores (y - x) this close are a tie, broken by the higher point.
constexpr double kCornerScoreTie = 1e-7;
// A bulge below this magnitude draws a straight edge (the arc radius is 0 below it).
constexpr double kRingStraightBulge = 1e-6;
// Rectangle areas this close (relative) count as equal, and the first direction found keeps its
// place: a circle's rectangle stays square to its first chord.
constexpr double kRectAreaTie = 1e-9;
// The segment length counts its bulge as straight only below this, tighter than the general
// tolerance, so that very flat arcs still measure as arcs.
constexpr double kLengthStraightBulge = 1e-7;
// Polyline parameters are compared after cutting them to this step, so that a point met by two
// segments at rounding distance from each other resolves by the cut value.
constexpr double kParamCutStep = 1e-6;
// Both chord components longer than this: the two estimates of the bulge's k are averaged.
constexpr double kWideChord = 0.2;
// Two arc lengths that agree within this put a point on the arc.
constexpr double kOnArcLength = 0.01;
// An arc of a whole number of steps keeps its last step although its count rounds just below.
constexpr double kArcStepSlack = 1e-9;
// Two edge directions closer than this (radians, modulo pi) are measured once.
constexpr double kSameDirection = 0.001;
// How close to the convex hull's boundary, relative to the largest coordinate, a node must lie
// to be kept for the rotated extents: far above the rounding of a rotation (a few 1e-16 of the
// largest coordinate), so no node left out can reach an extreme after rounding.
constexpr double kHullBand = 1e-9;
// Beyond this the squares in the hull's turn tests could overflow; such rings keep all nodes.
constexpr double kHugeCoordinate = 1e150;
// Elementary regions no larger than this are slivers of the overlay, not common regions.
constexpr double kRegionMinArea = 0.0001;

// How far a point added to a polyline may lie from it and still join it.
constexpr double kJoinPointTol = 0.01;

// ---- Arc flattening and recovery ----
// Bulges up to this magnitude stay chords when arcs are cut by angle.
constexpr double kFlatBulge = 0.001;
// A flattened closed ring whose last vertex lies this close to its first already ends there.
constexpr double kClosingGap = 0.001;
// The shortest arc-length step accepted.
constexpr double kMinArcStep = 0.001;
// How closely the last chord of a closed broken line must match its closing gap for the closing
// chord to take part in a recovered arc.
constexpr double kClosingChordTol = 9.999999999999999e-6;
// An arc widened over its two flanking chords must pass this close to the far flank's end.
constexpr double kWidenRadiusTol = 1.0;
// Turns whose sines differ by less than this count as mirror images.
constexpr double kMirrorSineTol = 1e-6;
// The flanking chords of an interpolated pair may be shorter by less than this fraction.
constexpr double kShorterFlank = 0.1;

// ---- Relations ----
// The rounding of a sum of distances, relative to the longest edge.
constexpr double kDistanceRounding = 1e-12;
// The slack left of a point when edges crossing its row are looked up, relative to |x|, and
// the rounding of a crossing, relative to the longest edge.
constexpr double kRowSlack = 1e-9;
constexpr double kRowRounding = 1e-14;
// How far a hit of a segment with a ring may lie from the pieces, relative to their lengths,
// and its floor.
constexpr double kSegmentHitReach = 3e-6;
constexpr double kSegmentHitFloor = 1e-5;

// How far either side of a ray's hit the curve's direction is sampled, in curve parameter.
constexpr double kRaySideStep = 2e-6;

// ---- Intersections ----
// Polyline pieces shorter than this are skipped; bulges below it are straight.
constexpr double kShortPiece = 1e-10;
constexpr double kIntersectStraightBulge = 1e-10;

// ---- Border extraction ----
// Arc recovery is tried on polylines whose chords are all this short.
constexpr double kShortChord = 1.0;
constexpr double kBorderRecoveryTol = 0.001;
// Loop vertices closer than this are one.
constexpr double kLoopSameTol = 1e-5;

// ---- Division ----
// Cut points closer than this in parameter and kTol in position are one.
constexpr double kSameParam = 1e-7;
// Lifts a parameter that lands a hair below a whole number onto it.
constexpr double kParamLift = 1e-12;
// Chain ends meet within this distance.
constexpr double kChainEndJoinTol = 1e-7;

// ---- Loop building ----
// End points closer than this squared distance repeat one another.
constexpr double kRepeatSquaredDist = 1e-14;
// Edges leaving one node within this angle are a tie, broken by input direction.
constexpr double kAngleTieTol = 1e-7;
// CompareEdge: midpoints and lengths within this agree; angles within the second are one line.
constexpr double kSameEdgeTol = 1e-4;
constexpr double kSameEdgeAngleTol = 0.001;
// PointInSegment: slack of the projection and the squared distance from the line.
constexpr double kSegmentSlack = 1e-12;
constexpr double kSegmentRelSlack = 2e-14;
// Points closer than this in x and in y are one node.
constexpr double kNodeCoordinateTol = 1e-5;
constexpr double kSameBulgeTol = 1e-7;
// A candidate whose second vertex lies within this squared distance of the vertex before the
// node is the arriving edge run backwards (with opposite bulges, for arcs).
constexpr double kBackSquaredDist = 1e-12;
constexpr double kBackBulgeSum = 1e-12;
// The X walks' straight-back test, as a distance.
constexpr double kBackDist = 1e-6;

// The parameter of the arc point that gives an arc edge its leaving direction.
constexpr double kLeavingParam = 0.01;
// The parameter of the arc point before the node that gives the way back along an arc.
constexpr double kArrivingParam = 0.99;

// ---- Edges ----
// A squared length below which an edge has no parameter.
constexpr double kDegenerateSquaredLength = 1e-10;
// The slack of the projection tests, in parameter units.
constexpr double kProjectionSlack = 1e-14;
// Two values of FindNode closer than this are one.
constexpr double kFindNodeTol = 1e-7;
// Cut points of DivEdge and GetDivEdges closer than this (parameter units) are one cut.
constexpr double kCutMergeTol = 0.001;
// Cut points of Intersection closer than this (parameter units) are one cut.
constexpr double kOverlapCutTol = 1e-10;
// Intersection joins codirectional others whose ends meet within this distance.
constexpr double kChainJoinDist = 1e-5;
// The direction tolerance of the join, as both AcGeTol values.
constexpr double kChainJoinTol = 1e-7;
// The looser direction test of IsLineOnEdges, in radians.
constexpr double kLooseDirectionTol = 0.1;
// ---- Geodesy ----
// Added to the seconds of a degrees-minutes-seconds split so that a value just below a whole
// second, from binary rounding, reads as that second.
constexpr double kDmsRoundingSeconds = 1e-6;
// The first miss of the meridian-arc inversion, above any tolerance asked for.
constexpr double kArcInversionStartMiss = 0.0001;
// Matching a table entry needs all three numbers strictly within this.
constexpr double kEllipsoidMatchTol = 1e-6;
// Seconds this close below 60 (or a seconds digit pair this close below 100) are a carry that
// binary rounding hid: 120.3 is stored as 120.2999..., and 30.2 degrees comes out as 11 minutes
// 59.99999999998 seconds. A millionth of a second is far below any printed digit.
constexpr double kCarryTolSeconds = 1e-6;
// Below this latitude (radians) the integrated meridian arc is exactly 0.
constexpr double kZeroArcLatitude = 4.5e-15;
// The latitude iteration stops when two values agree this closely (radians).
constexpr double kLatitudeTol = 1e-10;
// A pivot smaller than this (or not a number) makes the equations singular.
constexpr double kPivotTol = 1e-10;
// The part of an unknown's column in the normal equations that the columns before it leave
// unexplained (1 - R^2, from 0 to 1) below which the unknowns are taken as dependent. A design
// without full rank (coincident or collinear points, points on one conic) leaves rounding noise
// of 1e-14 or less there at any coordinate size; usable control points leave more than 1e-8.
constexpr double kDependentColumnTol = 1e-12;
// Gauss-Newton on the 7-parameter model stops when a step moves no shift by more than this
// (metres) and no scale change or rotation by more than the second; it gives up after the third
// number of steps.
constexpr double kShiftStepTol = 1e-9;
constexpr double kRatioStepTol = 1e-15;
// ---- The command-line program ----
// The smallest span of the SVG picture, and its margin as a fraction of the span.
constexpr double kSvgMinSpan = 1e-9;
constexpr double kSvgMargin = 0.03;
// The smallest label height in DXF output.
constexpr double kDxfMinTextHeight = 0.01;
// The default arc step of flattening and the default chord tolerance of arc recovery.
constexpr double kDefaultArcStep = 0.001;
constexpr double kDefaultRecoveryTol = 0.001;

// ---- Angles ----
constexpr double kPi = 3.14159265358979323846264338327950288;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kHalfPi = 0.5 * kPi;
} // namespace Tavro
