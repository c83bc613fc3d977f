#pragma once
// The planar graph of the loop engine: nodes at the distinct end points of the pieces, each
// owning its outgoing directed edges in angle order, and the walks that trace closed loops
// through it.
//
// Points within 1e-5 in x and in y are one node. An edge's angle is AcGeVector2d::angle of its
// leaving direction; lists are kept descending for the D, X and S walks and ascending for the R
// walks (CTavroAutoLoop keeps them so). A double graph holds every piece as two directed edges,
// one each way.
//
// The loop walks take, at every node, the sharpest turn to one side: the first edge clockwise
// from the way back (sharpest left, descending lists) or counterclockwise from it (sharpest right,
// ascending lists). They record one path entry per edge taken and, when the loop closes at the
// target, delete every edge of the path from its node (the caller deletes the first one). A node
// already carrying the attempt number is not entered again, so one attempt costs time linear in
// what it reaches. The walks keep their own stack on the heap: any path length is safe.
//
// The bulge walks and NextLine read a bulge per edge end; an edge without bulges counts as
// straight.

#include "AcArray.h"
#include "AcGe.h"
#include "TavroExport.h"

#include <cstdint>
#include <set>
#include <vector>

class CTavroLoopNode;
class CTavroLoopEdge;

// A point with its node: the key of the builder's node index.
class TAVRO_API CTavroPtNode {
public:
    CTavroPtNode();
    CTavroPtNode(CTavroLoopNode* node, AcGePoint2d point);
    CTavroPtNode(const CTavroPtNode& other);
    CTavroPtNode& operator=(const CTavroPtNode& other);
    virtual ~CTavroPtNode();

    // 0 when a and b agree within 1e-5 in x and in y; otherwise they order by x, then y
    // (1: a after b, -1: a before b).
    static int CompareNode(AcGePoint2d a, AcGePoint2d b);
    bool operator==(const CTavroPtNode& other) const;
    bool operator<(const CTavroPtNode& other) const;

    CTavroLoopNode* m_node;
    AcGePoint2d m_point;
    int m_count;
};

// A directed edge from m_from to m_to with the vertices (and bulges) of its piece.
class TAVRO_API CTavroLoopEdge {
public:
    // The straight edge a -> b.
    CTavroLoopEdge(CTavroLoopNode* from, CTavroLoopNode* to, AcGePoint2d a, AcGePoint2d b,
                   std::uint64_t id);
    CTavroLoopEdge(CTavroLoopNode* from, CTavroLoopNode* to, const AcArray<AcGePoint2d>& points,
                   std::uint64_t id);
    // The direction is the chord to the point at 0.01 of the first arc.
    CTavroLoopEdge(CTavroLoopNode* from, CTavroLoopNode* to, const AcArray<AcGePoint2d>& points,
                   const AcArray<double>& bulges, std::uint64_t id);
    // Copies every field, the node pointers included.
    CTavroLoopEdge(const CTavroLoopEdge& other);
    CTavroLoopEdge& operator=(const CTavroLoopEdge& other);
    virtual ~CTavroLoopEdge();

    AcArray<AcGePoint2d> m_points;
    AcArray<double> m_bulges;
    // False on the copy of a piece that runs in input order.
    bool m_reverse;
    AcGeVector2d m_direction;
    CTavroLoopNode* m_from;
    CTavroLoopNode* m_to;
    std::uint64_t m_id;
};

using CTavroEdgeList = CArray<CTavroLoopEdge*, CTavroLoopEdge*>;
using CTavroPathArray = CArray<AcArray<AcGePoint2d>, AcArray<AcGePoint2d>>;
using CTavroBulgePathArray = CArray<AcArray<double>, AcArray<double>>;

// A node with its outgoing edges; it owns them.
class TAVRO_API CTavroLoopNode {
public:
    explicit CTavroLoopNode(AcGePoint2d point);
    CTavroLoopNode(const CTavroLoopNode&) = delete;
    CTavroLoopNode& operator=(const CTavroLoopNode&) = delete;
    virtual ~CTavroLoopNode();

    // The loop walks, entered at this node from previous along the edge with the given arrays.
    // mark is the attempt number, target the node where the loop closes.

