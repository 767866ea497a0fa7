#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

// The J-Link run-time library's C interface, as far as Corvane binds it. The
// binding only takes the types of these prototypes (decltype); nothing links
// against them. The stand-in probe library defines them, so a prototype that
// drifts from the one the binding calls through fails to compile there.

extern "C" {

// One probe as JLINK_EMU_GetList reports it. Only the serial number is read.
struct JLINKARM_EMU_CONNECT_INFO
{
    uint32_t SerialNumber;
    unsigned Connection; // 1 = USB, 2 = IP
    uint32_t USBAddr;
    uint8_t aIPAddr[16];
    int Time;
    uint64_t Time_us;
    uint32_t HWVersion;
    uint8_t abMACAddr[6];
    char acProduct[32];
    char acNickName[32];
    char acFWString[112];
    char IsDHCPAssignedIP;
    char IsDHCPAssignedIPIsValid;
    char NumIPConnections;
    char NumIPConnectionsIsValid;
    uint8_t aPadding[34];
};

typedef void JLINK_FLASH_PROGRESS_CB_FUNC(const char *sAction, const char *sProg, int Percentage);
typedef void JLINKARM_LOG(const char *sErr);

int JLINK_EMU_GetList(int HostIFs, JLINKARM_EMU_CONNECT_INFO *pInfo, int MaxInfos);
char JLINK_IsOpen(void);
char JLINK_EMU_IsConnected(void);
char JLINK_IsConnected(void);
int JLINK_EMU_SelectByUSBSN(unsigned SerialNo);
const char *JLINK_Open(void);
void JLINK_Close(void);
int JLINK_ExecCommand(const char *In, char *Out, int Size);
int JLINK_Connect(void);
int JLINK_GetSN(void);
void JLINK_SetSpeed(uint32_t Speed);
uint32_t JLINK_GetSpeed(void);
void JLINK_SetMaxSpeed(void);
int JLINK_TIF_Select(int Interface);
int JLINK_EraseChip(void);
void JLINK_SetFlashProgProgressCallback(JLINK_FLASH_PROGRESS_CB_FUNC *pfOnFlashProgess);
void JLINK_BeginDownload(uint32_t Flags);
int JLINK_EndDownload(void);
int JLINK_WriteMemEx(uint32_t Addr, uint32_t NumBytes, const void *p, uint32_t Flags);
int JLINK_DownloadFile(const char *sFileName, uint32_t Addr);
int JLINK_Reset(void);
void JLINK_Go(void);
char JLINK_Halt(void);
char JLINK_IsHalted(void);
int JLINK_GetRegisterList(uint32_t *paList, int MaxNumItems);
const char *JLINK_GetRegisterName(uint32_t RegIndex);
int JLINK_ReadMemEx(uint32_t Addr, uint32_t NumBytes, void *pData, uint32_t Flags);
uint32_t JLINK_ReadReg(int RegIndex);
char JLINK_WriteReg(int RegIndex, uint32_t Data);
void JLINKARM_SetErrorOutHandler(JLINKARM_LOG *pfErrorOut);
int JLINK_RTTERMINAL_Control(uint32_t Cmd, void *p);
int JLINK_RTTERMINAL_Write(unsigned BufferIndex, const char *sBuffer, unsigned BufferSize);
int JLINK_RTTERMINAL_Read(unsigned BufferIndex, char *sBuffer, unsigned BufferSize);

} // extern "C"

static_assert(sizeof(JLINKARM_EMU_CONNECT_INFO) == 264, "the library fills 264-byte records");
static_assert(offsetof(JLINKARM_EMU_CONNECT_INFO, SerialNumber) == 0);

namespace JLinkApi {

// Values the binding passes.
constexpr int kHostInterfaceUsb = 1;
constexpr int kInterfaceSwd = 1;
// The link always runs the probe at this speed; the panel's speed list is
// stored but not applied.
constexpr uint32_t kSpeedKHz = 4000;
constexpr uint32_t kAccessWidth4 = 4;

// Every name the binding looks up, in lookup order; one missing name and the
// library is not bound.
constexpr const char *kFunctionNames[] = {
    "JLINK_EMU_GetList",
    "JLINK_IsOpen",
    "JLINK_EMU_IsConnected",
    "JLINK_IsConnected",
    "JLINK_EMU_SelectByUSBSN",
    "JLINK_Open",
    "JLINK_Close",
    "JLINK_ExecCommand",
    "JLINK_Connect",
    "JLINK_GetSN",
    "JLINK_SetSpeed",
    "JLINK_GetSpeed",
    "JLINK_SetMaxSpeed",
    "JLINK_TIF_Select",
    "JLINK_EraseChip",
    "JLINK_SetFlashProgProgressCallback",
    "JLINK_BeginDownload",
    "JLINK_EndDownload",
    "JLINK_WriteMemEx",
    "JLINK_DownloadFile",
    "JLINK_Reset",
    "JLINK_Go",
    "JLINK_Halt",
    "JLINK_IsHalted",
    "JLINK_GetRegisterList",
    "JLINK_GetRegisterName",
    "JLINK_ReadMemEx",
    "JLINK_ReadReg",
    "JLINK_WriteReg",
    "JLINKARM_SetErrorOutHandler",
    "JLINK_RTTERMINAL_Control",
    "JLINK_RTTERMINAL_Write",
    "JLINK_RTTERMINAL_Read",
};
constexpr std::size_t kFunctionCount = std::size(kFunctionNames);
static_assert(kFunctionCount == 33);

// Positions in kFunctionNames of the functions the binding calls.
enum Function : std::size_t {
    EMU_GetList = 0,
    IsOpen = 1,
    EMU_IsConnected = 2,
    EMU_SelectByUSBSN = 4,
    Open = 5,
    Close = 6,
    ExecCommand = 7,
    Connect = 8,
    SetSpeed = 10,
    TIF_Select = 13,
    WriteMemEx = 18,
    Go = 21,
    Halt = 22,
    ReadMemEx = 26,
};

constexpr bool NameAt(std::size_t index, std::string_view name)
{
    return kFunctionNames[index] == name;
}
static_assert(NameAt(EMU_GetList, "JLINK_EMU_GetList") && NameAt(IsOpen, "JLINK_IsOpen") &&
              NameAt(EMU_IsConnected, "JLINK_EMU_IsConnected") &&
              NameAt(EMU_SelectByUSBSN, "JLINK_EMU_SelectByUSBSN") && NameAt(Open, "JLINK_Open") &&
              NameAt(Close, "JLINK_Close") && NameAt(ExecCommand, "JLINK_ExecCommand") &&
              NameAt(Connect, "JLINK_Connect") && NameAt(SetSpeed, "JLINK_SetSpeed") &&
              NameAt(TIF_Select, "JLINK_TIF_Select") && NameAt(WriteMemEx, "JLINK_WriteMemEx") &&
              NameAt(Go, "JLINK_Go") && NameAt(Halt, "JLINK_Halt") && NameAt(ReadMemEx, "JLINK_ReadMemEx"));

} // namespace JLinkApi
