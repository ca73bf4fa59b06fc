#include "game/action/3DModel.h"

#include <cmath>

namespace {

double Length(double x, double y, double z) { return std::sqrt(x * x + y * y + z * z); }

} // namespace

double PolygonNormalLength(const C3DModel& model, const C3DPolygon& polygon)
{
    const C3DPoint& v0 = model.model[polygon.indices[0]];
    const C3DPoint& v1 = model.model[polygon.indices[1]];
    const C3DPoint& v2 = model.model[polygon.indices[2]];
    const double ax = v1.x - v0.x;
    const double ay = v1.y - v0.y;
    const double az = v1.z - v0.z;
    const double bx = v2.x - v0.x;
    const double by = v2.y - v0.y;
    const double bz = v2.z - v0.z;
    const double nx = by * az - bz * ay;
    const double ny = -(bx * az - bz * ax);
    const double nz = bx * ay - by * ax;
    return Length(nx, ny, nz);
}

double ComputeRadius(C3DModel& model)
{
    double radius = 0;
    for (int16_t i = 0; i < model.vertexCount; ++i) {
        const C3DPoint& v = model.model[i];
        const double distance = Length(v.x, v.y, v.z);
        if (distance > radius)
            radius = distance;
    }
    model.radius = radius;
    return radius;
}

void ComputeGeometry(C3DModel& model)
{
    for (int16_t i = 0; i < model.polygonCount; ++i)
        model.polygons[i].normalLength = PolygonNormalLength(model, model.polygons[i]);
    ComputeRadius(model);
}
