// Inverse Gauss-Krueger projection, parameter estimation and the transformation chain.

#include "arrays.h"
#include "bindings.h"

#include "TavroEllipsoid.h"
#include "TavroGeoCoorTrans.h"
#include "TavroPCore.h"
#include "TavroQPcore.h"
#include "TavroTransEstimate.h"

#include <cmath>
#include <memory>

namespace tavropy {

namespace {

Tavro::TavroCoorSystem coordinateSystem(py::handle obj) {
    if (!py::isinstance<py::int_>(obj))
        throw py::value_error("system must be a CoordinateSystem member or its number");
    const long long value = PyLong_AsLongLong(obj.ptr());
    PyErr_Clear(); // an overflow answers -1, which is refused below
    if (value < Tavro::kCoorWGS84 || value > Tavro::kCoorBeijing54)
        throw py::value_error("system must be WGS84 (1), XIAN80 (2), CGCS2000 (3) or BEIJING54 "
                              "(4), got " +
                              std::to_string(value));
    return static_cast<Tavro::TavroCoorSystem>(value);
}

double centralMeridian(double degrees) {
    if (!(std::isfinite(degrees) && std::fabs(degrees) <= 180.0))
        throw py::value_error("central_meridian must be a number of degrees from -180 to 180");
    return degrees;
}

py::tuple gaussInverse(py::handle northingObj, py::handle eastingObj, double meridian,
                       py::handle systemObj) {
    const DoubleArray northing = finiteArray(northingObj, "northing");
    const DoubleArray easting = finiteArray(eastingObj, "easting");
    if (northing.request().shape != easting.request().shape)
        throw py::value_error("northing and easting must have the same shape");
    const Tavro::TavroCoorSystem system = coordinateSystem(systemObj);
    centralMeridian(meridian);
    std::vector<py::ssize_t> shape(northing.shape(), northing.shape() + northing.ndim());
    py::array_t<double> lon(shape), lat(shape);
    const double* n = northing.data();
    const double* e = easting.data();
    double* outLon = lon.mutable_data();
    double* outLat = lat.mutable_data();
    py::ssize_t bad = -1;
    {
        py::gil_scoped_release unlocked;
        const CTavroGeoCoorTrans trans;
        AcGePoint2d geodetic;
        for (py::ssize_t i = 0; i < northing.size(); ++i) {
            trans.gaussUncompute(geodetic, AcGePoint2d(n[i], e[i]), meridian, system);
            outLon[i] = geodetic.x;
            outLat[i] = geodetic.y;
            if (bad < 0 && !(std::isfinite(geodetic.x) && std::fabs(geodetic.y) <= 90.0)) bad = i;
        }
    }
    if (bad >= 0)
        throw py::value_error("northing[" + std::to_string(bad) + "], easting[" +
                              std::to_string(bad) +
                              "] is no point of a Gauss zone: the inverse "
                              "projection gives no position on the ellipsoid");
    return py::make_tuple(lon, lat);
}

// Pairs of points as the flat records the estimators read: source then target, per point.
std::vector<double> records(const DoubleArray& source, const DoubleArray& target) {
    const py::ssize_t n = source.shape(0), d = source.shape(1);
    std::vector<double> data;
    data.reserve(size_t(2 * n * d));
    for (py::ssize_t i = 0; i < n; ++i) {
        data.insert(data.end(), source.data() + i * d, source.data() + (i + 1) * d);
        data.insert(data.end(), target.data() + i * d, target.data() + (i + 1) * d);
    }
    return data;
}

DoubleArray coordinateRows(py::handle obj, py::ssize_t dims, const char* name) {
    DoubleArray a = finiteArray(obj, name);
    if (a.ndim() != 2 || a.shape(1) != dims)
        throw py::value_error(std::string(name) + " must be an (n, " + std::to_string(dims) +
                              ") array");
    return a;
}

// source and target as (n, dims) arrays of finite numbers, n at least `least`.
void pairArrays(py::handle s, py::handle t, py::ssize_t dims, py::ssize_t least,
                DoubleArray& source, DoubleArray& target) {
    source = coordinateRows(s, dims, "source");
    target = coordinateRows(t, dims, "target");
    if (source.shape(0) != target.shape(0))
        throw py::value_error("source and target must hold the same number of points");
    if (source.shape(0) < least)
        throw py::value_error("the fit needs at least " + std::to_string(least) + " point pairs");
}

// The residuals target - model(source), one row per point, and the root mean square of their
// lengths.
py::tuple residuals(CTavroPCoreObject& model, const DoubleArray& source,
                    const DoubleArray& target) {
    const py::ssize_t n = source.shape(0), d = source.shape(1);
    py::array_t<double> v(std::vector<py::ssize_t>{n, d});
    double sum = 0.0;
    for (py::ssize_t i = 0; i < n; ++i) {
        const double* s = source.data() + i * d;
        const double* t = target.data() + i * d;
        double out[3];
        model.transform(s[0], s[1], d > 2 ? s[2] : 0.0, out[0], out[1], out[2]);
        double squared = 0.0;
        for (py::ssize_t k = 0; k < d; ++k) {
            v.mutable_data()[i * d + k] = t[k] - out[k];
            squared += (t[k] - out[k]) * (t[k] - out[k]);
        }
        sum += squared;
    }
    return py::make_tuple(v, n > 0 ? std::sqrt(sum / double(n)) : 0.0);
}

[[noreturn]] void notFixed(const char* what) {
    throw py::value_error(std::string("the points do not fix the ") + what +
                          " (coincident or collinear points?)");
}

py::object fit4(py::handle s, py::handle t) {
    DoubleArray source, target;
    pairArrays(s, t, 2, 2, source, target);
    const std::vector<double> d = records(source, target);
    double p[4];
    if (!calcParamPM4(d.data(), int(d.size()), &p[0], &p[1], &p[2], &p[3]))
        notFixed("4 parameters");
    CTavroPCorePM4 model;
    model.setParam(p[0], p[1], p[2], p[3]);
    const py::tuple v = residuals(model, source, target);
    return recordType("Fit4")(p[0], p[1], p[2], p[3], v[0], v[1]);
}

py::object fit7(py::handle s, py::handle t) {
    DoubleArray source, target;
    pairArrays(s, t, 3, 3, source, target);
    const std::vector<double> d = records(source, target);
    const int n = int(d.size());
    double p[7];
    if (!calcParamKJ7(d.data(), n, &p[0], &p[1], &p[2], &p[3], &p[4], &p[5], &p[6]) ||
        !refineParamKJ7(d.data(), n, &p[0], &p[1], &p[2], &p[3], &p[4], &p[5], &p[6]))
        notFixed("7 parameters");
    CTavroPCoreKJ7 model;
    model.setParam(p[0], p[1], p[2], p[3], p[4], p[5], p[6]);
    const py::tuple v = residuals(model, source, target);
    return recordType("Fit7")(p[0], p[1], p[2], p[3], p[4], p[5], p[6], v[0], v[1]);
}

py::object fitHeight(py::handle pointObj, py::handle hObj, py::handle targetObj) {
    const DoubleArray points = pointArray(pointObj, "points");
    const py::ssize_t n = points.shape(0);
    const DoubleArray h = valueArray(hObj, n, "h"), target = valueArray(targetObj, n, "target");
    if (n < 6) throw py::value_error("the fit needs at least 6 points");
    std::vector<double> d;
    for (py::ssize_t i = 0; i < n; ++i)
        d.insert(d.end(),
                 {points.data()[2 * i], points.data()[2 * i + 1], h.data()[i], target.data()[i]});
    double p[8];
    if (!calcParamHF2(d.data(), int(d.size()), &p[0], &p[1], &p[2], &p[3], &p[4], &p[5], &p[6],
                      &p[7]))
        notFixed("height surface (points on one line or conic?)");
    CTavroPCoreHF2 model;
    model.setParam(p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7]);
    py::array_t<double> v(n);
    double sum = 0.0;
    for (py::ssize_t i = 0; i < n; ++i) {
        double X, Y, H;
        model.transform(d[4 * i], d[4 * i + 1], d[4 * i + 2], X, Y, H);
        v.mutable_data()[i] = d[4 * i + 3] - H;
        sum += v.data()[i] * v.data()[i];
    }
    py::array_t<double> a(6);
    std::copy(p + 2, p + 8, a.mutable_data());
    return recordType("FitHeight")(p[0], p[1], a, v, std::sqrt(sum / double(n)));
}

// A chain of transformation models over the library's CTavroPCoreTransform; the add methods
// return the chain so calls can be strung together.
class Chain {
public:
    void add(CTavroPCoreObject* model) { m_chain.addPCCoreObject(model); }
    int size() const { return m_chain.objectCount(); }

