#pragma once
// A project: the rooms of a building, each with the inputs the finder's room
// mode takes, the outlet chosen for it and the results last calculated for
// that choice, plus the properties the documents print. Plain values: the
// project file, the window, the schedule and the report all read the same.
#include <optional>
#include <string>
#include <vector>

namespace nimbo {

// The version of the project file this program writes and reads.
inline constexpr int kProjectFormatVersion = 1;

// Outlets in one room: a typed count, and the count actually used.
inline constexpr int kMaxOutletCount = 64;

// The calculation variants, as the main window numbers them.
inline constexpr int kVariantThrow = 1;     // the throw l for a terminal velocity Vx
inline constexpr int kVariantVelocity = 2;  // the velocity Vx at a distance X

struct ProjectProperties {
    std::string name, object, section, engineer;
    bool operator==(const ProjectProperties&) const = default;
};

// The room as the acoustics and the jets see it.
struct ProjectSpace {
    double length = 0, width = 0, height = 0;  // A, B, H, m, each > 0
    double ear = 1.2;                          // the listener's ear height, m, 0 < ear < H
    double alpha = 0.2;                        // mean absorption coefficient, 0 < alpha < 1
    bool operator==(const ProjectSpace&) const = default;
};

// Each limit is optional: absent sets no limit. The throw limits count in
// the throw variant, VxMax in the velocity variant; all are kept either way.
struct ProjectLimits {
    std::optional<double> dP;        // Pa, at most
    std::optional<double> LwA;       // dB(A), at most
    std::optional<double> throwMin;  // m, at least
    std::optional<double> throwMax;  // m, at most
    std::optional<double> VxMax;     // m/s at X, at most
    std::optional<double> V0Max;     // m/s, at most
    std::optional<double> NR;        // at most
    std::optional<double> LpA;       // dB(A), at most
    bool throwWithinLc = false;      // l not above Lc
    bool operator==(const ProjectLimits&) const = default;
};

// How the chosen model takes its size.
enum class ProjectSizeKind {
    Listed,  // a size of the catalogue's list, by its text
    Free,    // any A x B, typed in mm
    Slot,    // a slot diffuser by its typed length, mm
};

// Of the size members only those of sizeKind are saved; the others read
// back as their defaults.
struct ProjectOutlet {
    std::string type, model;  // as the catalogue names them
    ProjectSizeKind sizeKind = ProjectSizeKind::Listed;
    std::string size;             // Listed: the size exactly as listed, e.g. "450x450"
    double sizeA = 0, sizeB = 0;  // Free: mm
    double length = 0;            // Slot: mm
    // Option picks, each 1-based as the option groups list them.
    int plenum = 1;     // 1..3: «Нет», «КСД», «КСР»
    int jetForm = 1;    // 1..4
    int regulator = 1;  // 1..5
    int count = 1;      // outlets actually used, 1..kMaxOutletCount
    bool operator==(const ProjectOutlet&) const = default;
};

// NC beyond the tabulated curves keeps only the side it fell on.
struct ProjectNc {
    enum class Range { Rated, Below15, Above70 };
    Range range = Range::Rated;
    double value = 0;  // 15..70 when Rated, else 0
    bool operator==(const ProjectNc&) const = default;
};

// The results as last calculated, compared with a fresh calculation when
// the project is opened again. Absent where the program shows «-».
struct ProjectResults {
    std::optional<double> L1;   // m³/h per outlet
    std::optional<double> dP;   // Pa
    std::optional<double> LwA;  // dB(A)
    std::optional<double> jet;  // the throw l, m (throw variant) or Vx, m/s (velocity variant)
    std::optional<double> V0;   // m/s
    std::optional<double> LpA;  // dB(A) at the listener
    std::optional<double> NR;   // may be negative
    std::optional<ProjectNc> NC;
    bool operator==(const ProjectResults&) const = default;
};

struct ProjectRoom {
    std::string name;  // e.g. «101 Кабинет»; any text, newlines and quotes too
    ProjectSpace space;
    double flow = 0;              // the room's total air flow L, m³/h, > 0
    int variant = kVariantThrow;  // kVariantThrow or kVariantVelocity
    double vxOrX = 0;             // Vx, m/s (throw variant) or X, m (velocity variant), > 0
    std::optional<int> count;     // 1..kMaxOutletCount; absent: «авто»
    ProjectLimits limits;
    ProjectOutlet outlet;
    ProjectResults results;
    bool operator==(const ProjectRoom&) const = default;
};

struct Project {
    // The format of the file it was read from; a project saved is always
    // written in kProjectFormatVersion.
    int version = kProjectFormatVersion;
    ProjectProperties properties;
    std::vector<ProjectRoom> rooms;
    bool operator==(const Project&) const = default;
};

}  // namespace nimbo
