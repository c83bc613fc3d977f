#pragma once
// The automatic loop builder: a soup of straight and arc pieces turned into the loop graph (end
// points within 1e-5 in x and y snapped to one node, the first point seen fixing its place), and
// the drivers that trace closed loops through it, join pieces into polylines and group them by
// component.
//
// Fill a builder with the AddEdge forms, run one driver and read m_loops, m_loopBulges and
// m_loopIds. The drivers consume the edges of every loop they close, and their results
// accumulate. In a double graph (each piece added with a point array, so as two directed edges)
// GetDoubleLoops(0) yields every bounded face counterclockwise and GetDoubleLoops(1) the outer
// boundary of every connected part clockwise; a dangling piece lies on neither. Copies are deep.

#include "AcArray.h"
#include "AcDb.h"
#include "AcGe.h"
#include "CTavroEdge.h"
#include "CTavroLoopGraph.h"
#include "TavroExport.h"

#include <QVector>

#include <cstdint>
#include <set>
#include <vector>

class TAVRO_API CTavroAutoLoop {
public:
    CTavroAutoLoop();
    // A copy owns a graph of its own, equal to the source's.
    CTavroAutoLoop(const CTavroAutoLoop& other);
    CTavroAutoLoop& operator=(const CTavroAutoLoop& other);
    virtual ~CTavroAutoLoop();

    // ---- Filling ----

    // The node at p (within 1e-5 in x and y), created on first use.
    CTavroLoopNode* GetNodes(AcGePoint2d p);
    // One directed straight edge a -> b, kept in descending angle order (ties go last). These
    // one-way forms add nothing for a non-finite point or bulge.
    void AddEdge(AcGePoint2d a, AcGePoint2d b, std::uint64_t id);
    // One directed edge a -> b in ascending angle order, straight or an arc with the bulge.
    void AddEdgeR(AcGePoint2d a, AcGePoint2d b, std::uint64_t id);
    void AddEdgeR(AcGePoint2d a, AcGePoint2d b, double bulge, std::uint64_t id);
    // A piece as a pair of directed edges (descending order). Repeated end points (squared
    // distance <= 1e-14) are trimmed in place; inputDirection false takes the points reversed; a
    // closed piece is added as two halves with id 0. Pieces with fewer than two distinct points or
    // a non-finite coordinate are ignored.
    void AddEdge(AcArray<AcGePoint2d>& points, bool inputDirection, std::uint64_t id);
    void AddEdge(AcArray<AcGePoint2d>& points, AcArray<double>& bulges, bool inputDirection,
                 std::uint64_t id);
    void AddEdges(CArray<AcArray<AcGePoint2d>, AcArray<AcGePoint2d>>& pieces, bool inputDirection,
                  std::uint64_t id);
    void AddEdges(CArray<AcArray<AcGePoint2d>, AcArray<AcGePoint2d>>& pieces,
                  CArray<AcArray<double>, AcArray<double>>& bulges, bool inputDirection,
                  std::uint64_t id);
    // Splits a closed polyline of n points at index (n - 1) / 2, which belongs to both halves.
    void DivideNodes(AcArray<AcGePoint2d>& points, AcArray<AcGePoint2d>& first,
                     AcArray<AcGePoint2d>& second);
    void DivideNodes(AcArray<AcGePoint2d>& points, AcArray<double>& bulges,
                     AcArray<AcGePoint2d>& first, AcArray<double>& firstBulges,
                     AcArray<AcGePoint2d>& second, AcArray<double>& secondBulges);
    // Cuts the segments at their mutual touches and crossings and adds every piece as a pair
    // (id 0), recording it at the front of m_edges.
    void SelfDivEdges(std::vector<CTavroEdge>& edges);

    // ---- Start order ----
    // Each sorts the nodes (by x, then y) into the end (one edge), pass (two) and junction (more)
    // lists and fills m_startNodes: ReorderNodes junction, pass, end; ReorderNodesR end, pass,
    // junction; ReorderNodesBD junction, pass; Reorder2Nodes pass, junction. m_endNodes is never
    // cleared. ReorderSimplyNodes also merges each run of pass-through nodes into one edge each way
    // (in time linear in the run), then lists junction, remaining pass and end nodes.
    void ReorderNodes();
    void ReorderNodesR();
    void ReorderNodesBD();
    void Reorder2Nodes();
    void ReorderSimplyNodes();

    // ---- Drivers ----
    // Loops of a one-way graph: sharpest left turn over descending lists, or sharpest right over
    // ascending ones; rings of more than 2 points (more than 1 with arcs) go to m_loops.
    void GetSingleLoops();
    void GetSingleLoopsR();
    void GetBulgesSingleLoopsR();
    // Loops of a double graph: mode 1 keeps the clockwise ones (outer boundaries), any other mode
    // the counterclockwise ones (faces); with their ids (and bulges).
    void GetDoubleLoops(int mode);
    void GetBulgesDoubleLoops(int mode);
    // Counterclockwise loops walked from reversed copies only, ending at a piece in input
    // direction.
    void GetInterLoops();
    void GetBulgesInterLoops();
    // Appends to m_loops the face that holds pick inside and answers true; false when no face does.
    // Faces tried before are consumed.
    bool GetBoundary(AcGePoint2d pick);
    // Joins the pieces through pass-through nodes into maximal polylines (closed runs end on their
    // first point); a piece between junctions or a junction and an end is output alone.
    void ConnectPolyline();
    // Appends one array of object ids per connected component, ids ascending.
    void SortPolyline(std::vector<AcArray<AcDbObjectId>>& groups);

    // ---- Small searches ----
    // -1, 0 or 1 by midpoint x (1e-4), midpoint y, length, then angle; 0 for one segment either
    // way.
    int CompareEdge(CTavroEdge a, CTavroEdge b);
    // Always false; index is not written.
    bool FindEdge(CTavroEdge edge, int& index);
    // Exact binary search in an ascending array; index is the match or the insertion place.
    bool FindDist(AcArray<double> values, double value, int& index);
    // Binary search by address in an array of nodes kept in ascending address order.
    bool FindNode(CArray<CTavroLoopNode*, CTavroLoopNode*>& nodes, CTavroLoopNode* node,
                  int& index);
    // p lies on the segment ab (within squared distance 1e-12 of its line, ends included).
    bool PointInSegment(AcGePoint2d p, AcGePoint2d a, AcGePoint2d b);
    double sqrDist(AcGePoint2d a, AcGePoint2d b);

    QVector<AcArray<AcGePoint2d>> m_loops;
    std::set<CTavroPtNode> m_nodes;
    std::vector<std::vector<std::uint64_t>> m_loopIds;
    std::vector<CTavroPtNode> m_startNodes;
    QVector<AcArray<double>> m_loopBulges;
    std::vector<CTavroPtNode> m_endNodes;
    std::vector<CTavroPtNode> m_passNodes;
    std::vector<CTavroPtNode> m_junctionNodes;
    std::vector<CTavroEdge> m_edges;

private:
    void addPiece(AcArray<AcGePoint2d>& points, AcArray<double>* bulges, bool inputDirection,
                  std::uint64_t id);
    void sortByDegree(bool withEnds);
    void mergePassNodes();
    void copyGraph(const CTavroAutoLoop& other);
    void clearGraph();
};
