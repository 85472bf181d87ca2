// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A call that a burst of changes may hold back: requested while held, it runs once when
// the last hold ends; requested otherwise, it runs at once. The end of a large batch
// brings several tables in line with the store one after the other, and each asked for
// the folder counts, which walk every table's rows again.
#include <functional>
#include <utility>

class HeldCall
{
public:
    explicit HeldCall(std::function<void()> call) : m_call(std::move(call)) {}
    HeldCall(const HeldCall &) = delete;
    HeldCall &operator=(const HeldCall &) = delete;

    void request()
    {
        if (m_holds > 0)
            m_pending = true;
        else
            m_call();
    }

    class Hold
    {
    public:
        explicit Hold(HeldCall &call) : m_held(call) { ++m_held.m_holds; }
        ~Hold()
        {
            if (--m_held.m_holds == 0 && m_held.m_pending) {
                m_held.m_pending = false;
                m_held.m_call();
            }
        }
        Hold(const Hold &) = delete;
        Hold &operator=(const Hold &) = delete;

    private:
        HeldCall &m_held;
    };

private:
    std::function<void()> m_call;
    int m_holds = 0;
    bool m_pending = false;
};
