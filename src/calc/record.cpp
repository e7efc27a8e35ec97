// The log record of a finished calculation: what the window showed when the
// calculation ended, in the columns of the log file.
#include <initializer_list>

#include "calc/stages.h"

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
std::string RecordedNumber(std::string_view text)
{
    constexpr std::string_view kBlanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(kBlanks) - first + 1));
}

// A record is one line of the file and one entry of the list: a control
// character (a tab in a catalogue text, say) becomes a blank.
void BlankControlCharacters(std::string& text)
{
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F')
            c = ' ';
}

}  // namespace

LogRecord MakeLogRecord(const Snapshot& s, const Outcome& out)
{
    LogRecord r;
    r.model = s.modelText;
    r.size = s.rzmrVisible ? RecordedNumber(s.inputs.A) + "х" + RecordedNumber(s.inputs.B)  // Cyrillic "х"
                           : s.sizeComboText;
    if (s.dlinaVisible)
        r.size = RecordedNumber(s.inputs.Dlina);
    r.plenum = OptionText(s.options.ksdVisible, s.options.ksd, s.options.ksdCaptions);
    r.jetForm = OptionText(s.options.regFormVisible, s.options.regForm, s.options.regFormCaptions);
    r.flowRegulator = OptionText(s.options.regRashVisible, s.options.regRash, s.options.regRashCaptions);
    r.L = RecordedNumber(s.inputs.L);
    r.V = RecordedNumber(s.inputs.V);
    r.p = out.p;
    r.x = out.x;
    r.F0 = out.sections.F0;
    r.V0 = out.sections.V0;
    r.Fv = out.sections.Fv;
    r.Vv = out.sections.Vv;
    r.Fjs = out.sections.Fjs;
    r.Vjs = out.sections.Vjs;
    r.LwA = out.LwA;
    r.labelV = s.labelV;
    r.unitV = s.unitV;
    r.labelX = s.labelX;
    r.unitX = s.unitX;
    for (std::string* text : {&r.model, &r.size, &r.plenum, &r.jetForm, &r.flowRegulator, &r.L, &r.V, &r.p, &r.x,
                              &r.F0, &r.V0, &r.Fv, &r.Vv, &r.Fjs, &r.Vjs, &r.LwA, &r.labelV, &r.unitV, &r.labelX,
                              &r.unitX})
        BlankControlCharacters(*text);
    return r;
}

}  // namespace nimbo
