#include "ui/app/NumberHistoryBinder.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QStringListModel>

#include "search/NumberHistory.h"

namespace kelvra::ui {
namespace {

bool IsEnter(const QKeyEvent& key) {
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

} // namespace

NumberHistoryBinder::NumberHistoryBinder(const std::array<QLineEdit*, 5>& fields, QObject* parent)
    : QObject(parent), m_fields(fields) {
    for (int i = 0; i < 5; ++i) {
        QLineEdit* field = m_fields[i];
        if (field == nullptr)
            continue;
        m_models[i] = new QStringListModel(this);
        auto* completer = new QCompleter(m_models[i], field);
        completer->setObjectName(field->objectName() + QStringLiteral("History"));
        completer->setCaseSensitivity(Qt::CaseInsensitive);
        completer->setFilterMode(Qt::MatchContains);
        completer->setCompletionMode(QCompleter::PopupCompletion);
        completer->setMaxVisibleItems(12);
        field->setCompleter(completer);
        // Installed after the completer's own filter, so it sees the popup's keys first.
        completer->popup()->installEventFilter(this);
        field->installEventFilter(this);
        m_completers[i] = completer;
        field->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(field, &QWidget::customContextMenuRequested, this,
                [this, i](const QPoint& position) { ShowContextMenu(i + 1, position); });
    }
}

NumberHistoryBinder::~NumberHistoryBinder() = default;

void NumberHistoryBinder::Load(const std::string& dataFolder) {
    if (dataFolder.empty())
        return; // no data folder, no history
    m_history = std::make_unique<NumberHistory>(NumberHistory::PathIn(dataFolder));
    m_history->Load();
    for (int kind = 1; kind <= 5; ++kind)
        Offer(kind);
}

void NumberHistoryBinder::Add(int kind, const std::string& number) {
    if (!m_history)
        return;
    ReportWriteFailure(m_history->Add(kind, number));
    Offer(kind);
}

void NumberHistoryBinder::Clear() {
    if (!m_history)
        return;
    ReportWriteFailure(m_history->Clear());
    for (int kind = 1; kind <= 5; ++kind)
        Offer(kind);
}

void NumberHistoryBinder::Offer(int kind) {
    QStringListModel* model = m_models[kind - 1];
    if (model == nullptr || !m_history)
        return;
    QStringList numbers;
    for (const std::string& number : m_history->Numbers(kind))
        numbers << QString::fromStdString(number);
    model->setStringList(numbers);
}

void NumberHistoryBinder::ShowContextMenu(int kind, const QPoint& position) {
    QLineEdit* field = m_fields[kind - 1];
    std::unique_ptr<QMenu> menu(field->createStandardContextMenu());
    menu->addSeparator();
    QAction* clear = menu->addAction(tr("Clear search history"));
    clear->setObjectName(QStringLiteral("ClearSearchHistory"));
    bool any = false;
    for (int k = 1; k <= 5 && m_history; ++k)
        any = any || !m_history->Numbers(k).empty();
    clear->setEnabled(any);
    connect(clear, &QAction::triggered, this, &NumberHistoryBinder::Clear);
    menu->exec(field->mapToGlobal(position));
}

void NumberHistoryBinder::ReportWriteFailure(bool written) {
    if (written || m_failureReported)
        return;
    m_failureReported = true; // once a run: the history goes on in memory
    qWarning("kelvra: the search history cannot be written to the data folder");
}

bool NumberHistoryBinder::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    for (int i = 0; i < 5; ++i) {
        QCompleter* completer = m_completers[i];
        if (completer == nullptr)
            continue;
        QAbstractItemView* popup = completer->popup();
        if (watched == popup && IsEnter(*key)) {
            // The completer would hand Enter to the field past its event filters, and the
            // search would never hear of it: the chosen number goes into the field, and Enter
            // is delivered to the field as if typed there.
            const QModelIndex chosen = popup->currentIndex();
            if (chosen.isValid())
                m_fields[i]->setText(chosen.data(Qt::DisplayRole).toString());
            popup->hide();
            QKeyEvent enter(QEvent::KeyPress, key->key(), key->modifiers(), key->text());
            QCoreApplication::sendEvent(m_fields[i], &enter);
            return true;
        }
        if (watched == m_fields[i] && key->key() == Qt::Key_Down && !popup->isVisible() &&
            completer->model()->rowCount() > 0) {
            // Down opens the list: every number when the field holds none of its own.
            completer->setCompletionPrefix(m_fields[i]->text());
            if (completer->completionCount() == 0)
                completer->setCompletionPrefix(QString());
            completer->complete();
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kelvra::ui
