#pragma once

#include <functional>

#include <map>

#include <QObject>

class QAction;
class QWidget;

namespace kelvra::ui {

// What the keys and the tool row ask of the page area.
enum class PageCommand {
    Back,
    Forward,
    ZoomOut,
    ZoomReset,
    ZoomIn,
    Find,
    FindNext,
    FindPrevious,
    Print,
    SavePdf,
    StopOrCloseFind, // stop every load; when none ran, close the find bar
};

// The keys of the page area, as actions of the main window: they act while the window is the
// active one, wherever its focus is (a browser page, a page's text field, a number field). An
// action that has nothing to do is off, so that its key reaches the focused control as typed.
class PageKeyActions : public QObject {
    Q_OBJECT
public:
    // run: does what a key asks.
    PageKeyActions(QWidget& window, std::function<void(PageCommand)> run);

    // The action of a command (StopOrCloseFind: Esc).
    QAction* Action(PageCommand command) const;
    // The page keys act only while the active page holds a browser.
    void SetBrowserShown(bool shown);
    // Esc acts only while a page loads or the find bar is open.
    void SetEscapeWanted(bool wanted);

private:
    std::map<PageCommand, QAction*> m_actions;
};

} // namespace kelvra::ui
