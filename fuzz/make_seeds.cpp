// Writes the starting inputs of the fuzz targets: the catalogues the tests
// build (one of each record kind, each kind of line end), the shipped
// catalogue, calculation inputs for every row of the generated catalogue in
// both variants, and project files: the tests' sample, one room of it, and
// the README's example.
//
//   make_fuzz_seeds <work dir> <source dir>
// writes into <work dir>/catalogue, /calculation and /project, reading
// data/A/b and README.md from the source folder.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "calculation_check.h"
#include "project/project_file.h"
#include "support/catalogue_text.h"
#include "support/project_sample.h"

namespace fs = std::filesystem;
using nimbo::test::FileBytes;
using nimbo::test::Line;
using nimbo::test::Record;

namespace {

void Write(const fs::path& dir, const std::string& name, const std::string& bytes)
{
    std::ofstream(dir / name, std::ios::binary) << bytes;
}

std::string Replace(std::string s, const std::string& from, const std::string& to)
{
    for (std::size_t at = 0; (at = s.find(from, at)) != std::string::npos; at += to.size())
        s.replace(at, from.size(), to);
    return s;
}

std::string FileText(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::pair<std::string, std::string>> ProjectSeeds(const std::string& readme)
{
    nimbo::Project oneRoom;
    oneRoom.rooms = {nimbo::test::VelocityRoom()};
    return {
        {"two_rooms", nimbo::WriteProject(nimbo::test::TwoRoomProject())},
        {"one_room", nimbo::WriteProject(oneRoom)},
        {"empty", nimbo::WriteProject({})},
        {"readme_example", nimbo::test::ReadmeProjectExample(readme)},
    };
}

std::vector<std::pair<std::string, std::string>> CatalogueSeeds()
{
    Line quoted = Record("ПДК", "Диффузоры", "600x600");
    quoted.set(8, "4 стороны, веер").set(5, "0.36").set(6, "0.3").set(9, "2.5");
    Line slot = Record("ЩДМЖ-1", "Решетки", "dlina", 3);
    const std::string listedType = "Решетки";
    std::vector<Line> listed = {Record("АМН", listedType, "100x100", 2), Record("АМН", listedType, "200x200")};
    listed[0].set(5, "0.01").set(6, "0.008");
    listed[1].set(5, "0.04").set(6, "0.032");

    const std::string mixed = FileBytes({quoted, slot, Record("ЩДМЖ-1", "Решетки", "x"),
                                         Record("ЩДМЖ-1", "Решетки", "y"), listed[0], listed[1],
                                         Record("ДПУ", "Диффузоры", "n", 7)});
    return {
        {"heading_only", FileBytes({})},
        {"free_size", FileBytes({Record("ДПУ-М", "Диффузоры", "n")})},
        {"quoted_text", FileBytes({quoted})},
        {"slot_three_lines", FileBytes({slot, Record("ЩДМЖ-1", "Решетки", "x"), Record("ЩДМЖ-1", "Решетки", "y")})},
        {"listed_two_lines", FileBytes(listed)},
        {"mixed", mixed},
        {"mixed_lf", Replace(mixed, "\r\n", "\n")},
        {"generated", nimbo::fuzz::GeneratedCatalogueBytes()},
    };
}

std::string Header(unsigned char flags, unsigned char options, unsigned char kind, unsigned char row,
                   unsigned char size)
{
    return std::string{static_cast<char>(flags), static_cast<char>(options), static_cast<char>(kind),
                       static_cast<char>(row), static_cast<char>(size)};
}

std::string Texts(const std::vector<std::string>& texts)
{
    std::string out;
    for (const std::string& t : texts)
        out += t + static_cast<char>(nimbo::fuzz::kTextEnd);
    return out;
}

std::vector<std::pair<std::string, std::string>> CalculationSeeds(
    const std::vector<std::pair<std::string, std::string>>& catalogues, const std::string& shipped)
{
    // A model and a size chosen, every option frame shown, the first option
    // of each group selected.
    constexpr unsigned char kChosen = 0x20 | 0x40 | 0x02 | 0x04 | 0x08;
    constexpr unsigned char kFirstOptions = 1 + 4 + 20;
    const std::vector<std::string> defaults = {"1000", "0.2", "300", "300", "1000"};
    std::vector<std::pair<std::string, std::string>> seeds;
    for (unsigned char row = 1; row <= 4; ++row) {
        for (unsigned char variant = 0; variant <= 1; ++variant) {
            const std::string name = "row" + std::to_string(row) + "_variant" + std::to_string(variant + 1);
            seeds.emplace_back(name, Header(kChosen | variant, kFirstOptions, 0, row, 1) + Texts(defaults));
        }
    }
    seeds.emplace_back("decimal_comma",
                       Header(kChosen | 0x80, kFirstOptions, 0, 1, 1) + Texts({"1000", "0,2", "300", "300", "1000"}));
    seeds.emplace_back("plenum_with_regulator",
                       Header(kChosen, 3 + 8 + 40, 0x40, 2, 2) + Texts({"360", "0.5", "250", "400", "1500"}));
    seeds.emplace_back("hostile_texts",
                       Header(kChosen, kFirstOptions, 0, 1, 1) + Texts({"1e999", "-0", "nan", "1,2,3", "1 000"}));
    // A change of the generated catalogue: m(1) of line 0 set to 0.
    seeds.emplace_back("changed_field", Header(kChosen, kFirstOptions, 0, 1, 1) + Texts(defaults) +
                                            std::string{0, 0, 8, 0});
    // The test catalogues read as they are, first row and size.
    for (const auto& [name, bytes] : catalogues)
        seeds.emplace_back("raw_" + name, Header(kChosen, kFirstOptions, 0x80, 1, 1) + Texts(defaults) + bytes);
    if (!shipped.empty())
        seeds.emplace_back("shipped_catalogue", Header(kChosen, kFirstOptions, 0x80, 1, 1) + Texts(defaults) + shipped);
    return seeds;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <work dir> <source dir>\n", argv[0]);
        return 2;
    }
    const fs::path work = argv[1], source = argv[2];
    const fs::path catalogueDir = work / "catalogue", calculationDir = work / "calculation",
                   projectDir = work / "project";
    for (const fs::path& dir : {catalogueDir, calculationDir, projectDir})
        fs::create_directories(dir);
    const std::string shipped = FileText(source / "data/A/b");
    const auto catalogues = CatalogueSeeds();
    for (const auto& [name, bytes] : catalogues)
        Write(catalogueDir, "seed_" + name, bytes);
    if (!shipped.empty())
        Write(catalogueDir, "seed_shipped", shipped);
    for (const auto& [name, bytes] : CalculationSeeds(catalogues, shipped))
        Write(calculationDir, "seed_" + name, bytes);
    for (const auto& [name, bytes] : ProjectSeeds(FileText(source / "README.md")))
        Write(projectDir, "seed_" + name, bytes);
    return 0;
}
