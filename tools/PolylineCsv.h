#pragma once
// Reads bulge polylines from CSV text: one vertex per row, "x,y" or "x,y,bulge", with an
// optional leading id column. A blank line, or a change of id, starts the next polyline.

#include "TavroTypes.h"

#include <QString>
#include <QVector>

namespace tavro {

struct CsvPolyline {
    QString id;
    int firstLine = 0;
    int lastLine = 0;
    // One bulge per node; rows without a bulge hold 0.
    Tavro::NodeBulge shape;
};

struct CsvError {
    int line = 0;
    int column = 0;
    QString message;
};

// Parses text; on a bad row returns false with the row's line and 1-based column in error.
bool parsePolylines(const QString& text, QVector<CsvPolyline>& out, CsvError& error);

// Reads and parses a file ("-" reads standard input); errors come back as one line of the form
// "FILE:LINE:COLUMN: message".
bool readPolylines(const QString& path, QVector<CsvPolyline>& out, QString& error);

} // namespace tavro
