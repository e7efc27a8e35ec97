// The log record of a finished calculation: what the window showed when the
// calculation ended, in the columns of the log file.
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

}  // namespace

LogRecord MakeLogRecord(const Snapshot& s, const Outcome& out)
{
    LogRecord r;
    r.model = s.modelText;
    r.size = s.rzmrVisible ? s.inputs.A + "х" + s.inputs.B : s.sizeComboText;  // Cyrillic "х"
    if (s.dlinaVisible)
        r.size = s.inputs.Dlina;
    r.plenum = OptionText(s.options.ksdVisible, s.options.ksd, s.options.ksdCaptions);
    r.jetForm = OptionText(s.options.regFormVisible, s.options.regForm, s.options.regFormCaptions);
    r.flowRegulator = OptionText(s.options.regRashVisible, s.options.regRash, s.options.regRashCaptions);
    r.L = s.inputs.L;
    r.V = s.inputs.V;
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
    return r;
}

}  // namespace nimbo
