#include "report/sheet_of.h"

#include "calc/numbers.h"
#include "select/quantities.h"
#include "text/utf8.h"

namespace nimbo {

namespace {

std::string Trimmed(std::string_view text) { return std::string(TrimSpace(text)); }

ShownValue Row(const ShownValue& words, std::string_view value)
{
    return {Trimmed(words.caption), Trimmed(value), Trimmed(words.unit)};
}

// "A, мм" above a box reads "A", the box, "мм" in a report line.
ShownValue Row(std::string_view captionWithUnit, std::string_view value)
{
    const std::size_t comma = captionWithUnit.rfind(", ");
    if (comma == std::string_view::npos)
        return {Trimmed(captionWithUnit), Trimmed(value), {}};
    return {Trimmed(captionWithUnit.substr(0, comma)), Trimmed(value), Trimmed(captionWithUnit.substr(comma + 2))};
}

std::vector<ShownValue> SizeValues(const SheetWords& w, const Choice& choice)
{
    const ChoiceTexts& shown = choice.shown;
    // The same precedence as the log record's size.
    if (shown.lengthShown)
        return {Row(w.lengthTitle, choice.inputs.Dlina)};
    if (shown.freeSizeShown)
        return {Row(w.sizeA, choice.inputs.A), Row(w.sizeB, choice.inputs.B)};
    return {Row(w.sizeTitle, shown.listedSize)};
}

std::vector<ShownValue> Options(const SheetWords& w, const Choice& choice)
{
    const OptionState& o = choice.options;
    std::vector<ShownValue> out;
    if (o.ksdApplies)
        out.push_back({Trimmed(w.plenumTitle), Trimmed(choice.shown.plenum), {}});
    if (o.regFormApplies)
        out.push_back({Trimmed(w.jetFormTitle), Trimmed(choice.shown.jetForm), {}});
    if (o.regRashApplies)
        out.push_back({Trimmed(choice.shown.regulatorTitle), Trimmed(choice.shown.regulator), {}});
    return out;
}

void AddSections(const SheetWords& w, const Sections& s, CalculationSheet& sheet)
{
    if (!s.fvShown)
        return;
    sheet.sectionsTitle = Trimmed(w.sectionsTitle);
    const std::string* values[6] = {&s.F0, &s.V0, &s.Fv, &s.Vv, &s.Fjs, &s.Vjs};
    const bool shown[3] = {true, s.svShown, s.jsShown};
    for (std::size_t i = 0; i < 3; ++i)
        if (shown[i])
            sheet.sections.push_back({Trimmed(w.sectionTitles[i]),
                                      {Row(w.sectionRows[2 * i], *values[2 * i]),
                                       Row(w.sectionRows[2 * i + 1], *values[2 * i + 1])}});
}

}  // namespace

CalculationSheet SheetOf(const SheetWords& w, const Choice& choice, const Outcome& outcome, const std::string& size,
                         const std::string& picture)
{
    CalculationSheet s;
    s.type = Trimmed(choice.shown.type);
    s.model = Trimmed(choice.shown.model);
    s.size = size;
    s.sizeValues = SizeValues(w, choice);
    s.options = Options(w, choice);
    s.variant = Trimmed(w.variants[choice.variant == 2 ? 1 : 0]);
    const VariantWords& variant = VariantWordsOf(choice.variant);
    s.inputs = {Trimmed(w.inputsTitle),
                {Row(w.flow, choice.inputs.L),
                 Row(ShownValue{std::string(variant.inputLabel), {}, std::string(variant.inputUnit)},
                     choice.inputs.V)}};
    const DisplayTexts& t = outcome.texts;
    s.results = {Trimmed(w.resultsTitle),
                 {Row(w.loss, t.p), Row(w.sound, t.LwA),
                  Row(ShownValue{std::string(variant.resultLabel), {}, std::string(variant.resultUnit)}, t.x)}};
    AddSections(w, outcome.sections, s);
    s.picture = picture;
    return s;
}

namespace {

std::string Number(double v, int decimals, char sep) { return NumberText(Round(v, decimals), sep); }

// The room's rows that the finder's table has as quantities.
void AddQuantities(const Request& r, const Found& f, const FoundDetails& d, RoomBlock& out)
{
    for (const char* key : {"L1", "LpA", "NR", "NC", "Lc"})
        for (const Quantity& q : Quantities())
            if (q.key == key)
                out.values.push_back({std::string(q.symbolIn(r.variant)) + " =", q.text(f, d, r.decimalSeparator),
                                      std::string(q.unitIn(r.variant))});
}

}  // namespace

RoomBlock RoomBlockOf(const Request& r, const Found& f, const FoundDetails& d)
{
    RoomBlock out;
    out.title = "Помещение";
    const char sep = r.decimalSeparator;
    const Room& room = r.room->room;
    out.values = {
        {"A × B × H =", Number(room.A, 2, sep) + " × " + Number(room.B, 2, sep) + " × " + Number(room.H, 2, sep), "м"},
        {"L =", std::string(TrimSpace(r.inputs.L)), "м3/ч"},
        {"n =", std::to_string(static_cast<int>(f.n)) + " (" + std::to_string(f.grid.nx) + " × " +
                    std::to_string(f.grid.ny) + ")", "шт"},
        {"ᾱ =", Number(room.alpha, 3, sep), ""},
        {"Высота уха =", Number(room.ear, 2, sep), "м"},
    };
    AddQuantities(r, f, d, out);
    for (std::size_t i = 0; i < 8; ++i) {
        out.Lw[i] = d.stages.lwaComputed ? Number(d.stages.Lw[i], 1, sep) : "-";
        out.Lp[i] = d.stages.lwaComputed ? Number(d.Lp[i], 1, sep) : "-";
    }
    return out;
}

}  // namespace nimbo
