#pragma once
// What must hold after any load of any bytes: a whole catalogue, or a clear
// error that names the line and the field and leaves nothing loaded.
#include <string>
#include <string_view>

namespace nimbo {
class Catalogue;
struct LoadError;
}  // namespace nimbo

namespace nimbo::fuzz {

// Loads the bytes and checks the result. Empty when everything holds,
// otherwise a description of the first broken rule.
std::string CheckCatalogueLoad(std::string_view bytes);

// The same checks on a load already made from `bytes`, which the load
// named `fileName`.
std::string CheckLoadedCatalogue(std::string_view bytes, std::string_view fileName, bool ok,
                                 const Catalogue& catalogue, const LoadError& error);

}  // namespace nimbo::fuzz
