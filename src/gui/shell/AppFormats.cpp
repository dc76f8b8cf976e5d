#include "AppFormats.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void ApplyAppFormats()
{
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")});
    QApplication::setFont(font);

    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    // No application display name: the window system would append it to every window title,
    // and the main window's caption already carries the product title.

    // Texts inside Qt's own dialogs ("查找范围", context menus of edit fields); our own buttons
    // are labelled explicitly and read Chinese even without it.
    auto *translator = new QTranslator(qApp);
    if (translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;
}
