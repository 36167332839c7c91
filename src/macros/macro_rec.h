#pragma once
// One F-key macro: the command lines it sends, in order, without line ends.

#include <string>
#include <vector>

class MacroRec {
public:
    MacroRec() = default;
    explicit MacroRec(std::vector<std::string> lines);

    void Add(std::string line);
    void Clear();
    const std::vector<std::string>& Lines() const { return lines; }

private:
    std::vector<std::string> lines;
};
