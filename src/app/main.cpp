#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "gui/editor/ModelEditorDlg.h"
#include "gui/sim/RunIcons.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mardo"));
    // The toolkit's own texts (edit menus, file dialogs) in Russian, like the rest of the program.
    QTranslator translator;
    if (translator.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&translator);
    }
    QApplication::setWindowIcon(mardo::AppIcon());
    mardo::CModelEditorDlg editor;
    editor.showMaximized();
    // "mardo FILE", as the desktop entry starts it for a model file opened from a file manager.
    const QStringList args = QApplication::arguments();
    if (args.size() > 1) {
        editor.LoadFile(args.at(1));
    }
    return app.exec();
}
