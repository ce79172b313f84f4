#pragma once

#include <array>

#include <QList>
#include <QPixmap>

class QFrame;
class QLabel;
class QWidget;

namespace kelvra::ui {

class BrowserProfile;
class BrowserView;
class ClockStatus;
class GroupBar;
class PageControl;
class QuotaStatus;
class ServiceStatus;
class SideChannel;
class SideItemList;
class StatusHint;
class UrlLabel;

// Builders of the three parts of the main window. Every control gets its form name as object
// name and a human accessible name; texts are the designed (Chinese) ones until a language is
// applied.

struct SidePanel {
    SideChannel* channel = nullptr;
    GroupBar* bar = nullptr;
    SideItemList* group4Items = nullptr;
    SideItemList* group5Items = nullptr;
};
// The side channel with the five groups; group 1 open.
SidePanel BuildSidePanel(QWidget* parent, const QList<QPixmap>& itemImages);

struct PageArea {
    PageControl* control = nullptr;
    std::array<BrowserView*, 4> browsers{}; // WebBrowser1..4
    QLabel* homeChinese = nullptr;          // img_bg on TabSheet2
    QLabel* homeEnglish = nullptr;          // Image1 on TabSheet3
    QLabel* network = nullptr;              // Image2 on TabSheet4
    QLabel* aboutEnglish = nullptr;         // img_about_en on TabSheet7
    QLabel* aboutChinese = nullptr;         // img_about_cn on TabSheet7
    QFrame* errorPanel = nullptr;           // RzPanel1 on TabSheet9
    QLabel* errorText = nullptr;            // Label5
};
// The nine pages TabSheet1..TabSheet9 with their content; no page selected yet.
PageArea BuildPageArea(QWidget* parent, BrowserProfile& profile);

struct StatusBar {
    QWidget* bar = nullptr;           // RzStatusBar1, 19 high
    QLabel* networkText = nullptr;    // Label6
    UrlLabel* link = nullptr;         // suiURLLabel1
    ClockStatus* clock = nullptr;     // RzClockStatus1
    QuotaStatus* quota = nullptr;     // the day's counted pages, between the link and the clock
    ServiceStatus* service = nullptr; // the service not answering; stands in for the quota
    StatusHint* hint = nullptr;       // a passing hint over the link and the quota, hidden
};
StatusBar BuildStatusBar(QWidget* parent);
// Places the panes in a status bar of the given width (the clock keeps the right edge).
void LayoutStatusBar(const StatusBar& status, int width);

} // namespace kelvra::ui
