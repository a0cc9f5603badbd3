#pragma once

// Shape programs and handle lists in the catalogue's written form, for tests: groups
// "head:a,b,..." separated by spaces, where the head is a step code (programs) or a
// handle kind (handle lists). M stands for the memory marker 0xFFFF.

#include "figures/render/shapes/catalogue.h"
#include "figures/render/shapes/shapeprogram.h"

#include <sstream>
#include <string>
#include <vector>

namespace figures::testing_text {

inline std::vector<uint16_t> Words(std::span<const uint8_t> bytes)
{
    std::vector<uint16_t> words;
    for (size_t i = 0; i < bytes.size() / 2; ++i) {
        words.push_back(ProgramWord(bytes, i));
    }
    return words;
}

inline std::vector<std::vector<uint16_t>> ParseGroups(const std::string& text)
{
    std::vector<std::vector<uint16_t>> groups;
    std::istringstream in(text);
    std::string token;
    while (in >> token) {
        std::vector<uint16_t> group;
        std::string field;
        for (char ch : token + ",") {
            if (ch == ':' || ch == ',') {
                group.push_back(field == "M" ? 0xFFFF : uint16_t(std::stoul(field)));
                field.clear();
            } else {
                field += ch;
            }
        }
        groups.push_back(group);
    }
    return groups;
}

// The program words, with the terminating 0 word the written form leaves out.
inline std::vector<uint16_t> ParseProgram(const std::string& text)
{
    std::vector<uint16_t> words;
    for (const std::vector<uint16_t>& step : ParseGroups(text)) {
        words.insert(words.end(), step.begin(), step.end());
    }
    words.push_back(0);
    return words;
}

// Descriptor words: kind << 13 | x, then y.
inline std::vector<uint16_t> ParseHandles(const std::string& text)
{
    std::vector<uint16_t> words;
    for (const std::vector<uint16_t>& d : ParseGroups(text)) {
        words.push_back(uint16_t(d.at(0) << kHandleKindShift | d.at(1)));
        words.push_back(d.at(2));
    }
    return words;
}

} // namespace figures::testing_text
