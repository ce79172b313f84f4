#pragma once

#include <QWidget>

namespace kelvra::ui {

// The busy indicator window "Version": small and borderless, 208 x 13. Created hidden at start;
// its showing and placement over the main window come with the browser events.
class TVersion : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 208;
    static constexpr int kHeight = 13;
    explicit TVersion(QWidget* parent = nullptr);
};

} // namespace kelvra::ui
