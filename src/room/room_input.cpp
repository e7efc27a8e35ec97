// The room's boxes read as the finder reads its limits: the engine's number
// rules and its messages, plus the bounds that make a room of them.
#include "room/room_input.h"

#include <cmath>

#include "calc/input_checks.h"
#include "calc/numbers.h"
#include "text/utf8.h"

namespace nimbo {

namespace {

std::string Named(std::string_view name, const std::string& what) { return std::string(name) + ": " + what; }

std::string QuotedInput(std::string_view text) { return Quoted(TrimSpace(text), 24); }

// Empty when the text is empty («авто») or a whole number 1..kMaxOutlets.
std::string ReadCount(std::string_view text, std::optional<int>& n)
{
    const std::string rule = "целое число от 1 до " + std::to_string(kMaxOutlets) +
                             " или оставьте поле пустым для «авто»";
    const TypedNumber typed = ParseTypedNumber(text);
    switch (typed.status) {
    case TypedStatus::Empty:
        return {};
    case TypedStatus::NotANumber:
        return Named(kRoomNameN, QuotedInput(text) + " не является числом. Введите " + rule + ".");
    case TypedStatus::OutOfRange:
    case TypedStatus::Number:
        break;
    }
    const double v = typed.value;
    if (typed.status != TypedStatus::Number || v != std::floor(v) || v < 1 || v > kMaxOutlets)
        return Named(kRoomNameN, "введите " + rule + ", а не " + QuotedInput(text) + ".");
    n = static_cast<int>(v);
    return {};
}

}  // namespace

std::string ReadRoom(const RoomTexts& texts, RoomInput& out)
{
    out = {};
    TypedInput A{kRoomNameA, texts.A}, B{kRoomNameB, texts.B}, H{kRoomNameH, texts.H};
    for (TypedInput* in : {&A, &B, &H})
        if (std::string problem = ReadPositive(*in); !problem.empty())
            return problem;
    if (std::string problem = ReadCount(texts.n, out.n); !problem.empty())
        return problem;

    TypedInput ear{kRoomNameEar, texts.ear};
    if (std::string problem = ReadPositive(ear); !problem.empty())
        return problem;
    // At or above the ceiling the listener would sit in an outlet.
    if (ear.value >= H.value)
        return Named(kRoomNameEar, "введите число меньше высоты помещения " + QuotedInput(texts.H) +
                                       ", а не " + QuotedInput(texts.ear) + ".");

    TypedInput alpha{kRoomNameAlpha, texts.alpha};
    if (std::string problem = ReadPositive(alpha); !problem.empty())
        return problem;
    // At 1 every surface absorbs all sound and the room constant is infinite.
    if (alpha.value >= 1)
        return Named(kRoomNameAlpha, "введите число больше 0 и меньше 1, а не " + QuotedInput(texts.alpha) + ".");

    out.room = {A.value, B.value, H.value, ear.value, alpha.value};
    return {};
}

}  // namespace nimbo
