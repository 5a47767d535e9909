#pragma once
// A device's firmware image compared with a master image block by block, apart from the
// device's MAC address, which is judged on its own. Plain functions over files; no window.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class BinaryReader;

constexpr size_t kCompareBlockSize = 4096;
// The block whose first six bytes hold the device's MAC address.
constexpr uint64_t kMacBlockOffset = 0xF0000;
constexpr size_t kMacLength = 6;

struct ImageComparison {
    enum Verdict { kNotOpened, kDifferent, kEqual };
    Verdict verdict = kNotOpened;
    // The compared image's MAC address, when all six bytes of it were read.
    bool macRead = false;
    std::array<unsigned char, kMacLength> mac{};
};

// Compares two open files: sizes first, then block by block into two reused buffers. A block
// that cannot be read whole makes them different.
ImageComparison CompareOpenImages(const BinaryReader& master, const BinaryReader& compared);

// Opens both paths for reading and compares them; kNotOpened when either cannot be opened.
ImageComparison CompareImageFiles(const std::string& masterPath, const std::string& comparedPath);

// Six bytes 0xFF or six bytes 0x00 are no MAC address.
bool IsValidMac(const std::array<unsigned char, kMacLength>& mac);

// The verdict as the result pane shows it, lines separated by "\r\n", without a final line end.
std::string ComparisonText(const ImageComparison& comparison);
