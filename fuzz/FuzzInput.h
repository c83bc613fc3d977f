#pragma once
// Turns fuzzer bytes into the library's inputs. Bytes are read front to back and an exhausted
// input reads as zeros, so every byte string decodes to something.
//
// A number starts with a tag byte:
//   0..127    a grid value (tag - 64) * step: repeated, collinear and axis-parallel points and
//             zero-length segments come up often;
//   128..191  a hostile value from kSpecials (NaN, infinities, huge, tiny, tolerance edges);
//   192..255  the next 8 bytes as a raw IEEE double (little endian); make_corpus.py writes
//             exact values this way.
// A polyline is a count byte, its points (x then y), a bulge-mode byte and its bulges: mode 0
// gives one bulge per point, 1 none, 2 one too few, 3 one too many, otherwise a count byte.

#include "AcArray.h"
#include "AcGe.h"
#include "TavroHost.h"

#include <QVector>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

namespace fuzz {

inline constexpr double kSpecials[] = {
    std::numeric_limits<double>::quiet_NaN(),
    std::numeric_limits<double>::infinity(),
    -std::numeric_limits<double>::infinity(),
    std::numeric_limits<double>::max(),
    -std::numeric_limits<double>::max(),
    1e300,
    -1e300,
    1e150,
    std::numeric_limits<double>::min(),
    std::numeric_limits<double>::denorm_min(),
    -std::numeric_limits<double>::denorm_min(),
    0.0,
    -0.0,
    1e-300,
    1e-15,
    1e-12,
    1e-9,
    1e-7,
    -1e-7,
    1e-6,
    -1e-6,
    1.0000001e-6,
    1e-5,
    1e-4,
    1e-3,
    0.5,
    1.0,
    -1.0,
    3.141592653589793,
    1e6,
    1e8,
    500000.0,
    3500000.0,
    1e15,
    9007199254740993.0,
    1.0000000000000002,
};

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool empty() const { return m_pos >= m_size; }

    std::uint8_t byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }

    int count(int limit) { return limit > 0 ? byte() % (limit + 1) : 0; }

    double number(double step = 0.25) {
        const std::uint8_t tag = byte();
        if (tag < 128) return (tag - 64) * step;
        if (tag < 192) {
            constexpr std::size_t n = sizeof(kSpecials) / sizeof(kSpecials[0]);
            return kSpecials[(tag - 128) % n];
        }
        std::uint8_t raw[8] = {};
        for (std::uint8_t& b : raw)
            b = byte();
        double value;
        std::memcpy(&value, raw, sizeof value);
        return value;
    }

    double bulge() { return number(1.0 / 32); }

    AcGePoint2d point() {
        const double x = number();
        return AcGePoint2d(x, number());
    }

    AcArray<AcGePoint2d> points(int limit) {
        AcArray<AcGePoint2d> out;
        const int n = count(limit);
        for (int i = 0; i < n && !empty(); ++i)
            out.append(point());
        return out;
    }

    AcArray<double> bulges(int n) {
        int m = n;
        switch (byte()) {
        case 0:
            break;
        case 1:
            m = 0;
            break;
        case 2:
            m = n > 0 ? n - 1 : 0;
            break;
        case 3:
            m = n + 1;
            break;
        default:
            m = count(n + 2);
            break;
        }
        AcArray<double> out;
        for (int i = 0; i < m; ++i)
            out.append(bulge());
        return out;
    }

    // A polyline with its (possibly mismatched) bulges.
    void polyline(AcArray<AcGePoint2d>& pts, AcArray<double>& bs, int limit) {
        pts = points(limit);
        bs = bulges(pts.length());
    }

    void polylines(QVector<AcArray<AcGePoint2d>>& pts, QVector<AcArray<double>>& bs, int lines,
                   int limit) {
        const int n = count(lines);
        for (int i = 0; i < n && !empty(); ++i) {
            AcArray<AcGePoint2d> p;
            AcArray<double> b;
            polyline(p, b, limit);
            pts.append(p);
            bs.append(b);
        }
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

// Message boxes and command-line texts go nowhere, so a long run does not fill its log.
inline void quietHost() {
    TavroHost::Handlers h;
    h.commandLine = [](const QString&) {};
    h.message = [](const QString&, const QString&) {};
    TavroHost::setHandlers(h);
}

} // namespace fuzz
