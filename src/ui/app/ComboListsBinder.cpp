#include "ui/app/ComboListsBinder.h"

#include <utility>

#include <QComboBox>
#include <QString>
#include <QVariant>

namespace kelvra {

ListComboBoxes FindListBoxes(const QObject& window) {
    ListComboBoxes boxes{};
    for (const SelectionList& list : SelectionLists())
        boxes[static_cast<std::size_t>(list.box)] =
            window.findChild<QComboBox*>(QLatin1String(list.controlName));
    return boxes;
}

ComboListsBinder::ComboListsBinder(const ListComboBoxes& boxes, std::function<void()> showErrorPage,
                                   AppState& state, HttpTransport& transport,
                                   std::function<bool()> networkOnline, QObject* parent)
    : QObject(parent), m_boxes(boxes), m_showErrorPage(std::move(showErrorPage)),
      m_presenter(state, transport, *this, std::move(networkOnline)) {
    // The lists whose choice fills another one.
    const std::pair<ListBox, void (ListsPresenter::*)()> changes[] = {
        {ListBox::cb_group1_brand, &ListsPresenter::cb_group1_brandChange},
        {ListBox::cb_group1_category, &ListsPresenter::cb_group1_categoryChange},
        {ListBox::cb_group2_eg, &ListsPresenter::cb_group2_egChange},
    };
    for (const auto& [list, change] : changes)
        connect(Box(list), &QComboBox::activated, this,
                [this, change](int) { (m_presenter.*change)(); });
}

QComboBox* ComboListsBinder::Box(ListBox list) const {
    return m_boxes[static_cast<std::size_t>(list)];
}

void ComboListsBinder::ClearToPrompt(ListBox list, const std::string& prompt) {
    if (QComboBox* box = Box(list)) {
        box->clear();
        box->addItem(QString::fromStdString(prompt), QVariant(0));
    }
}

void ComboListsBinder::AddEntry(ListBox list, const std::string& text, std::int32_t id) {
    if (QComboBox* box = Box(list)) {
        box->addItem(QString::fromStdString(text), QVariant(static_cast<int>(id)));
    }
}

void ComboListsBinder::SetItemIndex(ListBox list, int index) {
    if (QComboBox* box = Box(list)) {
        box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
    }
}

int ComboListsBinder::ItemIndex(ListBox list) const {
    QComboBox* box = Box(list);
    return box != nullptr ? box->currentIndex() : -1;
}

int ComboListsBinder::EntryCount(ListBox list) const {
    QComboBox* box = Box(list);
    return box != nullptr ? box->count() : 0;
}

std::int32_t ComboListsBinder::ChosenId(ListBox list) const {
    QComboBox* box = Box(list);
    if (box == nullptr || box->currentIndex() < 0) {
        return 0;
    }
    return static_cast<std::int32_t>(box->currentData().toInt());
}

void ComboListsBinder::ShowErrorPage() {
    if (m_showErrorPage) {
        m_showErrorPage();
    }
}

} // namespace kelvra
