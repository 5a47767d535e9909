#pragma once
// The packed words and bytes of module frames, one description each: the frame builders pack
// their fields with it and the analyzers unpack them with it. Words travel low byte first.

#include <cstdint>

// A field of a packed word: its lowest bit and its width in bits.
struct BitField {
    unsigned shift;
    unsigned width;

    constexpr uint32_t Mask() const { return (1u << width) - 1; }
    // The field's value in the word.
    constexpr uint8_t Get(uint32_t word) const { return static_cast<uint8_t>((word >> shift) & Mask()); }
    // The value cut to the field's width, in its place.
    constexpr uint32_t Put(uint32_t value) const { return (value & Mask()) << shift; }
};

// The control byte of every module frame (frame byte 3).
namespace control_byte {
inline constexpr BitField kReserved{0, 3};
inline constexpr BitField kChannelType{3, 2};
inline constexpr BitField kReplyStatus{5, 1};  // RESP: 1 for an abnormal reply
inline constexpr BitField kInitiator{6, 1};    // PRM: 1 when the frame starts an exchange
inline constexpr BitField kDirection{7, 1};    // DIR: 1 from the module
}  // namespace control_byte

// Source and target device mode: the low byte of most request words.
inline constexpr BitField kSourceModeBits{0, 4};
inline constexpr BitField kTargetModeBits{4, 4};

// The address-mode byte of the remote commands: the multicast flag; bits 1-7 are zero.
namespace address_mode_byte {
inline constexpr BitField kMulticast{0, 1};
}  // namespace address_mode_byte

// The mode byte of an execution-state report (0x10).
namespace exec_state_modes {
inline constexpr BitField kSourceMode = kSourceModeBits;
inline constexpr BitField kTargetMode = kTargetModeBits;
}  // namespace exec_state_modes

// The address-mode word of send data (0x14).
namespace send_data_word {
inline constexpr BitField kSourceMode = kSourceModeBits;
inline constexpr BitField kTargetMode = kTargetModeBits;
inline constexpr BitField kPasswordMode{11, 1};
inline constexpr BitField kDepth{12, 4};
}  // namespace send_data_word

// The 24-bit info word of receive data (0x15) from the module.
namespace receive_info_word {
inline constexpr BitField kSourceMode = kSourceModeBits;
inline constexpr BitField kTargetMode = kTargetModeBits;
inline constexpr BitField kDepth{8, 4};
inline constexpr BitField kBits12to13{12, 2};
inline constexpr BitField kMulticast{14, 1};
inline constexpr BitField kPasswordMode{15, 1};
inline constexpr BitField kBits16to23{16, 8};
}  // namespace receive_info_word

// The word of start and delete connection (0x11, 0x13; delete has no protocol).
namespace connection_word {
inline constexpr BitField kSourceMode = kSourceModeBits;
inline constexpr BitField kTargetMode = kTargetModeBits;
inline constexpr BitField kProtocol{8, 2};
// The explanations read the protocol as a 4-bit connection type.
inline constexpr BitField kConnectionType{8, 4};
}  // namespace connection_word

// The parameter word of broadcast (0x16).
namespace broadcast_param_word {
inline constexpr BitField kSourceMode = kSourceModeBits;
inline constexpr BitField kTargetMode = kTargetModeBits;
inline constexpr BitField kPriority{8, 1};
inline constexpr BitField kRadius{9, 4};
inline constexpr BitField kPasswordMode{13, 1};
inline constexpr BitField kMulticast{14, 1};
}  // namespace broadcast_param_word

// The search parameters of start search (0x17).
namespace search_param_word {
inline constexpr BitField kSourceMode = kSourceModeBits;
inline constexpr BitField kTargetMode = kTargetModeBits;
inline constexpr BitField kRadius{8, 4};
inline constexpr BitField kRange{12, 3};
inline constexpr BitField kMulticast{15, 1};
}  // namespace search_param_word

// The info word of one device of a search report (0x19).
namespace device_info_word {
inline constexpr BitField kDepth{0, 4};
inline constexpr BitField kNetState{4, 4};
inline constexpr BitField kDeviceType{8, 4};
inline constexpr BitField kMulticast{12, 1};
inline constexpr BitField kReserved{13, 3};
}  // namespace device_info_word

