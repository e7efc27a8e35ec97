#include "range.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <set>
#include <sstream>
#include <system_error>

#include "text/cp1251.h"
#include "text/utf8.h"

namespace nimbo::range {

namespace {

// A-weighting of the octave bands 63 .. 8000 Hz (IEC 61672-1, to 0.1 dB).
constexpr std::array<double, kBands> kAWeighting{-26.2, -16.1, -8.6, -3.2, 0.0, 1.2, 1.0, -1.1};

// Free-size sound laws are written against the face area A x B; the loss
// area lies inside the frame, so their ratio is taken at a typical face of
// 400 x 400 mm.
constexpr double kTypicalFaceMm = 400;

constexpr int kMaxSizeLines = 200;

// ---------------------------------------------------------------------------
// Reading the source texts

struct Token {
    std::string text;
    bool quoted = false;
};

class Reader {
public:
    Reader(Range& range, std::string& error) : range_(range), error_(error) {}

    bool parseCommon(const std::string& file, const std::string& text);
    bool parseType(const std::string& file, const std::string& text);
    bool finish();

private:
    bool fail(const std::string& what)
    {
        error_ = where() + ": " + what;
        return false;
    }
    std::string where() const { return file_ + ":" + std::to_string(line_); }

    bool tokenize(std::string_view line, std::vector<Token>& out);
    bool number(const std::string& text, double& value);
    bool keyValues(const std::vector<Token>& tokens, std::size_t from, std::map<std::string, std::string>& out);
    bool drawing(const std::vector<Token>& tokens, Drawing& out);
    bool jetOption(const std::vector<Token>& tokens, bool fixed);
    bool closeModel();
    bool checkModel(const Model& m);

    Range& range_;
    std::string& error_;
    std::string file_;
    int line_ = 0;
    Type* type_ = nullptr;
    Model* model_ = nullptr;
    bool fixedSeen_ = false;
    std::string areasRule_;
    double areasFm_ = 0, areasFz_ = 0;
    std::set<std::string> slugs_, modelNames_;
};

bool Reader::tokenize(std::string_view line, std::vector<Token>& out)
{
    out.clear();
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        Token t;
        if (line[i] == '"') {
            const std::size_t close = line.find('"', i + 1);
            if (close == std::string_view::npos)
                return fail("кавычка не закрыта");
            t.text = std::string(line.substr(i + 1, close - i - 1));
            t.quoted = true;
            i = close + 1;
        } else {
            std::size_t end = i;
            while (end < line.size() && line[end] != ' ' && line[end] != '\t')
                ++end;
            t.text = std::string(line.substr(i, end - i));
            i = end;
        }
        out.push_back(std::move(t));
    }
    return true;
}

bool Reader::number(const std::string& text, double& value)
{
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last || !std::isfinite(value))
        return fail("ожидалось число с точкой, а записано «" + text + "»");
    return true;
}

bool Reader::keyValues(const std::vector<Token>& tokens, std::size_t from, std::map<std::string, std::string>& out)
{
    for (std::size_t i = from; i < tokens.size(); ++i) {
        const std::size_t eq = tokens[i].text.find('=');
        if (eq == std::string::npos || eq == 0 || tokens[i].quoted)
            return fail("ожидалось имя=значение, а записано «" + tokens[i].text + "»");
        const std::string key = tokens[i].text.substr(0, eq);
        if (out.count(key))
            return fail("«" + key + "» задано дважды");
        out[key] = tokens[i].text.substr(eq + 1);
    }
    return true;
}

bool Reader::drawing(const std::vector<Token>& tokens, Drawing& out)
{
    if (tokens.size() < 3)
        return fail("рисунок: нужны имя файла и вид рисунка");
    out.name = tokens[1].text;
    out.kind = tokens[2].text;
    out.origin = where();
    for (char c : out.name)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-'))
            return fail("имя рисунка «" + out.name + "»: только латинские буквы, цифры, _ и -");
    return keyValues(tokens, 3, out.params);
}

