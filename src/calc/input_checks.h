#pragma once
// What the calculation tells the user when an input cannot be used. Every
// message names the input as the window labels it.
#include <initializer_list>
#include <string>
#include <string_view>

namespace nimbo {

inline constexpr std::string_view kNameL = "Расход воздуха L";
inline constexpr std::string_view kNameVx = "Скорость Vx";
inline constexpr std::string_view kNameX = "Расстояние X";
inline constexpr std::string_view kNameA = "Размер A";
inline constexpr std::string_view kNameB = "Размер B";
inline constexpr std::string_view kNameLength = "Длина щелевой решетки";

inline constexpr std::string_view kChooseModel = "Выберите воздухораспределитель в списке.";
inline constexpr std::string_view kChooseSize = "Выберите типоразмер.";
inline constexpr std::string_view kCatalogueUnusable =
    "Каталог: данные выбранного типоразмера не позволяют выполнить расчет.";

struct TypedInput {
    std::string_view name;
    std::string_view text;
    double value = 0;  // set by ReadPositive
};

// Reads the input's text into its value. Empty when it is a usable number
// above 0, otherwise the message for the user.
std::string ReadPositive(TypedInput& input);

// A free size must be larger than the allowance the row deducts from it.
std::string AllowanceMessage(std::string_view name, std::string_view allowanceText);

// The catalogue holds no usable area for the chosen size.
std::string CatalogueAreaMessage(std::string_view areaName);

// A result that overflows (or an area that vanishes): the input whose value
// lies most orders of magnitude away from 1 is the likely cause and is named;
// with no typed input involved the catalogue is.
std::string OutOfScaleMessage(std::initializer_list<const TypedInput*> involved);

}  // namespace nimbo
