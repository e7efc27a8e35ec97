#include "catalogue/encoding_check.h"

namespace nimbo {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

}  // namespace

void EncodingCheck::feed(std::string_view piece)
{
    while (head_.size() < kUtf8Mark.size() && !piece.empty()) {
        head_ += piece.front();
        feedByte(static_cast<unsigned char>(piece.front()));
        piece.remove_prefix(1);
    }
    // A Windows-1251 file is told at its first Cyrillic word; after that
    // nothing more is to be learnt, so the rest costs nothing.
    if (invalidUtf8_ && line_ != 0)
        return;
    for (const char c : piece) {
        feedByte(static_cast<unsigned char>(c));
        if (invalidUtf8_)
            return;
    }
}

// A strict UTF-8 reading (no overlong forms, no surrogates, nothing above
// U+10FFFF): the bounds of the first continuation byte depend on the lead.
void EncodingCheck::feedByte(unsigned char byte)
{
    if (byte >= 0x80 && line_ == 0)
        line_ = lines_;
    if (byte == '\n')
        ++lines_;
    if (invalidUtf8_)
        return;
    if (pending_ > 0) {
        if (byte < low_ || byte > high_) {
            invalidUtf8_ = true;
            return;
        }
        --pending_;
        low_ = 0x80;
        high_ = 0xBF;
        return;
    }
    if (byte < 0x80)
        return;
    if (byte >= 0xC2 && byte <= 0xDF) {
        pending_ = 1;
    } else if (byte >= 0xE0 && byte <= 0xEF) {
        pending_ = 2;
        low_ = byte == 0xE0 ? 0xA0 : 0x80;
        high_ = byte == 0xED ? 0x9F : 0xBF;
    } else if (byte >= 0xF0 && byte <= 0xF4) {
        pending_ = 3;
        low_ = byte == 0xF0 ? 0x90 : 0x80;
        high_ = byte == 0xF4 ? 0x8F : 0xBF;
    } else {
        invalidUtf8_ = true;
    }
}

std::string EncodingCheck::foreignEncoding() const
{
    const std::string_view head(head_);
    if (head.starts_with(kUtf8Mark))
        return "UTF-8";
    if (head.starts_with(kUtf16LeMark) || head.starts_with(kUtf16BeMark))
        return "UTF-16";
    // A Windows-1251 text of any length almost never reads as UTF-8: a
    // capital letter followed by a small one already breaks it.
    if (line_ != 0 && !invalidUtf8_ && pending_ == 0)
        return "UTF-8";
    return {};
}

std::string ForeignEncodingText(std::string_view encoding)
{
    const std::string name(encoding);
    return "файл записан не в кодировке Windows-1251, а в " + name +
           " (первый такой знак — в этой строке). Сохраните его в кодировке Windows-1251 "
           "или преобразуйте: iconv -f " + name + " -t CP1251 b > b.new и замените им b";
}

}  // namespace nimbo
