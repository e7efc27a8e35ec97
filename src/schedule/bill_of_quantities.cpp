#include <algorithm>
#include <map>
#include <string_view>
#include <tuple>
#include <utility>

#include "schedule/schedule.h"

namespace nimbo {
namespace {

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Natural order: runs of digits compare by their value (leading zeros
// aside), everything else byte by byte, which for UTF-8 is the order of the
// letters' code points.
int NaturalCompare(std::string_view a, std::string_view b)
{
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (!IsDigit(a[i]) || !IsDigit(b[j])) {
            if (a[i] != b[j])
                return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]) ? -1 : 1;
            ++i;
            ++j;
            continue;
        }
        while (i < a.size() && a[i] == '0')
            ++i;
        while (j < b.size() && b[j] == '0')
            ++j;
        const std::size_t endA = std::find_if_not(a.begin() + i, a.end(), IsDigit) - a.begin();
        const std::size_t endB = std::find_if_not(b.begin() + j, b.end(), IsDigit) - b.begin();
        const std::string_view runA = a.substr(i, endA - i), runB = b.substr(j, endB - j);
        if (runA.size() != runB.size())
            return runA.size() < runB.size() ? -1 : 1;
        if (const int c = runA.compare(runB); c != 0)
            return c < 0 ? -1 : 1;
        i = endA;
        j = endB;
    }
    if (i == a.size() && j == b.size())
        return 0;
    return i == a.size() ? -1 : 1;
}

using Key = std::tuple<std::string, std::string, std::string>;  // model, size, options

struct NaturalLess {
    bool operator()(const Key& x, const Key& y) const
    {
        int c = NaturalCompare(std::get<0>(x), std::get<0>(y));
        if (c == 0)
            c = NaturalCompare(std::get<1>(x), std::get<1>(y));
        if (c == 0)
            c = NaturalCompare(std::get<2>(x), std::get<2>(y));
        // Names alike in natural order ("01" and "1") still stay apart.
        return c != 0 ? c < 0 : x < y;
    }
};

}  // namespace

std::vector<BillLine> BillOfQuantities(const std::vector<ScheduleRow>& rows)
{
    std::map<Key, BillLine, NaturalLess> lines;
    for (const ScheduleRow& row : rows) {
        if (row.model.empty())
            continue;
        BillLine& line = lines[{row.model, row.size, row.options}];
        line.model = row.model;
        line.size = row.size;
        line.options = row.options;
        line.count += row.n;
        line.flow += row.L;
    }
    std::vector<BillLine> out;
    out.reserve(lines.size());
    for (auto& [key, line] : lines)
        out.push_back(std::move(line));
    return out;
}

}  // namespace nimbo
