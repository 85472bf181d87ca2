// SPDX-License-Identifier: GPL-3.0-or-later
/*
 * utps_sdk.h - the device SDK: SMS, phone-book, device and network services of the modem.
 *
 * Plain C, usable from C and C++. Every function returns a long: 0 (UTPS_OK) is success,
 * anything else a failure code from the list below. Strings are NUL-terminated UTF-16
 * (UTPS_WCHAR, layout-compatible with char16_t and Qt's ushort, so C++ callers can use
 * QString::fromUtf16 / QString::utf16 directly).
 *
 * Threads: every function may be called from any thread. Events are delivered on the SDK's
 * own event thread, one at a time, in the order they happened, never while the SDK holds
 * one of its locks (a callback may call back into the SDK). After an UnReg/UnRegister call
 * has returned, the callback is never called again; when the unregistration comes from
 * another thread while that callback is running, it waits until the callback returns.
 *
 * The SDK opens its store lazily on the first call. Its data folder is $DIALCREST_HOME,
 * else $XDG_DATA_HOME/dialcrest, else ~/.local/share/dialcrest.
 */
#ifndef UTPS_SDK_H
#define UTPS_SDK_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__) || defined(__clang__)
#define UTPS_API __attribute__((visibility("default")))
#else
#define UTPS_API
#endif

/* One UTF-16 code unit. */
typedef unsigned short UTPS_WCHAR;

/* ---- Result codes ------------------------------------------------------------------ */
#define UTPS_OK 0L                   /* success */
#define UTPS_E_FAILED 1L             /* unspecified failure */
#define UTPS_E_INVALID_ARG 2L        /* null pointer, bad memory, bad position, bad length */
#define UTPS_E_NOT_FOUND 3L          /* no message with that id in that memory, no contact */
#define UTPS_E_STORAGE_FULL 4L       /* the storage has reached its capacity */
#define UTPS_E_NOT_READY 5L          /* storage not readable yet (SIM/device still starting) */
#define UTPS_E_NO_DEVICE 6L          /* no modem plugged in */
#define UTPS_E_NO_SIM 7L             /* no SIM card inserted */
#define UTPS_E_DATABASE 8L           /* the message database failed */
#define UTPS_E_BUSY 9L               /* another thread holds a transaction for too long */
#define UTPS_E_NO_TRANSACTION 10L    /* EndTransaction without BeginTransaction on that memory */
#define UTPS_E_ROLLED_BACK 11L       /* EndTransaction: the commit failed, the batch was undone */
#define UTPS_E_BUFFER_TOO_SMALL 12L  /* an output buffer cannot hold the answer */
#define UTPS_E_SEND_FAILED 13L       /* event 0 status: the network refused the segment */
#define UTPS_E_SEND_CANCELLED 14L    /* event 0 status: the segment was cancelled before it went out */
#define UTPS_E_NO_NETWORK 15L        /* event 0 status: no network / radio off / sending disabled */

/* ---- Storages (memories) ---------------------------------------------------------- */
typedef enum _UTPS_EN_SMS_MEM {
    UTPS_SMS_MEM_PC = 0,     /* the PC's own message store (local) */
    UTPS_SMS_MEM_SIM = 1,    /* the SIM card */
    UTPS_SMS_MEM_DEVICE = 2  /* the modem's own memory (NV) */
} _UTPS_EN_SMS_MEM;

/* Entries of UTPS_SMSSrv_SMSGetMemoryListType (16-bit). */
#define UTPS_MEMLIST_SIM 0
#define UTPS_MEMLIST_DEVICE 1

/* Positions (folders) a record can be in. Memory follows from the position:
 * 0-5, 10 (and 15, written as 0) -> PC; 6-7 -> SIM; 8-9 -> device. */
#define UTPS_POS_PC_OUTBOX 0
#define UTPS_POS_PC_INBOX 1
#define UTPS_POS_PC_DRAFTS 2
#define UTPS_POS_PC_FAVOURITES 3
#define UTPS_POS_PC_TRASH 4
#define UTPS_POS_PC_REPORTS 5
#define UTPS_POS_SIM_OUTBOX 6
#define UTPS_POS_SIM_INBOX 7
#define UTPS_POS_DEVICE_OUTBOX 8
#define UTPS_POS_DEVICE_INBOX 9
#define UTPS_POS_PC_CELL_BROADCAST 10
#define UTPS_POS_PC_SENT_ITEMS 15

