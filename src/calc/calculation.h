#pragma once
// "Считай!" as a function: a snapshot of what the window shows and of the
// selection goes in, every text the window must show and the log record come
// out. Nothing here knows about widgets.
#include <array>
#include <string>

#include "calc/numbers.h"
#include "catalogue/catalogue.h"
#include "log/log_record.h"

namespace nimbo {

// The selection the cascade made current.
struct Selection {
    int row = 0;           // 0..1000
    int sizeIndex = 0;     // 0..200
    bool modelChosen = false;  // a model was picked since the last type choice
    bool sizeChosen = false;   // a listed size was picked since the last model choice
};

// The three option groups as the window holds them. Visibility is each
// control's own setting, not whether it is on screen.
struct OptionState {
    bool ksdVisible = false, regFormVisible = false, regRashVisible = false;
    int ksd = 1, regForm = 1, regRash = 1;  // selected option, 1-based; 0 = none
    bool regForm1Visible = true;            // Opt_RegForm1's own setting
    std::array<std::string, 3> ksdCaptions{"Нет", "КСД", "КСР"};
    std::array<std::string, 4> regFormCaptions;
    std::array<std::string, 5> regRashCaptions;
};

struct Inputs {
    std::string L = "1000", V = "0.2", A = "300", B = "300", Dlina = "1000";
};

// The section results and their frames; the calculation leaves some of them
// as they were, so the snapshot carries the current state in.
struct Sections {
    bool fvVisible = false, svVisible = true, jsVisible = true;
    std::string F0, V0, Fv, Vv, Fjs, Vjs;
};

struct Snapshot {
    const Catalogue* catalogue = nullptr;
    Selection selection;
    Inputs inputs;
    int variant = 1;  // 1: throw for Vx, 2: velocity at X
    OptionState options;
    Sections sections;
    // What the log record copies from the window.
    std::string modelText;        // text of Cmb_VidVR
    std::string sizeComboText;    // text of Cmb_Tprzmr
    bool rzmrVisible = false, dlinaVisible = false;
    std::string labelV = "Vx =", unitV = "м/с", labelX = "l =", unitX = "м";
    char decimalSeparator = '.';
};

// Values handed from stage to stage, kept for tests and the coefficient panel.
struct Stages {
    double Fm = 0, Fz = 0, Nsec = 0, rF = 0;
    double DzetaQ1 = 0, DzetaQ2 = 0, DzetaExp = 0, DzetaCub = 0;
    double Q = 0;
    Value m, Dzeta, kr{1, false};
    float dLreg = 0;
    std::array<float, 24> sound{};
    bool lwaComputed = false;
    float LwA = 0;
    // The jet: the given or computed Vx and X (one of them is the typed
    // number), whether the flat-jet formula replaced the compact one, and dP.
    double Vx = 0, X = 0, dP = 0;
    bool flatJet = false;
};

struct Outcome {
    bool ok = false;
    std::string message;  // Russian; set when !ok, and nothing else is to change
    std::string p, x, LwA;
    Sections sections;
    std::string mData, dzetaData, krData, fmData, fzData;
    LogRecord record;
    Stages stages;
};

Outcome Calculate(const Snapshot& snapshot);

}  // namespace nimbo
