#pragma once
// A small JSON reader and writer (RFC 8259) for the project file, so the
// engine needs no library beyond the standard one. Reading is strict and
// bounded: a file made by hand or by a hostile program gets a position and a
// reason, never a crash, a deep recursion or an unbounded allocation.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace nimbo::json {

inline constexpr int kMaxDepth = 64;
inline constexpr std::size_t kMaxBytes = 16u << 20;
inline constexpr std::size_t kMaxValues = 1'000'000;
// Some editors put it before UTF-8 text; a reader skips it.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct Member;

struct Value {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;            // always finite
    std::string text;             // valid UTF-8
    std::vector<Value> items;     // Array
    std::vector<Member> members;  // Object, in the order written; names unique

    // The member's value, or nullptr when the object has no such member.
    const Value* find(std::string_view name) const;
};

struct Member {
    std::string name;
    Value value;
};

// Building values for the writer.
Value Null();
Value Bool(bool b);
Value Number(double d);
Value String(std::string s);
Value Object(std::vector<Member> members);
Value Array(std::vector<Value> items);

struct ParseError {
    std::size_t offset = 0;  // the byte where reading stopped
    bool truncated = false;  // the text ended before the value did
    std::string what;        // Russian, e.g. "ожидалась «,» или «}»"
};

// Reads exactly one value, with blanks around it; a byte order mark before
// it is skipped. On failure `out` is left as it was.
bool Parse(std::string_view text, Value& out, ParseError& error);

// Line and column (from 1, the column in characters) of a byte offset.
struct Position {
    int line = 1, column = 1;
};
Position PositionOf(std::string_view text, std::size_t offset);

// The text: indented by two spaces, members in their order, LF line ends,
// a final newline. Numbers in the shortest form that reads back to the same
// double; a number that is not finite (which JSON cannot hold) as null.
// Malformed UTF-8 in a string is written as U+FFFD so the file stays valid.
std::string Write(const Value& value);

// A number as Write puts it, for messages that quote one.
std::string NumberText(double d);

}  // namespace nimbo::json
