#include "ui/qt/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/Settings.h"
#include "app/Strings.h"

void ApplyLanguage(int index)
{
    const Language language = LanguageFromIndex(index);
    SetLanguage(language);
    const QString code = QString::fromLatin1(LanguageCode(language));
    QLocale::setDefault(QLocale(code));

    static QTranslator* translator = nullptr;
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
        translator = nullptr;
    }
    if (language == Language::English)
        return;
    auto* next = new QTranslator;
    if (next->load(QStringLiteral("qtbase_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(next);
        translator = next;
    } else {
        delete next;
    }
}
