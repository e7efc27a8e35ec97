#pragma once
// Projects for the project-file tests and the fuzz seeds. Every number of a
// room differs from the others, so a value read into the wrong field shows.
// Also the README's example project, as its fenced block holds it.
#include <string>
#include <string_view>

#include "project/project.h"

namespace nimbo::test {

// «101 Кабинет»: the throw variant, a listed size, count «авто».
inline ProjectRoom ThrowRoom()
{
    ProjectRoom r;
    r.name = "101 Кабинет";
    r.space = {6, 5.5, 3, 1.1, 0.21};
    r.flow = 400;
    r.variant = kVariantThrow;
    r.vxOrX = 0.25;
    r.limits.dP = 50;
    r.limits.throwMax = 2.75;
    r.limits.NR = 35;
    r.limits.throwWithinLc = true;
    r.outlet = {"Диффузоры квадратные", "ПДК", ProjectSizeKind::Listed, "250x250", 0, 0, 0, 2, 3, 4, 2};
    r.results = {200, 1.5, 7, 1.8, 0.9, 4, -2, ProjectNc{ProjectNc::Range::Below15, 0}};
    return r;
}

// «102 Кабинет "Угловой"»: the velocity variant, a free size, a typed count.
inline ProjectRoom VelocityRoom()
{
    ProjectRoom r;
    r.name = "102 Кабинет \"Угловой\"";
    r.space = {8, 4.5, 3.2, 1.5, 0.3};
    r.flow = 720;
    r.variant = kVariantVelocity;
    r.vxOrX = 4;
    r.count = 3;
    r.limits.LwA = 35;
    r.limits.VxMax = 0.5;
    r.limits.V0Max = 2.5;
    r.limits.LpA = 40;
    r.outlet = {"Решетки любого размера", "РС-1", ProjectSizeKind::Free, "", 500, 200, 0, 1, 1, 5, 3};
    r.results = {240, 2.5, 11, 0.45, 1.25, 8, 3, ProjectNc{ProjectNc::Range::Rated, 16}};
    return r;
}

inline Project TwoRoomProject()
{
    Project p;
    p.properties = {"Бизнес-центр «Север»", "ул. Лесная, 5", "ОВ", "Иванова А. С."};
    p.rooms = {ThrowRoom(), VelocityRoom()};
    return p;
}

// The first ```json block of the README's section on the project file;
// empty when there is none.
inline std::string ReadmeProjectExample(std::string_view readme)
{
    const std::size_t section = readme.find("## Project file (*.nimbo)");
    constexpr std::string_view kOpen = "```json\n", kClose = "\n```";
    const std::size_t open = readme.find(kOpen, section);
    if (section == std::string_view::npos || open == std::string_view::npos)
        return {};
    const std::size_t body = open + kOpen.size();
    const std::size_t close = readme.find(kClose, body - 1);
    return close == std::string_view::npos ? std::string() : std::string(readme.substr(body, close + 1 - body));
}

}  // namespace nimbo::test
