#include "link/descramble.h"

// 132 printable characters, shared with the module.
const char kDescrambleKey[133] =
    "NyCQs)t/2H06s8:B[PX`'fG=6x1-eJ>{J(;^:2S#{vlbG1|B=eKCoB!>gW+-(y&JuV"
    "Gv{:k{q,S.0]QBOPX,UqX,#vkCED6-U%*4cBR!|PiFCV3fVJS.FK)+0]L[9keKnl4q";

void DescrambleXor(ByteString& payload) {
    size_t k = 0;
    for (unsigned char& b : payload) {
        if (k == 132) k = 0;
        b = static_cast<unsigned char>(b ^ static_cast<unsigned char>(kDescrambleKey[k]));
        ++k;
    }
}
