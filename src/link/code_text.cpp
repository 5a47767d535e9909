#include "link/code_text.h"

bool CodeOfText(const CodeText* table, size_t size, const std::string& text, uint8_t& code) {
    for (size_t i = 0; i < size; ++i) {
        if (text == ChoiceText(table[i])) {
            code = table[i].code;
            return true;
        }
    }
    return false;
}
