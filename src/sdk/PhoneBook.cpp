// SPDX-License-Identifier: GPL-3.0-or-later
// Contacts and number lookup. The host's address book shares these contacts.
#include "SdkInternal.h"

#include <algorithm>
#include <cstring>

namespace sdk {

namespace {

struct Normalised
{
    std::u16string digits;   // without "+", "00" or trunk "0"
    bool international = false;
};

Normalised normalise(const std::u16string &number)
{
    Normalised n;
    std::u16string d;
    for (char16_t c : number) {
        if (c >= u'0' && c <= u'9')
            d.push_back(c);
        else if (c == u'+' && d.empty())
            n.international = true;
    }
    if (!n.international && d.size() > 2 && d.compare(0, 2, u"00") == 0) {
        n.international = true;
        d.erase(0, 2);
    } else if (!n.international && !d.empty() && d[0] == u'0') {
        d.erase(0, 1);
    }
    n.digits = d;
    return n;
}

} // namespace

// "+4915112345678", "004915112345678" and "015112345678" name the same phone: the
// international form is the national number behind a country code of 1 to 3 digits.
bool numbersMatch(const std::u16string &a, const std::u16string &b)
{
    const Normalised x = normalise(a);
    const Normalised y = normalise(b);
    if (x.digits.empty() || y.digits.empty())
        return false;
    if (x.digits == y.digits)
        return x.international == y.international || x.digits.size() >= 6;
    const Normalised &longer = x.digits.size() > y.digits.size() ? x : y;
    const Normalised &shorter = x.digits.size() > y.digits.size() ? y : x;
    const size_t extra = longer.digits.size() - shorter.digits.size();
    return longer.international && !shorter.international && extra <= 3 && shorter.digits.size() >= 6
           && longer.digits.compare(extra, std::u16string::npos, shorter.digits) == 0;
}

const std::vector<Contact> &cachedContacts()
{
    State &s = state();
    if (!s.contactsLoaded) {
        s.contacts = s.store.contacts();
        s.contactsLoaded = true;
    }
    return s.contacts;
}

} // namespace sdk

using namespace sdk;

extern "C" {

long UTPS_PBSrv_FindNameByNumber(const UTPS_WCHAR *number, UTPS_WCHAR **name, int maxLength, int *value)
{
    SDK_ENTER(lock);
    if (!number || !name || maxLength <= 0)
        return UTPS_E_INVALID_ARG;
    *name = nullptr;
    const std::vector<Contact> &contacts = cachedContacts();
    // Every stored message's sender is asked for when a storage is read.
    if (contacts.empty())
        return UTPS_E_NOT_FOUND;
    const std::u16string wanted = fromWide(number);
    const Contact *found = nullptr;
    for (const Contact &c : contacts) {
        if (c.number == wanted) {
            found = &c;
            break;
        }
        if (!found && numbersMatch(c.number, wanted))
            found = &c;
    }
    if (!found)
        return UTPS_E_NOT_FOUND;
    const size_t n = std::min<size_t>(found->name.size(), size_t(maxLength) - 1);
    *name = new UTPS_WCHAR[n + 1];
    std::copy_n(found->name.begin(), n, *name);
    (*name)[n] = 0;
    if (value)
        *value = found->id;
    return UTPS_OK;
}

long SimCtl_AddContact(const char *name, const char *number, int *id)
{
    SDK_ENTER(lock);
    if (!name || !number || !*number)
        return UTPS_E_INVALID_ARG;
    SDK_WRITE_GATE(lock);
    const int newId = state().store.addContact(fromUtf8(name), fromUtf8(number));
    state().contactsLoaded = false;
    if (newId < 0)
        return UTPS_E_DATABASE;
    if (id)
        *id = newId;
    postSimpleEvent(Channel::PhoneBook, EVENT_PB_PHONEBOOK_READY);
    return UTPS_OK;
}

long SimCtl_RemoveContact(int id)
{
    SDK_ENTER(lock);
    SDK_WRITE_GATE(lock);
    const int rc = state().store.removeContact(id);
    state().contactsLoaded = false;
    if (rc < 0)
        return UTPS_E_DATABASE;
    if (rc == 0)
        return UTPS_E_NOT_FOUND;
    postSimpleEvent(Channel::PhoneBook, EVENT_PB_PHONEBOOK_READY);
    return UTPS_OK;
}

static char *duplicate(const std::string &s)
{
    char *p = new char[s.size() + 1];
    std::memcpy(p, s.c_str(), s.size() + 1);
    return p;
}

long SimCtl_ListContacts(SimCtlContact **contacts, int *count)
{
    SDK_ENTER(lock);
    if (!contacts || !count)
        return UTPS_E_INVALID_ARG;
    const std::vector<Contact> list = cachedContacts();
    *contacts = nullptr;
    *count = int(list.size());
    if (list.empty())
        return UTPS_OK;
    *contacts = new SimCtlContact[list.size()];
    for (size_t i = 0; i < list.size(); ++i)
        (*contacts)[i] = {list[i].id, duplicate(toUtf8(list[i].name)), duplicate(toUtf8(list[i].number))};
    return UTPS_OK;
}

long SimCtl_ReleaseContacts(SimCtlContact **contacts, int count)
{
    if (!contacts || !*contacts)
        return UTPS_OK;
    for (int i = 0; i < count; ++i) {
        delete[] (*contacts)[i].name;
        delete[] (*contacts)[i].number;
    }
    delete[] *contacts;
    *contacts = nullptr;
    return UTPS_OK;
}

} // extern "C"
