#include "ui/widgets/GroupBar.h"

#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace kelvra::ui {

SideGroup::SideGroup(const QString& objectName, const QString& caption, QWidget* parent)
    : QWidget(parent) {
    setObjectName(objectName);
    setAccessibleName(caption);
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_captionBar = new QPushButton(caption, this);
    m_captionBar->setObjectName(objectName + "Caption");
    m_captionBar->setProperty("groupCaption", true);
    m_captionBar->setFixedHeight(26);
    m_captionBar->setFocusPolicy(Qt::StrongFocus); // the groups open by keyboard too
    m_captionBar->setCursor(Qt::PointingHandCursor);
    m_layout->addWidget(m_captionBar);
    connect(m_captionBar, &QPushButton::clicked, this, &SideGroup::captionClicked);
}

void SideGroup::SetCaption(const QString& caption) {
    m_captionBar->setText(caption);
    setAccessibleName(caption);
}

QString SideGroup::Caption() const {
    return m_captionBar->text();
}

void SideGroup::SetBody(QWidget* body) {
    m_body = body;
    m_body->setParent(this);
    m_body->setProperty("groupBody", true);
    m_body->setAttribute(Qt::WA_StyledBackground, true);
    m_layout->addWidget(m_body, 1);
    m_body->setVisible(m_open);
}

void SideGroup::SetOpen(bool open) {
    m_open = open;
    m_captionBar->setProperty("open", open);
    // Re-polish so the style sheet sees the new state.
    m_captionBar->style()->unpolish(m_captionBar);
    m_captionBar->style()->polish(m_captionBar);
    if (m_body)
        m_body->setVisible(open);
}

GroupBar::GroupBar(QWidget* parent) : QWidget(parent) {
    setObjectName("RzGroupBar1");
    setAccessibleName(tr("Search and options"));
    setAttribute(Qt::WA_StyledBackground, true);
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(1);
}

void GroupBar::AddGroup(SideGroup* group) {
    group->setParent(this);
    const int index = int(m_groups.size());
    m_groups.append(group);
    m_layout->addWidget(group);
    connect(group, &SideGroup::captionClicked, this, [this, index] { OpenGroup(index); });
    OpenGroup(OpenIndex() < 0 ? index : OpenIndex());
}

void GroupBar::OpenGroup(int index) {
    if (index < 0 || index >= m_groups.size())
        return;
    for (int i = 0; i < m_groups.size(); ++i) {
        m_groups[i]->SetOpen(i == index);
        m_layout->setStretchFactor(m_groups[i], i == index ? 1 : 0);
    }
}

int GroupBar::OpenIndex() const {
    for (int i = 0; i < m_groups.size(); ++i)
        if (m_groups[i]->IsOpen())
            return i;
    return -1;
}

} // namespace kelvra::ui
