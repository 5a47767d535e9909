#include "link/code_text.h"

const char* TextOfCode(const CodeText* table, size_t size, unsigned code, const char* otherwise) {
    for (size_t i = 0; i < size; ++i) {
        if (table[i].code == code) return table[i].text;
    }
    return otherwise;
}

bool CodeOfText(const CodeText* table, size_t size, const std::string& text, uint8_t& code) {
    for (size_t i = 0; i < size; ++i) {
        if (text == ChoiceText(table[i])) {
            code = table[i].code;
            return true;
        }
    }
    return false;
}
