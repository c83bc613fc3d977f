// The CSV reader of tavro on arbitrary text; what it accepts is written out and must read back
// to the same polylines.

#include "PolylineCsv.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace {
bool same(const Tavro::NodeBulge& a, const Tavro::NodeBulge& b) {
    if (a.nodes.length() != b.nodes.length() || a.bulges.length() != b.bulges.length())
        return false;
    for (int i = 0; i < a.nodes.length(); ++i)
        if (a.nodes[i].x != b.nodes[i].x || a.nodes[i].y != b.nodes[i].y) return false;
    for (int i = 0; i < a.bulges.length(); ++i)
        if (a.bulges[i] != b.bulges[i]) return false;
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<int>(size));
    QVector<tavro::CsvPolyline> lines;
    tavro::CsvError error;
    QStringList warnings;
    if (!tavro::parsePolylines(QString::fromUtf8(bytes), lines, error, &warnings)) return 0;
    QVector<tavro::CsvPolyline> again;
    if (!tavro::parsePolylines(tavro::formatPolylines(lines), again, error)) __builtin_trap();
    if (again.size() != lines.size()) __builtin_trap();
    for (int i = 0; i < lines.size(); ++i)
        if (again[i].id != lines[i].id || !same(again[i].shape, lines[i].shape)) __builtin_trap();
    return 0;
}
