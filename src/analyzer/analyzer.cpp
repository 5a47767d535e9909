#include "analyzer/analyzer.h"

#include "analyzer/field_printers.h"
#include "link/field_tables.h"
#include "link/module_command.h"

DecodedControlField DecodeControlField(const ByteString& frame) {
    const uint8_t c = FrameByte(frame, 3);
    DecodedControlField cf;
    cf.direction = (c >> 7) & 1;
    cf.startFlag = (c >> 6) & 1;
    cf.respFlag = (c >> 5) & 1;
    cf.channelType = (c >> 3) & 3;
    return cf;
}

void AnalyzeFrame(const ByteString& frame, std::string& text) {
    PrintControlField(frame, text);
    DispatchCommandAnalyzer(frame, text);
}

void PrintControlField(const ByteString& frame, std::string& text) {
    const DecodedControlField cf = DecodeControlField(frame);
    text += "控制域解析信息：\r\n";
    PrintDirection(cf, text);
    PrintStartFlag(cf, text);
    PrintRespFlag(cf, text);
    PrintChannelType(cf, text);
}

void PrintDirection(const DecodedControlField& cf, std::string& text) {
    text += "帧方向：  ";
    text += TextOfCode(kDirectionNames, cf.direction, "");
    text += ",";
    text += kCrLf;
}

void PrintStartFlag(const DecodedControlField& cf, std::string& text) {
    text += "启动标志位：  ";
    text += TextOfCode(kInitiatorNames, cf.startFlag, "");
    text += kCrLf;
}

void PrintRespFlag(const DecodedControlField& cf, std::string& text) {
    text += "RESP:     ";
    text += TextOfCode(kReplyStatusNames, cf.respFlag, "");
    text += "帧，";
    text += kCrLf;
}

void PrintChannelType(const DecodedControlField& cf, std::string& text) {
    text += "CHAN TYPE:    ";
    text += TextOfCode(kChannelTypeNames, cf.channelType, "");
    text += "\r\n\r\n";
}

int GetDirectionBit(const ByteString& frame) { return (FrameByte(frame, 3) >> 7) & 1; }

int GetRespBit(const ByteString& frame) { return (FrameByte(frame, 3) >> 5) & 1; }

void AnalyzeUnknownCommand(const ByteString& frame, std::string& text) {
    if (GetDirectionBit(frame) == 0) {
        text += "无效的命令字";
        return;
    }
    text += "指令无效\n";
    PrintStatusLine(FrameByte(frame, FrameReader::kFirstDataByte), text);
}

void DispatchCommandAnalyzer(const ByteString& frame, std::string& text) {
    switch (FrameByte(frame, 4)) {
        case CMD_MODULE_RESTART: AnalyzeModuleRestart(frame, text); break;
        case CMD_READ_VERSION: AnalyzeReadVersion(frame, text); break;
        case CMD_READ_MAC_ADDRESS: AnalyzeReadMacAddress(frame, text); break;
        case CMD_READ_LOCAL_PASSWORD: AnalyzeReadLocalPassword(frame, text); break;
        case CMD_SET_LOCAL_PASSWORD: AnalyzeSetLocalPassword(frame, text); break;
        case CMD_READ_COMM_ADDRESS: AnalyzeReadCommAddress(frame, text); break;
        case CMD_SET_COMM_ADDRESS: AnalyzeSetCommAddress(frame, text); break;
        case CMD_READ_NETWORK_PARAMS: AnalyzeReadNetworkParams(frame, text); break;
        case CMD_SET_NETWORK_PARAMS: AnalyzeSetNetworkParams(frame, text); break;
        case CMD_SEND_DATA: AnalyzeSendData(frame, text); break;
        case CMD_RECEIVE_DATA: AnalyzeReceiveData(frame, text); break;
        case CMD_START_SEARCH: AnalyzeStartSearch(frame, text); break;
        case CMD_STOP_SEARCH: AnalyzeStopSearch(frame, text); break;
        case CMD_SEARCH_REPORT: AnalyzeSearchReport(frame, text); break;
        case CMD_REQUEST_SEARCH_ATTRIBUTE: AnalyzeRequestSearchAttribute(frame, text); break;
        case CMD_REPLY_SEARCH_ATTRIBUTE: AnalyzeReplySearchAttribute(frame, text); break;
        case CMD_REMOTE_SET_PASSWORD: AnalyzeRemoteSetPassword(frame, text); break;
        case CMD_REMOTE_SET_PASSWORD_SLAVE_REQUEST:
            text += "从机远程设置网络口令请求上报帧";
            text += kCrLf;
            AnalyzeRemoteSetPasswordSlaveRequest(frame, text);
            break;
        case CMD_REMOTE_SET_PASSWORD_REPLY: AnalyzeRemoteSetPasswordReply(frame, text); break;
        case CMD_REMOTE_SET_PASSWORD_REPLY_REPORT: AnalyzeRemoteSetPasswordReplyReport(frame, text); break;
        case CMD_REMOTE_RESTART: AnalyzeRemoteRestart(frame, text); break;
        case CMD_REMOTE_READ_VERSION: AnalyzeRemoteReadVersion(frame, text); break;
        case CMD_REMOTE_READ_MAC_ADDRESS: AnalyzeRemoteReadMacAddress(frame, text); break;
        case CMD_REMOTE_READ_NETWORK_PARAMS: AnalyzeRemoteReadNetworkParams(frame, text); break;
        case CMD_ACTIVE_REPORT: AnalyzeActiveReport(frame, text); break;
        default: AnalyzeUnknownCommand(frame, text); break;
    }
}

// Meter frames get no explanation, by design.
void AnalyzeMeterFrame(const ByteString& /*frame*/, std::string& /*text*/) {}

int AnalyzeStubAccept(const ByteString& /*frame*/, uint32_t, uint32_t, uint32_t) { return 1; }

int AnalyzeStubReject(const ByteString& /*frame*/, std::string& /*text*/) { return 0; }
