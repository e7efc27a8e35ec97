#pragma once
// The room's boxes as typed: each read by the engine's number rules (a
// decimal point or comma), each refusal a message naming the box.
#include <optional>
#include <string>
#include <string_view>

#include "room/room.h"

namespace nimbo {

inline constexpr std::string_view kRoomNameA = "Длина помещения A";
inline constexpr std::string_view kRoomNameB = "Ширина помещения B";
inline constexpr std::string_view kRoomNameH = "Высота помещения H";
inline constexpr std::string_view kRoomNameN = "Число воздухораспределителей n";
inline constexpr std::string_view kRoomNameEar = "Высота уха слушателя";
inline constexpr std::string_view kRoomNameAlpha = "Поглощение ᾱ";

struct RoomTexts {
    std::string A, B, H, n, ear, alpha;
};

struct RoomInput {
    Room room;
    std::optional<int> n;  // empty: «авто»
};

// A, B, H and the ear height numbers above 0 with the ear below H; ᾱ above 0
// and below 1; n empty or a whole number 1..kMaxOutlets. Empty when all are
// usable, else the refusal of the first box in that order.
std::string ReadRoom(const RoomTexts& texts, RoomInput& out);

}  // namespace nimbo
