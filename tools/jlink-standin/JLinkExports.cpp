// The 33 names of the probe library, forwarded to the simulated probe. The
// prototypes come from the binding's own header, so both sides agree.
#include "StandInProbe.h"

#include <string>

namespace {

StandInProbe &Probe()
{
    return StandInProbe::Instance();
}

// Read the configuration file as the library loads, not at the first call.
[[gnu::constructor]] void LoadStartState()
{
    Probe();
}

} // namespace

int JLINK_EMU_GetList(int HostIFs, JLINKARM_EMU_CONNECT_INFO *pInfo, int MaxInfos)
{
    return Probe().EmuGetList(HostIFs, pInfo, MaxInfos);
}

char JLINK_IsOpen(void)
{
    return Probe().IsOpen();
}

char JLINK_EMU_IsConnected(void)
{
    return Probe().EmuIsConnected();
}

char JLINK_IsConnected(void)
{
    return Probe().IsConnected();
}

int JLINK_EMU_SelectByUSBSN(unsigned SerialNo)
{
    return Probe().EmuSelectByUsbSn(SerialNo);
}

const char *JLINK_Open(void)
{
    return Probe().Open();
}

void JLINK_Close(void)
{
    Probe().Close();
}

int JLINK_ExecCommand(const char *In, char *Out, int Size)
{
    return Probe().ExecCommand(In, Out, Size);
}

int JLINK_Connect(void)
{
    return Probe().Connect();
}

int JLINK_GetSN(void)
{
    return Probe().GetSn();
}

void JLINK_SetSpeed(uint32_t Speed)
{
    Probe().SetSpeed(Speed);
}

uint32_t JLINK_GetSpeed(void)
{
    return Probe().GetSpeed();
}

void JLINK_SetMaxSpeed(void)
{
    Probe().Record("JLINK_SetMaxSpeed");
}

int JLINK_TIF_Select(int Interface)
{
    return Probe().TifSelect(Interface);
}

int JLINK_EraseChip(void)
{
    Probe().Record("JLINK_EraseChip");
    return 0;
}

void JLINK_SetFlashProgProgressCallback(JLINK_FLASH_PROGRESS_CB_FUNC *pfOnFlashProgess)
{
    Probe().Record(std::string("JLINK_SetFlashProgProgressCallback ") + (pfOnFlashProgess ? "callback" : "null"));
}

void JLINK_BeginDownload(uint32_t Flags)
{
    Probe().Record("JLINK_BeginDownload " + std::to_string(Flags));
}

int JLINK_EndDownload(void)
{
    Probe().Record("JLINK_EndDownload");
    return 0;
}

int JLINK_WriteMemEx(uint32_t Addr, uint32_t NumBytes, const void *p, uint32_t Flags)
{
    return Probe().WriteMemEx(Addr, NumBytes, p, Flags);
}

int JLINK_DownloadFile(const char *sFileName, uint32_t Addr)
{
    Probe().Record(std::string("JLINK_DownloadFile ") + (sFileName ? sFileName : "null") + " " + std::to_string(Addr));
    return -1; // no flash loader in the stand-in
}

int JLINK_Reset(void)
{
    return Probe().ResetTarget();
}

void JLINK_Go(void)
{
    Probe().Go();
}

char JLINK_Halt(void)
{
    return Probe().Halt();
}

char JLINK_IsHalted(void)
{
    return Probe().IsHalted();
}

int JLINK_GetRegisterList(uint32_t *paList, int MaxNumItems)
{
    (void)paList;
    Probe().Record("JLINK_GetRegisterList " + std::to_string(MaxNumItems));
    return 0;
}

const char *JLINK_GetRegisterName(uint32_t RegIndex)
{
    Probe().Record("JLINK_GetRegisterName " + std::to_string(RegIndex));
    return "";
}

int JLINK_ReadMemEx(uint32_t Addr, uint32_t NumBytes, void *pData, uint32_t Flags)
{
    return Probe().ReadMemEx(Addr, NumBytes, pData, Flags);
}

uint32_t JLINK_ReadReg(int RegIndex)
{
    Probe().Record("JLINK_ReadReg " + std::to_string(RegIndex));
    return 0;
}

char JLINK_WriteReg(int RegIndex, uint32_t Data)
{
    Probe().Record("JLINK_WriteReg " + std::to_string(RegIndex) + " " + std::to_string(Data));
    return 0;
}

void JLINKARM_SetErrorOutHandler(JLINKARM_LOG *pfErrorOut)
{
    Probe().Record(std::string("JLINKARM_SetErrorOutHandler ") + (pfErrorOut ? "handler" : "null"));
}

int JLINK_RTTERMINAL_Control(uint32_t Cmd, void *p)
{
    (void)p;
    Probe().Record("JLINK_RTTERMINAL_Control " + std::to_string(Cmd));
    return 0;
}

int JLINK_RTTERMINAL_Write(unsigned BufferIndex, const char *sBuffer, unsigned BufferSize)
{
    (void)sBuffer;
    Probe().Record("JLINK_RTTERMINAL_Write " + std::to_string(BufferIndex) + " " + std::to_string(BufferSize));
    return 0;
}

// The variant in standin-missing/ leaves this one out, to show that one
// absent name keeps the library from being bound.
#ifndef JLINK_STANDIN_OMIT_RTTERMINAL_READ
int JLINK_RTTERMINAL_Read(unsigned BufferIndex, char *sBuffer, unsigned BufferSize)
{
    (void)sBuffer;
    Probe().Record("JLINK_RTTERMINAL_Read " + std::to_string(BufferIndex) + " " + std::to_string(BufferSize));
    return 0;
}
#endif
