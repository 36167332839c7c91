#include "markup/xml.h"

namespace {

constexpr std::string_view::size_type npos = std::string_view::npos;

} // namespace

std::string GetAttribute(const AttribList& list, std::string_view name)
{
    for (const AttribRec& rec : list)
        if (rec.name == name)
            return rec.value;
    return {};
}

bool GetFlagAttribute(const AttribList& list, std::string_view name, bool def)
{
    for (const AttribRec& rec : list)
        if (rec.name == name)
            return rec.value.empty() ? def : rec.value == "true";
    return def;
}

int32_t GetNumberAttribute(const AttribList& list, std::string_view name, int32_t def)
{
    const AttribRec* found = nullptr;
    for (const AttribRec& rec : list)
        if (rec.name == name) {
            found = &rec;
            break;
        }
    if (!found || found->value.empty())
        return def;

    const std::string& v = found->value;
    std::size_t i = 0;
    while (
        i < v.size() && (v[i] == ' ' || v[i] == '\t' || v[i] == '\n' || v[i] == '\r' || v[i] == '\v' || v[i] == '\f'))
        ++i;
    bool negative = false;
    if (i < v.size() && (v[i] == '+' || v[i] == '-')) {
        negative = v[i] == '-';
        ++i;
    }
    // Accumulated modulo 2^32 on purpose: colours are stored as their signed
    // bit pattern, and huge numbers must not be undefined behaviour.
    uint32_t acc = 0;
    for (; i < v.size() && v[i] >= '0' && v[i] <= '9'; ++i)
        acc = acc * 10u + static_cast<uint32_t>(v[i] - '0');
    if (negative)
        acc = 0u - acc;
    return static_cast<int32_t>(acc);
}

std::string DecodeEntities(std::string_view t)
{
    if (t.find('&') == npos)
        return std::string(t);

    std::string out;
    out.reserve(t.size());
    const std::size_t n = t.size();
    std::size_t i = 0;
    while (i < n) {
        const char c = t[i];
        if (c != '&') {
            out += c;
            ++i;
            continue;
        }
        const char c1 = i + 1 < n ? t[i + 1] : '\0';
        const char c2 = i + 2 < n ? t[i + 2] : '\0';
        if (c1 == 'a' && c2 == 'm') {
            out += '&';
            i += 5;
        } else if (c1 == 'a' && c2 == 'p') {
            out += '\'';
            i += 6;
        } else if (c1 == 'g') {
            out += '>';
            i += 4;
        } else if (c1 == 'l') {
            out += '<';
            i += 4;
        } else if (c1 == 'q') {
            out += '"';
            i += 6;
        } else {
            // Unknown entity: the ampersand alone is dropped.
            i += 1;
        }
    }
    return out;
}

std::string EscapeText(std::string_view t)
{
    std::string out;
    out.reserve(t.size());
    for (char c : t) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '\'': out += "&apos;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += c;
        }
    }
    return out;
}

XMLParser::XMLParser(std::string name)
    : fileName(std::move(name))
{
    if (!fileName.empty())
        inputFile.open(fileName, std::ios::in);
}

XMLParser::~XMLParser() = default;

void XMLParser::StartElement(const std::string&, const AttribList&)
{
}
void XMLParser::EndElement(const std::string&)
{
}
void XMLParser::Characters(const std::string&)
{
}

bool XMLParser::ParseFile()
{
    if (!inputFile.is_open() || inputFile.fail())
        return false;
    std::string line;
    while (std::getline(inputFile, line)) {
        // Files written on the original platform end their lines with CR LF.
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.compare(0, 5, "<?xml") != 0)
            ParseLine(line);
    }
    // A path that names a directory opens but cannot be read: it was never a file.
    return !inputFile.bad();
}

void XMLParser::ParseText(std::string_view line)
{
    if (line.substr(0, 5) == "<?xml")
        return;
    ParseLine(line);
}

void XMLParser::ParseLine(std::string_view line)
{
    const std::size_t p = line.find_first_not_of(" \t");
    if (p == npos)
        return;

    const std::size_t lt = line[p] == '<' ? p : npos;
    const std::size_t gt = line.find('>');

    if (lt != npos && gt != npos) {
        std::string_view inner = line.substr(lt + 1, gt - lt - 1);
        if (!inner.empty() && inner.front() == '/') {
            EndElement(std::string(inner.substr(1)));
            return;
        }
        if (!inner.empty() && inner.back() == '/') {
            SplitTag(inner.substr(0, inner.size() - 1));
            StartElement(elementName, attributes);
            EndElement(elementName);
            return;
        }
        SplitTag(inner);
        StartElement(elementName, attributes);
        if (gt + 1 >= line.size())
            return;
        std::string_view rest = line.substr(gt + 1);
        const std::size_t k = rest.find("</");
        if (k == npos) {
            Characters(DecodeEntities(rest));
            return;
        }
        Characters(DecodeEntities(rest.substr(0, k)));
        std::string_view tail = rest.substr(k + 2);
        const std::size_t tailGt = tail.find('>');
        EndElement(std::string(tailGt == npos ? tail : tail.substr(0, tailGt)));
        return;
    }

    if (gt == npos) {
        Characters(DecodeEntities(line));
        return;
    }
    const std::size_t lt2 = line.find('<');
    if (lt2 == npos) {
        Characters(DecodeEntities(line));
        return;
    }
    Characters(DecodeEntities(line.substr(0, lt2)));
    EndElement(std::string(gt < lt2 ? line.substr(lt2) : line.substr(lt2, gt - lt2)));
}

void XMLParser::SplitTag(std::string_view tag)
{
    const std::size_t sp = tag.find(' ');
    if (sp == npos) {
        elementName.assign(tag);
        attributes.clear();
        return;
    }
    elementName.assign(tag.substr(0, sp));
    ParseAttributes(tag.substr(sp + 1));
}

void XMLParser::ParseAttributes(std::string_view a)
{
    attributes.clear();
    const std::size_t n = a.size();
    if (n <= 4)
        return;
    std::size_t pos = 0;
    while (pos < n - 4) {
        const std::size_t eq = a.find('=', pos);
        if (eq == npos)
            return;
        std::string_view name = a.substr(pos, eq - pos);
        pos = eq + 2;
        if (pos > n)
            return;
        const std::size_t q = a.find('\'', pos);
        if (q == npos)
            return;
        std::string_view value = a.substr(pos, q - pos);
        pos = q + 2;
        attributes.push_back({DecodeEntities(name), DecodeEntities(value)});
    }
}
