// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Work done one step per turn of the event loop, in the order it was added, so that the
// window paints and answers between the steps: the end of a large batch brings several
// tables of thousands of rows in line with the store, which done at once held the window
// for a quarter of a second.
#include <QTimer>

#include <deque>
#include <functional>

class SteppedWork
{
public:
    SteppedWork()
    {
        m_timer.setSingleShot(true);
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { runNext(); });
    }
    SteppedWork(const SteppedWork &) = delete;
    SteppedWork &operator=(const SteppedWork &) = delete;

    // A step may add more steps: they go to the end.
    void add(std::function<void()> step)
    {
        m_steps.push_back(std::move(step));
        if (!m_timer.isActive())
            m_timer.start();
    }
    bool isIdle() const { return m_steps.empty(); }
    // Every step left, in order, now: for what must not start before they are done.
    void finishNow()
    {
        m_timer.stop();
        while (!m_steps.empty())
            runFront();
    }

private:
    void runNext()
    {
        if (!m_steps.empty())
            runFront();
        if (!m_steps.empty())
            m_timer.start();
    }
    void runFront()
    {
        std::function<void()> step = std::move(m_steps.front());
        m_steps.pop_front();
        step();
    }

    QTimer m_timer;
    std::deque<std::function<void()>> m_steps;
};
