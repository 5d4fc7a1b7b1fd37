#include "hostsim/composition/layer_transform.h"

#include <cmath>

namespace hostsim {

namespace {

struct Basis {
    Vec3d x{1, 0, 0}, y{0, 1, 0}, z{0, 0, 1};
};

Vec3d Cross(const Vec3d& a, const Vec3d& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vec3d Normalized(const Vec3d& v) {
    const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (length < 1e-12) return v;
    return {v.x / length, v.y / length, v.z / length};
}

Vec3d Scaled(const Vec3d& v, double f) {
    return {v.x * f, v.y * f, v.z * f};
}
Vec3d Sum(const Vec3d& a, const Vec3d& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

// Turns the two axes a and b of the basis about the third by the angle (degrees); a turns
// towards b.
void Turn(Vec3d* a, Vec3d* b, double degrees) {
    const double radians = degrees * 3.14159265358979323846 / 180.0;
    const double c = std::cos(radians), s = std::sin(radians);
    const Vec3d new_a = Sum(Scaled(*a, c), Scaled(*b, s));
    const Vec3d new_b = Sum(Scaled(*b, c), Scaled(*a, -s));
    *a = new_a;
    *b = new_b;
}

void TurnAboutOwnAxes(Basis* basis, const Vec3d& degrees) {
    Turn(&basis->y, &basis->z, degrees.x);
    Turn(&basis->z, &basis->x, degrees.y);
    Turn(&basis->x, &basis->y, degrees.z);
}

Basis LookAt(const Vec3d& from, const Vec3d& to) {
    Basis basis;
    const Vec3d forward = Normalized({to.x - from.x, to.y - from.y, to.z - from.z});
    if (std::fabs(forward.x) < 1e-12 && std::fabs(forward.y) < 1e-12 &&
        std::fabs(forward.z) < 1e-12)
        return basis;
    const Vec3d composition_up{0, -1, 0};
    Vec3d right = Cross(forward, composition_up);
    // Looking straight up or down: keep x along the composition's x.
    if (right.x * right.x + right.y * right.y + right.z * right.z < 1e-18) right = {1, 0, 0};
    basis.z = forward;
    basis.x = Normalized(right);
    basis.y = Cross(basis.z, basis.x);
    return basis;
}

}  // namespace

A_Matrix4 LayerToWorld(const CompLayer& layer, double seconds) {
    const Vec3d position = layer.position.At(seconds);
    Basis basis;
    if (layer.point_of_interest) basis = LookAt(position, layer.point_of_interest->At(seconds));
    TurnAboutOwnAxes(&basis, layer.orientation.At(seconds));
    TurnAboutOwnAxes(&basis, layer.rotation.At(seconds));

    A_Matrix4 m{};
    const Vec3d rows[4] = {basis.x, basis.y, basis.z, position};
    for (int r = 0; r < 4; ++r) {
        m.mat[r][0] = rows[r].x;
        m.mat[r][1] = rows[r].y;
        m.mat[r][2] = rows[r].z;
        m.mat[r][3] = r == 3 ? 1.0 : 0.0;
    }
    return m;
}

}  // namespace hostsim
