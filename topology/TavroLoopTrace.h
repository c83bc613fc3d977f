#pragma once
// The loop walk as the loop drivers run it: an internal helper, not a part of the interface.

#include "CTavroLoopGraph.h"

namespace Tavro {
namespace detail {

// A loop closed by a driver's walk, joined as the drivers join a path: every vertex once (bulges
// likewise), the ids of its edges in path order.
struct TracedLoop {
    AcArray<AcGePoint2d> ring;
    AcArray<double> bulges;
    std::vector<std::uint64_t> ids;
};

// The walk k->m_to->NextNodeD (arcs: NextNodeDBulge; inputStops: NextNodeX or NextNodeXBulge,
// which want clockwise) from the start edge k of start, with start as target and previous: the
// same result, the same edges consumed. When it returns 0 the loop is joined into loop (which is
// left as it was otherwise); the path is kept as pointers to the edges' arrays, so no step copies
// them.
int traceLoop(CTavroLoopNode* start, const CTavroLoopEdge* k, int mark, bool arcs, bool inputStops,
              bool clockwise, TracedLoop& loop);

} // namespace detail
} // namespace Tavro