/* Message type and class values used in records. */
#define UTPS_MSGTYPE_NORMAL 0
#define UTPS_MSGTYPE_STATUS_REPORT 1
#define UTPS_MSGCLASS_FLASH 0   /* class 0: announced with event 1, never stored */
#define UTPS_MSGCLASS_DEFAULT 3

/* Time text: "yyyyMMddhhmmss", local time, in UTPS_TIME_LEN units including the NUL. */
#define UTPS_TIME_LEN 20

/* The SDK's message record. The fields before the pointers keep the offsets of the 32-bit
 * layout (0, 4, ... 40, time at 44); on 64-bit builds the two pointers are 8 bytes each and
 * aligned after the time array, so copy records with sizeof, never a literal size. */
typedef struct _UTPS_ST_SMS_RECORD {
    int iMsgId;            /*  0: id, unique within its memory; -1 for "not stored yet" */
    int iReadStatus;       /*  4: 1 = unread, 0 = read */
    int iInitialPos;       /*  8: folder of origin (drafts/favourites/trash remember it) */
    int iPos;              /* 12: folder it is in now */
    int iStatus;           /* 16: 0 = sent / delivered, other = not sent / failed */
    int iMsgType;          /* 20: 1 = status report */
    int iMsgClass;         /* 24: 0 = flash (class 0), default 3 */
    int iExtra1;           /* 28: event 0/3: send job number (see CancelSendMsg) */
    int iExtra2;           /* 32: event 0: 1-based segment number */
    int iExtra3;           /* 36: event 0: segment count */
    int iPriority;         /* 40: _UTPS_EN_SMS_PRIORITY, 4 = none */
    UTPS_WCHAR szTime[UTPS_TIME_LEN]; /* 44: "yyyyMMddhhmmss", always NUL-terminated */
    UTPS_WCHAR *pszNumber;  /* number(s), ";"-separated; owned as described per function */
    UTPS_WCHAR *pszContent; /* message text */
} _UTPS_ST_SMS_RECORD;

/* ---- Enumerations ------------------------------------------------------------------ */

/* First int of the event-2 (EVENT_SMS_ONSTATUSCHANGED) data. */
typedef enum _UTPS_EN_SMS_STATUS {
    UTPS_SMS_STATUS_READY = 0,                /* the SMS service (re)started */
    UTPS_SMS_STATUS_SIM_OK = 1,               /* SIM present and its storage readable */
    UTPS_SMS_STATUS_DEVICE_FULL = 2,          /* device storage reached its capacity */
    UTPS_SMS_STATUS_DEVICE_NOT_AVAILABLE = 3, /* the modem was unplugged */
    UTPS_SMS_STATUS_SIM_FULL = 4,             /* SIM storage reached its capacity */
    UTPS_SMS_STATUS_SIM_NOT_AVAILABLE = 5,    /* SIM removed */
    UTPS_SMS_STATUS_PC_FULL = 6,              /* PC storage reached its capacity */
    UTPS_SMS_STATUS_CAN_SEND_SMS = 7,         /* sending became possible */
    UTPS_SMS_STATUS_CANNOT_SEND_SMS = 8       /* sending became impossible */
} _UTPS_EN_SMS_STATUS;

typedef enum _UTPS_EN_SMS_PRIORITY {
    UTPS_SMS_PRIORITY_NORMAL = 0,
    UTPS_SMS_PRIORITY_URGENT = 2,
    UTPS_SMS_PRIORITY_EMERGENCY = 3,
    UTPS_SMS_PRIORITY_NONE = 4
} _UTPS_EN_SMS_PRIORITY;

typedef enum _UTPS_EN_SIMSTATE {
    UTPS_SIMSTATE_ABSENT = 0,
    UTPS_SIMSTATE_READY = 1,
    UTPS_SIMSTATE_PIN_REQUIRED = 2,
    UTPS_SIMSTATE_PUK_REQUIRED = 3,
    UTPS_SIMSTATE_BLOCKED = 4
} _UTPS_EN_SIMSTATE;

/* UTPS_DevSrv_GetDevStatus values. */
#define UTPS_DEV_STATUS_ABSENT 0
#define UTPS_DEV_STATUS_INITIALISING 1
#define UTPS_DEV_STATUS_READY 3

/* UTPS_DevSrv_GetPinStatus states; 1 and 8 mean the SIM can be used. */
#define UTPS_PIN_STATE_NO_SIM 0
#define UTPS_PIN_STATE_READY 1
#define UTPS_PIN_STATE_PIN_REQUIRED 2
#define UTPS_PIN_STATE_PUK_REQUIRED 3
#define UTPS_PIN_STATE_BLOCKED 4
#define UTPS_PIN_STATE_VERIFIED 8

