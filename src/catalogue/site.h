#pragma once
// The maker's site: a fictional maker, so a reserved domain. The catalogue's
// page addresses lie below it, and the window's link points at it by default.
namespace nimbo::site {
inline constexpr const char* kAddress = "https://www.timbra.example/";
inline constexpr const char* kDomain = "timbra.example";
}  // namespace nimbo::site
