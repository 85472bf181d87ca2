// SPDX-License-Identifier: GPL-3.0-or-later
// Effects of a worker batch held back until the SDK has committed it.
//
// Inside a batch the SDK sees every change at once (the worker's own reads follow its
// writes), but the commit at the end may still fail and undo all of them. Whatever the
// store would show of the batch (rows leaving a folder, new copies filed) therefore waits
// here, on the worker's thread, and is applied or thrown away with the commit's outcome.
#include "SMSStatusUILogic.h"

#include "CrossThreadCalls.h"
#include "SmsLog.h"

#include <QThread>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

struct Removal
{
    int id;
    int position;
    int memory;
    bool permanent;
};

struct DeferredEffects
{
    std::vector<std::function<void()>> effects; // filing, in the order the operations ran
    std::vector<SmsRecord *> unfiled;            // converted records waiting to be filed
    std::vector<Removal> removals;               // announced in this order after the commit
};

// One batch per worker thread; other threads (SDK events, the GUI) never see it.
thread_local DeferredEffects *t_deferred = nullptr;

} // namespace

void SMSStatusUILogic::BeginDeferredEffects()
{
    if (t_deferred) {
        qCWarning(lcSmsOps) << "a deferred batch is already open on this thread";
        return;
    }
    t_deferred = new DeferredEffects;
}

void SMSStatusUILogic::ApplyDeferredEffects()
{
    DeferredEffects *batch = t_deferred;
    t_deferred = nullptr;
    if (!batch)
        return;
    for (const auto &effect : batch->effects)
        effect();
    // The removals reach the store's thread in one event, not one wake-up per message;
    // its receivers see them in the same order, after the filing, as before.
    auto announce = [this, removals = std::move(batch->removals)] {
        for (const Removal &r : removals)
            emit DeleteSMSInUiService(r.id, r.position, r.memory, r.permanent);
    };
    delete batch;
    if (QThread::currentThread() == thread())
        announce();
    else
        postToThread(this, announce);
}

void SMSStatusUILogic::DiscardDeferredEffects()
{
    DeferredEffects *batch = t_deferred;
    t_deferred = nullptr;
    if (!batch)
        return;
    qCDebug(lcSmsOps) << "batch rolled back:" << batch->effects.size() << "effects dropped";
    qDeleteAll(batch->unfiled);
    delete batch;
}

void SMSStatusUILogic::announceRemoval(int id, int position, int memory, bool permanent)
{
    if (!t_deferred) {
        emit DeleteSMSInUiService(id, position, memory, permanent);
        return;
    }
    t_deferred->removals.push_back({id, position, memory, permanent});
}

void SMSStatusUILogic::fileConverted(SmsRecord *record)
{
    // A class-0 message is never filed and its caller frees it at once: nothing to defer.
    if (!t_deferred || isShownOnce(record->iMsgClass, record->enInitialPos)) {
        InsertSingleSMS(_EN_SMS_POSITION(record->enPos), record->iMsgId, record);
        return;
    }
    DeferredEffects *batch = t_deferred;
    batch->unfiled.push_back(record);
    batch->effects.push_back([this, batch, record] {
        batch->unfiled.erase(std::find(batch->unfiled.begin(), batch->unfiled.end(), record));
        InsertSingleSMS(_EN_SMS_POSITION(record->enPos), record->iMsgId, record);
    });
}
