// Writes the shipped catalogue file from the product range texts:
//     make_catalogue <range folder> <catalogue file>
// The output depends on the texts alone, so running it twice gives the same
// bytes and the committed file can be checked against it.
#include <cstdio>
#include <fstream>
#include <iostream>

#include "text/cp1251.h"
#include "range.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: make_catalogue <range folder> <catalogue file>\n";
        return 2;
    }
    nimbo::range::Range range;
    std::string error;
    if (!nimbo::range::ReadRange(argv[1], range, error)) {
        std::cerr << error << '\n';
        return 1;
    }
    const std::string text = nimbo::range::CatalogueText(range);
    const std::string bytes = nimbo::cp1251::fromUtf8(text);
    // A character that Windows-1251 lacks would come out as '?'.
    if (nimbo::cp1251::toUtf8(bytes) != text) {
        std::cerr << "в исходных текстах есть знаки, которых нет в кодировке Windows-1251\n";
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    if (!out) {
        std::cerr << argv[2] << ": не удалось записать\n";
        return 1;
    }
    return 0;
}
