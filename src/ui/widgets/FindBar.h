#pragma once

#include <QFrame>

class QLabel;
class QLineEdit;
class QToolButton;

namespace kelvra::ui {

// The find bar at the bottom of the page area ("FindBar"): a text field, previous, next, the
// "n of m" count and a close button. It only asks; the page area's tools do the finding.
class FindBar : public QFrame {
    Q_OBJECT
public:
    explicit FindBar(QWidget* parent = nullptr);

    QString Text() const;
    // Shows the bar with the field focused and its text selected.
    void Open();
    // Shows the result of the last find: active match (1-based) and number of matches.
    void ShowCount(int active, int total);

signals:
    // The user asks for the next (or previous) match of text; an empty text clears the search.
    void findRequested(const QString& text, bool backward);
    void closeRequested();

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PutTexts();

    QLineEdit* m_field = nullptr;
    QToolButton* m_previous = nullptr;
    QToolButton* m_next = nullptr;
    QLabel* m_count = nullptr;
    QToolButton* m_close = nullptr;
    int m_active = -1; // -1: nothing searched yet
    int m_total = 0;
};

} // namespace kelvra::ui
