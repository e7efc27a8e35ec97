// The log record of a finished calculation: what the window showed when the
// calculation ended, in the columns of the log file.
#include <initializer_list>

#include "log/record_of.h"

#include "text/utf8.h"

namespace nimbo {

namespace {

// The caption of the selected option; "-" for a group that does not apply
// (its leftover selection means nothing to the reader).
std::string OptionText(bool applies, const std::string& caption) { return applies ? caption : "-"; }

// A typed number as the user meant it: blanks and line ends around it are
// not part of it (a cell copied from a spreadsheet ends in CR LF).
std::string RecordedNumber(std::string_view text) { return std::string(TrimSpace(text)); }

// A record is one line of the file and one entry of the list: a control
// character (a tab in a catalogue text, say) becomes a blank.
void BlankControlCharacters(std::string& text)
{
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F')
            c = ' ';
}

}  // namespace

LogRecord RecordOf(const Choice& choice, const Outcome& outcome)
{
    const ChoiceTexts& shown = choice.shown;
    const Inputs& texts = choice.inputs;
    const OptionState& o = choice.options;
    const DisplayTexts& results = outcome.texts;
    const Sections& sections = outcome.sections;
    LogRecord r;
    r.model = shown.model;
    r.size = shown.freeSizeShown ? FreeSizeText(texts.A, texts.B) : shown.listedSize;
    if (shown.lengthShown)
        r.size = RecordedNumber(texts.Dlina);
    r.plenum = OptionText(o.ksdApplies, shown.plenum);
    r.jetForm = OptionText(o.regFormApplies, shown.jetForm);
    r.flowRegulator = OptionText(o.regRashApplies, shown.regulator);
    r.L = RecordedNumber(texts.L);
    r.V = RecordedNumber(texts.V);
    r.p = results.p;
    r.x = results.x;
    r.F0 = sections.F0;
    r.V0 = sections.V0;
    r.Fv = sections.Fv;
    r.Vv = sections.Vv;
    r.Fjs = sections.Fjs;
    r.Vjs = sections.Vjs;
    r.LwA = results.LwA;
    const VariantWords& words = VariantWordsOf(choice.variant);
    r.labelV = words.inputLabel;
    r.unitV = words.inputUnit;
    r.labelX = words.resultLabel;
    r.unitX = words.resultUnit;
    for (std::string* text : {&r.model, &r.size, &r.plenum, &r.jetForm, &r.flowRegulator, &r.L, &r.V, &r.p, &r.x,
                              &r.F0, &r.V0, &r.Fv, &r.Vv, &r.Fjs, &r.Vjs, &r.LwA, &r.labelV, &r.unitV, &r.labelX,
                              &r.unitX})
        BlankControlCharacters(*text);
    return r;
}

}  // namespace nimbo