bool Reader::parseCommon(const std::string& file, const std::string& text)
{
    file_ = file;
    line_ = 0;
    std::istringstream in(text);
    std::string raw;
    std::vector<Token> tokens;
    while (std::getline(in, raw)) {
        ++line_;
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        if (!tokenize(raw, tokens))
            return false;
        if (tokens.empty() || tokens[0].text.starts_with("#"))
            continue;
        const std::string& key = tokens[0].text;
        if (key == "heading") {
            range_.heading = std::string(raw.substr(raw.find("heading") + 7));
            range_.heading.erase(0, range_.heading.find_first_not_of(" \t"));
        } else if (key == "site" && tokens.size() == 2) {
            range_.site = tokens[1].text;
        } else if (key == "sign") {
            if (!drawing(tokens, range_.sign))
                return false;
        } else if (key == "spectrum" && tokens.size() == 2 + kBands) {
            Spectrum s;
            s.name = tokens[1].text;
            for (int i = 0; i < kBands; ++i)
                if (!number(tokens[static_cast<std::size_t>(2 + i)].text, s.levels[static_cast<std::size_t>(i)]))
                    return false;
            range_.spectra[s.name] = s;
        } else if (key == "damper" && tokens.size() >= 6 && tokens.size() <= 7) {
            Damper d;
            d.name = tokens[1].text;
            for (std::size_t i = 2; i < tokens.size(); ++i) {
                // The caption itself may hold '=' ("b=30°"), so the value
                // follows the last colon.
                const std::size_t colon = tokens[i].text.rfind(':');
                if (colon == std::string::npos || colon == 0)
                    return fail("положение регулятора: ожидалось подпись:коэффициент");
                double z = 0;
                if (!number(tokens[i].text.substr(colon + 1), z))
                    return false;
                if (z <= 0)
                    return fail("коэффициент сопротивления регулятора должен быть больше нуля");
                d.captions.push_back(tokens[i].text.substr(0, colon));
                d.zeta.push_back(z);
            }
            if (!std::is_sorted(d.zeta.begin(), d.zeta.end()))
                return fail("сопротивление регулятора должно расти от положения к положению");
            range_.dampers[d.name] = d;
        } else {
            return fail("непонятная строка: «" + raw + "»");
        }
    }
    if (range_.site.empty() || range_.heading.empty() || range_.sign.name.empty())
        return fail("в общих данных нужны heading, site и sign");
    return true;
}

bool Reader::jetOption(const std::vector<Token>& tokens, bool fixed)
{
    JetOption o;
    std::size_t from = 1;
    if (fixed) {
        o.caption = "n";
        if (!model_->jets.empty())
            return fail("fixed: у модели уже есть варианты формы струи");
        fixedSeen_ = true;
    } else {
        if (fixedSeen_)
            return fail("jet: модель уже объявлена без регулятора формы струи (fixed)");
        if (tokens.size() < 2 || !tokens[1].quoted || tokens[1].text.empty() || tokens[1].text == "n")
            return fail("jet: первой идёт подпись варианта в кавычках");
        o.caption = tokens[1].text;
        from = 2;
        if (model_->jets.size() == 4)
            return fail("вариантов формы струи не больше четырёх");
    }
    std::map<std::string, std::string> kv;
    if (!keyValues(tokens, from, kv))
        return false;
    for (const auto& [key, value] : kv) {
        double v = 0;
        if (!number(value, v))
            return false;
        if (v < 0)
            return fail("«" + key + "» не может быть отрицательным");
        if (key == "m")
            o.m = v;
        else if (key == "zeta")
            o.zeta = v;
        else if (key == "plenum")
            o.zetaP = v;
        else if (key == "free")
            o.free = v;
        else
            return fail("неизвестный параметр «" + key + "»");
    }
    if (o.m <= 0 || (o.zeta <= 0 && o.zetaP <= 0))
        return fail("нужны m и хотя бы один коэффициент сопротивления (zeta или plenum)");
    model_->jets.push_back(o);
    return true;
}

// "300x150" -> 300, 150; "D160" -> 160, 0.
bool ParseDesignation(const std::string& d, double& a, double& b, bool round)
{
    auto parse = [](std::string_view s, double& v) {
        const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
        return ec == std::errc() && ptr == s.data() + s.size() && v > 0;
    };
    if (round)
        return d.size() > 1 && d[0] == 'D' && parse(std::string_view(d).substr(1), a);
    const std::size_t x = d.find('x');
    return x != std::string::npos && parse(std::string_view(d).substr(0, x), a) &&
           parse(std::string_view(d).substr(x + 1), b);
}

