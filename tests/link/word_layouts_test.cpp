// The packed words' descriptions: fields in place, cut to their width, none overlapping.

#include <gtest/gtest.h>

#include <vector>

#include "link/word_layouts.h"

TEST(WordLayouts, PutCutsToTheFieldAndGetReadsItBack) {
    constexpr BitField f{9, 4};
    EXPECT_EQ(f.Put(0x5), 0x5u << 9);
    EXPECT_EQ(f.Put(0x1F), 0xFu << 9);  // cut to four bits
    EXPECT_EQ(f.Get(0xFFFF), 0xF);
    EXPECT_EQ(f.Get(0x5u << 9 | 0x1FF), 0x5);
    EXPECT_EQ(BitField({16, 8}).Get(0xAB0000), 0xAB);
}

TEST(WordLayouts, EachWordsFieldsFitItsWidthAndDoNotOverlap) {
    const struct {
        const char* name;
        unsigned bits;
        std::vector<BitField> fields;
    } words[] = {
        {"control byte", 8,
         {control_byte::kReserved, control_byte::kChannelType, control_byte::kReplyStatus, control_byte::kInitiator,
          control_byte::kDirection}},
        {"address mode", 8, {address_mode_byte::kMulticast}},
        {"exec state modes", 8, {exec_state_modes::kSourceMode, exec_state_modes::kTargetMode}},
        {"send data", 16,
         {send_data_word::kSourceMode, send_data_word::kTargetMode, send_data_word::kPasswordMode,
          send_data_word::kDepth}},
        {"receive info", 24,
         {receive_info_word::kSourceMode, receive_info_word::kTargetMode, receive_info_word::kDepth,
          receive_info_word::kBits12to13, receive_info_word::kMulticast, receive_info_word::kPasswordMode,
          receive_info_word::kBits16to23}},
        {"connection", 16, {connection_word::kSourceMode, connection_word::kTargetMode, connection_word::kProtocol}},
        {"connection as explained", 16,
         {connection_word::kSourceMode, connection_word::kTargetMode, connection_word::kConnectionType}},
        {"broadcast", 16,
         {broadcast_param_word::kSourceMode, broadcast_param_word::kTargetMode, broadcast_param_word::kPriority,
          broadcast_param_word::kRadius, broadcast_param_word::kPasswordMode, broadcast_param_word::kMulticast}},
        {"search", 16,
         {search_param_word::kSourceMode, search_param_word::kTargetMode, search_param_word::kRadius,
          search_param_word::kRange, search_param_word::kMulticast}},
        {"device info", 16,
         {device_info_word::kDepth, device_info_word::kNetState, device_info_word::kDeviceType,
          device_info_word::kMulticast, device_info_word::kReserved}},
        {"attribute request", 16,
         {attribute_request_word::kSourceMode, attribute_request_word::kTargetMode,
          attribute_request_word::kMulticast}},
        {"attribute reply", 16,
         {attribute_reply_word::kSourceMode, attribute_reply_word::kTargetMode, attribute_reply_word::kReplyState,
          attribute_reply_word::kMulticast}},
        {"remote password", 16,
         {remote_password_word::kSourceMode, remote_password_word::kTargetMode, remote_password_word::kPriority,
          remote_password_word::kMulticast, remote_password_word::kReserved}},
        {"password request", 16,
         {password_request_word::kSourceMode, password_request_word::kTargetMode, password_request_word::kDepth,
          password_request_word::kDecryptState, password_request_word::kMulticast}},
        {"password reply", 16,
         {password_reply_word::kSourceMode, password_reply_word::kTargetMode, password_reply_word::kDepth,
          password_reply_word::kMulticast}},
        {"net params level", 8, {net_params_bytes::kLevelLimit}},
        {"net params serial", 8, {net_params_bytes::kStopBits, net_params_bytes::kParity, net_params_bytes::kBaud}},
        {"net params carrier", 8, {net_params_bytes::kBand, net_params_bytes::kPowerLevel}},
        {"point read flags", 8,
         {point_read_flags::kMulticast, point_read_flags::kPasswordMode, point_read_flags::kReserved}},
        {"version type", 8, {version_type_byte::kMulticast, version_type_byte::kVersionType}},
        {"broadcast test request", 8,
         {broadcast_test_request_flags::kMulticast, broadcast_test_request_flags::kPasswordMode}},
        {"broadcast test reply", 8,
         {broadcast_test_reply_flags::kMulticast, broadcast_test_reply_flags::kDepth,
          broadcast_test_reply_flags::kPasswordMode}},
    };
    for (const auto& w : words) {
        uint32_t used = 0;
        for (const BitField& f : w.fields) {
            const uint32_t bits = f.Put(0xFFFFFFFFu);
            EXPECT_EQ(used & bits, 0u) << w.name << ": field at bit " << f.shift << " overlaps";
            EXPECT_LE(f.shift + f.width, w.bits) << w.name << ": field at bit " << f.shift;
            used |= bits;
        }
    }
}
