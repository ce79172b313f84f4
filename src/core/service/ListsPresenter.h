#pragma once

#include <functional>
#include <string>

#include "service/HttpTransport.h"
#include "service/ListLoader.h"
#include "service/ListsView.h"
#include "state/AppState.h"

namespace kelvra {

// Fills the seven selection lists from the list services and runs the two cascades
// (make -> model -> vehicle type, engine brand -> engine code). Requests go to
// state.xmlBaseUrl; prompts are the held texts rcb_1 .. rcb_5. Nothing is requested while the
// network is reported offline. A failed load shows the error page and keeps what was read.
class ListsPresenter {
public:
    ListsPresenter(AppState& state, HttpTransport& transport, ListsView& view,
                   std::function<bool()> networkOnline, HttpRequestOptions options = {});

    // Rebuilds all seven lists: prompts everywhere, the four top lists loaded when online.
    // Failures show the error page; a failed engine-brand load skips the second engine load.
    void GetComboxList();
    // The network came back: each of the four top lists that holds no more than its prompt is
    // loaded again as GetComboxList loads it (a failed engine-brand load skips the second engine
    // list); lists that hold entries, and the cascaded lists, are left alone. Does nothing while
    // offline or before the lists were first built (no XML base URL yet).
    void RefillEmptyLists();
    // A make was chosen: reloads the model list for its id and empties the type list.
    void cb_group1_brandChange();
    // A model was chosen: reloads the vehicle-type list for its id.
    void cb_group1_categoryChange();
    // An engine brand was chosen: reloads the engine-code list for its id.
    void cb_group2_egChange();

    // The prompt text of a list in the current language (the held text, else the English text).
    std::string PromptFor(ListBox list) const;

private:
    // Loads a list from its service (a cascaded list for its parent's chosen id); false (error
    // page shown) when the load failed.
    bool Load(ListBox list);
    void ClearToPrompt(ListBox list);
    bool Online() const;

    AppState& m_state;
    HttpTransport& m_transport;
    ListsView& m_view;
    std::function<bool()> m_networkOnline;
    HttpRequestOptions m_options;
};

} // namespace kelvra