bool Reader::parseType(const std::string& file, const std::string& text)
{
    file_ = file;
    line_ = 0;
    type_ = nullptr;
    model_ = nullptr;
    std::istringstream in(text);
    std::string raw;
    std::vector<Token> tokens;
    while (std::getline(in, raw)) {
        ++line_;
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        if (!tokenize(raw, tokens))
            return false;
        if (tokens.empty() || tokens[0].text.starts_with("#"))
            continue;
        const std::string& key = tokens[0].text;
        if (key == "type") {
            if (type_)
                return fail("один файл описывает один тип");
            range_.types.emplace_back();
            type_ = &range_.types.back();
            type_->name = raw.substr(raw.find("type") + 4);
            type_->name.erase(0, type_->name.find_first_not_of(" \t"));
            type_->origin = where();
            continue;
        }
        if (!type_)
            return fail("файл типа начинается со строки type");
        if (key == "type-picture") {
            if (!drawing(tokens, type_->picture))
                return false;
            continue;
        }
        if (key == "model") {
            if (model_ && !closeModel())
                return false;
            if (tokens.size() != 2)
                return fail("model: одно имя без пробелов");
            type_->models.emplace_back();
            model_ = &type_->models.back();
            model_->name = tokens[1].text;
            model_->origin = where();
            fixedSeen_ = false;
            areasRule_.clear();
            continue;
        }
        if (!model_)
            return fail("«" + key + "» вне описания модели");
        Model& m = *model_;
        double v = 0;
        if (key == "page" && tokens.size() == 2) {
            m.slug = tokens[1].text;
        } else if (key == "picture") {
            if (!drawing(tokens, m.picture))
                return false;
        } else if (key == "sizes" && tokens.size() >= 2) {
            const std::string& kind = tokens[1].text;
            if (kind == "listed" && tokens.size() == 2) {
                m.mode = SizeMode::Listed;
            } else if ((kind == "free" || kind == "length") && tokens.size() == 4) {
                double first = 0, second = 0;
                if (!number(tokens[2].text, first) || !number(tokens[3].text, second))
                    return false;
                if (kind == "free") {
                    m.mode = SizeMode::Free;
                    m.allowanceFm = first;
                    m.allowanceFz = second;
                } else {
                    m.mode = SizeMode::Length;
                    m.unitFm = first;
                    m.unitFz = second;
                }
            } else {
                return fail("sizes listed | free <dFm> <dFz> | length <Fm> <Fz>");
            }
        } else if (key == "areas" && tokens.size() == 4 && (tokens[1].text == "rect" || tokens[1].text == "round")) {
            areasRule_ = tokens[1].text;
            if (!number(tokens[2].text, areasFm_) || !number(tokens[3].text, areasFz_))
                return false;
        } else if (key == "sections" && tokens.size() == 2) {
            if (!number(tokens[1].text, v))
                return false;
            m.sectionMode = static_cast<int>(v);
            if (v != m.sectionMode || v < 0 || v > 2)
                return fail("sections: 0, 1 или 2");
        } else if (key == "velocity" && tokens.size() == 2) {
            if (!number(tokens[1].text, m.velocity))
                return false;
        } else if (key == "sound") {
            std::map<std::string, std::string> kv;
            if (!keyValues(tokens, 1, kv))
                return false;
            const std::size_t optional = kv.count("plenum");
            if (kv.size() != 3 + optional || !kv.count("K") || !kv.count("n") || !kv.count("spectrum"))
                return fail("sound K=<дБ> n=<дБ на декаду> spectrum=<имя> [plenum=<дБ>]");
            if (!number(kv["K"], m.soundK) || !number(kv["n"], m.soundN))
                return false;
            if (optional && !number(kv["plenum"], m.plenumSound))
                return false;
            m.spectrum = kv["spectrum"];
            if (!range_.spectra.count(m.spectrum))
                return fail("спектр «" + m.spectrum + "» не определён в общих данных");
        } else if (key == "flat" && tokens.size() == 2) {
            if (!number(tokens[1].text, m.mFlat))
                return false;
        } else if (key == "damper" && tokens.size() >= 2) {
            m.damper = tokens[1].text;
            if (!range_.damper(m.damper))
                return fail("регулятор «" + m.damper + "» не определён в общих данных");
            for (std::size_t i = 2; i < tokens.size(); ++i) {
                if (tokens[i].text == "per-option") {
                    m.damperPerOption = true;
                } else if (tokens[i].text.starts_with("ratio=")) {
                    if (!number(tokens[i].text.substr(6), m.damperAreaRatio))
                        return false;
                    if (m.damperAreaRatio <= 0 || m.damperAreaRatio > 1)
                        return fail("ratio: отношение площадей от 0 до 1");
                } else {
                    return fail("damper <имя> [per-option] [ratio=<Fz/Fрег>]");
                }
            }
        } else if (key == "jet" || key == "fixed") {
            if (!jetOption(tokens, key == "fixed"))
                return false;
        } else if (key == "size" && (tokens.size() == 2 || tokens.size() == 4)) {
            if (m.mode != SizeMode::Listed)
                return fail("size: только у модели с перечнем типоразмеров (sizes listed)");
            Size s;
            s.designation = tokens[1].text;
            if (tokens.size() == 4) {
                if (!number(tokens[2].text, s.fm) || !number(tokens[3].text, s.fz))
                    return false;
            } else {
                double a = 0, b = 0;
                if (areasRule_.empty())
                    return fail("size без площадей: сначала правило areas");
                if (!ParseDesignation(s.designation, a, b, areasRule_ == "round"))
                    return fail("обозначение «" + s.designation + "» не подходит к правилу areas " + areasRule_);
                if (areasRule_ == "rect") {
                    s.fm = (a - areasFm_) * (b - areasFm_) / 1e6;
                    s.fz = (a - areasFz_) * (b - areasFz_) / 1e6;
                } else {
                    const double circle = 3.14159265358979323846 * a * a / 4e6;
                    s.fm = circle * areasFm_;
                    s.fz = circle * areasFz_;
                }
            }
            if (s.fm <= 0 || s.fz <= 0)
                return fail("площади типоразмера должны быть больше нуля");
            for (const Size& other : m.sizes)
                if (other.designation == s.designation)
                    return fail("типоразмер «" + s.designation + "» повторяется");
            m.sizes.push_back(s);
        } else {
            return fail("непонятная строка: «" + raw + "»");
        }
    }
    if (!type_)
        return fail("файл типа без строки type");
    if (model_ && !closeModel())
        return false;
    if (type_->models.empty())
        return fail("тип без моделей");
    if (type_->picture.name.empty())
        return fail("тип без рисунка (type-picture)");
    return true;
}

