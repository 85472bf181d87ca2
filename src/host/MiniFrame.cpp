// SPDX-License-Identifier: GPL-3.0-or-later
#include "MiniFrame.h"

#include "HostLog.h"
#include "HostText.h"
#include "Startup.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

MiniFrame::MiniFrame(PluginContainer *container, QObject *parent)
    : QObject(parent)
    , m_container(container)
{
}

MiniFrame::~MiniFrame()
{
    delete m_widget;  // a top-level window, not parented to anything
}

void MiniFrame::ensureWidget()
{
    if (m_widget)
        return;
    m_widget = new QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint);
    m_widget->setObjectName(QStringLiteral("dialcrest_MiniFrame"));
    m_widget->setWindowTitle(HostText::text("IDS_HOST_MINIFRAME", "Dialcrest"));
    auto *layout = new QVBoxLayout(m_widget);
    m_label = new QLabel(m_widget);
    m_label->setObjectName(QStringLiteral("dialcrest_MiniFrameLabel"));
    auto *open = new QPushButton(HostText::text("IDS_HOST_OPEN", "Open"), m_widget);
    open->setObjectName(QStringLiteral("dialcrest_MiniFrameOpen"));
    layout->addWidget(m_label);
    layout->addWidget(open);
    connect(open, &QPushButton::clicked, this, [this] {
        if (!m_shownPlugin.isEmpty())
            emit openRequested(m_shownPlugin);
        m_widget->hide();
    });
}

int MiniFrame::ShowPlugin(const QString &clsid)
{
    const QString name = m_container ? m_container->GetNameByCLSID(clsid) : QString();
    if (name.isEmpty()) {
        qCWarning(lcHost) << "mini frame: unknown plug-in" << clsid;
        return 0;
    }
    ensureWidget();
    m_shownPlugin = name;
    m_label->setText(HostText::text("IDS_HOST_MINIFRAME_SHOWS", "%1 wants your attention").arg(name));
    m_widget->show();
    m_widget->raise();
    return 1;
}

QWidget *MiniFrame::GetMiniWidget()
{
    ensureWidget();
    return m_widget;
}
