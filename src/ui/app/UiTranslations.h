#pragma once

#include <QObject>

class QTranslator;

namespace kelvra::ui {

// The translations of the texts that are not in the language files (tool tips, the find bar,
// the quota, print messages): one translator on the application, switched with the language.
// Installing it sends every widget a LanguageChange event, on which they put their texts again.
class UiTranslations : public QObject {
    Q_OBJECT
public:
    explicit UiTranslations(QObject* parent = nullptr);
    ~UiTranslations() override;

    // Makes the Chinese or English translation current; a translation that cannot be loaded
    // leaves the English source texts.
    void Use(bool chinese);

private:
    QTranslator* m_translator = nullptr;
    int m_current = -1; // -1 none yet, 0 English, 1 Chinese
};

} // namespace kelvra::ui