// A model is checked as a whole once its description ends; a fault is
// reported at the line that begins the model.
bool Reader::closeModel()
{
    if (checkModel(*model_))
        return true;
    error_ = model_->origin + error_.substr(error_.find(": "));
    return false;
}

bool Reader::checkModel(const Model& m)
{
    const std::string name = "модель " + m.name + ": ";
    if (!modelNames_.insert(m.name).second)
        return fail(name + "имя уже занято");
    if (m.slug.empty() || !slugs_.insert(m.slug).second)
        return fail(name + "нужен свой адрес страницы (page)");
    for (char c : m.slug)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'))
            return fail(name + "адрес страницы: строчные латинские буквы, цифры и -");
    if (m.picture.name.empty())
        return fail(name + "нет рисунка (picture)");
    if (m.velocity <= 0)
        return fail(name + "нужна расчётная скорость (velocity)");
    if (m.spectrum.empty() || m.soundN <= 0)
        return fail(name + "нет звуковых данных (sound)");
    if (m.jets.empty())
        return fail(name + "нет ни одного варианта струи (jet или fixed)");
    if (m.mode == SizeMode::Listed && (m.sizes.empty() || m.sizes.size() > kMaxSizeLines))
        return fail(name + "от 1 до 200 типоразмеров");
    if (m.mode == SizeMode::Free && (m.allowanceFm < 0 || m.allowanceFz < 0))
        return fail(name + "припуски не могут быть отрицательными");
    if (m.mode == SizeMode::Length && (m.unitFm <= 0 || m.unitFz <= 0))
        return fail(name + "площади секции должны быть больше нуля");
    // Rating and duct sections need the duct size, which only a free-size
    // outlet is given.
    if (m.sectionMode == 1 && m.mode != SizeMode::Free)
        return fail(name + "sections 1 только у решёток свободного размера");
    if (m.mFlat != 0 && m.mode != SizeMode::Length)
        return fail(name + "коэффициент плоской струи (flat) только у щелевых диффузоров");
    // The calculation picks special coefficients by these series codes, so
    // they must not turn up by accident in another product's name.
    const std::string_view n = m.name;
    const bool modular = m.halfMetreSections();
    const bool endsInSlotSeries =
        n.size() >= 6 && (n.ends_with("ДМЗ") || n.ends_with("ДПЗ") || n.ends_with("ДТЗ"));
    if ((modular || endsInSlotSeries) && m.mode != SizeMode::Length)
        return fail(name + "коды серий щелевых диффузоров только у щелевых диффузоров");
    if (modular && m.mFlat == 0)
        return fail(name + "в модульной серии всегда считается плоская струя: нужен flat");
    const bool plenum = m.plenumOffered();
    for (const JetOption& o : m.jets) {
        if ((o.zetaP != 0) != plenum)
            return fail(name + "камера (plenum) задаётся у всех вариантов струи или ни у одного");
        if ((o.zeta == 0) != (m.jets.front().zeta == 0))
            return fail(name + "исполнение только с камерой (zeta=0) задаётся у всех вариантов");
    }
    if (m.mode == SizeMode::Length && !m.damper.empty() && !plenum)
        return fail(name + "у щелевого диффузора регулятор расхода стоит в камере: нужна камера");
    return true;
}

