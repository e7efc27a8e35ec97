#include "calc/model_name.h"

#include "text/utf8.h"

namespace nimbo {

std::string_view SeriesCode(std::string_view modelName) { return Characters(modelName, 2, 3); }

std::string_view SeriesSuffix(std::string_view modelName)
{
    const int n = CharacterCount(modelName);
    return n <= 3 ? modelName : Characters(modelName, n - 2, 3);
}

}  // namespace nimbo
