#include "analyzer/field_printers.h"

#include <gtest/gtest.h>

#include "test_frames.h"

using testing_frames::Hex;

TEST(FieldPrinters, StatusAndModeTables) {
    std::string t;
    PrintErrorStatus(0x06, t);
    PrintErrorStatus(0xFF, t);
    PrintErrorStatus(4, t);
    EXPECT_EQ(t, "RESV\r\nRESV\r\nRAM空间不足\r\n");
    t.clear();
    PrintTargetDeviceMode(1, t);
    PrintTargetDeviceMode(6, t);
    PrintSourceDeviceMode(3, t);
    EXPECT_EQ(t, "目标设备模式：    网关\r\n目标设备模式：    出错\r\nSrc 设备模式：    TRM5281/82 MAC地址\r\n");
    t.clear();
    PrintPasswordMode(0, t);
    PrintPasswordMode(1, t);
    PrintPasswordMode(2, t);
    EXPECT_EQ(t, "网络口令模式: 初始网络口令\r\n网络口令模式: 用户网络口令\r\n网络口令模式: 出错\r\n");
    t.clear();
    PrintMulticastFlag(2, t);
    EXPECT_EQ(t, "组播标志：    出错\r\n");
}

TEST(FieldPrinters, MulticastBitStoresBitZero) {
    std::string t;
    uint8_t flag = 9;
    PrintMulticastBit(0xFE, flag, t);
    EXPECT_EQ(flag, 0);
    PrintMulticastBit(0x03, flag, t);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(t, "组播标志：    非组播\r\n组播标志：    组播\r\n");
}

TEST(FieldPrinters, NumberLine) {
    std::string t;
    PrintNumberLine(0xFFFF, t);
    PrintNumberLine(0, t);
    EXPECT_EQ(t, "65535\r\n0\r\n");
}

TEST(FieldPrinters, AddressLeavesTheCursor) {
    const ByteString f = Hex("79 06 00 80 03 01 02 03 04 05 06");
    std::string t;
    int cursor = 5;
    PrintAddress(f, t, &cursor);
    EXPECT_EQ(t, "060504030201\r\n");
    EXPECT_EQ(cursor, 5);
    t.clear();
    cursor = 8;  // past the end reads zeros
    PrintAddress(f, t, &cursor);
    EXPECT_EQ(t, "000000060504\r\n");
}

TEST(FieldPrinters, AddressCheckedUsesTheWholeLength) {
    std::string t;
    int cursor = 5;
    EXPECT_FALSE(PrintAddressChecked(Hex("79 04 00 80 03 01 02 03 04 AA"), t, &cursor));
    EXPECT_EQ(t, "\r\nError:报文不完整\r\n");
    EXPECT_EQ(cursor, 5);
    t.clear();
    EXPECT_TRUE(PrintAddressChecked(Hex("79 04 00 80 03 01 02 03 04 AA BB"), t, &cursor));
    EXPECT_EQ(t, "BBAA04030201\r\n");
    EXPECT_EQ(cursor, 11);
}

TEST(FieldPrinters, MulticastAddressAndGroups) {
    std::string t;
    int cursor = 0;
    PrintMulticastAddress(Hex("34 12"), t, &cursor);
    EXPECT_EQ(t, "组播地址：    1234\r\n");
    EXPECT_EQ(cursor, 2);
    t.clear();
    cursor = 0;
    PrintGroupIdList(Hex("02 01 00 02 00"), t, &cursor);
    EXPECT_EQ(t, "组地址数目：  02\r\nGPID1: 0001\r\nGPID2: 0002\r\n");
    EXPECT_EQ(cursor, 5);
    t.clear();
    cursor = 0;
    PrintGroupIdList(Hex("00"), t, &cursor);
    EXPECT_EQ(t, "组地址数目：  00\r\n");
    EXPECT_EQ(cursor, 1);
    t.clear();
    cursor = 0;
    PrintGroupIdList(Hex("FF"), t, &cursor);  // a count past the frame reads zeros
    EXPECT_EQ(cursor, 1 + 2 * 255);
    EXPECT_NE(t.find("GPID255: 0000\r\n"), std::string::npos);
}

TEST(FieldPrinters, ReversedBytes) {
    std::string t;
    EXPECT_EQ(PrintReversedBytes(Hex("00 11 22 33"), t, 3, 1), 1);
    EXPECT_EQ(t, "332211\r\n");
}

TEST(FieldPrinters, Ipv4Address) {
    std::string t;
    int p = 1;
    EXPECT_EQ(PrintIpv4Address(Hex("FF 01 00 A8 C0"), t, &p), 5);
    EXPECT_EQ(t, "192.168.0.1\r\n");
    EXPECT_EQ(p, 5);
    t.clear();
    p = 2;
    EXPECT_EQ(PrintIpv4Address(Hex("FF 01 00 A8 C0"), t, &p), -1);
    EXPECT_EQ(t, "\r\nError:报文不完整\r\n");
    EXPECT_EQ(p, 2);
}

TEST(FieldPrinters, Payload) {
    std::string t;
    int c = 0;
    EXPECT_EQ(PrintPayload(Hex("03 00 AA BB CC DD"), t, &c), 5);
    EXPECT_EQ(t, "payload len:  3\r\npayload:  AABBCC\r\n");
    t.clear();
    c = 0;
    EXPECT_EQ(PrintPayload(Hex("00 00"), t, &c), 2);
    EXPECT_EQ(t, "payload len:  0\r\npayload:  \r\n");
    t.clear();
    c = 0;
    EXPECT_EQ(PrintPayload(Hex("05 00 AA"), t, &c), -1);
    EXPECT_EQ(t, "payload len:  5\r\n\r\nError:报文不完整\r\n");
    EXPECT_EQ(c, 2);
    t.clear();
    c = 0;
    EXPECT_EQ(PrintPayload(Hex("05"), t, &c), -1);
    EXPECT_EQ(t, "\r\nError:报文不完整\r\n");
    EXPECT_EQ(c, 0);
}