bool Reader::finish()
{
    if (range_.types.empty())
        return fail("нет ни одного типа");
    // One picture name, one drawing.
    std::map<std::string, const Drawing*> seen;
    auto check = [&](const Drawing& d) {
        auto [it, fresh] = seen.emplace(d.name, &d);
        if (!fresh && (it->second->kind != d.kind || it->second->params != d.params)) {
            error_ = d.origin + ": рисунок «" + d.name + "» уже описан иначе в " + it->second->origin;
            return false;
        }
        return true;
    };
    if (!check(range_.sign))
        return false;
    for (const Type& t : range_.types) {
        if (!check(t.picture))
            return false;
        for (const Model& m : t.models)
            if (!check(m.picture))
                return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Writing the catalogue

// Shortest decimal text of v rounded to the given places, never in
// exponent form, never "-0".
std::string Num(double v, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    double r = std::round(v * scale) / scale;
    if (r == 0)
        r = 0;
    char buf[64];
    const auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, r, std::chars_format::fixed);
    return ec == std::errc() ? std::string(buf, ptr) : std::string("0");
}

std::string Quote(const std::string& text) { return "\"" + text + "\""; }

class LineFields {
public:
    LineFields() : fields_(293, "0") {}
    void text(int pos, const std::string& t) { fields_[static_cast<std::size_t>(pos)] = Quote(t); }
    void num(int pos, double v, int decimals) { fields_[static_cast<std::size_t>(pos)] = Num(v, decimals); }
    void integer(int pos, long v) { fields_[static_cast<std::size_t>(pos)] = std::to_string(v); }
    std::string joined() const
    {
        std::string out;
        for (std::size_t pos = 1; pos < fields_.size(); ++pos) {
            if (pos > 1)
                out += ',';
            out += fields_[pos];
        }
        return out;
    }

private:
    std::vector<std::string> fields_;
};

constexpr std::array<int, 4> kJetBlockStart{8, 68, 127, 186};
constexpr int kRegulatorStart = 245;
constexpr int kSizePicture = 290, kTypePicture = 291, kPageAddress = 292;

void WriteSound(LineFields& f, int start, const std::array<double, 24>& set)
{
    for (int i = 0; i < 24; ++i)
        f.num(start + i, set[static_cast<std::size_t>(i)], 1);
}

// Regulator coefficient and sound addition of jet-form option k at position p.
//  - On a slot diffuser the regulator sits in the plenum spigot and the
//    calculation adds its coefficient to the plenum's fitted coefficient, so
//    the damper's own loss coefficient is written.
//  - Elsewhere the coefficient multiplies the outlet's: 1 + damper/outlet.
// The sound addition follows the rise of the loss: 10 lg(total / outlet).
void RegulatorValues(const Model& m, const JetOption& o, double damperZeta, double& kr, long& dL)
{
    const double own = damperZeta * m.damperAreaRatio * m.damperAreaRatio;  // referred to Fz
    const double outlet = m.plenumOffered() ? o.zetaP : o.zeta;
    const double ratio = 1 + own / outlet;
    kr = m.mode == SizeMode::Length ? own : ratio;
    dL = std::lround(10 * std::log10(ratio));
}

std::string SizeLineText(const Range& range, const Type& type, const Model& m, std::size_t sizeIndex)
{
    LineFields f;
    f.text(1, m.name);
    f.text(2, type.name);
    switch (m.mode) {
    case SizeMode::Listed: {
        const Size& s = m.sizes[sizeIndex];
        f.text(3, s.designation);
        f.integer(4, static_cast<long>(m.sizes.size()));
        f.num(5, s.fm, 6);
        f.num(6, s.fz, 6);
        break;
    }
    case SizeMode::Free:
        f.text(3, "n");
        f.integer(4, 1);
        f.num(5, m.allowanceFm, 1);
        f.num(6, m.allowanceFz, 1);
        break;
    case SizeMode::Length:
        f.text(3, "dlina");
        f.integer(4, 1);
        f.num(5, m.unitFm, 6);
        f.num(6, m.unitFz, 6);
        break;
    }
    f.integer(7, m.sectionMode);
    const double soundFm = m.mode == SizeMode::Listed ? m.sizes[sizeIndex].fm : m.unitFm;
    const double soundFz = m.mode == SizeMode::Listed ? m.sizes[sizeIndex].fz : m.unitFz;

    for (std::size_t k = 0; k < 4; ++k) {
        const int start = kJetBlockStart[k];
        const bool offered = k < m.jets.size();
        const JetOption o = offered ? m.jets[k] : JetOption{"n", 0, 0, 0, 0};
        f.text(start, o.caption);
        int pos = start + 1;
        f.num(pos++, o.m, 2);
        if (k == 0)
            f.num(pos++, m.mFlat, 2);
        f.num(pos++, o.zeta, 2);
        f.num(pos++, o.zetaP, 2);
        f.num(pos++, o.free, 2);
        for (int i = 0; i < 6; ++i)
            f.text(pos++, "");
        WriteSound(f, pos, offered ? SoundSet(range, m, o.zeta, soundFm, soundFz, false) : std::array<double, 24>{});
        WriteSound(f, pos + 24, offered ? SoundSet(range, m, o.zetaP, soundFm, soundFz, true) : std::array<double, 24>{});
    }

    const Damper* damper = m.damper.empty() ? nullptr : range.damper(m.damper);
    for (int p = 0; p < 5; ++p) {
        const int start = kRegulatorStart + 9 * p;
        const bool offered = damper && static_cast<std::size_t>(p) < damper->captions.size();
        f.text(start, offered ? damper->captions[static_cast<std::size_t>(p)] : "n");
        for (std::size_t k = 0; k < 4; ++k) {
            double kr = 0;
            long dL = 0;
            // Options 2..4 carry values of their own only where the damper's
            // effect differs noticeably between jet forms; otherwise 0 tells
            // the calculation to use those of option 1.
            if (offered && k < m.jets.size() && (k == 0 || m.damperPerOption))
                RegulatorValues(m, m.jets[k], damper->zeta[static_cast<std::size_t>(p)], kr, dL);
            f.num(start + 1 + static_cast<int>(k), kr, 2);
            f.integer(start + 5 + static_cast<int>(k), dL);
        }
    }

    f.text(kSizePicture, m.picture.name);
    f.text(kTypePicture, type.picture.name);
    f.text(kPageAddress, range.site + "catalog/" + m.slug);
    return f.joined();
}

}  // namespace

