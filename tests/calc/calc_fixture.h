#pragma once
// Catalogue rows for the calculation tests, set field by field by their
// place in the file, and a snapshot of a window that has chosen a row.
#include <QtTest>

#include <string>
#include <vector>

#include "calc/calculation.h"
#include "support/catalogue_text.h"

namespace nimbo::test {

// A size line with named setters at the positions of the file format.
class Row {
public:
    // The first line of a record; further size lines of the record are rows
    // with the same model and a line count of 0.
    explicit Row(const std::string& model, const std::string& designation = "n", int lineCount = 1)
        : line_(Record(model, "Тип", designation, lineCount))
    {
    }
    Row& type(const std::string& v) { return set(field::kType, v); }
    Row& fm(const std::string& v) { return set(field::kFm, v); }
    Row& fz(const std::string& v) { return set(field::kFz, v); }
    Row& sectionMode(int mode) { return set(field::kSectionMode, std::to_string(mode)); }
    Row& jetCaption(int k, const std::string& v) { return set(field::JetCaption(k), v); }
    Row& m(int k, const std::string& v) { return set(field::M(k), v); }
    Row& mFlat(const std::string& v) { return set(field::kMFlat, v); }
    Row& dzeta(int k, const std::string& v) { return set(field::Dzeta(k), v); }
    Row& dzetaP(int k, const std::string& v) { return set(field::DzetaP(k), v); }
    Row& freeRatio(int k, const std::string& v) { return set(field::FreeRatio(k), v); }
    // One coefficient of a sound set: letter 'a', 'b' or 'c', band 1..8.
    Row& sound(int k, bool plenum, char letter, int band, const std::string& v)
    {
        return set(field::Sound(k, plenum) + 8 * (letter - 'a') + band - 1, v);
    }
    // The same value for every band of one letter.
    Row& soundAll(int k, bool plenum, char letter, const std::string& v)
    {
        for (int band = 1; band <= 8; ++band)
            sound(k, plenum, letter, band, v);
        return *this;
    }
    Row& regCaption(int p, const std::string& v) { return set(field::RegCaption(p), v); }
    Row& kr(int k, int p, const std::string& v) { return set(field::Kr(k, p), v); }
    Row& dL(int k, int p, int v) { return set(field::DL(k, p), std::to_string(v)); }

    const Line& line() const { return line_; }

private:
    Row& set(int position, const std::string& v)
    {
        line_.set(position, v);
        return *this;
    }
    Line line_;
};

inline bool Load(const std::vector<Row>& rows, Catalogue& out)
{
    std::vector<Line> lines;
    for (const Row& r : rows)
        lines.push_back(r.line());
    LoadError error;
    const bool ok = LoadCatalogueFromBytes(FileBytes(lines), "b", out, error);
    if (!ok)
        qWarning("%s", error.message().c_str());
    return ok;
}

// A window that has chosen row `row` and size `sizeIndex`, with the default
// inputs and every option group hidden.
inline Calculation Chosen(const Catalogue& catalogue, int row, int sizeIndex = 1)
{
    Calculation s;
    s.catalogue = &catalogue;
    s.choice.selection = {row, sizeIndex, true, true};
    s.choice.shown.model = std::string(catalogue.modelName(row));
    s.choice.shown.jetForm = "Opt1";
    s.choice.shown.regulator = "b=0°";
    return s;
}

}  // namespace nimbo::test
