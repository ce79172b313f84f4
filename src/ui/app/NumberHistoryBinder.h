#pragma once

#include <array>
#include <memory>
#include <string>

#include <QObject>

class QCompleter;
class QLineEdit;
class QStringListModel;

namespace kelvra {
class NumberHistory;
}

namespace kelvra::ui {

// Offers each number field the numbers searched there before: a completer popup while typing
// (Down opens it with the whole list; Up, Down and Enter choose, and Enter on a chosen number
// searches it), and a "Clear search history" item in the field's context menu. The history
// itself is NumberHistory's, in its own file of the data folder.
class NumberHistoryBinder : public QObject {
    Q_OBJECT
public:
    // fields: the five number fields by kind 1..5 (a null one is left alone).
    explicit NumberHistoryBinder(const std::array<QLineEdit*, 5>& fields,
                                 QObject* parent = nullptr);
    ~NumberHistoryBinder() override;

    // Reads the history kept in the data folder and offers it; a missing or unreadable file is
    // an empty history.
    void Load(const std::string& dataFolder);
    // Remembers a number searched in the field of a kind (1..5). A history that cannot be
    // written stays in memory for this run; nothing else fails.
    void Add(int kind, const std::string& number);
    // Forgets every field's numbers (in memory and in the file).
    void Clear();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Offer(int kind);
    void ShowContextMenu(int kind, const QPoint& position);
    void ReportWriteFailure(bool written);

    std::array<QLineEdit*, 5> m_fields;
    std::array<QCompleter*, 5> m_completers{};
    std::array<QStringListModel*, 5> m_models{};
    std::unique_ptr<NumberHistory> m_history;
    bool m_failureReported = false;
};

} // namespace kelvra::ui