bool Model::halfMetreSections() const
{
    // Characters are counted as the program counts them: Cyrillic letters
    // are one character each, two bytes each in UTF-8.
    return CharacterCount(name) >= 4 && Characters(name, 2, 3) == "ДМЖ";
}

const Damper* Range::damper(const std::string& name) const
{
    auto it = dampers.find(name);
    return it == dampers.end() ? nullptr : &it->second;
}

std::vector<const Drawing*> Range::drawings() const
{
    std::vector<const Drawing*> out;
    std::set<std::string> names;
    auto add = [&](const Drawing& d) {
        if (!d.name.empty() && names.insert(d.name).second)
            out.push_back(&d);
    };
    add(sign);
    for (const Type& t : types) {
        add(t.picture);
        for (const Model& m : t.models)
            add(m.picture);
    }
    return out;
}

std::array<double, 24> SoundSet(const Range& range, const Model& model, double zeta, double fm, double fz, bool plenum)
{
    std::array<double, 24> set{};
    if (zeta <= 0)
        return set;
    // The flow-noise law of the outlet: at loss coefficient zeta, area F and
    // velocity v = Q / F the A-weighted power is
    //     LwA = K + 10 lg F + n lg v + 30 lg zeta,
    // spread over the octave bands by the spectrum shape, which is first
    // shifted so that its A-weighted bands sum to 0 dB. The high bands grow
    // a little faster with the flow than the low ones (slope n - 1.75 at
    // 63 Hz to n + 1.75 at 8 kHz); the band levels meet the law exactly at
    // the rated velocity.
    const Spectrum& shape = range.spectra.at(model.spectrum);
    double energy = 0;
    for (std::size_t i = 0; i < kBands; ++i)
        energy += std::pow(10.0, (shape.levels[i] + kAWeighting[i]) / 10);
    const double shift = -10 * std::log10(energy);
    const bool free = model.mode == SizeMode::Free;
    if (free) {
        // Written against the face A x B; the loss area lies inside the
        // frame and is taken at the typical face.
        const double side = kTypicalFaceMm;
        fm = (side - model.allowanceFm) * (side - model.allowanceFm) / 1e6;
        fz = (side - model.allowanceFz) * (side - model.allowanceFz) / 1e6;
    }
    const double ratedFlow = model.velocity * fm * 3600;  // m3/h
    const double lgRated = std::log10(ratedFlow);
    const double lgVelocity = std::log10(ratedFlow / 3600 / fz);
    for (std::size_t i = 0; i < kBands; ++i) {
        // Rounded as written, so that b and c fit the slope the file holds.
        const double slope = std::round(10 * (model.soundN + 0.5 * (static_cast<double>(i) - 3.5))) / 10;
        const double level = model.soundK + (plenum ? model.plenumSound : 0) + shape.levels[i] + shift +
                             10 * std::log10(fz) + model.soundN * lgVelocity + 30 * std::log10(zeta);
        set[i] = slope;
        if (free) {
            // Lw = a lg L + b lg F + c with F = A x B in m2: at a fixed face
            // velocity the power grows with the area, 10 lg F in all.
            const double face = kTypicalFaceMm * kTypicalFaceMm / 1e6;
            set[8 + i] = 10 - slope;
            set[16 + i] = level - slope * lgRated - (10 - slope) * std::log10(face);
        } else {
            // Lw = a lg L + b, L in m3/h (per section length of a slot).
            set[8 + i] = level - slope * lgRated;
        }
    }
    return set;
}

