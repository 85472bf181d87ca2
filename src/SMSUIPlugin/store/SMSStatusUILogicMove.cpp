// SPDX-License-Identifier: GPL-3.0-or-later
// Move, copy and recover: every one stores the new copy first and removes the old one only
// after the SDK has accepted the new one, so a failure at any step leaves the message in
// at least one storage.
#include "SMSStatusUILogic.h"

#include "SmsLog.h"

namespace {
constexpr int kOpDragMove = 4;
constexpr int kOpMove = 5;
constexpr int kOpCopy = 6;
constexpr int kOpDragCopy = 9;
} // namespace

int SMSStatusUILogic::saveAsNewMessage(const SmsRecord &record, int position, int initialPos,
                                       int *newId)
{
    _UTPS_ST_SMS_RECORD sdk{};
    populateLocalRecordToSDKStructure(&sdk, record);
    sdk.iMsgId = -1;
    sdk.iPos = position;
    sdk.iInitialPos = initialPos;
    int memory = -1;
    const long result = UTPS_SMSSrv_SaveMsg(&sdk, newId, &memory);
    if (result != 0) {
        qCWarning(lcSmsOps) << "UTPS_SMSSrv_SaveMsg returned" << result << "for position"
                            << position;
        return 1;
    }
    return 0;
}

int SMSStatusUILogic::MoveSMS(const SmsRecord &record, int from, int to, int operation)
{
    if (operation != kOpMove && operation != kOpDragMove) {
        qCWarning(lcSmsOps) << "MoveSMS: invalid operation" << operation;
        return 1;
    }
    m_iLastMoveFrom = from;
    m_iLastMoveTo = to;
    int newId = -1;
    const int initialPos = operation == kOpMove ? to : record.enInitialPos;
    if (saveAsNewMessage(record, to, initialPos, &newId) != 0)
        return 1;

    const long removed = UTPS_SMSSrv_RemoveMsg(record.iMsgId, _UTPS_EN_SMS_MEM(GetMemPosition(from)));
    if (removed != 0) {
        // Both copies now exist; the new one shows when its memory is read again.
        qCWarning(lcSmsOps) << "UTPS_SMSSrv_RemoveMsg returned" << removed << "for id"
                            << record.iMsgId << "- the message now exists twice";
        return 1;
    }
    announceRemoval(record.iMsgId, from, GetMemPosition(from), true);
    return readAndFile(newId, GetMemPosition(to));
}

int SMSStatusUILogic::CopySMS(const SmsRecord &record, int from, int to, int operation)
{
    if (operation != kOpCopy && operation != kOpDragCopy) {
        qCWarning(lcSmsOps) << "CopySMS: invalid operation" << operation;
        return 1;
    }
    m_iLastMoveFrom = from;
    m_iLastMoveTo = to;
    int newId = -1;
    const int initialPos = operation == kOpCopy ? to : record.enInitialPos;
    if (saveAsNewMessage(record, to, initialPos, &newId) != 0)
        return 1;
    return readAndFile(newId, GetMemPosition(to));
}

int SMSStatusUILogic::RecoverSMS(const SmsRecord &record, int position, int memory)
{
    int newId = -1;
    _UTPS_ST_SMS_RECORD converted{};
    populateLocalRecordToSDKStructure(&converted, record);
    if (saveAsNewMessage(record, record.enInitialPos, converted.iInitialPos, &newId) != 0)
        return 1;
    const long removed = UTPS_SMSSrv_RemoveMsg(record.iMsgId, _UTPS_EN_SMS_MEM(memory));
    if (removed != 0) {
        qCWarning(lcSmsOps) << "UTPS_SMSSrv_RemoveMsg returned" << removed << "for id"
                            << record.iMsgId << "- the message now exists twice";
        return 1;
    }
    announceRemoval(record.iMsgId, position, memory, true);
    // The copy goes back to the storage of its folder of origin. Only PC messages reach the
    // trash through delete, but a drag from a SIM or device inbox can put one there too,
    // so the copy is read from the origin's storage rather than always from the PC.
    const int originMemory = GetMemPosition(record.enInitialPos);
    return readAndFile(newId, originMemory == EN_POS_INVALID ? int(UTPS_SMS_MEM_PC) : originMemory);
}
