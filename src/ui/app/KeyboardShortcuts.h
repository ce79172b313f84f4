#pragma once

#include <QList>
#include <QObject>

class QAction;
class QLineEdit;
class QWidget;

namespace kelvra::ui {

class GroupBar;
class SideChannel;

// The main window's keys: Ctrl+L puts the focus in the any-number field with its text selected
// (as a browser's address bar), Alt+1 ... Alt+5 open a group of the side panel and put the focus
// on its first control. Each is a QAction of the window; the group captions name their keys in
// their tooltips, in the current translation.
class KeyboardShortcuts : public QObject {
    Q_OBJECT
public:
    // channel: the side channel holding the groups (slid out when the keys reach into it).
    KeyboardShortcuts(QWidget& window, SideChannel& channel, GroupBar& groups,
                      QLineEdit* anyNumber);

    QAction* FocusAnyNumber() const { return m_focusAnyNumber; }
    // The action of group `index` (0-based); nullptr out of range.
    QAction* OpenGroup(int index) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Open(int index);
    void PutTexts();

    QWidget& m_window;
    SideChannel& m_channel;
    GroupBar& m_groups;
    QLineEdit* m_anyNumber;
    QAction* m_focusAnyNumber = nullptr;
    QList<QAction*> m_openGroup;
};

} // namespace kelvra::ui
