// The outlets' layout in the ceiling and the diffuse-field relation of the
// acoustics handbooks: each outlet's direct sound, spreading from the
// ceiling into a half space, plus the reverberant sound of the room.
#include "room/room.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "calc/numbers.h"

namespace nimbo {

namespace {

// An outlet flush with a plane surface radiates into a half space.
constexpr double kDirectivity = 2;

}  // namespace

Grid GridFor(const Room& room, int n)
{
    n = std::max(n, 1);
    // How far a cell is from square; the factor pairs are few, so each is
    // measured twice rather than stored.
    const auto skew = [&](int nx) { return std::fabs(std::log((room.A / nx) / (room.B / (n / nx)))); };
    double best = std::numeric_limits<double>::infinity();
    for (int nx = 1; nx <= n; ++nx)
        if (n % nx == 0)
            best = std::min(best, skew(nx));
    for (int nx = n; nx >= 1; --nx)
        if (n % nx == 0 && skew(nx) <= best + kRoomTie)
            return {nx, n / nx};
    return {n, 1};  // a room not read: no skew is a number
}

RoomGeometry GeometryFor(const Room& room, int n)
{
    RoomGeometry g;
    g.grid = GridFor(room, n);
    const int nx = g.grid.nx, ny = g.grid.ny;
    const double cellA = room.A / nx, cellB = room.B / ny, drop = room.H - room.ear;
    // The distance from an outlet to the centre splits into an x and a y
    // part, each smallest at the middle index, the lower one of two equally
    // near: exact, so no rounding decides the tie.
    g.listenerI = (nx - 1) / 2;
    g.listenerJ = (ny - 1) / 2;
    g.rNearest = drop;
    g.S = 2 * (room.A * room.B + room.A * room.H + room.B * room.H);
    g.R = g.S * room.alpha / (1 - room.alpha);
    g.Lc = std::min(cellA, cellB) / 2;

    double direct = 0;
    g.r.reserve(static_cast<std::size_t>(nx * ny));
    for (int i = 0; i < nx; ++i)
        for (int j = 0; j < ny; ++j) {
            const double dx = (i - g.listenerI) * cellA, dy = (j - g.listenerJ) * cellB;
            const double r = std::sqrt(dx * dx + dy * dy + drop * drop);
            g.r.push_back(r);
            direct += kDirectivity / (4 * std::numbers::pi * r * r);
        }
    g.dL = 10 * Lg(direct + 4.0 * nx * ny / g.R);
    return g;
}

Bands PressureBands(const Bands& Lw, const RoomGeometry& geometry)
{
    Bands Lp{};
    for (std::size_t i = 0; i < Lp.size(); ++i)
        Lp[i] = Lw[i] + geometry.dL;
    return Lp;
}

int AutoCount(const std::function<int(int n)>& missesAt)
{
    int bestN = 1, fewest = std::numeric_limits<int>::max();
    for (int n = 1; n <= kMaxOutlets; ++n) {
        const int misses = missesAt(n);
        if (misses == 0)
            return n;
        if (misses < fewest) {
            bestN = n;
            fewest = misses;
        }
    }
    return bestN;
}

}  // namespace nimbo
