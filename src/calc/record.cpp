// The log record of a finished calculation: what the window showed when the
// calculation ended, in the columns of the log file.
#include "calc/calculation.h"

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

}  // namespace

LogRecord MakeLogRecord(const RecordTexts& shown, const Inputs& texts, const OptionState& o,
                        const DisplayTexts& results, const Sections& sections)
{
    LogRecord r;
    r.model = shown.model;
    r.size = shown.freeSizeShown ? texts.A + "х" + texts.B : shown.listedSize;  // Cyrillic "х"
    if (shown.lengthShown)
        r.size = texts.Dlina;
    r.plenum = OptionText(o.ksdVisible, o.ksd, o.ksdCaptions);
    r.jetForm = OptionText(o.regFormVisible, o.regForm, o.regFormCaptions);
    r.flowRegulator = OptionText(o.regRashVisible, o.regRash, o.regRashCaptions);
    r.L = texts.L;
    r.V = texts.V;
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
    return r;
}

}  // namespace nimbo
