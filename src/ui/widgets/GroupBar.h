#pragma once

#include <QList>
#include <QWidget>

class QPushButton;
class QVBoxLayout;

namespace kelvra::ui {

// One group of the Outlook-style group bar: a caption bar and a body shown while it is open.
class SideGroup : public QWidget {
    Q_OBJECT
public:
    SideGroup(const QString& objectName, const QString& caption, QWidget* parent = nullptr);
    void SetCaption(const QString& caption);
    QString Caption() const;
    // The body; the group takes ownership.
    void SetBody(QWidget* body);
    QWidget* Body() const { return m_body; }
    // The caption bar: takes the focus; Enter or Space opens the group.
    QPushButton* CaptionBar() const { return m_captionBar; }
    bool IsOpen() const { return m_open; }
    void SetOpen(bool open);

signals:
    void captionClicked();

private:
    QPushButton* m_captionBar = nullptr;
    QWidget* m_body = nullptr;
    QVBoxLayout* m_layout = nullptr;
    bool m_open = false;
};

// Outlook-style bar: the groups stacked, exactly one open; the open group's body takes the
// space left by the caption bars of the others.
class GroupBar : public QWidget {
    Q_OBJECT
public:
    explicit GroupBar(QWidget* parent = nullptr);
    void AddGroup(SideGroup* group);
    // Opens the group at index and closes the others; out of range is ignored.
    void OpenGroup(int index);
    int OpenIndex() const;
    const QList<SideGroup*>& Groups() const { return m_groups; }

private:
    QList<SideGroup*> m_groups;
    QVBoxLayout* m_layout = nullptr;
};

} // namespace kelvra::ui