    // Sharpest left turn over a descending list; true when a loop closed.
    bool NextNodeS(int mark, const CTavroLoopNode* target, CTavroLoopNode* previous,
                   const AcArray<AcGePoint2d>& points, CTavroPathArray& path);
    // Sharpest right turn over an ascending list; true when a loop closed.
    bool NextNodeR(int mark, const CTavroLoopNode* target, CTavroLoopNode* previous,
                   const AcArray<AcGePoint2d>& points, CTavroPathArray& path);
    bool NextNodeRBulge(int mark, const CTavroLoopNode* target, CTavroLoopNode* previous,
                        const AcArray<AcGePoint2d>& points, const AcArray<double>& bulges,
                        CTavroPathArray& path, CTavroBulgePathArray& bulgePath);
    // Sharpest left turn, never straight back along the arriving edge: 1 when a loop closed with
    // the wanted orientation (true: clockwise, zero area counting clockwise), 0 when it closed the
    // other way, 2 when no loop closed from here.
    int NextNodeD(int mark, const CTavroLoopNode* target, CTavroLoopNode* previous,
                  const AcArray<AcGePoint2d>& points, std::uint64_t id,
                  std::vector<AcArray<AcGePoint2d>>& path, std::vector<std::uint64_t>& ids,
                  bool clockwise);
    // As NextNodeD over arcs; the way back is the chord to the point at 0.99 of the arriving arc.
    int NextNodeDBulge(int mark, const CTavroLoopNode* target, CTavroLoopNode* previous,
                       const AcArray<AcGePoint2d>& points, const AcArray<double>& bulges,
                       std::uint64_t id, std::vector<AcArray<AcGePoint2d>>& path,
                       std::vector<AcArray<double>>& bulgePath, std::vector<std::uint64_t>& ids,
                       bool clockwise);
    // As NextNodeD with clockwise wanted, but meeting an edge in input direction ends the walk
    // with 1 and consumes that edge.
    int NextNodeX(int mark, const CTavroLoopNode* target, CTavroLoopNode* previous,
                  const AcArray<AcGePoint2d>& points, std::uint64_t id,
                  std::vector<AcArray<AcGePoint2d>>& path, std::vector<std::uint64_t>& ids);
    int NextNodeXBulge(int mark, const CTavroLoopNode* target, CTavroLoopNode* previous,
                       const AcArray<AcGePoint2d>& points, const AcArray<double>& bulges,
                       std::uint64_t id, std::vector<AcArray<AcGePoint2d>>& path,
                       std::vector<AcArray<double>>& bulgePath, std::vector<std::uint64_t>& ids);
    // Follows a run of nodes with exactly two edges: 0 when it reached the target or a node of
    // another degree (the path holds the run), 2 when it backed out. Marks every node it passes.
    // The last argument is passed along unused.
    int NextLine(int mark, const CTavroLoopNode* target, CTavroLoopNode* previous,
                 const AcArray<AcGePoint2d>& points, const AcArray<double>& bulges,
                 std::uint64_t id, std::vector<AcArray<AcGePoint2d>>& path,
                 std::vector<AcArray<double>>& bulgePath, std::vector<std::uint64_t>& ids,
                 bool unused);
    // Floods the component: ids receives the arriving id and the id of every edge by which an
    // unmarked node was first reached. Always 2.
    int SortID(int mark, const CTavroLoopNode* target, CTavroLoopNode* previous,
               const AcArray<AcGePoint2d>& points, std::uint64_t id,
               std::vector<AcArray<AcGePoint2d>>& path, std::set<std::uint64_t>& ids);

    // The path read as one ring is clockwise or of zero area (shoelace sum >= 0).
    bool IsDeasil(std::vector<AcArray<AcGePoint2d>>& path) const;
    // The path with its arcs, joined into one ring, is clockwise (CTavroGeoPoint::geoArea > 0).
    static bool IsBulgeDeasil(std::vector<AcArray<AcGePoint2d>>& path,
                              std::vector<AcArray<double>>& bulgePath);

    AcGePoint2d m_point;
    CTavroEdgeList m_edges;
    int m_mark;
};
