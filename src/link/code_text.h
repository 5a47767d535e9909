#pragma once
// A field's codes and their texts: one table per field, in code order. The analyzer explains a
// code with its text; a combo box of the command pages offers the entries' combo texts and turns
// the chosen one back into its code.

#include <cstddef>
#include <cstdint>
#include <string>

struct CodeText {
    uint8_t code;
    const char* text;              // the analyzer's text
    const char* choice = nullptr;  // the combo's text, where it is not the analyzer's
};

// The text a combo box shows for the entry.
inline const char* ChoiceText(const CodeText& entry) { return entry.choice ? entry.choice : entry.text; }

inline const char* TextOfCode(const CodeText* table, size_t size, unsigned code, const char* otherwise) {
    for (size_t i = 0; i < size; ++i) {
        if (table[i].code == code) return table[i].text;
    }
    return otherwise;
}
bool CodeOfText(const CodeText* table, size_t size, const std::string& text, uint8_t& code);

// The text of code, or otherwise when the table has no entry for it.
template <size_t N>
const char* TextOfCode(const CodeText (&table)[N], unsigned code, const char* otherwise) {
    return TextOfCode(table, N, code, otherwise);
}

// The code of the first entry whose combo text equals text exactly; false, with code
// untouched, when none does.
template <size_t N>
bool CodeOfText(const CodeText (&table)[N], const std::string& text, uint8_t& code) {
    return CodeOfText(table, N, text, code);
}
