#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "editor/ModelEditorDlg.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mardo"));
    // The toolkit's own texts (edit menus, file dialogs) in Russian, like the rest of the program.
    QTranslator translator;
    if (translator.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&translator);
    }
    mardo::CModelEditorDlg editor;
    editor.showMaximized();
    return app.exec();
}
