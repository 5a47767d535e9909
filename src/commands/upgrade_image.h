#pragma once
// Upgrade files for the module: a firmware image with a header in front, written next to the
// image under a name made from its version. Plain functions over files; no window.

#include <cstddef>
#include <cstdint>
#include <string>

#include "link/byte_string.h"

enum class UpgradeForm { kBoot, kSecHigh };

// Longest images of each form.
constexpr size_t kBootImageLimit = 0x20000;
constexpr size_t kSecHighImageLimit = 0x60000;

// Header sizes: BOOT 64 bytes, Sec high 8 bytes.
constexpr size_t kBootHeaderSize = 64;
constexpr size_t kSecHighHeaderSize = 8;

// Version digits of a full version.
constexpr size_t kVersionDigits = 10;

// The version edit's text as the header carries it: five BCD bytes, the last digit pair first.
// Blanks and line ends are ignored; fewer than ten digits get zeros in front. Gives "" and the
// bytes, or the refusal text (empty, not decimal digits, more than ten digits).
std::string ReadBcdVersion(const std::string& text, ByteString& version);

// The version in reading order as ten hexadecimal digits ("0102030405" for 05 04 03 02 01).
std::string VersionDigitsText(const ByteString& version);

// The header of an image of length bytes.
ByteString BuildUpgradeHeader(UpgradeForm form, uint32_t length, const ByteString& version, uint32_t checksum);

// The upgrade file's path: the image's folder, its name without the last 14 characters (a
// ten-digit version and ".bin"), "update-", the version in reading order and ".bin". A name of
// 14 characters or fewer leaves nothing of itself.
std::string UpgradeOutputPath(const std::string& imagePath, const ByteString& version);

// What the version edit shows once an image is chosen: the ten characters of the image's name
// that start 14 characters before its end (from the name's start when it is shorter).
std::string VersionTextOfImage(const std::string& imagePath);

struct UpgradeOutcome {
    std::string refusal;     // the text to show; empty when the file was written
    std::string outputPath;  // the file written
};

// Reads the image (never more than its form's limit, never changing it), checks the version
// and writes header and image to the upgrade file, replacing it only once all is written.
UpgradeOutcome PrepareUpgradeFile(UpgradeForm form, const std::string& imagePath, const std::string& versionText);