    py::tuple apply(py::handle xObj, py::handle yObj, py::handle zObj) {
        const DoubleArray x = finiteArray(xObj, "x"), y = finiteArray(yObj, "y");
        DoubleArray z = zObj.is_none() ? DoubleArray(x.request().shape) : finiteArray(zObj, "z");
        if (zObj.is_none()) std::fill(z.mutable_data(), z.mutable_data() + z.size(), 0.0);
        if (x.request().shape != y.request().shape || x.request().shape != z.request().shape)
            throw py::value_error("x, y and z must have the same shape");
        const std::vector<py::ssize_t> shape(x.shape(), x.shape() + x.ndim());
        py::array_t<double> X(shape), Y(shape), Z(shape);
        const double *px = x.data(), *py_ = y.data(), *pz = z.data();
        double *oX = X.mutable_data(), *oY = Y.mutable_data(), *oZ = Z.mutable_data();
        {
            py::gil_scoped_release unlocked;
            // An empty chain leaves the outputs untouched: they start as the inputs.
            for (py::ssize_t i = 0; i < x.size(); ++i) {
                oX[i] = px[i];
                oY[i] = py_[i];
                oZ[i] = pz[i];
                m_chain.transform(px[i], py_[i], pz[i], oX[i], oY[i], oZ[i]);
            }
        }
        return py::make_tuple(X, Y, Z);
    }

private:
    CTavroPCoreTransform m_chain;
};

template <typename Model> Chain& addProjection(Chain& chain, py::handle system, double meridian) {
    const CTavroEllipsoid e(coordinateSystem(system));
    auto* model = new Model;
    model->setParam(e.m_semiMajor, e.m_inverseFlattening, pcoreDegToRad(centralMeridian(meridian)));
    chain.add(model);
    return chain;
}

template <typename Model> Chain& addEllipsoid(Chain& chain, py::handle system) {
    const CTavroEllipsoid e(coordinateSystem(system));
    auto* model = new Model;
    model->setParam(e.m_semiMajor, e.m_inverseFlattening);
    chain.add(model);
    return chain;
}

void requireFinite(std::initializer_list<double> values) {
    for (double v : values)
        if (!std::isfinite(v)) throw py::value_error("every parameter must be a finite number");
}

void bindChain(py::module_& m) {
    using namespace pybind11::literals;
    py::class_<Chain>(m, "Chain",
                      "A chain of transformation models that points run through in order. Plane "
                      "triples are (easting, northing, h) in metres (the easting may carry a zone "
                      "prefix in millions); geodetic triples are (B latitude, L longitude, h) in "
                      "radians and metres; Cartesian triples are earth-centred X, Y, Z in metres. "
                      "Each add method returns the chain.")
        .def(py::init<>())
        .def("__len__", &Chain::size)
        .def(
            "pm4",
            [](Chain& c, double dx, double dy, double rotation, double scale) -> Chain& {
                requireFinite({dx, dy, rotation, scale});
                auto* model = new CTavroPCorePM4;
                model->setParam(dx, dy, rotation, scale);
                c.add(model);
                return c;
            },
            "dx"_a, "dy"_a, "rotation"_a, "scale"_a,
            "Adds the plane similarity X = dx + scale*(x cos r - y sin r), Y = dy + scale*(x sin "
            "r + y cos r), rotation r in radians (a Fit4's first four fields); z unchanged.",
            py::return_value_policy::reference)
        .def(
            "kj7",
            [](Chain& c, double dx, double dy, double dz, double scale, double ex, double ey,
               double ez) -> Chain& {
                requireFinite({dx, dy, dz, scale, ex, ey, ez});
                auto* model = new CTavroPCoreKJ7;
                model->setParam(dx, dy, dz, scale, ex, ey, ez);
                c.add(model);
                return c;
            },
            "dx"_a, "dy"_a, "dz"_a, "m"_a, "ex"_a, "ey"_a, "ez"_a,
            "Adds the linearised 7-parameter similarity of Cartesian points (shifts in metres, "
            "scale change m, rotations in radians; a Fit7's first seven fields).",
            py::return_value_policy::reference)
        .def(
            "hf2",
            [](Chain& c, double x0, double y0, py::handle coefficients) -> Chain& {
                const DoubleArray a = valueArray(coefficients, 6, "a");
                requireFinite({x0, y0});
                auto* model = new CTavroPCoreHF2;
                model->setParam(x0, y0, a.data()[0], a.data()[1], a.data()[2], a.data()[3],
                                a.data()[4], a.data()[5]);
                c.add(model);
                return c;
            },
            "x0"_a, "y0"_a, "a"_a,
            "Adds the height surface H = h + a0 + a1 u + a2 v + a3 u^2 + a4 u v + a5 v^2, u = x - "
            "x0, v = y - y0 (a FitHeight's first three fields); x, y unchanged.",
            py::return_value_policy::reference)
        .def("plane_to_geodetic", &addProjection<CTavroPCorePMDD>, "system"_a, "central_meridian"_a,
             "Adds the inverse Gauss-Krueger projection on the system's ellipsoid (central "
             "meridian in degrees): plane to geodetic.",
             py::return_value_policy::reference)
        .def("geodetic_to_plane", &addProjection<CTavroPCoreDDPM>, "system"_a, "central_meridian"_a,
             "Adds the Gauss-Krueger projection (easting with 500000 m added, no zone prefix).",
             py::return_value_policy::reference)
        .def("geodetic_to_cartesian", &addEllipsoid<CTavroPCoreDDKJ>, "system"_a,
             "Adds geodetic to earth-centred Cartesian on the system's ellipsoid.",
             py::return_value_policy::reference)
        .def("cartesian_to_geodetic", &addEllipsoid<CTavroPCoreKJDD>, "system"_a,
             "Adds earth-centred Cartesian to geodetic on the system's ellipsoid.",
             py::return_value_policy::reference)
        .def("apply", &Chain::apply, "x"_a, "y"_a, "z"_a = py::none(),
             "Runs arrays of points through the chain: x, y and z (None for zeros) of one shape; "
             "answers the arrays (X, Y, Z). An empty chain gives the points back.");
}

} // namespace

