#include "arrays.h"

#include <cmath>
#include <limits>

namespace tavropy {

namespace {

std::string shapeText(const py::array& a) {
    std::string text = "(";
    for (py::ssize_t k = 0; k < a.ndim(); ++k)
        text += (k ? ", " : "") + std::to_string(a.shape(k));
    return text + (a.ndim() == 1 ? ",)" : ")");
}

DoubleArray asDoubles(py::handle obj, const std::string& name, const char* wanted) {
    if (obj.is_none()) throw py::value_error(name + " must be " + wanted + ", got None");
    DoubleArray a = DoubleArray::ensure(obj);
    if (!a) {
        PyErr_Clear();
        throw py::value_error(name + " must be " + wanted + " of numbers");
    }
    return a;
}

// The first element that is not finite, or -1.
py::ssize_t firstNonFinite(const DoubleArray& a) {
    const double* data = a.data();
    for (py::ssize_t i = 0; i < a.size(); ++i)
        if (!std::isfinite(data[i])) return i;
    return -1;
}

void requireFinite(const DoubleArray& a, const std::string& name, py::ssize_t perRow) {
    const py::ssize_t bad = firstNonFinite(a);
    if (bad < 0) return;
    const std::string where =
        perRow > 1 ? std::to_string(bad / perRow) + ", " + std::to_string(bad % perRow)
                   : std::to_string(bad);
    throw py::value_error(name + "[" + where + "] is not a finite number");
}

void requireCount(py::ssize_t n, const std::string& name) {
    if (n > std::numeric_limits<int>::max())
        throw py::value_error(name + " holds more points than the library takes");
}

} // namespace

DoubleArray pointArray(py::handle obj, const std::string& name) {
    DoubleArray a = asDoubles(obj, name, "an (n, 2) array");
    // An empty list stands for no points.
    if (a.size() == 0 && a.ndim() == 1) a = DoubleArray(std::vector<py::ssize_t>{0, 2});
    if (a.ndim() != 2 || a.shape(1) != 2)
        throw py::value_error(name + " must be an (n, 2) array of x, y; got shape " + shapeText(a));
    requireCount(a.shape(0), name);
    requireFinite(a, name, 2);
    return a;
}

DoubleArray finiteArray(py::handle obj, const std::string& name) {
    DoubleArray a = asDoubles(obj, name, "an array");
    requireFinite(a, name, 1);
    return a;
}

DoubleArray valueArray(py::handle obj, py::ssize_t n, const std::string& name) {
    DoubleArray a = asDoubles(obj, name, "a one-dimensional array");
    if (a.ndim() != 1 || a.shape(0) != n)
        throw py::value_error(name + " must hold " + std::to_string(n) + " values, one per point;" +
                              " got shape " + shapeText(a));
    requireFinite(a, name, 1);
    return a;
}

AcArray<AcGePoint2d> toPoints(const DoubleArray& points) {
    const int n = static_cast<int>(points.shape(0));
    const double* xy = points.data();
    AcArray<AcGePoint2d> out(n);
    for (int i = 0; i < n; ++i)
        out.append(AcGePoint2d(xy[2 * i], xy[2 * i + 1]));
    return out;
}

AcArray<AcGePoint2d> vertices(py::handle obj, const std::string& name) {
    return toPoints(pointArray(obj, name));
}

AcArray<double> bulges(py::handle obj, int vertexCount, const std::string& name) {
    AcArray<double> out(vertexCount);
    if (obj.is_none()) {
        for (int i = 0; i < vertexCount; ++i)
            out.append(0.0);
        return out;
    }
    DoubleArray a = asDoubles(obj, name, "a one-dimensional array");
    if (a.ndim() != 1 || a.shape(0) != vertexCount)
        throw py::value_error(name + " must hold one bulge per vertex (" +
                              std::to_string(vertexCount) + "); got shape " + shapeText(a));
    requireFinite(a, name, 1);
    for (int i = 0; i < vertexCount; ++i)
        out.append(a.data()[i]);
    return out;
}

Tavro::NodeBulge ring(py::handle vertexObj, py::handle bulgeObj, const std::string& name,
                      const std::string& bulgeName) {
    Tavro::NodeBulge r;
    r.nodes = vertices(vertexObj, name);
    r.bulges = bulges(bulgeObj, r.nodes.length(), bulgeName);
    return r;
}

Tavro::NodeBulge ringSpec(py::handle obj, const std::string& name) {
    // A tuple of two points is a two-vertex polyline, not a (vertices, bulges) pair.
    if (py::isinstance<py::tuple>(obj) && py::len(obj) == 2) {
        py::tuple pair = py::reinterpret_borrow<py::tuple>(obj);
        py::array first = py::array::ensure(pair[0]);
        PyErr_Clear();
        if (first && first.ndim() == 2) return ring(pair[0], pair[1], name, name + " bulges");
    }
    return ring(obj, py::none(), name, name + " bulges");
}

std::vector<Tavro::NodeBulge> ringList(py::handle rings, py::handle bulgeObj,
                                       const std::string& name) {
    if (!py::isinstance<py::sequence>(rings) || py::isinstance<py::array>(rings))
        throw py::value_error(name + " must be a list of (n, 2) arrays");
    py::sequence list = py::reinterpret_borrow<py::sequence>(rings);
    const bool withBulges = !bulgeObj.is_none();
    py::sequence bulgeList;
    if (withBulges) {
        if (!py::isinstance<py::sequence>(bulgeObj) || py::len(bulgeObj) != py::len(list))
            throw py::value_error(name + " bulges must be a list with one bulge array (or None)" +
                                  " per ring");
        bulgeList = py::reinterpret_borrow<py::sequence>(bulgeObj);
    }
    std::vector<Tavro::NodeBulge> out;
    for (size_t i = 0; i < py::len(list); ++i) {
        const std::string item = name + "[" + std::to_string(i) + "]";
        out.push_back(withBulges
                          ? ring(list[i], bulgeList[i], item, "bulges[" + std::to_string(i) + "]")
                          : ringSpec(list[i], item));
    }
    return out;
}

py::array_t<double> fromPoints(const AcArray<AcGePoint2d>& points) {
    const py::ssize_t n = points.length();
    py::array_t<double> out(std::vector<py::ssize_t>{n, 2});
    double* xy = out.mutable_data();
    for (py::ssize_t i = 0; i < n; ++i) {
        xy[2 * i] = points[static_cast<int>(i)].x;
        xy[2 * i + 1] = points[static_cast<int>(i)].y;
    }
    return out;
}

py::array_t<double> fromValues(const AcArray<double>& values) {
    py::array_t<double> out(values.length());
    for (int i = 0; i < values.length(); ++i)
        out.mutable_data()[i] = values[i];
    return out;
}

py::array_t<double> fromBulges(const AcArray<double>& bulges, int vertexCount) {
    py::array_t<double> out(vertexCount);
    for (int i = 0; i < vertexCount; ++i)
        out.mutable_data()[i] = i < bulges.length() && bulges[i] != 0.0 ? bulges[i] : 0.0;
    return out;
}

py::tuple pointTuple(const AcGePoint2d& p) {
    return py::make_tuple(p.x, p.y);
}

py::object recordType(const char* name) {
    return py::module_::import("tavro._core").attr(name);
}

} // namespace tavropy