/* UTPS_DevSrv_GetProductType values. */
#define UTPS_PRODUCT_WCDMA 0
#define UTPS_PRODUCT_CDMA 1
#define UTPS_PRODUCT_SCDMA 2

/* UTPS_DevSrv_GetSimType values. */
#define UTPS_SIMTYPE_SIM 0
#define UTPS_SIMTYPE_USIM 1
#define UTPS_SIMTYPE_UIM 2
#define UTPS_SIMTYPE_DUAL 3
#define UTPS_SIMTYPE_RUIM 4

/* UTPS_NetSrv_GetSrvStatus values. */
#define UTPS_SRV_STATUS_NONE 0
#define UTPS_SRV_STATUS_LIMITED 1
#define UTPS_SRV_STATUS_FULL 2   /* registered: messages can go out */

/* Radio switch: both non-zero = radio on. iSoftSwitch is 0 in flight mode. */
typedef struct _UTPS_ST_RF_SWITCH {
    int iSoftSwitch;
    int iHardSwitch;
} _UTPS_ST_RF_SWITCH;

/* ---- Events ------------------------------------------------------------------------ */
/* SMS events (RegCallBack). data is a _UTPS_ST_SMS_RECORD* unless said otherwise; it and the
 * strings in it are valid only during the call: copy what you keep. */
#define EVENT_SMS_ONSENDRESULT 0   /* one per recipient and segment; iStatus 0 = sent */
#define EVENT_SMS_ONRECEIVE 1      /* a message or status report arrived (stored unless class 0) */
#define EVENT_SMS_ONSTATUSCHANGED 2 /* data: int[2] = { _UTPS_EN_SMS_STATUS, memory or -1 } */
#define EVENT_SMS_ONSAVESEND 3     /* the sent copy was stored in the PC outbox */
#define EVENT_SMS_DELETE 5         /* the device deleted a message by itself (id, position) */
/* Phone-book events (UTPS_PBSrv_RegisterPBCallback); data is NULL. */
#define EVENT_PB_PHONEBOOK_READY 20302 /* contacts loaded or changed */
#define EVENT_PB_SIM_READY 20303       /* the SIM's phone book can be read */
/* Device events (UTPS_DevSrv_RegisterDevInitEventCallback); data is NULL. */
#define UTPS_EVENT_DEV_DEVICE_INIT_FINISH 6014   /* a modem was plugged and finished starting */
#define UTPS_EVENT_DEV_DEVICE_REINIT_FINISH 6016 /* the modem restarted (SIM inserted) */

/* Return value is ignored by the SDK. */
typedef int (*UTPS_SMS_CALLBACK)(int event, void *data);
typedef int (*UTPS_PB_CALLBACK)(int event, void *data);
typedef int (*UTPS_DEV_CALLBACK)(int event, void *data);

/* ---- Registration ------------------------------------------------------------------ */
/* Registering the same function twice is harmless (one delivery per event). Unregistering
 * a function that is not registered returns UTPS_E_NOT_FOUND. NULL: UTPS_E_INVALID_ARG. */
UTPS_API long UTPS_SMSSrv_RegCallBack(UTPS_SMS_CALLBACK callback);
UTPS_API long UTPS_SMSSrv_UnRegCallBack(UTPS_SMS_CALLBACK callback);
UTPS_API long UTPS_PBSrv_RegisterPBCallback(UTPS_PB_CALLBACK callback);
UTPS_API long UTPS_PBSrv_UnRegisterPBCallback(UTPS_PB_CALLBACK callback);
UTPS_API long UTPS_DevSrv_RegisterDevInitEventCallback(UTPS_DEV_CALLBACK callback);
UTPS_API long UTPS_DevSrv_UnRegisterDevInitEventCallback(UTPS_DEV_CALLBACK callback);

/* ---- Reading a storage ------------------------------------------------------------- */
/* Number of messages stored in memory. Also the readiness probe: UTPS_E_NO_SIM /
 * UTPS_E_NO_DEVICE / UTPS_E_NOT_READY while the storage cannot be read. */
UTPS_API long UTPS_SMSSrv_SMSRecordSetGetRecordCount(int *count, _UTPS_EN_SMS_MEM memory);

/* Ids of every message of memory, ascending. *ids receives an SDK-owned array (NULL when
 * the count is 0) that the caller releases with UTPS_SMSSrv_ReleaseSmsIdList(&ids). */
