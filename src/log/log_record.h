#pragma once
// What one finished calculation leaves behind: the 15 columns of the log
// file's data line and the human-readable line of the on-screen log.
#include <array>
#include <string>

namespace nimbo {

struct LogRecord {
    std::string model, size, plenum, jetForm, flowRegulator;
    std::string L, V, p, x;
    std::string F0, V0, Fv, Vv, Fjs, Vjs;
    std::string LwA;  // on the list line only, never in the file
    // Captions and units beside the typed value and the jet result, as the
    // list line copies them.
    std::string labelV, unitV, labelX, unitX;

    // model, size, plenum, jet form, flow regulator, L, V, p, x, F0, V0, Fв, Vв, Fжс, Vжс
    std::array<std::string, 15> dataColumns() const;
    // "<model> <size>, <plenum>, ..., LwA=<LwA>дБА" (UTF-8)
    std::string listLine() const;
};

}  // namespace nimbo