void bindGeodesy(py::module_& m) {
    using namespace pybind11::literals;
    m.def("gauss_inverse", &gaussInverse, "northing"_a, "easting"_a, "central_meridian"_a,
          "system"_a,
          "Inverse Gauss-Krueger projection: arrays of northing (x) and easting (y, with or "
          "without a zone prefix in millions; 500000 m on the central meridian) in metres, of "
          "one shape, to arrays (lon, lat) in decimal degrees, east and north positive. "
          "central_meridian in degrees; system a CoordinateSystem member or its number, naming "
          "the ellipsoid. Within 1.5 degrees of the meridian the series stays within 1e-10 "
          "degrees of the exact transverse Mercator.");
    m.def("fit4", &fit4, "source"_a, "target"_a,
          "Least-squares plane similarity from (n, 2) arrays of source and target points "
          "(n >= 2): Fit4(dx, dy, rotation, scale, residuals, rms), target = (dx, dy) + scale * "
          "R(rotation) source with rotation in radians counterclockwise; residuals (n, 2) target "
          "minus transformed source in metres, rms the root mean square of their lengths.");
    m.def("fit7", &fit7, "source"_a, "target"_a,
          "7-parameter similarity of earth-centred Cartesian points from (n, 3) arrays (n >= "
          "3): Fit7(dx, dy, dz, m, ex, ey, ez, residuals, rms), shifts in metres, m the scale "
          "change (0 = none), rotations in radians; residuals (n, 3) target minus transformed "
          "source in metres.");
    m.def("fit_height", &fitHeight, "points"_a, "h"_a, "target"_a,
          "Height surface from (n, 2) plane points, their heights h and target heights (n >= "
          "6): FitHeight(x0, y0, a, residuals, rms) with target = h + a0 + a1 u + a2 v + a3 u^2 "
          "+ a4 u v + a5 v^2, u = x - x0, v = y - y0 (x0, y0 the points' mean); residuals (n,) "
          "target minus fitted height in metres.");
    bindChain(m);
}

} // namespace tavropy