UTPS_API long UTPS_SMSSrv_GetSmsIdList(int **ids, int *count, _UTPS_EN_SMS_MEM memory);
/* Frees an id array and sets *ids to NULL. ids == NULL or *ids == NULL is a no-op (0). */
UTPS_API long UTPS_SMSSrv_ReleaseSmsIdList(int **ids);

/* Creates an SDK-owned record: id -1, unread 0, class 3, priority from the SMS settings,
 * time now, number and content copied (NULL gives empty strings). The string pointers
 * stay valid until release. Release with UTPS_SMSSrv_ReleaseSMSRecord(&record). */
UTPS_API long UTPS_SMSSrv_CreateSMSRecord(_UTPS_ST_SMS_RECORD **record, const UTPS_WCHAR *number,
                                          const UTPS_WCHAR *content);
/* Frees a record made by CreateSMSRecord and sets *record to NULL. NULL / *NULL: no-op.
 * A pointer the SDK did not create is refused with UTPS_E_INVALID_ARG. */
UTPS_API long UTPS_SMSSrv_ReleaseSMSRecord(_UTPS_ST_SMS_RECORD **record);

/* Fills an SDK-created record from the message record->iMsgId of memory. Its number and
 * content pointers are replaced by SDK-owned copies valid until the next GetMsg on that
 * record or its release. Records the SDK did not create: UTPS_E_INVALID_ARG. */
UTPS_API long UTPS_SMSSrv_GetMsg(_UTPS_ST_SMS_RECORD *record, _UTPS_EN_SMS_MEM memory);

/* ---- Changing a storage ------------------------------------------------------------ */
/* Stores a new message in the memory of record->iPos (6-7 SIM, 8-9 device, otherwise PC;
 * position 15 is stored as 0). The id in the record is ignored. *newId receives the new
 * id; *memory (may be NULL) receives the memory it went to. The record may be the
 * caller's own (stack) record; its strings are copied. UTPS_E_STORAGE_FULL at capacity
 * (and event 2 with the storage's full code). */
UTPS_API long UTPS_SMSSrv_SaveMsg(const _UTPS_ST_SMS_RECORD *record, int *newId, int *memory);
/* Rewrites the stored message record->iMsgId in the memory of record->iPos with every
 * field of the record (the position may change within the same memory). */
UTPS_API long UTPS_SMSSrv_UpdateMsg(const _UTPS_ST_SMS_RECORD *record);
/* Deletes the message for good. */
UTPS_API long UTPS_SMSSrv_RemoveMsg(int id, _UTPS_EN_SMS_MEM memory);
/* PC: moves the message to the trash (position 4, initial position kept); a message
 * already in the trash is deleted for good. SIM and device have no trash: deleted. */
UTPS_API long UTPS_SMSSrv_DeleteMsg(int id, _UTPS_EN_SMS_MEM memory);

/* Transactions. Begin/End bracket a batch on one memory as one database transaction:
 * 1,000 deletes are one commit. Brackets nest (also across memories); the commit happens
 * when the last one closes. While a thread holds a bracket, writes from other threads wait
 * for it (up to 10 s, then UTPS_E_BUSY), so nothing of theirs is rolled back with it.
 * Inside the batch every call keeps its own result: a failed call changes nothing and the
 * batch goes on. If the commit fails (EndTransaction returns UTPS_E_ROLLED_BACK), the
 * whole batch is undone and the store is as it was before BeginTransaction. A bracket left
 * open at SimCtl_Shutdown / SimCtl_Reset / process exit is undone the same way.
 * Events of the batch (storage full) are sent as the calls happen. */
UTPS_API long UTPS_SMSSrv_BeginTransaction(_UTPS_EN_SMS_MEM memory);
UTPS_API long UTPS_SMSSrv_EndTransaction(_UTPS_EN_SMS_MEM memory);

/* Capacity and number of stored messages of memory; full when used == capacity. */
UTPS_API long UTPS_SMSSrv_GetRecordInfo(int *capacity, int *used, _UTPS_EN_SMS_MEM memory);

/* Storages other than the PC that exist now (SIM inserted, device plugged): 16-bit types
 * UTPS_MEMLIST_SIM / UTPS_MEMLIST_DEVICE. types NULL: *count receives how many. Otherwise
 * *count is the array length in and the number written out (UTPS_E_BUFFER_TOO_SMALL when
 * too short; the array is then filled as far as it goes). */
