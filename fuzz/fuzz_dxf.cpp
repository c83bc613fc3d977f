// The DXF reader of tavro on arbitrary bytes.

#include "DxfIo.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<int>(size));
    tavro::looksLikeDxf(bytes);
    QVector<tavro::CsvPolyline> lines;
    QString error;
    tavro::readDxfPolylines("fuzz.dxf", bytes, lines, error);
    return 0;
}
