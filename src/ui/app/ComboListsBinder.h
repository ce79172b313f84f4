#pragma once

#include <array>
#include <functional>

#include <QObject>

#include "service/HttpTransport.h"
#include "service/ListsPresenter.h"
#include "service/ListsView.h"
#include "state/AppState.h"

class QComboBox;

namespace kelvra {

// The seven drop-down lists of the main window's side panel, indexed by ListBox.
using ListComboBoxes = std::array<QComboBox*, kListBoxCount>;

// Finds the seven lists under the window by their control names; a missing one stays null.
ListComboBoxes FindListBoxes(const QObject& window);

// Connects the side panel's combo boxes to the list logic: the boxes hold the entries with
// their ids as item data, and a user's choice (the activated signal only, so clearing or
// selecting from code raises nothing) in the make, model or engine-brand list runs its
// change handler.
class ComboListsBinder : public QObject, public ListsView {
public:
    // Every box must be non-null and outlive the binder; showErrorPage selects page 8 of the
    // main page area. networkOnline is asked before each request batch.
    ComboListsBinder(const ListComboBoxes& boxes, std::function<void()> showErrorPage,
                     AppState& state, HttpTransport& transport, std::function<bool()> networkOnline,
                     QObject* parent = nullptr);

    // Rebuilds all seven lists (to be called from the main window's RefillLists).
    void GetComboxList() { m_presenter.GetComboxList(); }
    ListsPresenter& Presenter() { return m_presenter; }

    void ClearToPrompt(ListBox list, const std::string& prompt) override;
    void AddEntry(ListBox list, const std::string& text, std::int32_t id) override;
    void SetItemIndex(ListBox list, int index) override;
    int ItemIndex(ListBox list) const override;
    int EntryCount(ListBox list) const override;
    std::int32_t ChosenId(ListBox list) const override;
    void ShowErrorPage() override;

private:
    QComboBox* Box(ListBox list) const;

    ListComboBoxes m_boxes;
    std::function<void()> m_showErrorPage;
    ListsPresenter m_presenter;
};

} // namespace kelvra