UTPS_API long UTPS_SMSSrv_SMSGetMemoryListType(unsigned short *types, unsigned short *count);

/* ---- Sending ----------------------------------------------------------------------- */
/* Sends record->pszContent to every number of record->pszNumber (";"-separated, empty parts
 * skipped). Returns at once; the result comes as events: for each recipient and each
 * segment one EVENT_SMS_ONSENDRESULT (record with that recipient, iStatus 0 sent, else
 * UTPS_E_SEND_FAILED / UTPS_E_NO_NETWORK / ..., iExtra1 job, iExtra2 segment, iExtra3
 * segment count), then the sent copy is stored in the PC outbox (status 0 when every part
 * went out, else 1) and announced with EVENT_SMS_ONSAVESEND (iMsgId -1 when the copy could
 * not be stored, e.g. PC storage full). Delivery reports (when receipt notification is on)
 * and messages to the modem's own number arrive afterwards as event 1. Synchronous failures
 * (no device, no SIM, no recipient, NULL content) send nothing and no event. The record may
 * be the caller's own; it is copied. Sends go out one after the other, in call order. */
UTPS_API long UTPS_SMSSrv_SendMsg(const _UTPS_ST_SMS_RECORD *record);
/* Cancels segments that have not gone out yet: each still gets its event 0 at once, with
 * status UTPS_E_SEND_CANCELLED, so every send yields recipients x segments events 0.
 * *handle 0 cancels every send in progress, another value only the job with that number
 * (iExtra1 of the send events). The cancelled send still ends with its stored copy
 * (status 1) and event 3. Nothing to cancel is not an error. NULL: UTPS_E_INVALID_ARG. */
UTPS_API long UTPS_SMSSrv_CancelSendMsg(int *handle);
/* Number of segments the text needs (7-bit: 160, 153 per part, extension characters count
 * two; otherwise UCS-2: 70, 67 units per part, surrogate pairs never split). Empty: 1. */
UTPS_API long UTPS_SMSSrv_GetMsgSplitCount(const UTPS_WCHAR *text, int *count);

/* ---- SMS settings (persisted) ------------------------------------------------------ */
/* Centre number into buffer (length in units incl. NUL); *type receives 145 for an
 * international number (leading "+"), else 129. */
UTPS_API long UTPS_SMSSrv_GetSMSCentreNumber(int *type, UTPS_WCHAR *buffer, int length);
/* At most 20 characters of "+" and digits; NULL or empty: UTPS_E_INVALID_ARG. */
UTPS_API long UTPS_SMSSrv_SetSMSCentreNumber(const UTPS_WCHAR *number);
/* Validity period in seconds (default 2592000); set accepts 300 .. 63072000. */
UTPS_API long UTPS_SMSSrv_GetSMSValidityPeriod(int *seconds);
UTPS_API long UTPS_SMSSrv_SetSMSValidityPeriod(int seconds);
/* Priority of new messages (default UTPS_SMS_PRIORITY_NORMAL); 0, 2, 3 or 4. */
UTPS_API long UTPS_SMSSrv_SMSGetPriority(_UTPS_EN_SMS_PRIORITY *priority);
UTPS_API long UTPS_SMSSrv_SMSSetPriority(_UTPS_EN_SMS_PRIORITY priority);
/* Delivery reports requested (non-zero) or not (default 0). */
UTPS_API long UTPS_SMSSrv_GetSMSReceiptNotify(int *on);
UTPS_API long UTPS_SMSSrv_SetSMSReceiptNotify(int on);

/* ---- Phone book -------------------------------------------------------------------- */
/* Looks the number up in the contacts (a number written with or without its country
 * prefix or trunk zero matches). Found: 0, *name receives a new[]-allocated copy of the
 * name (at most maxLength units incl. NUL) that the caller frees with delete[], and *value
 * the contact's id. Not found: UTPS_E_NOT_FOUND and *name = NULL. */
UTPS_API long UTPS_PBSrv_FindNameByNumber(const UTPS_WCHAR *number, UTPS_WCHAR **name, int maxLength,
                                          int *value);

/* ---- Device, SIM and network status ------------------------------------------------ */
UTPS_API long UTPS_DevSrv_GetDevStatus(int *status);                  /* UTPS_DEV_STATUS_* */
/* reserved must be 0; the three bytes (each may be NULL) receive the remaining PIN, PUK
 * and PIN2 attempts. */
UTPS_API long UTPS_DevSrv_GetPinStatus(int reserved, int *state, unsigned char *pinAttempts,
                                       unsigned char *pukAttempts, unsigned char *pin2Attempts);
