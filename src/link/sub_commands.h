#pragma once
// Sub-command codes: the first data byte of the module commands that carry one.

#include <cstdint>

// Test tool (0xF2).
enum TestToolSubCommand : uint8_t {
    TEST_FREQ_OFFSET_SYNC = 0,
    TEST_READ_FREQ_OFFSET = 1,
    TEST_SEND_DATA_REQUEST = 2,
    TEST_SEND_DATA_REPLY = 3,
    TEST_READ_GAIN = 4,
    TEST_GET_MODULE_ADDRESS = 5,
    TEST_CLEAR_MODULE_ADDRESS = 6,
};

// Smart monitor mode (0xF3).
enum SmartMonitorSubCommand : uint8_t {
    SMART_MONITOR_OFF = 0,
    SMART_MONITOR_ON = 1,
};

// Reset information (0xF4).
enum ResetInfoSubCommand : uint8_t {
    RESET_INFO_READ_LOCAL = 0,
    RESET_INFO_CLEAR_LOCAL = 1,
    RESET_INFO_READ_REMOTE = 2,
    RESET_INFO_CLEAR_REMOTE = 3,
};

// Broadcast reply test (0xF5).
enum BroadcastReplyTestSubCommand : uint8_t {
    BROADCAST_TEST_REQUEST = 0,
    BROADCAST_TEST_REPLY = 1,
};

// Pairing (0x60).
enum PairingSubCommand : uint8_t {
    PAIR_READ_LOCAL = 0x00,
    PAIR_SET_LOCAL = 0x01,
    PAIR_SET_WAIT_STATE = 0x02,
    PAIR_START_AUTO = 0x03,
    PAIR_AUTO_REPORT = 0x04,
    PAIR_READ_AVAILABLE_NETWORKS = 0x05,
    PAIR_CLEAR_LOCAL = 0x06,
    PAIR_SEARCH_REQUEST = 0x10,
    PAIR_SEARCH_REQUEST_REPORT = 0x11,
    PAIR_SEARCH_RESULT_REPORT = 0x12,
    PAIR_COMM_TEST_REQUEST = 0x20,
    PAIR_COMM_TEST_REQUEST_REPORT = 0x21,
    PAIR_COMM_TEST_REPLY = 0x22,
    PAIR_COMM_TEST_REPLY_REPORT = 0x23,
    PAIR_REMOTE_SET_REQUEST = 0x30,
    PAIR_REMOTE_SET_31 = 0x31,
    PAIR_REMOTE_SET_REPORT = 0x33,
    PAIR_REMOTE_READ = 0x34,
    PAIR_REMOTE_READ_REPLY_REPORT = 0x35,
    PAIR_CLEAR_NETWORK = 0x40,
    PAIR_CLEAR_NETWORK_REPORT = 0x41,
    PAIR_DEVICE_SEARCH = 0xF0,
    PAIR_SEARCH_REPORT = 0xF1,
    PAIR_REMOTE_READ_INTERNAL = 0xF2,
    PAIR_REMOTE_READ_INTERNAL_REPLY_REPORT = 0xF3,
};