bool ParseRange(const std::vector<std::pair<std::string, std::string>>& files, Range& out, std::string& error)
{
    out = Range{};
    if (files.empty()) {
        error = "нет исходных файлов";
        return false;
    }
    Reader reader(out, error);
    // Models are kept by pointer while a type is read; reserve so that the
    // vector of types never moves under the reader.
    out.types.reserve(files.size());
    if (!reader.parseCommon(files.front().first, files.front().second))
        return false;
    for (std::size_t i = 1; i < files.size(); ++i)
        if (!reader.parseType(files[i].first, files[i].second))
            return false;
    return reader.finish();
}

bool ReadRange(const std::filesystem::path& folder, Range& out, std::string& error)
{
    std::error_code ec;
    std::vector<std::filesystem::path> typeFiles;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        if (entry.path().extension() == ".txt" && entry.path().filename() != "common.txt")
            typeFiles.push_back(entry.path());
    if (ec) {
        error = folder.string() + ": папка не читается (" + ec.message() + ")";
        return false;
    }
    std::sort(typeFiles.begin(), typeFiles.end());
    typeFiles.insert(typeFiles.begin(), folder / "common.txt");
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& path : typeFiles) {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            error = path.string() + ": файл не открывается";
            return false;
        }
        std::ostringstream text;
        text << in.rdbuf();
        files.emplace_back(path.filename().string(), text.str());
    }
    return ParseRange(files, out, error);
}

std::string CatalogueText(const Range& range)
{
    std::string out = range.heading + "\r\n";
    for (const Type& type : range.types)
        for (const Model& m : type.models) {
            const std::size_t lines = m.mode == SizeMode::Listed ? m.sizes.size() : 1;
            for (std::size_t k = 0; k < lines; ++k)
                out += SizeLineText(range, type, m, k) + "\r\n";
        }
    return out;
}

std::string CatalogueBytes(const Range& range) { return cp1251::fromUtf8(CatalogueText(range)); }

}  // namespace nimbo::range
