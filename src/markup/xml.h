#pragma once
// The line-oriented markup scanner shared by the server stream, init.xml and
// the map files. It is deliberately not a general XML parser: one start tag,
// one run of text and one end tag per line, apostrophe-quoted attributes,
// no nesting and no errors.

#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

struct AttribRec {
    std::string name;
    std::string value;
};

using AttribList = std::vector<AttribRec>;

// Value of the first attribute named exactly `name`; empty when absent.
std::string GetAttribute(const AttribList& list, std::string_view name);
// "true" gives true, any other non-empty text false, absent gives `def`.
bool GetFlagAttribute(const AttribList& list, std::string_view name, bool def);
// Signed decimal, wrapping modulo 2^32; absent gives `def`.
int32_t GetNumberAttribute(const AttribList& list, std::string_view name, int32_t def);

std::string DecodeEntities(std::string_view text);
std::string EscapeText(std::string_view text);

class XMLParser {
public:
    // An empty file name reads no file (the server stream).
    explicit XMLParser(std::string fileName = {});
    virtual ~XMLParser();

    XMLParser(const XMLParser&) = delete;
    XMLParser& operator=(const XMLParser&) = delete;

    // False when the file could not be opened; otherwise every line not
    // starting with "<?xml" goes through ParseLine.
    bool ParseFile();
    // One line of the server stream, without its line feed.
    void ParseText(std::string_view line);
    void ParseLine(std::string_view line);

protected:
    virtual void StartElement(const std::string& name, const AttribList& attributes);
    virtual void EndElement(const std::string& name);
    virtual void Characters(const std::string& text);

    void SplitTag(std::string_view tag);
    void ParseAttributes(std::string_view text);

    std::string fileName;
    std::ifstream inputFile;
    std::string elementName;
    AttribList attributes;
};
