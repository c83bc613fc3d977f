// The CSV reader of tavro on arbitrary text; what it accepts is written out and read back.

#include "PolylineCsv.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<int>(size));
    QVector<tavro::CsvPolyline> lines;
    tavro::CsvError error;
    QStringList warnings;
    if (!tavro::parsePolylines(QString::fromUtf8(bytes), lines, error, &warnings)) return 0;
    QVector<tavro::CsvPolyline> again;
    QString message;
    tavro::parsePolylineFile("fuzz.csv", tavro::formatPolylines(lines).toUtf8(), again, message);
    return 0;
}
