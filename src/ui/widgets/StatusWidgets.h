#pragma once

#include <QLabel>

#include "app/QuotaSummary.h"

class QTimer;

namespace kelvra::ui {

// Status-bar clock: the current date and time in the system's short date and long time
// format, refreshed every second by the control itself.
class ClockStatus : public QLabel {
    Q_OBJECT
public:
    explicit ClockStatus(QWidget* parent = nullptr);
    // The text for a moment, as the clock shows it.
    static QString TextFor(const QDateTime& moment);

private:
    void Refresh();
    QTimer* m_timer = nullptr;
};

// A link drawn as blue underlined text with a hand cursor; emits clicked on a left click.
class UrlLabel : public QLabel {
    Q_OBJECT
public:
    explicit UrlLabel(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// The day's counted product pages of the account logged in ("Quota"), empty while logged out.
class QuotaStatus : public QLabel {
    Q_OBJECT
public:
    explicit QuotaStatus(QWidget* parent = nullptr);
    void Show(const QuotaSummary& summary);
    // The text for a summary in the current translation; empty when it is not shown.
    static QString TextFor(const QuotaSummary& summary);

protected:
    void changeEvent(QEvent* event) override;

private:
    QuotaSummary m_summary;
};

// The note that the service did not answer its last check (the watch checks again soon); hidden
// while the service answers.
class ServiceStatus : public QLabel {
    Q_OBJECT
public:
    explicit ServiceStatus(QWidget* parent = nullptr);
    void SetAnswering(bool answering);
    bool Answering() const { return m_answering; }

protected:
    void changeEvent(QEvent* event) override;

private:
    bool m_answering = true;
};

// A short hint over the middle of the status bar (e.g. about the number just searched), shown
// for some seconds and then hidden again.
class StatusHint : public QLabel {
    Q_OBJECT
public:
    static constexpr int kShownMs = 8000;
    explicit StatusHint(QWidget* parent = nullptr);
    // Shows the text (replacing a hint still shown) and hides it after kShownMs.
    void ShowFor(const QString& text);

private:
    QTimer* m_hide = nullptr;
};

} // namespace kelvra::ui
