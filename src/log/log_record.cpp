#include "log/log_record.h"

namespace nimbo {

std::array<std::string, 15> LogRecord::dataColumns() const
{
    return {model, size, plenum, jetForm, flowRegulator, L, V, p, x, F0, V0, Fv, Vv, Fjs, Vjs};
}

std::string LogRecord::listLine() const
{
    std::string line;
    line.reserve(160);
    line += model + " " + size;
    line += ", " + plenum;
    line += ", " + jetForm;
    line += ", " + flowRegulator;
    line += ", L=" + L + "м3/ч";
    line += ", " + labelV + V + unitV;
    line += ", P=" + p + "Па";
    line += ", " + labelX + x + unitX;
    line += ", LwA=" + LwA + "дБА";
    return line;
}

}  // namespace nimbo
