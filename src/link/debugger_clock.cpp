// The carrier debugger's clock frame and the verdict on its answer.

#include "link/debugger_clock.h"

#include "link/conversions.h"

ByteString DebuggerClockFrame(const SystemTime& time) {
    ByteString data;
    AppendWord16(data, time.year);
    for (uint16_t field : {time.month, time.day, time.hour, time.minute, time.second})
        data.push_back(static_cast<unsigned char>(field));
    AppendWord16(data, time.milliseconds);
    unsigned char sum = 0;
    for (unsigned char b : data) sum = static_cast<unsigned char>(sum + b);
    ByteString frame{kDebuggerFrameMark, 0x01, static_cast<unsigned char>(data.size())};
    frame += data;
    frame.push_back(sum);
    frame.push_back(kDebuggerFrameMark);
    return frame;
}

std::string DebuggerClockVerdict(const ByteString* answer) {
    if (!answer) return "PLC调试器时钟设置超时，无回复";
    if (answer->size() > 2 && (*answer)[2] == 0) return "PLC调试器时钟设置成功";
    if (answer->size() > 2 && (*answer)[2] == 1) return "PLC调试器时钟设置失败";
    return "";
}