// The attribute-request word (0x1A).
namespace attribute_request_word {
inline constexpr BitField kSourceMode = kSourceModeBits;
inline constexpr BitField kTargetMode = kTargetModeBits;
inline constexpr BitField kMulticast{8, 1};
}  // namespace attribute_request_word

// The attribute-reply word (0x1B).
namespace attribute_reply_word {
inline constexpr BitField kSourceMode = kSourceModeBits;
inline constexpr BitField kTargetMode = kTargetModeBits;
inline constexpr BitField kReplyState{8, 1};
inline constexpr BitField kMulticast{9, 1};
}  // namespace attribute_reply_word

// The word of a remote multicast-group setting, request and reply (0x25, 0x27).
namespace multicast_request_word {
inline constexpr BitField kSourceMode = kSourceModeBits;
inline constexpr BitField kTargetMode = kTargetModeBits;
inline constexpr BitField kMulticast{8, 1};
}  // namespace multicast_request_word

// The word at the head of the module's reports of a remote multicast-group setting.
namespace multicast_report_word {
inline constexpr BitField kSourceMode = kSourceModeBits;
inline constexpr BitField kTargetMode = kTargetModeBits;
inline constexpr BitField kDepth{8, 4};
inline constexpr BitField kMulticast{12, 1};
}  // namespace multicast_report_word

// The mode word of a remote password setting (0x1C).
namespace remote_password_word {
inline constexpr BitField kSourceMode = kSourceModeBits;
inline constexpr BitField kTargetMode = kTargetModeBits;
inline constexpr BitField kPriority{8, 1};
inline constexpr BitField kMulticast{9, 1};
inline constexpr BitField kReserved{10, 6};
}  // namespace remote_password_word

// The word of a password request (0x1D).
namespace password_request_word {
inline constexpr BitField kSourceMode = kSourceModeBits;
inline constexpr BitField kTargetMode = kTargetModeBits;
inline constexpr BitField kDepth{8, 4};
inline constexpr BitField kDecryptState{12, 2};
inline constexpr BitField kMulticast{14, 1};
}  // namespace password_request_word

// The word of a password reply report (0x1F).
namespace password_reply_word {
inline constexpr BitField kSourceMode = kSourceModeBits;
inline constexpr BitField kTargetMode = kTargetModeBits;
inline constexpr BitField kDepth{8, 4};
inline constexpr BitField kMulticast{12, 1};
}  // namespace password_reply_word

// The three bytes of the network parameters (0x0D reply, 0x0E request).
namespace net_params_bytes {
inline constexpr BitField kLevelLimit{0, 4};  // first byte
inline constexpr BitField kStopBits{0, 2};    // second byte: the serial line
inline constexpr BitField kParity{2, 2};
inline constexpr BitField kBaud{4, 4};
inline constexpr BitField kBand{0, 4};        // third byte: the carrier
inline constexpr BitField kPowerLevel{4, 4};
}  // namespace net_params_bytes

// The flag byte of point reading (0xF1).
namespace point_read_flags {
inline constexpr BitField kMulticast{0, 1};
inline constexpr BitField kPasswordMode{1, 1};
inline constexpr BitField kReserved{2, 6};
}  // namespace point_read_flags

// The first data byte of a remote version read (0x52): multicast flag and version type.
namespace version_type_byte {
inline constexpr BitField kMulticast{0, 1};
inline constexpr BitField kVersionType{1, 2};
}  // namespace version_type_byte

// The flag bytes of the broadcast reply test (0xF5): the request's and the answer's.
namespace broadcast_test_request_flags {
inline constexpr BitField kMulticast{0, 1};
inline constexpr BitField kPasswordMode{1, 1};
}  // namespace broadcast_test_request_flags
namespace broadcast_test_reply_flags {
inline constexpr BitField kMulticast{0, 1};
inline constexpr BitField kDepth{1, 4};
inline constexpr BitField kPasswordMode{5, 1};
}  // namespace broadcast_test_reply_flags
