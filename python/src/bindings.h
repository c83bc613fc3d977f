#pragma once
// The parts of the tavro module, each adding its functions to the module.

#include <pybind11/pybind11.h>

namespace tavropy {

void bindGeometry(pybind11::module_& m);
void bindTopology(pybind11::module_& m);
void bindGeodesy(pybind11::module_& m);
// Plain C++ loops over the library, timed, for the module's benchmark to compare against.
void bindBenchLoops(pybind11::module_& m);

} // namespace tavropy
