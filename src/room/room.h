#pragma once
// A room served by n equal outlets in its ceiling: how they share the
// ceiling, where the listener sits, and what their octave band sound power
// becomes as sound pressure at his ear. The finder calls this for every
// candidate and count, a report for one; the ratings of the pressure are in
// room/ratings.h, the room's inputs as typed in room/room_input.h.
#include <array>
#include <functional>
#include <vector>

namespace nimbo {

// The most outlets a room takes, and the end of the «авто» count.
inline constexpr int kMaxOutlets = 64;

// Two values closer than this count as equal wherever a rule breaks a tie
// or asks whether a level lies on a curve: a level computed on a curve
// comes back from the inverse formula a few units in the last place off.
inline constexpr double kRoomTie = 1e-9;

// Octave band levels, 63 Hz .. 8 kHz, dB.
using Bands = std::array<double, 8>;
inline constexpr std::array<int, 8> kBandHz{63, 125, 250, 500, 1000, 2000, 4000, 8000};

struct Room {
    double A = 0, B = 0, H = 0;  // length, width, height, m
    double ear = 1.2;            // the listener's ear height, m (seated)
    double alpha = 0.2;          // mean absorption coefficient ᾱ of the surfaces, 0 < ᾱ < 1
};

// nx outlets along the length A, ny along the width B.
struct Grid {
    int nx = 1, ny = 1;
};

// The factor pair nx·ny = n whose cells A/nx × B/ny are closest to square,
// by |ln((A/nx)/(B/ny))|; within kRoomTie the larger nx wins. An n below 1
// counts as 1.
Grid GridFor(const Room& room, int n);

// The outlets sit at the cell centres ((i + ½)·A/nx, (j + ½)·B/ny) in the
// ceiling plane; the listener sits below the one nearest the room's centre
// (on a tie the smallest i, then j).
struct RoomGeometry {
    Grid grid;
    int listenerI = 0, listenerJ = 0;  // the outlet above the listener, counted from 0
    double rNearest = 0;               // m: from the ear to that outlet, H − ear
    double S = 0;                      // m²: the room's inner surface 2(AB + AH + BH)
    double R = 0;                      // m²: the room constant S·ᾱ/(1 − ᾱ)
    double Lc = 0;                     // m: to the wall or halfway to the next outlet, min(A/nx, B/ny)/2
    std::vector<double> r;             // m: from the ear to outlet k = i·ny + j
    double dL = 0;                     // dB: Lp − Lw in every band, 10·lg(Σ Q/(4π r²) + 4n/R), Q = 2
};
RoomGeometry GeometryFor(const Room& room, int n);

// The sound pressure at the listener when every outlet radiates Lw.
Bands PressureBands(const Bands& Lw, const RoomGeometry& geometry);

// «авто»: the smallest n in 1..kMaxOutlets with missesAt(n) == 0, asking no
// further once one fits; if none fits, the smallest n with the fewest misses.
int AutoCount(const std::function<int(int n)>& missesAt);

}  // namespace nimbo
