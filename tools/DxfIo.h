#pragma once
// Reads linework from, and writes closed regions to, the CAD interchange format (ASCII DXF),
// through dxflib.

#include "PolylineCsv.h"

#include <QByteArray>
#include <QString>
#include <QVector>

namespace tavro {

// Whether bytes look like an ASCII DXF file (a group code 0 then SECTION first).
bool looksLikeDxf(const QByteArray& bytes);

// Reads the LWPOLYLINE, POLYLINE, LINE, ARC and CIRCLE entities of the ENTITIES section of an
// ASCII DXF file as bulge polylines in file order, z left out. A closed polyline ends on its first
// vertex again; an arc is one or two bulge segments, a circle two half circles. Each polyline's
// id names its entity ("entity N (TYPE, handle H, layer L)", N counting the entities read).
// Each polyline's firstLine is the line where its entity starts. False with a message naming
// path (and the line and entity) for a binary DXF, a group code that is no whole number, a
// real value that is no finite number, or a file with none of those entities.
bool readDxfPolylines(const QString& path, const QByteArray& bytes, QVector<CsvPolyline>& out,
                      QString& error);

// One region to write: a closed ring (first vertex not repeated; the last bulge bends the
// closing side), its area and a point inside it.
struct DxfRegion {
    Tavro::NodeBulge ring;
    double area = 0.0;
    AcGePoint2d label;
};

// An AutoCAD 2000 DXF file of the regions: each a closed LWPOLYLINE on layer REGIONS, with its
// area as a TEXT entity at its label point on layer AREAS. False with a message when the
// temporary file it is built in cannot be written.
bool formatDxfRegions(const QVector<DxfRegion>& regions, QByteArray& out, QString& error);

} // namespace tavro
