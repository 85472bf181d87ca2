// SPDX-License-Identifier: GPL-3.0-or-later
// Which folder accepts messages dragged from which other folder.
#include "SMSStatusUILogic.h"

#include <initializer_list>

namespace {

bool oneOf(int target, std::initializer_list<int> accepted)
{
    for (int position : accepted) {
        if (position == target)
            return true;
    }
    return false;
}

} // namespace

bool SMSStatusUILogic::IsAcceptDrop(int source, int target)
{
    if ((source == EN_SIM_OUTBOX || source == EN_DEVICE_OUTBOX) && isHaveSendItemsBox()) {
        std::function<bool(int)> hook;
        {
            QMutexLocker locker(&m_bufferMutex);
            hook = m_acceptDropHook;
        }
        if (hook && !hook(target))
            return false;
    }
    switch (source) {
    case EN_LOCAL_OUTBOX:
        return isLocalOutboxAcceptDrop(target);
    case EN_LOCAL_SENTITEMS:
        return isLocalSentItemsBoxAcceptDrop(target);
    case EN_LOCAL_INBOX:
        return isLocalInboxAcceptDrop(target);
    case EN_LOCAL_DRAFT:
        return isLocalDraftAcceptDrop(target);
    case EN_LOCAL_FAVORITE:
        return isLocalImpAcceptDrop(target);
    case EN_LOCAL_TRASH:
        return isLocalDeleteAcceptDrop(target);
    case EN_SIM_OUTBOX:
        return isSIMOutboxAcceptDrop(target);
    case EN_SIM_INBOX:
        return isSIMInboxAcceptDrop(target);
    case EN_DEVICE_OUTBOX:
        return isNVOutboxAcceptDrop(target);
    case EN_DEVICE_INBOX:
        return isNVInboxlAcceptDrop(target);
    default:
        return false;
    }
}

bool SMSStatusUILogic::isLocalOutboxAcceptDrop(int target)
{
    return oneOf(target, {EN_LOCAL_DRAFT, EN_LOCAL_FAVORITE, EN_LOCAL_TRASH})
        || (m_bPCToCard && oneOf(target, {EN_SIM_OUTBOX, EN_DEVICE_OUTBOX}));
}

bool SMSStatusUILogic::isLocalSentItemsBoxAcceptDrop(int target)
{
    return isLocalOutboxAcceptDrop(target);
}

bool SMSStatusUILogic::isLocalInboxAcceptDrop(int target)
{
    return oneOf(target, {EN_LOCAL_DRAFT, EN_LOCAL_FAVORITE, EN_LOCAL_TRASH})
        || (m_bPCToCard && oneOf(target, {EN_SIM_INBOX, EN_DEVICE_INBOX}));
}

bool SMSStatusUILogic::isLocalDraftAcceptDrop(int target)
{
    return oneOf(target, {EN_LOCAL_FAVORITE, EN_LOCAL_TRASH});
}

bool SMSStatusUILogic::isLocalImpAcceptDrop(int target)
{
    return oneOf(target, {EN_LOCAL_DRAFT, EN_LOCAL_TRASH});
}

bool SMSStatusUILogic::isLocalDeleteAcceptDrop(int target)
{
    return oneOf(target, {EN_LOCAL_DRAFT, EN_LOCAL_FAVORITE});
}

bool SMSStatusUILogic::isSIMOutboxAcceptDrop(int target)
{
    return oneOf(target, {EN_LOCAL_OUTBOX, EN_LOCAL_DRAFT, EN_LOCAL_FAVORITE, EN_LOCAL_TRASH,
                          EN_DEVICE_OUTBOX, EN_LOCAL_SENTITEMS});
}

bool SMSStatusUILogic::isSIMInboxAcceptDrop(int target)
{
    return oneOf(target, {EN_LOCAL_INBOX, EN_LOCAL_DRAFT, EN_LOCAL_FAVORITE, EN_LOCAL_TRASH,
                          EN_DEVICE_INBOX});
}

bool SMSStatusUILogic::isNVOutboxAcceptDrop(int target)
{
    return oneOf(target, {EN_LOCAL_OUTBOX, EN_LOCAL_DRAFT, EN_LOCAL_FAVORITE, EN_LOCAL_TRASH,
                          EN_SIM_OUTBOX, EN_LOCAL_SENTITEMS});
}

bool SMSStatusUILogic::isNVInboxlAcceptDrop(int target)
{
    return oneOf(target, {EN_LOCAL_INBOX, EN_LOCAL_DRAFT, EN_LOCAL_FAVORITE, EN_LOCAL_TRASH,
                          EN_SIM_INBOX});
}
