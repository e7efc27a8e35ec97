#pragma once
// The catalogue is Windows-1251. A file saved by an editor in UTF-8 or UTF-16
// still parses, but every name in it is garbled and every rule that compares
// a model name stops matching, so such a file is told apart before loading.
#include <cstddef>
#include <string>
#include <string_view>

namespace nimbo {

class EncodingCheck {
public:
    // The bytes of the file in order, in pieces of any size.
    void feed(std::string_view piece);
    // After the last piece: empty when the file can be Windows-1251,
    // otherwise the name of the encoding it is written in ("UTF-8", "UTF-16").
    std::string foreignEncoding() const;
    // The 1-based line of the byte-order mark or of the first byte above 127.
    int line() const { return line_; }

private:
    void feedByte(unsigned char byte);

    std::string head_;          // the first bytes, up to the longest mark
    int lines_ = 1;             // lines begun so far
    int line_ = 0;              // of the first byte above 127; 0: none yet
    bool invalidUtf8_ = false;  // some byte above 127 is not part of a UTF-8 sequence
    int pending_ = 0;           // continuation bytes still due
    unsigned char low_ = 0x80, high_ = 0xBF;  // bounds of the next continuation byte
};

// The reason given to the user, naming the encoding and how to convert.
std::string ForeignEncodingText(std::string_view encoding);

}  // namespace nimbo
