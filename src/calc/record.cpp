// The log record of a finished calculation: what the window showed when the
// calculation ended, in the columns of the log file.
#include <initializer_list>

#include "calc/calculation.h"
#include "text/utf8.h"

namespace nimbo {

namespace {

// The caption of the selected option; "" when none is, "-" when the frame
// is hidden (a hidden group's leftover selection means nothing).
template <std::size_t N>
std::string OptionText(bool frameVisible, int selected, const std::array<std::string, N>& captions)
{
    if (!frameVisible)
        return "-";
    if (selected >= 1 && selected <= static_cast<int>(N))
        return captions[static_cast<std::size_t>(selected - 1)];
    return "";
}

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

LogRecord MakeLogRecord(const RecordTexts& shown, const Inputs& texts, const OptionState& o,
                        const DisplayTexts& results, const Sections& sections)
{
    LogRecord r;
    r.model = shown.model;
    r.size = shown.freeSizeShown ? RecordedNumber(texts.A) + "х" + RecordedNumber(texts.B)  // Cyrillic "х"
                                 : shown.listedSize;
    if (shown.lengthShown)
        r.size = RecordedNumber(texts.Dlina);
    r.plenum = OptionText(o.ksdVisible, o.ksd, o.ksdCaptions);
    r.jetForm = OptionText(o.regFormVisible, o.regForm, o.regFormCaptions);
    r.flowRegulator = OptionText(o.regRashVisible, o.regRash, o.regRashCaptions);
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
    r.labelV = shown.inputLabel;
    r.unitV = shown.inputUnit;
    r.labelX = shown.resultLabel;
    r.unitX = shown.resultUnit;
    for (std::string* text : {&r.model, &r.size, &r.plenum, &r.jetForm, &r.flowRegulator, &r.L, &r.V, &r.p, &r.x,
                              &r.F0, &r.V0, &r.Fv, &r.Vv, &r.Fjs, &r.Vjs, &r.LwA, &r.labelV, &r.unitV, &r.labelX,
                              &r.unitX})
        BlankControlCharacters(*text);
    return r;
}

}  // namespace nimbo
