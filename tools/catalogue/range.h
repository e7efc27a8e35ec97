#pragma once
// The maker's product range as it is kept by hand: one readable text per type
// (tools/catalogue/range/*.txt) plus the shared definitions in common.txt.
// This reader turns the texts into the range below, and CatalogueBytes writes
// the shipped catalogue file from it. Standard library only, so that the
// generator and the test that compares the committed file share this code.
#include <array>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace nimbo::range {

inline constexpr int kBands = 8;  // octave bands 63 .. 8000 Hz

// A schematic picture: its file base name and what to draw.
struct Drawing {
    std::string name;
    std::string kind;
    std::map<std::string, std::string> params;
    std::string origin;  // "file:line" of the definition
};

// A flow regulator (damper) with its loss coefficient per position, referred
// to the area the damper sits in.
struct Damper {
    std::string name;
    std::vector<std::string> captions;  // 4 or 5 positions
    std::vector<double> zeta;
};

// Relative unweighted octave-band levels of a flow-noise spectrum, dB.
struct Spectrum {
    std::string name;
    std::array<double, kBands> levels{};
};

struct JetOption {
    std::string caption;  // "n" when the model has no jet-form regulator
    double m = 0;         // velocity-decay coefficient of the compact jet
    double zeta = 0;      // pressure-loss coefficient without plenum; 0 = plenum only
    double zetaP = 0;     // with plenum box; 0 = no plenum offered
    double free = 0;      // free area / Fm
};

enum class SizeMode { Listed, Free, Length };

struct Size {
    std::string designation;
    double fm = 0, fz = 0;  // m2
};

struct Model {
    std::string name, slug, origin;
    Drawing picture;
    SizeMode mode = SizeMode::Listed;
    double allowanceFm = 0, allowanceFz = 0;  // mm, free size
    double unitFm = 0, unitFz = 0;            // m2 per section length, slot of free length
    int sectionMode = 0;
    double velocity = 0;  // rated velocity at Fm, m/s
    double soundK = 0, soundN = 0;
    double plenumSound = 0;  // dB added to the law with a plenum box
    std::string spectrum;
    double mFlat = 0;
    std::string damper;  // empty = no flow regulator
    bool damperPerOption = false;
    double damperAreaRatio = 1;  // Fz over the area the damper sits in
    std::vector<JetOption> jets;  // 1..4; one with caption "n" = no jet-form regulator
    std::vector<Size> sizes;      // listed sizes only

    bool plenumOffered() const { return !jets.empty() && jets.front().zetaP != 0; }
    bool jetFormRegulator() const { return !jets.empty() && jets.front().caption != "n"; }
    // Characters 2 to 4 of the name are the modular series code: such
    // slots are built of half-metre sections.
    bool halfMetreSections() const;
    double sectionLengthMm() const { return halfMetreSections() ? 500 : 1000; }
};

struct Type {
    std::string name, origin;
    Drawing picture;
    std::vector<Model> models;
};

struct Range {
    std::string heading, site;
    Drawing sign;
    std::map<std::string, Damper> dampers;
    std::map<std::string, Spectrum> spectra;
    std::vector<Type> types;

    const Damper* damper(const std::string& name) const;
    // Every picture the catalogue names, the maker's sign first, each name once.
    std::vector<const Drawing*> drawings() const;
};

// Reads common.txt and then every other *.txt of the folder in name order.
// On failure returns false and says why, naming file and line.
bool ReadRange(const std::filesystem::path& folder, Range& out, std::string& error);

// The same from texts already in memory: (file name, UTF-8 text) pairs, the
// shared definitions first.
bool ParseRange(const std::vector<std::pair<std::string, std::string>>& files, Range& out, std::string& error);

// The catalogue as UTF-8 text with CR LF line ends, and as the shipped bytes
// (Windows-1251).
std::string CatalogueText(const Range& range);
std::string CatalogueBytes(const Range& range);

// The 24 sound coefficients a1..a8, b1..b8, c1..c8 of one configuration: the
// sound law of the model at loss coefficient zeta for a size of areas fm and
// fz (m2; per section length for a slot, ignored for free sizes), with or
// without the plenum box. Zeros when zeta is 0 (no such configuration).
std::array<double, 24> SoundSet(const Range& range, const Model& model, double zeta, double fm, double fz,
                                bool plenum);

}  // namespace nimbo::range
