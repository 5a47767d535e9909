#include "link/point_read.h"

bool IsCountingPattern(const ByteString& data) {
    for (size_t i = 0; i < data.size(); ++i) {
        if (data[i] != static_cast<unsigned char>(i & 0xFF)) return false;
    }
    return true;
}
