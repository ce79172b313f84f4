#pragma once

#include <array>
#include <deque>
#include <functional>
#include <string>

#include <QList>
#include <QObject>
#include <QString>

#include "search/SearchPresenter.h"
#include "search/SearchView.h"
#include "state/AppState.h"
#include "ui/app/ComboListsBinder.h"

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QTimer;
class QWidget;

namespace kelvra::ui {

class BrowserView;
class ScanWatch;

// The widgets the search panels work on, all owned by the main window.
struct SearchPanelWidgets {
    QWidget* window = nullptr;                       // parent of the message boxes
    std::array<QLineEdit*, 5> fields{};              // by number kind 1..5
    std::array<QAbstractButton*, 5> numberButtons{}; // the search button of kinds 1..5
    std::array<QAbstractButton*, 4> listButtons{};   // the search button of kinds 6..9
    ListComboBoxes lists{};                          // the seven lists
    BrowserView* mainBrowser = nullptr;              // WebBrowser1
    std::function<void(int)> showPage;               // active page of RzPageControl1
    std::function<void(const QString&)> showHint;    // a short hint in the status bar
    QList<QWidget*> scanAreas; // where a barcode scan is caught (result pages, side panel)
};

// Finds the panel's widgets by object name under the window; missing ones stay null (the binder
// then leaves that control unconnected).
SearchPanelWidgets FindSearchPanelWidgets(QWidget* window, BrowserView* mainBrowser,
                                          std::function<void(int)> showPage);

// Connects the number fields, the nine search buttons and the seven lists of the side panel to
// one SearchPresenter: key presses (Enter acts, no key is swallowed), focus in and out, clicks,
// and the barcode scans caught in the scan areas. The Qt side only moves texts, focus and
// clicks; every rule is the presenter's.
class SearchPanelBinder : public QObject, public SearchView {
public:
    // `networkOnline` is the main window's network-online flag, asked at each search;
    // `numberSearched` (may be empty) hears of every accepted number search.
    SearchPanelBinder(const SearchPanelWidgets& widgets, AppState& state,
                      std::function<bool()> networkOnline,
                      std::function<void(int kind, const std::string& text)> numberSearched = {},
                      QObject* parent = nullptr);

    SearchPresenter& Presenter() { return m_presenter; }

    // SearchView: a kind without a field reads as empty and ignores writes; a missing list
    // reads as the prompt (id 0, no text).
    std::string FieldText(int kind) const override;
    std::string FieldHint(int kind) const override;
    void SetFieldText(int kind, const std::string& text) override;
    void FocusField(int kind) override;
    void SelectFieldText(int kind) override;
    void ShowWrongCheckDigit(const std::string& number) override;
    ListChoice Choice(ListBox list) const override;
    void FocusList(ListBox list) override;
    void ShowInfo(const std::string& text, const std::string& caption) override;
    void NavigateMain(const std::string& url) override;
    std::string MainLocationUrl() const override;
    void ShowPage(int index) override;
    void NumberSearched(int kind, const std::string& text) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* Field(int kind) const;
    // Loads the first waiting search in the main browser (nothing when none waits).
    void LoadNextSearch();
    // The search loaded last is taken up (its page complete, or the time limit): the next one
    // may replace it.
    void SearchTakenUp();
    // The number kind (1..5) of a watched field, 0 when it is none of them.
    int KindOfField(const QObject* watched) const;

    SearchPanelWidgets m_widgets;
    std::function<void(int, const std::string&)> m_numberSearched;
    SearchPresenter m_presenter;
    ScanWatch* m_scans = nullptr; // a child of this binder
    // Searches waiting for the one loaded before them to be taken up (while m_takeUpLimit runs):
    // a load replaced before its request went out never reaches the service.
    std::deque<QString> m_searches;
    QTimer* m_takeUpLimit = nullptr;
    bool m_nextScheduled = false; // LoadNextSearch is queued to run
    bool m_awaiting = false;      // the search loaded last is not taken up yet
    bool m_announced = false;     // ... and the browser has announced its navigation
};

} // namespace kelvra::ui
