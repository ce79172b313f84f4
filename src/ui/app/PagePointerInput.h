#pragma once

#include <QObject>

namespace kelvra::ui {

class PageBrowsers;

// The mouse on a browser page: Ctrl+wheel zooms that browser, the mouse's back and forward
// buttons go back and forward in it. Watches every widget inside the browsers, the engine's
// widgets made later included; other input passes untouched.
class PagePointerInput : public QObject {
    Q_OBJECT
public:
    PagePointerInput(const PageBrowsers& browsers, QObject* parent = nullptr);
};

} // namespace kelvra::ui
