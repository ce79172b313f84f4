#pragma once

#include <QWidget>

class QLabel;
class QToolButton;
class QVariantAnimation;

namespace kelvra::ui {

// Collapsible side channel: a caption strip with a pin button over one content widget. Pinned,
// it keeps its full width; unpinned, it shrinks to a narrow bar and slides out over its
// neighbours while the mouse is over it. The owner lays it out and asks ReservedWidth().
class SideChannel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFullWidth = 185;
    static constexpr int kCollapsedWidth = 10;
    static constexpr int kCaptionHeight = 24;

    explicit SideChannel(QWidget* parent = nullptr);
    ~SideChannel() override;
    // Places the content below the caption strip; the channel takes ownership.
    void SetContent(QWidget* content);
    void SetCaption(const QString& caption);
    bool Pinned() const { return m_pinned; }
    void SetPinned(bool pinned);
    // Width the owner keeps free for the channel: full while pinned, the bar otherwise.
    int ReservedWidth() const { return m_pinned ? kFullWidth : kCollapsedWidth; }
    // Current drawn width (between the bar and the full width while sliding).
    int VisibleWidth() const { return m_visibleWidth; }
    // Shows the content at once while unpinned, for the keyboard: it slides back when the focus
    // leaves the channel with the mouse outside it. Pinned, nothing changes.
    void ShowContent();

signals:
    // The reserved width changed: the owner lays its children out again.
    void layoutChanged();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void SlideTo(int width);
    void ApplyWidth(int width);
    void LayoutChildren();
    void FocusChanged(QWidget* old, QWidget* now);

    QWidget* m_strip = nullptr;
    QLabel* m_caption = nullptr;
    QToolButton* m_pin = nullptr;
    QWidget* m_content = nullptr;
    QWidget* m_bar = nullptr;
    QVariantAnimation* m_slide = nullptr;
    bool m_pinned = true;
    int m_visibleWidth = kFullWidth;
};

} // namespace kelvra::ui
