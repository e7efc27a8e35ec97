#pragma once
// The steps a search takes for one candidate, shared by the plain search and
// the room's: the numbers a row shows, and the limits they miss.
#include "select/search.h"

namespace nimbo::detail {

// The numbers "Считай!" shows for the calculated candidate.
void TakeNumbers(const Stages& st, bool ratingShown, float freeRatio, bool variant1, Found& f);
// The LimitBit of every limit that counts and is missed.
unsigned Misses(const Found& f, const Limits& limits, int variant, bool room);

// A room prepared once for a search: for every count n, the flow per outlet
// as it is typed and read, and where the outlets and the listener are.
struct RoomPlan {
    RoomInput input;
    std::vector<std::string> flowTexts;  // [n - 1]
    std::vector<double> flows;           // [n - 1]: the texts as the main window reads them
    std::vector<RoomGeometry> geometry;  // [n - 1]
};
RoomPlan PlanRoom(const RoomInput& input, double L, char decimalSeparator);

// The candidate at the typed count, or at the «авто» count.
struct RoomCandidate {
    const Candidate& candidate;
    const TypedInputs& inputs;  // as typed; the flow is the room's
    const OptionState& options;
    bool ratingShown;
    float freeRatio;
};
void EvaluateRoom(const RoomCandidate& rc, const RoomPlan& plan, const Request& r, Found& f);

}  // namespace nimbo::detail
