#include "ui/app/ComboListsBinder.h"

#include <utility>

#include <QComboBox>
#include <QString>
#include <QVariant>

namespace kelvra {

ComboListsBinder::ComboListsBinder(const ListComboBoxes& boxes, std::function<void()> showErrorPage,
                                   AppState& state, HttpTransport& transport,
                                   std::function<bool()> networkOnline, QObject* parent)
    : QObject(parent), m_boxes(boxes), m_showErrorPage(std::move(showErrorPage)),
      m_presenter(state, transport, *this, std::move(networkOnline)) {
    connect(m_boxes.cb_group1_brand, &QComboBox::activated, this,
            [this](int) { m_presenter.cb_group1_brandChange(); });
    connect(m_boxes.cb_group1_category, &QComboBox::activated, this,
            [this](int) { m_presenter.cb_group1_categoryChange(); });
    connect(m_boxes.cb_group2_eg, &QComboBox::activated, this,
            [this](int) { m_presenter.cb_group2_egChange(); });
}

QComboBox* ComboListsBinder::Box(ListBox list) const {
    switch (list) {
    case ListBox::cb_group1_brand:
        return m_boxes.cb_group1_brand;
    case ListBox::cb_group1_category:
        return m_boxes.cb_group1_category;
    case ListBox::cb_group1_type:
        return m_boxes.cb_group1_type;
    case ListBox::cb_group1_brand_all:
        return m_boxes.cb_group1_brand_all;
    case ListBox::cb_group2_eg:
        return m_boxes.cb_group2_eg;
    case ListBox::engine_code:
        return m_boxes.engine_code;
    case ListBox::cb_group2_eg_all:
        return m_boxes.cb_group2_eg_all;
    }
    return nullptr;
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
