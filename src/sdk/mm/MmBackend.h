// SPDX-License-Identifier: GPL-3.0-or-later
// The ModemManager backend as the rest of the SDK sees it. Every function here is called
// with the state lock held (the lock is passed where the call may release it to wait for
// the modem) and only when active() is true; handles(memory) says whether the memory is
// one of the modem's.
#pragma once

#include "../SdkInternal.h"

namespace sdk::mm {

bool active();
inline bool handles(int memory) { return active() && memory != UTPS_SMS_MEM_PC; }

// The modem's state into the SDK's state, with the events a change brings.
void syncState();

// Simulator controls that have no meaning on a real modem.
bool simulatorOnly(const char *function);

long count(int memory, int &n);
long ids(int memory, std::vector<int> &out);
long get(int memory, int id, Message &out);
long save(std::unique_lock<std::mutex> &lock, Message &m);
long update(const Message &m);
long remove(std::unique_lock<std::mutex> &lock, int memory, int id);
// After the last transaction bracket closed: carry out or forget the deferred deletions.
void transactionEnded(std::unique_lock<std::mutex> &lock, bool committed);

// The SIM's PIN (puk empty) or its PUK and a new PIN; switching the modem on.
long unlock(std::unique_lock<std::mutex> &lock, const std::string &puk, const std::string &pin);
long enable(std::unique_lock<std::mutex> &lock);
bool enabled();

long send(const _UTPS_ST_SMS_RECORD &record);
long cancel(int handle);
// A message is queued or still going out.
bool sending();

// Untrusted text from the network, made safe to store and show.
std::u16string cleanNumber(const std::u16string &in);
std::u16string cleanText(const std::u16string &in);
// "2026-12-07T02:38:15+01:00" (ModemManager) to "yyyyMMddhhmmss" local time; now when empty.
std::u16string localTime(const char *iso8601);

} // namespace sdk::mm
