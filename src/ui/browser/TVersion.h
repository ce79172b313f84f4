#pragma once

#include <QPointer>
#include <QWidget>

#include "ui/browser/BusyInputPanels.h"
#include "window/BusyIndicator.h"

class QTimer;

namespace kelvra::ui {

// The animated bar "fcImager1" of the busy indicator: a light band sweeping from left to right
// over a deep blue track, again and again, while it is shown.
class BusyBar : public QWidget {
    Q_OBJECT
public:
    explicit BusyBar(QWidget* parent = nullptr);
    // Position of the band in its cycle, 0 .. kCycle - 1 (advances while shown).
    int Phase() const { return m_phase; }
    static constexpr int kCycle = 48;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QTimer* m_frames = nullptr;
    int m_phase = 0;
};

// The busy indicator window "Version": borderless, 208 x 13, shown over the middle of the main
// window's page area while a browser loads, with the program's other windows disabled. It is
// kept above the main window only (never above other programs' windows). It is the
// toolkit side of kelvra::BusyIndicator, which holds the rules and the disabled-window list.
class TVersion : public QWidget, public BusyIndicatorView {
    Q_OBJECT
public:
    static constexpr int kWidth = kBusyIndicatorWidth;
    static constexpr int kHeight = kBusyIndicatorHeight;
    // Placed over `mainWindow` beside its side channel (null: the top-left corner of the
    // screen); `inputPanels` of the main window keep taking input while the indicator disables
    // it (the rest of it is disabled). Cannot fail.
    TVersion(QWidget* mainWindow, QWidget* sideChannel, const QList<QWidget*>& inputPanels,
             QWidget* parent = nullptr);
    ~TVersion() override;

    BusyIndicator& Busy() { return m_busy; }

    // BusyIndicatorView
    std::vector<TopLevelWindow> TopLevelWindows() const override;
    WindowHandle IndicatorHandle() const override;
    void SetWindowEnabled(WindowHandle window, bool enabled) override;
    MainWindowFrame MainFrame() const override;
    void ShowIndicatorAt(int left, int top, int width, int height) override;
    void HideIndicator() override;
    void StartWatchdog(int milliseconds) override;
    void StopWatchdog() override;
    void RememberFocus() override;
    void RestoreFocus() override;

private:
    BusyBar* m_bar = nullptr;
    QTimer* m_watchdog = nullptr;
    QPointer<QWidget> m_main;
    QPointer<QWidget> m_side;
    QPointer<QWidget> m_focus;
    BusyInputPanels m_inputPanels;
    BusyIndicator m_busy;
};

} // namespace kelvra::ui
