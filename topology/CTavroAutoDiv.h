#pragma once
// The division engine: cuts bulge polylines at all their mutual intersections and keeps the
// pieces between consecutive cut points once each, with the owner ids of the polylines that
// produced them. Load with AddNodeArr, run RunDiv, write the pieces out with ShowMePolyline.
// Candidate pairs come from an index over the polylines' extents, in the order a pass over
// every pair would meet them, so the pieces are those of that pass.

#include "AcArray.h"
#include "AcGe.h"
#include "CTavroLine2P.h"
#include "TavroExport.h"

#include <QVector>

#include <cstdint>
#include <set>
#include <vector>

class TAVRO_API CTavroAutoDiv {
public:
    CTavroAutoDiv();
    CTavroAutoDiv(const CTavroAutoDiv& other);
    CTavroAutoDiv& operator=(const CTavroAutoDiv& other);
    virtual ~CTavroAutoDiv();

    // One polyline, straight, cut when split is set; extents from its vertices.
    void AddNodeArr(const AcArray<AcGePoint2d>& pts, bool split, std::uint64_t id);
    // a to be cut, b a cutter only, both with the owner id; straight.
    void AddNodeArr(const AcArray<AcGePoint2d>& a, const AcArray<AcGePoint2d>& b, std::uint64_t id);
    // One polyline with its bulges; extents include its arcs.
    void AddNodeArr(const AcArray<AcGePoint2d>& pts, const AcArray<double>& bulges, bool split,
                    std::uint64_t id);
    // Each polyline of ps with its bulges; extents from the vertices.
    void AddNodeArr(QVector<AcArray<AcGePoint2d>>& ps, QVector<AcArray<double>>& bulges, bool split,
                    std::uint64_t id);
    // Every polyline of as to be cut (owner idA), then every one of bs as a cutter (idB).
    void AddNodeArr(QVector<AcArray<AcGePoint2d>>& as, QVector<AcArray<AcGePoint2d>>& bs,
                    std::uint64_t idA, std::uint64_t idB);
    // a with ba to be cut, then b with bb as a cutter, each only when both arrays hold
    // something; owner 0, extents including arcs.
    void AddNodeArr(AcArray<AcGePoint2d>& a, AcArray<double>& ba, AcArray<AcGePoint2d>& b,
                    AcArray<double>& bb);

    // Sets CTavroLine2P::m_bCompareWithDirect and cuts every polyline marked for splitting at
    // the points where it meets any loaded polyline, itself included, adding the pieces to
    // m_pieces (merging owners, or in removal mode removing a piece met again). Above 400
    // polylines the status bar shows "正在切割..." and the host's messages are pumped.
    void RunDiv(bool compareWithDirect);
    // Finds the cut points as RunDiv does, with the same meter, and keeps nothing.
    void GetInterPt();
    // Appends every piece in set order to the outputs: (start, end), bulges (bulge, 0), owners.
    void ShowMePolyline();
    // One quicksort partition of keys with points alongside; low receives the pivot's place.
    void Parttion(AcArray<double>& keys, AcArray<AcGePoint2d>& points, int& low, int high);

    // Joins pieces end to end where exactly two piece ends meet (points within 1e-5 share a
    // node; ends join within 1e-7).
    static void ConnectNodes(QVector<AcArray<AcGePoint2d>>& in, QVector<AcArray<AcGePoint2d>>& out);
    // Joins pieces with bulges wherever an end lies within 1e-7 of an end of the chain.
    static void ConnectNodes(QVector<AcArray<AcGePoint2d>>& in, QVector<AcArray<double>>& inBulges,
                             QVector<AcArray<AcGePoint2d>>& out,
                             QVector<AcArray<double>>& outBulges);

    QVector<AcArray<double>> m_outBulges;
    QVector<AcArray<AcGePoint2d>> m_outPolylines;
    std::vector<bool> m_splitFlags;
    QVector<AcArray<AcGePoint2d>> m_polylines;
    QVector<AcArray<double>> m_bulges;
    std::set<CTavroLine2P> m_pieces;
    AcArray<AcGePoint2d> m_extMins;
    AcArray<AcGePoint2d> m_extMaxs;
    bool m_bRemoveShared;
    bool m_bSharedRemoved;
    std::vector<std::set<std::uint64_t>> m_owners;
    std::vector<std::set<std::uint64_t>> m_outOwners;

private:
    void addPolyline(const AcArray<AcGePoint2d>& pts, const AcArray<double>& bulges, bool split,
                     std::uint64_t id, bool arcExtents);
    // The cut points of polyline i with their parameters along it, from every loaded polyline
    // whose extents meet its own, in the order of the polylines.
    void gatherCuts(int i, const std::vector<int>& candidates, AcArray<AcGePoint2d>& pts,
                    AcArray<double>& params);
    void cutPolyline(int i, const std::vector<int>& candidates);
    void storePiece(const CTavroLine2P& piece, int owner);
};
