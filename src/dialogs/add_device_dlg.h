#pragma once
// Device adding: device records typed in, packed as a search report carries them and listed;
// the checked records go to the device report as one hexadecimal text.

#include <cstdint>
#include <string>

#include "link/byte_string.h"
#include "platform/ui.h"

// The values packed into a device's info word, each cut to its width.
struct DeviceInfoFields {
    uint8_t depth = 0;
    uint8_t netState = 0;
    uint8_t deviceType = 0;
    uint8_t multicastFlag = 0;
    uint8_t topBits = 0;
};

// What one record is made of, as typed and chosen.
struct DeviceRecordInput {
    std::string mac;        // up to 12 hexadecimal digits, display order
    std::string group;      // up to 4 hexadecimal digits; used with the multicast flag
    std::string attribute;  // hexadecimal digits
    DeviceInfoFields info;
};

class CAddDeviceDlg : public Dialog {
public:
    // Most bytes of a record's attribute: its length travels in one byte.
    static constexpr size_t kMaxAttributeBytes = 255;

    // maxDevices: the rows the list takes.
    explicit CAddDeviceDlg(int maxDevices);

    // Appends the info word's two bytes, low byte first.
    static void PackDeviceInfoWord(ByteString& out, const DeviceInfoFields& fields);
    // The record's hexadecimal text; false with the refusal's text when a field is not usable
    // (plainBox: shown in a plain message box rather than the warning box).
    static bool BuildDeviceRecord(const DeviceRecordInput& input, std::string& record, std::string& refusal,
                                  bool& plainBox);

    void OnAdd();
    void OnConfirmAdd();
    void OnSelectAll();
    void OnDeleteDevices();

    // After "确定添加": the records of the checked rows joined in row order.
    bool Confirmed() const { return m_confirmed; }
    const std::string& DeviceText() const { return m_deviceText; }

protected:
    bool OnInitDialog() override;
    void OnOK() override {}
    void OnDestroy() override;

private:
    DeviceRecordInput ReadInputs() const;

    ListView m_deviceList;
    int m_rowCount = 0;
    int m_maxDevices;
    bool m_confirmed = false;
    std::string m_deviceText;
};
