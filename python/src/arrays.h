#pragma once
// Conversions between NumPy arrays and the library's vertex and bulge arrays, with the checks
// that turn bad input into ValueError naming the argument: wrong shapes, bulge arrays of the
// wrong length, and numbers that are not finite (which the library would carry on with and
// answer NaN).

#include "AcArray.h"
#include "AcGe.h"
#include "TavroTypes.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <string>
#include <vector>

namespace py = pybind11;

namespace tavropy {

using DoubleArray = py::array_t<double, py::array::c_style | py::array::forcecast>;

// obj as a C-ordered float64 array of shape (n, 2) with every number finite.
DoubleArray pointArray(py::handle obj, const std::string& name);
// obj as a C-ordered float64 array of any shape with every number finite.
DoubleArray finiteArray(py::handle obj, const std::string& name);
// obj as a one-dimensional float64 array of n finite numbers.
DoubleArray valueArray(py::handle obj, py::ssize_t n, const std::string& name);

AcArray<AcGePoint2d> toPoints(const DoubleArray& points);
// The vertices of an (n, 2) array.
AcArray<AcGePoint2d> vertices(py::handle obj, const std::string& name);
// One bulge per vertex: None means every segment straight.
AcArray<double> bulges(py::handle obj, int vertexCount, const std::string& name);
Tavro::NodeBulge ring(py::handle vertices, py::handle bulges, const std::string& name,
                      const std::string& bulgeName);
// A ring written as an (n, 2) array or as a (vertices, bulges) pair.
Tavro::NodeBulge ringSpec(py::handle obj, const std::string& name);
// A list of rings, each an (n, 2) array, with an optional parallel list of bulge arrays.
std::vector<Tavro::NodeBulge> ringList(py::handle rings, py::handle bulges,
                                       const std::string& name);

py::array_t<double> fromPoints(const AcArray<AcGePoint2d>& points);
py::array_t<double> fromValues(const AcArray<double>& values);
// Bulges with every -0 written as 0 (a reversed straight side carries -0).
py::array_t<double> fromBulges(const AcArray<double>& bulges, int vertexCount);
py::tuple pointTuple(const AcGePoint2d& p);

// A named tuple type of the module, made at import (see module.cpp).
py::object recordType(const char* name);

} // namespace tavropy