UTPS_API long UTPS_DevSrv_GetSimStatus(_UTPS_EN_SIMSTATE *state);
UTPS_API long UTPS_DevSrv_GetSimType(int *type);                      /* UTPS_SIMTYPE_* */
UTPS_API long UTPS_DevSrv_GetProductType(int *type);                  /* UTPS_PRODUCT_* */
UTPS_API long UTPS_DevSrv_GetRFSwitch(_UTPS_ST_RF_SWITCH *rf);
/* *multiMode receives 1 for a multi-mode (dual-mode) card, else 0; reserved1/2 must be 0. */
UTPS_API long UTPS_DevSrv_GetMultiModeCardStatus(int *multiMode, int reserved1, int reserved2);
UTPS_API long UTPS_NetSrv_GetSrvStatus(int *status);                  /* UTPS_SRV_STATUS_* */
/* The status calls other than GetDevStatus answer UTPS_E_NO_DEVICE without a modem. */

/* ---- The message database ---------------------------------------------------------- */
/* Why the PC's message database cannot be written; UTPS_STORE_OK when it can. */
typedef enum _UTPS_EN_STORE_STATE {
    UTPS_STORE_OK = 0,
    UTPS_STORE_NO_SPACE = 1,      /* the disk is full (or a file-size limit was reached) */
    UTPS_STORE_NO_PERMISSION = 2, /* the data folder or the file may not be written */
    UTPS_STORE_LOCKED = 3,        /* another program holds the database */
    UTPS_STORE_IO_ERROR = 4,      /* the disk reported a read or write error */
    UTPS_STORE_FAILED = 5         /* any other reason (e.g. a damaged file that could not be moved) */
} _UTPS_EN_STORE_STATE;
/* *state receives the database's condition (_UTPS_EN_STORE_STATE). While it is not
 * UTPS_STORE_OK, every call that would store something fails (UTPS_E_DATABASE, arrivals
 * are refused and stay with the network), nothing is kept in memory only, and the SDK tries
 * the database again at most once a second, also when this function is called, so polling
 * it shows when the folder can be used again. A damaged database (one SQLite calls corrupt)
 * is the only file ever moved aside, under a name that never replaces another file, and a
 * new one is started. path and aside may be NULL; otherwise *path receives the database's
 * path and *aside the path a damaged database was moved to since the SDK started (NULL when
 * none), both new[]-allocated for the caller to free with delete[]. */
UTPS_API long UTPS_SMSSrv_GetStoreState(int *state, UTPS_WCHAR **path, UTPS_WCHAR **aside);

/* ---- Misc -------------------------------------------------------------------------- */
/* The SDK's log folder, ending in "/". *directory receives a new[]-allocated string the
 * caller frees with delete[]. */
UTPS_API long UTPS_GetLogDirectory(UTPS_WCHAR **directory);

#ifdef __cplusplus
} /* extern "C" */

static_assert(sizeof(UTPS_WCHAR) == sizeof(char16_t), "UTPS_WCHAR must be one UTF-16 unit");
static_assert(offsetof(_UTPS_ST_SMS_RECORD, iReadStatus) == 4, "record layout");
static_assert(offsetof(_UTPS_ST_SMS_RECORD, iInitialPos) == 8, "record layout");
static_assert(offsetof(_UTPS_ST_SMS_RECORD, iPos) == 12, "record layout");
static_assert(offsetof(_UTPS_ST_SMS_RECORD, iStatus) == 16, "record layout");
static_assert(offsetof(_UTPS_ST_SMS_RECORD, iMsgType) == 20, "record layout");
static_assert(offsetof(_UTPS_ST_SMS_RECORD, iMsgClass) == 24, "record layout");
static_assert(offsetof(_UTPS_ST_SMS_RECORD, iExtra1) == 28, "record layout");
static_assert(offsetof(_UTPS_ST_SMS_RECORD, iExtra2) == 32, "record layout");
static_assert(offsetof(_UTPS_ST_SMS_RECORD, iExtra3) == 36, "record layout");
static_assert(offsetof(_UTPS_ST_SMS_RECORD, iPriority) == 40, "record layout");
static_assert(offsetof(_UTPS_ST_SMS_RECORD, szTime) == 44, "record layout");
static_assert(offsetof(_UTPS_ST_SMS_RECORD, pszNumber) >= 84, "pointers follow the time array");
#endif

#endif /* UTPS_SDK_H */
