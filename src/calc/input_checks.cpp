#include "calc/input_checks.h"

#include <cmath>

#include "calc/numbers.h"
#include "text/utf8.h"

namespace nimbo {

namespace {

// The typed text as the message quotes it: trimmed, and cut after a few
// dozen characters so that a pasted page does not become the message.
std::string QuotedInput(std::string_view text) { return Quoted(TrimSpace(text), 24); }

std::string Named(std::string_view name, std::string_view what)
{
    return std::string(name) + ": " + std::string(what);
}

}  // namespace

std::string ReadPositive(TypedInput& input)
{
    const TypedNumber n = ParseTypedNumber(input.text);
    switch (n.status) {
    case TypedStatus::Empty:
        return Named(input.name, "введите число больше нуля.");
    case TypedStatus::NotANumber:
        return Named(input.name, QuotedInput(input.text) + " не является числом. Введите число больше нуля.");
    case TypedStatus::OutOfRange:
        return Named(input.name, "число " + QuotedInput(input.text) + " вне допустимого диапазона. Введите число больше нуля.");
    case TypedStatus::Number:
        break;
    }
    if (!(n.value > 0))
        return Named(input.name, "введите число больше нуля, а не " + QuotedInput(input.text) + ".");
    input.value = n.value;
    return {};
}

std::string AllowanceMessage(std::string_view name, std::string_view allowanceText)
{
    const std::string a(allowanceText);
    return Named(name, "введите размер больше " + a + " мм: из размера вычитается припуск " + a + " мм.");
}

std::string CatalogueAreaMessage(std::string_view areaName)
{
    return "Каталог: площадь " + std::string(areaName) +
           " выбранного типоразмера не больше нуля, расчет невозможен.";
}

std::string OutOfScaleMessage(std::initializer_list<const TypedInput*> involved)
{
    const TypedInput* worst = nullptr;
    double worstScale = -1;
    for (const TypedInput* in : involved) {
        if (!in)
            continue;
        const double scale = std::fabs(std::log10(std::fabs(in->value)));
        if (scale > worstScale) {
            worst = in;
            worstScale = scale;
        }
    }
    if (!worst)
        return std::string(kCatalogueUnusable);
    return Named(worst->name, "при значении " + QuotedInput(worst->text) +
                                  " результат расчета не выражается числом. Проверьте ввод.");
}

}  // namespace nimbo
