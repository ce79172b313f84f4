#include "ui/app/UiTranslations.h"

#include <QCoreApplication>
#include <QTranslator>

namespace kelvra::ui {

UiTranslations::UiTranslations(QObject* parent)
    : QObject(parent), m_translator(new QTranslator(this)) {}

UiTranslations::~UiTranslations() {
    QCoreApplication::removeTranslator(m_translator);
}

void UiTranslations::Use(bool chinese) {
    if (m_current == int(chinese))
        return;
    m_current = int(chinese);
    QCoreApplication::removeTranslator(m_translator);
    const QString file =
        chinese ? QStringLiteral(":/i18n/kelvra_zh_CN.qm") : QStringLiteral(":/i18n/kelvra_en.qm");
    if (m_translator->load(file))
        QCoreApplication::installTranslator(m_translator);
    else if (chinese)
        qWarning("kelvra: the Chinese translation %s is missing", qPrintable(file));
}

} // namespace kelvra::ui
