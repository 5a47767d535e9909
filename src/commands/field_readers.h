#pragma once
// Readers of the command pages' edits. Each checks its field; a field that cannot be used shows
// its message (if it has one) and gives false.

#include <cstddef>
#include <cstdint>
#include <string>

#include "link/byte_string.h"
#include "platform/ui.h"

// The bytes of an edit typed as hexadecimal.
ByteString ReadHexEdit(Dialog& page, int editId);

// Appends the 16-bit byte count and the bytes of a hexadecimal data edit (AppendDataText);
// more bytes than the count can hold are refused with their message.
bool ReadDataEdit(Dialog& page, int editId, ByteString& payload);

// The depth of edit IDC_DEPTH: its first two characters as a decimal number.
bool ReadDepth(Dialog& page, uint8_t& depth);

// The address text of an edit for a target of this mode: mode 0 carries none (the text stays
// empty), modes above 5 are refused without a message, a blank edit is refused.
bool ReadAddressField(Dialog& page, int editId, uint8_t targetMode, std::string& address);

// The text of a multicast address edit; a blank edit is refused.
bool ReadMulticastAddress(Dialog& page, int editId, std::string& address);

// Appends a port's leading whole number, two bytes low first; an empty edit, one that holds no
// number or a number outside 16 bits is refused.
bool ReadPortNumber(Dialog& page, int editId, ByteString& payload);

// Appends the address of an IP address control, last octet first; an empty control gives four
// zero bytes, an address that is not four fields of 0 to 255 is refused.
constexpr const char* kBadIpAddress = "IP地址格式错误";
bool ReadIpAddress(Dialog& page, int controlId, ByteString& payload);

// Appends a domain name edit's length byte and bytes; an empty edit is refused without a
// message, a name longer than 255 bytes with one.
constexpr const char* kDomainNameTooLong = "域名长度不能超过255字节";
bool ReadDomainName(Dialog& page, int editId, ByteString& payload);

// The bytes of a password edit, hexadecimal or text by check box IDC_PASSWORD_HEX. A length outside
// minLength..maxLength shows the message of its kind; a good one is shown in lengthId.
bool ReadPasswordField(Dialog& page, int editId, int lengthId, size_t minLength, size_t maxLength,
                       const char* hexMessage, const char* textMessage, ByteString& password);
