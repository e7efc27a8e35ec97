#pragma once
// Catalogue rows for the calculation tests, set field by field by their
// place in the file, and a snapshot of a window that has chosen a row.
#include <QtTest>

#include <string>
#include <vector>

#include "calc/calculation.h"
#include "support/catalogue_text.h"

namespace nimbo::test {

// A size line with named setters. Positions follow the file format: the
// jet-form blocks start at 8, 68, 127, 186 (block 1 has mFlat after m, so
// its later fields sit one further), the regulator blocks at 245 + 9(p-1).
class Row {
public:
    // The first line of a record; further size lines of the record are rows
    // with the same model and a line count of 0.
    explicit Row(const std::string& model, const std::string& designation = "n", int lineCount = 1)
        : line_(Record(model, "Тип", designation, lineCount))
    {
    }
    Row& fm(const std::string& v) { return set(5, v); }
    Row& fz(const std::string& v) { return set(6, v); }
    Row& sectionMode(int mode) { return set(7, std::to_string(mode)); }
    Row& jetCaption(int k, const std::string& v) { return set(JetBlock(k), v); }
    Row& m(int k, const std::string& v) { return set(JetBlock(k) + 1, v); }
    Row& mFlat(const std::string& v) { return set(10, v); }
    Row& dzeta(int k, const std::string& v) { return set(JetBlock(k) + Shift(k) + 2, v); }
    Row& dzetaP(int k, const std::string& v) { return set(JetBlock(k) + Shift(k) + 3, v); }
    Row& freeRatio(int k, const std::string& v) { return set(JetBlock(k) + Shift(k) + 4, v); }
    // One coefficient of a sound set: letter 'a', 'b' or 'c', band 1..8.
    Row& sound(int k, bool plenum, char letter, int band, const std::string& v)
    {
        const int start = JetBlock(k) + Shift(k) + 11 + (plenum ? 24 : 0);
        return set(start + 8 * (letter - 'a') + band - 1, v);
    }
    // The same value for every band of one letter.
    Row& soundAll(int k, bool plenum, char letter, const std::string& v)
    {
        for (int band = 1; band <= 8; ++band)
            sound(k, plenum, letter, band, v);
        return *this;
    }
    Row& regCaption(int p, const std::string& v) { return set(245 + 9 * (p - 1), v); }
    Row& kr(int k, int p, const std::string& v) { return set(245 + 9 * (p - 1) + k, v); }
    Row& dL(int k, int p, int v) { return set(245 + 9 * (p - 1) + 4 + k, std::to_string(v)); }

    const Line& line() const { return line_; }

private:
    static int JetBlock(int k) { return k == 1 ? 8 : k == 2 ? 68 : k == 3 ? 127 : 186; }
    static int Shift(int k) { return k == 1 ? 1 : 0; }
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
inline Snapshot Chosen(const Catalogue& catalogue, int row, int sizeIndex = 1)
{
    Snapshot s;
    s.catalogue = &catalogue;
    s.selection = {row, sizeIndex, true, true};
    s.record.model = std::string(catalogue.modelName(row));
    s.options.regFormCaptions = {"Opt1", "Opt2", "Opt3", "Opt4"};
    s.options.regRashCaptions = {"b=0°", "b=15°", "b=30°", "b=45°", "b=60°"};
    return s;
}

}  // namespace nimbo::test
