#pragma once
// The fields that the project file holds as plain lists, so that reading
// and writing walk the same names in the same order.
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "project/project.h"

namespace nimbo::project_fields {

// What a number field accepts.
enum class Range {
    Positive,  // > 0
    Fraction,  // 0 < x < 1
    Any,       // any number (every number read is finite)
};

template <class Owner, class Type>
struct Field {
    std::string_view name;
    Type Owner::*member;
    Range range = Range::Any;
    bool required = false;  // otherwise a missing field keeps the member's default
};

inline constexpr Field<ProjectProperties, std::string> kProperties[] = {
    {"name", &ProjectProperties::name},
    {"object", &ProjectProperties::object},
    {"section", &ProjectProperties::section},
    {"engineer", &ProjectProperties::engineer},
};

inline constexpr Field<ProjectSpace, double> kSpace[] = {
    {"length", &ProjectSpace::length, Range::Positive, true},
    {"width", &ProjectSpace::width, Range::Positive, true},
    {"height", &ProjectSpace::height, Range::Positive, true},
    {"ear", &ProjectSpace::ear, Range::Positive},  // and below the height
    {"alpha", &ProjectSpace::alpha, Range::Fraction},
};

inline constexpr Field<ProjectLimits, std::optional<double>> kLimits[] = {
    {"dP", &ProjectLimits::dP, Range::Positive},
    {"LwA", &ProjectLimits::LwA, Range::Positive},
    {"throwMin", &ProjectLimits::throwMin, Range::Positive},
    {"throwMax", &ProjectLimits::throwMax, Range::Positive},
    {"VxMax", &ProjectLimits::VxMax, Range::Positive},
    {"V0Max", &ProjectLimits::V0Max, Range::Positive},
    {"NR", &ProjectLimits::NR, Range::Any},
    {"LpA", &ProjectLimits::LpA, Range::Positive},
};
inline constexpr std::string_view kThrowWithinLc = "throwWithinLc";

// The result fields before and after the jet's, which is named by variant.
inline constexpr Field<ProjectResults, std::optional<double>> kResultsBeforeJet[] = {
    {"L1", &ProjectResults::L1},
    {"dP", &ProjectResults::dP},
    {"LwA", &ProjectResults::LwA},
};
inline constexpr Field<ProjectResults, std::optional<double>> kResultsAfterJet[] = {
    {"V0", &ProjectResults::V0},
    {"LpA", &ProjectResults::LpA},
    {"NR", &ProjectResults::NR},
};
inline constexpr std::string_view kNc = "NC";
inline constexpr std::string_view kNcBelow = "<15", kNcAbove = ">70";
inline constexpr double kNcLowest = 15, kNcHighest = 70;

// The typed value of the room and the result of the jet, by variant.
constexpr std::string_view TypedName(int variant) { return variant == kVariantVelocity ? "X" : "Vx"; }
constexpr std::string_view JetResultName(int variant) { return variant == kVariantVelocity ? "Vx" : "throw"; }

// The outlet's option picks: how many choices each group has.
struct OptionField {
    std::string_view name;
    int ProjectOutlet::*member;
    int choices;
};
inline constexpr OptionField kOptions[] = {
    {"plenum", &ProjectOutlet::plenum, 3},
    {"jetForm", &ProjectOutlet::jetForm, 4},
    {"regulator", &ProjectOutlet::regulator, 5},
};

}  // namespace nimbo::project_fields
