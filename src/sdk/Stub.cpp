// Temporary: every call fails until the implementation lands.
#include "utps_sdk.h"
#include "sdk_simulator.h"

extern "C" long UTPS_SMSSrv_RegCallBack(UTPS_SMS_CALLBACK /*callback*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_SMSSrv_UnRegCallBack(UTPS_SMS_CALLBACK /*callback*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_PBSrv_RegisterPBCallback(UTPS_PB_CALLBACK /*callback*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_PBSrv_UnRegisterPBCallback(UTPS_PB_CALLBACK /*callback*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_DevSrv_RegisterDevInitEventCallback(UTPS_DEV_CALLBACK /*callback*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_DevSrv_UnRegisterDevInitEventCallback(UTPS_DEV_CALLBACK /*callback*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_SMSSrv_SMSRecordSetGetRecordCount(int */*count*/, _UTPS_EN_SMS_MEM /*memory*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_SMSSrv_GetSmsIdList(int **/*ids*/, int */*count*/, _UTPS_EN_SMS_MEM /*memory*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_SMSSrv_ReleaseSmsIdList(int **/*ids*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_SMSSrv_CreateSMSRecord(_UTPS_ST_SMS_RECORD **/*record*/, const UTPS_WCHAR */*number*/, const UTPS_WCHAR */*content*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_SMSSrv_ReleaseSMSRecord(_UTPS_ST_SMS_RECORD **/*record*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_SMSSrv_GetMsg(_UTPS_ST_SMS_RECORD */*record*/, _UTPS_EN_SMS_MEM /*memory*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_SMSSrv_SaveMsg(const _UTPS_ST_SMS_RECORD */*record*/, int */*newId*/, int */*memory*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_SMSSrv_UpdateMsg(const _UTPS_ST_SMS_RECORD */*record*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_SMSSrv_RemoveMsg(int /*id*/, _UTPS_EN_SMS_MEM /*memory*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_SMSSrv_DeleteMsg(int /*id*/, _UTPS_EN_SMS_MEM /*memory*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_SMSSrv_BeginTransaction(_UTPS_EN_SMS_MEM /*memory*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_SMSSrv_EndTransaction(_UTPS_EN_SMS_MEM /*memory*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_SMSSrv_GetRecordInfo(int */*capacity*/, int */*used*/, _UTPS_EN_SMS_MEM /*memory*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_SMSSrv_SMSGetMemoryListType(unsigned short */*types*/, unsigned short */*count*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_SMSSrv_SendMsg(const _UTPS_ST_SMS_RECORD */*record*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_SMSSrv_CancelSendMsg(int */*handle*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_SMSSrv_GetMsgSplitCount(const UTPS_WCHAR */*text*/, int */*count*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_SMSSrv_GetSMSCentreNumber(int */*type*/, UTPS_WCHAR */*buffer*/, int /*length*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_SMSSrv_SetSMSCentreNumber(const UTPS_WCHAR */*number*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_SMSSrv_GetSMSValidityPeriod(int */*seconds*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_SMSSrv_SetSMSValidityPeriod(int /*seconds*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_SMSSrv_SMSGetPriority(_UTPS_EN_SMS_PRIORITY */*priority*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_SMSSrv_SMSSetPriority(_UTPS_EN_SMS_PRIORITY /*priority*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_SMSSrv_GetSMSReceiptNotify(int */*on*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_SMSSrv_SetSMSReceiptNotify(int /*on*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_PBSrv_FindNameByNumber(const UTPS_WCHAR */*number*/, UTPS_WCHAR **/*name*/, int /*maxLength*/, int */*value*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_DevSrv_GetDevStatus(int */*status*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_DevSrv_GetPinStatus(int /*reserved*/, int */*state*/, unsigned char */*pinAttempts*/, unsigned char */*pukAttempts*/, unsigned char */*pin2Attempts*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_DevSrv_GetSimStatus(_UTPS_EN_SIMSTATE */*state*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_DevSrv_GetSimType(int */*type*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_DevSrv_GetProductType(int */*type*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_DevSrv_GetRFSwitch(_UTPS_ST_RF_SWITCH */*rf*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_DevSrv_GetMultiModeCardStatus(int */*multiMode*/, int /*reserved1*/, int /*reserved2*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_NetSrv_GetSrvStatus(int */*status*/) { return UTPS_E_FAILED; }
extern "C" long UTPS_GetLogDirectory(UTPS_WCHAR **/*directory*/) { return UTPS_E_FAILED; }
extern "C" long SimCtl_Reset(void) { return UTPS_E_FAILED; }
extern "C" long SimCtl_Shutdown(void) { return UTPS_E_FAILED; }
extern "C" long SimCtl_WaitIdle(int /*timeoutMs*/) { return UTPS_E_FAILED; }
extern "C" long SimCtl_SetDemoSeed(int /*enabled*/) { return UTPS_E_FAILED; }
extern "C" long SimCtl_SeedDemo(void) { return UTPS_E_FAILED; }
extern "C" long SimCtl_InjectMessage(int /*storage*/, const char */*sender*/, const char */*text*/, const char */*time*/, int /*msgClass*/, int */*id*/) { return UTPS_E_FAILED; }
extern "C" long SimCtl_InjectStatusReport(const char */*recipient*/, int /*status*/, const char */*text*/, int */*id*/) { return UTPS_E_FAILED; }
extern "C" long SimCtl_InjectCellBroadcast(const char */*channel*/, const char */*text*/, int */*id*/) { return UTPS_E_FAILED; }
extern "C" long SimCtl_DeviceDeleteMsg(int /*memory*/, int /*id*/) { return UTPS_E_FAILED; }
extern "C" long SimCtl_SetSimInserted(int /*inserted*/) { return UTPS_E_FAILED; }
extern "C" long SimCtl_SetDevicePlugged(int /*plugged*/) { return UTPS_E_FAILED; }
extern "C" long SimCtl_SetStorageUnreadable(int /*memory*/, int /*probes*/, int /*durationMs*/) { return UTPS_E_FAILED; }
extern "C" long SimCtl_SetNetworkRegistered(int /*registered*/) { return UTPS_E_FAILED; }
extern "C" long SimCtl_SetFlightMode(int /*on*/) { return UTPS_E_FAILED; }
extern "C" long SimCtl_SetCanSend(int /*canSend*/) { return UTPS_E_FAILED; }
extern "C" long SimCtl_SetPinState(int /*state*/, int /*pinAttempts*/, int /*pukAttempts*/) { return UTPS_E_FAILED; }
extern "C" long SimCtl_SetProductType(int /*type*/) { return UTPS_E_FAILED; }
extern "C" long SimCtl_SetSimType(int /*type*/) { return UTPS_E_FAILED; }
extern "C" long SimCtl_SetMultiModeCard(int /*multiMode*/) { return UTPS_E_FAILED; }
extern "C" long SimCtl_RaiseStatus(int /*status*/, int /*memory*/) { return UTPS_E_FAILED; }
extern "C" long SimCtl_ScriptSendOutcome(const char */*pattern*/, long /*result*/) { return UTPS_E_FAILED; }
extern "C" long SimCtl_ClearSendScript(void) { return UTPS_E_FAILED; }
extern "C" long SimCtl_SetSendFailureRate(double /*rate*/, unsigned int /*seed*/) { return UTPS_E_FAILED; }
extern "C" long SimCtl_SetSendDelay(int /*ms*/) { return UTPS_E_FAILED; }
extern "C" long SimCtl_SetOwnNumber(const char */*number*/) { return UTPS_E_FAILED; }
extern "C" long SimCtl_SetCapacity(int /*memory*/, int /*capacity*/) { return UTPS_E_FAILED; }
extern "C" long SimCtl_SetReceiveStorage(int /*memory*/) { return UTPS_E_FAILED; }
extern "C" long SimCtl_GetReceiveStorage(int */*memory*/) { return UTPS_E_FAILED; }
extern "C" long SimCtl_FailNextCalls(const char */*function*/, int /*count*/, long /*result*/) { return UTPS_E_FAILED; }
extern "C" long SimCtl_ClearFaults(void) { return UTPS_E_FAILED; }
extern "C" long SimCtl_AddContact(const char */*name*/, const char */*number*/, int */*id*/) { return UTPS_E_FAILED; }
extern "C" long SimCtl_RemoveContact(int /*id*/) { return UTPS_E_FAILED; }
extern "C" long SimCtl_ListContacts(SimCtlContact **/*contacts*/, int */*count*/) { return UTPS_E_FAILED; }
extern "C" long SimCtl_ReleaseContacts(SimCtlContact **/*contacts*/, int /*count*/) { return UTPS_E_FAILED; }
