#include "project/json.h"

#include <charconv>
#include <cmath>
#include <unordered_set>

#include "text/utf8.h"

namespace nimbo::json {

namespace {

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool IsJsonBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

void AppendUtf8(std::string& out, char32_t cp)
{
    const auto put = [&](unsigned v) { out += static_cast<char>(v); };
    if (cp < 0x80) {
        put(cp);
    } else if (cp < 0x800) {
        put(0xC0 | (cp >> 6));
        put(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        put(0xE0 | (cp >> 12));
        put(0x80 | ((cp >> 6) & 0x3F));
        put(0x80 | (cp & 0x3F));
    } else {
        put(0xF0 | (cp >> 18));
        put(0x80 | ((cp >> 12) & 0x3F));
        put(0x80 | ((cp >> 6) & 0x3F));
        put(0x80 | (cp & 0x3F));
    }
}

int HexDigit(char c)
{
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Recursive descent over the whole text. Every function returns false once
// the first error is recorded, and the callers only pass that on.
class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    bool document(Value& out);
    ParseError error;

private:
    bool value(Value& out, int depth);
    bool object(Value& out, int depth);
    bool array(Value& out, int depth);
    bool string(std::string& out);
    bool escape(std::string& out);
    bool hex4(char32_t& unit);
    bool number(double& out);
    bool literal(std::string_view word);
    bool digits();
    bool checkEncoding();

    bool atEnd() const { return pos_ >= text_.size(); }
    bool consume()
    {
        ++pos_;
        return true;
    }
    char peek() const { return atEnd() ? '\0' : text_[pos_]; }
    void skipBlanks()
    {
        while (!atEnd() && IsJsonBlank(text_[pos_]))
            ++pos_;
    }
    bool fail(std::string what)
    {
        error = {pos_, atEnd(), std::move(what)};
        return false;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t values_ = 0;
};

bool Parser::document(Value& out)
{
    if (text_.size() > kMaxBytes)
        return fail("текст больше " + std::to_string(kMaxBytes >> 20) + " МБ");
    if (text_.starts_with(kByteOrderMark))
        pos_ = kByteOrderMark.size();
    if (!checkEncoding())
        return false;
    skipBlanks();
    if (!value(out, 0))
        return false;
    skipBlanks();
    return atEnd() || fail("после конца данных лишние символы");
}

// A file in another code page is named as such, at its first foreign byte,
// rather than as a syntax error somewhere inside a text.
bool Parser::checkEncoding()
{
    for (std::size_t at = pos_; at < text_.size();) {
        const std::size_t length = Utf8CharacterLength(text_.substr(at));
        if (length == 0) {
            pos_ = at;
            error = {at, false, "текст не в кодировке UTF-8 (сохраните файл в UTF-8)"};
            return false;
        }
        at += length;
    }
    return true;
}

bool Parser::value(Value& out, int depth)
{
    if (++values_ > kMaxValues)
        return fail("больше " + std::to_string(kMaxValues) + " значений");
    switch (peek()) {
    case '{':
        return object(out, depth + 1);
    case '[':
        return array(out, depth + 1);
    case '"':
        out.kind = Value::Kind::String;
        return string(out.text);
    case 't':
    case 'f':
        out.kind = Value::Kind::Bool;
        out.boolean = peek() == 't';
        return literal(out.boolean ? "true" : "false");
    case 'n':
        out.kind = Value::Kind::Null;
        return literal("null");
    default:
        if (peek() == '-' || IsDigit(peek())) {
            out.kind = Value::Kind::Number;
            return number(out.number);
        }
        return fail(atEnd() ? "нет значения"
                            : "ожидалось значение: объект, массив, текст в кавычках, число, true, false или null");
    }
}

bool Parser::object(Value& out, int depth)
{
    if (depth > kMaxDepth)
        return fail("вложенность глубже " + std::to_string(kMaxDepth) + " уровней");
    out.kind = Value::Kind::Object;
    ++pos_;
    skipBlanks();
    if (peek() == '}')
        return consume();
    std::unordered_set<std::string> names;
    for (;;) {
        skipBlanks();
        if (peek() != '"')
            return fail(atEnd() ? "объект «{» не закрыт" : "ожидалось имя поля в кавычках");
        const std::size_t nameAt = pos_;
        Member member;
        if (!string(member.name))
            return false;
        if (!names.insert(member.name).second) {
            pos_ = nameAt;
            return fail("поле " + QuotedLine(member.name, 40) + " встречается дважды");
        }
        skipBlanks();
        if (peek() != ':')
            return fail(atEnd() ? "объект «{» не закрыт" : "ожидалось «:» после имени поля");
        ++pos_;
        skipBlanks();
        if (!value(member.value, depth))
            return false;
        out.members.push_back(std::move(member));
        skipBlanks();
        if (peek() == '}')
            return consume();
        if (peek() != ',')
            return fail(atEnd() ? "объект «{» не закрыт" : "ожидалась «,» или «}»");
        ++pos_;
    }
}

bool Parser::array(Value& out, int depth)
{
    if (depth > kMaxDepth)
        return fail("вложенность глубже " + std::to_string(kMaxDepth) + " уровней");
    out.kind = Value::Kind::Array;
    ++pos_;
    skipBlanks();
    if (peek() == ']')
        return consume();
    for (;;) {
        skipBlanks();
        out.items.emplace_back();
        if (!value(out.items.back(), depth))
            return false;
        skipBlanks();
        if (peek() == ']')
            return consume();
        if (peek() != ',')
            return fail(atEnd() ? "массив «[» не закрыт" : "ожидалась «,» или «]»");
        ++pos_;
    }
}

bool Parser::string(std::string& out)
{
    ++pos_;
    for (;;) {
        if (atEnd())
            return fail("текст в кавычках не закрыт");
        const char c = text_[pos_];
        if (c == '"')
            return consume();
        if (c == '\\') {
            if (!escape(out))
                return false;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            return fail("управляющий символ внутри текста: его пишут как \\n, \\t или \\u00XX");
        } else {
            out += c;
            ++pos_;
        }
    }
}

bool Parser::escape(std::string& out)
{
    const std::size_t start = pos_;
    ++pos_;
    if (atEnd())
        return fail("текст в кавычках не закрыт");
    const char c = text_[pos_];
    static constexpr std::string_view kFrom = "\"\\/bfnrt", kTo = "\"\\/\b\f\n\r\t";
    if (const std::size_t k = kFrom.find(c); k != std::string_view::npos) {
        out += kTo[k];
        return consume();
    }
    if (c != 'u')
        return fail("недопустимая последовательность после «\\»: допустимы \\\" \\\\ \\/ \\b \\f \\n \\r \\t \\uXXXX");
    char32_t unit = 0;
    if (!hex4(unit))
        return false;
    if (unit >= 0xDC00 && unit <= 0xDFFF) {
        pos_ = start;
        return fail("вторая половина суррогатной пары без первой");
    }
    if (unit >= 0xD800 && unit <= 0xDBFF) {
        // A character beyond U+FFFF comes as two \u escapes.
        if (atEnd())
            return fail("текст в кавычках не закрыт");
        char32_t low = 0;
        if (text_.substr(pos_).starts_with("\\u")) {
            ++pos_;
            if (!hex4(low))
                return false;
        }
        if (low < 0xDC00 || low > 0xDFFF) {
            pos_ = start;
            return fail("первая половина суррогатной пары без второй");
        }
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
    }
    AppendUtf8(out, unit);
    return true;
}

// Reads the four digits after "\u" (pos_ at the 'u').
bool Parser::hex4(char32_t& unit)
{
    ++pos_;
    for (int i = 0; i < 4; ++i, ++pos_) {
        const int d = atEnd() ? -1 : HexDigit(text_[pos_]);
        if (d < 0)
            return fail(atEnd() ? "текст в кавычках не закрыт" : "после \\u нужны четыре шестнадцатеричные цифры");
        unit = unit * 16 + static_cast<char32_t>(d);
    }
    return true;
}

bool Parser::digits()
{
    if (!IsDigit(peek()))
        return fail(atEnd() ? "число оборвано" : "недопустимое число: ожидалась цифра");
    while (IsDigit(peek()))
        ++pos_;
    return true;
}

bool Parser::number(double& out)
{
    const std::size_t start = pos_;
    if (peek() == '-')
        ++pos_;
    if (peek() == '0') {
        ++pos_;
        if (IsDigit(peek()))
            return fail("недопустимое число: лишний ноль в начале");
    } else if (!digits()) {
        return false;
    }
    if (peek() == '.') {
        ++pos_;
        if (!digits())
            return false;
    }
    if (peek() == 'e' || peek() == 'E') {
        ++pos_;
        if (peek() == '+' || peek() == '-')
            ++pos_;
        if (!digits())
            return false;
    }
    const auto [end, ec] = std::from_chars(text_.data() + start, text_.data() + pos_, out);
    if (ec != std::errc() || end != text_.data() + pos_ || !std::isfinite(out)) {
        pos_ = start;
        return fail("число вне пределов, которые может хранить программа");
    }
    return true;
}

bool Parser::literal(std::string_view word)
{
    for (char c : word) {
        if (peek() != c)
            return fail(atEnd() ? "значение оборвано" : "ожидалось " + std::string(word));
        ++pos_;
    }
    return true;
}

void WriteString(std::string& out, std::string_view s)
{
    out += '"';
    while (!s.empty()) {
        const std::size_t length = Utf8CharacterLength(s);
        const unsigned char c = static_cast<unsigned char>(s.front());
        if (length == 0) {
            out += "\xEF\xBF\xBD";
        } else if (length > 1 || (c >= 0x20 && c != '"' && c != '\\')) {
            out += s.substr(0, length);
        } else {
            static constexpr std::string_view kFrom = "\"\\\b\f\n\r\t", kTo = "\"\\bfnrt";
            const std::size_t k = kFrom.find(static_cast<char>(c));
            if (k != std::string_view::npos) {
                out += '\\';
                out += kTo[k];
            } else {
                static constexpr char kHex[] = "0123456789abcdef";
                out += "\\u00";
                out += kHex[c >> 4];
                out += kHex[c & 0xF];
            }
        }
        s.remove_prefix(length == 0 ? 1 : length);
    }
    out += '"';
}

void WriteValue(std::string& out, const Value& v, int indent);

// Arrays and objects alike: each element on a line of its own, one level in.
template <class Elements, class WriteOne>
void WriteList(std::string& out, const Elements& elements, char open, char close, int indent, WriteOne writeOne)
{
    out += open;
    if (elements.empty()) {
        out += close;
        return;
    }
    const std::string inner(static_cast<std::size_t>(indent + 2), ' ');
    for (std::size_t i = 0; i < elements.size(); ++i) {
        out += i == 0 ? "\n" : ",\n";
        out += inner;
        writeOne(elements[i]);
    }
    out += '\n';
    out.append(static_cast<std::size_t>(indent), ' ');
    out += close;
}

void WriteValue(std::string& out, const Value& v, int indent)
{
    switch (v.kind) {
    case Value::Kind::Null:
        out += "null";
        break;
    case Value::Kind::Bool:
        out += v.boolean ? "true" : "false";
        break;
    case Value::Kind::Number:
        out += std::isfinite(v.number) ? NumberText(v.number) : "null";
        break;
    case Value::Kind::String:
        WriteString(out, v.text);
        break;
    case Value::Kind::Array:
        WriteList(out, v.items, '[', ']', indent, [&](const Value& item) { WriteValue(out, item, indent + 2); });
        break;
    case Value::Kind::Object:
        WriteList(out, v.members, '{', '}', indent, [&](const Member& m) {
            WriteString(out, m.name);
            out += ": ";
            WriteValue(out, m.value, indent + 2);
        });
        break;
    }
}

}  // namespace

const Value* Value::find(std::string_view name) const
{
    for (const Member& m : members)
        if (m.name == name)
            return &m.value;
    return nullptr;
}

Value Null() { return {}; }

Value Bool(bool b)
{
    Value v;
    v.kind = Value::Kind::Bool;
    v.boolean = b;
    return v;
}

Value Number(double d)
{
    Value v;
    v.kind = Value::Kind::Number;
    v.number = d;
    return v;
}

Value String(std::string s)
{
    Value v;
    v.kind = Value::Kind::String;
    v.text = std::move(s);
    return v;
}

Value Object(std::vector<Member> members)
{
    Value v;
    v.kind = Value::Kind::Object;
    v.members = std::move(members);
    return v;
}

Value Array(std::vector<Value> items)
{
    Value v;
    v.kind = Value::Kind::Array;
    v.items = std::move(items);
    return v;
}

bool Parse(std::string_view text, Value& out, ParseError& error)
{
    Parser parser(text);
    Value read;
    if (!parser.document(read)) {
        error = parser.error;
        return false;
    }
    out = std::move(read);
    return true;
}

Position PositionOf(std::string_view text, std::size_t offset)
{
    const std::string_view before = text.substr(0, offset);
    Position p;
    std::size_t lineStart = before.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (before[i] == '\n') {
            ++p.line;
            lineStart = i + 1;
        }
    }
    p.column = 1 + CharacterCount(before.substr(std::min(lineStart, before.size())));
    return p;
}

std::string Write(const Value& value)
{
    std::string out;
    WriteValue(out, value, 0);
    out += '\n';
    return out;
}

std::string NumberText(double d)
{
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, d);
    return ec == std::errc() ? std::string(buffer, end) : std::string("null");
}

}  // namespace nimbo::json
