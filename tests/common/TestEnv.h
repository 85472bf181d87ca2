// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared by every test suite: a private data folder per process (or per test case), so
// suites can run in parallel and never touch a developer's real settings or messages.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>

class TestDataHome
{
public:
    // Points $DIALCREST_HOME at a fresh temporary folder for as long as this object lives.
    TestDataHome()
        : m_previous(qgetenv("DIALCREST_HOME"))
    {
        qputenv("DIALCREST_HOME", m_dir.path().toUtf8());
    }
    ~TestDataHome()
    {
        if (m_previous.isEmpty())
            qunsetenv("DIALCREST_HOME");
        else
            qputenv("DIALCREST_HOME", m_previous);
    }
    TestDataHome(const TestDataHome &) = delete;
    TestDataHome &operator=(const TestDataHome &) = delete;

    QString path() const { return m_dir.path(); }
    bool isValid() const { return m_dir.isValid(); }

private:
    QByteArray m_previous;
    QTemporaryDir m_dir;
};
