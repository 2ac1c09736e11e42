#include "gui/sim/RunIcons.h"

#include <QString>
#include <array>
#include <initializer_list>

// The resources live in a static library, so nothing would pull them into a program unless
// they are initialised by name, which has to happen outside any namespace.
static void InitRunResources() {
    static const bool bDone = [] {
        Q_INIT_RESOURCE(run);
        return true;
    }();
    (void)bDone;
}

namespace mardo {

namespace {

QIcon LoadIcon(std::initializer_list<const char*> files) {
    InitRunResources();
    QIcon icon;
    for (const char* pszFile : files) {
        icon.addFile(QString::fromLatin1(pszFile));
    }
    return icon;
}

}  // namespace

QIcon AppIcon() {
    return LoadIcon({":/app/mardo-16.png", ":/app/mardo-24.png", ":/app/mardo-32.png",
                     ":/app/mardo-48.png", ":/app/mardo-64.png", ":/app/mardo-128.png",
                     ":/app/mardo-256.png"});
}

QIcon RunWindowIcon() {
    return LoadIcon({":/run/run16.png", ":/run/run32.png"});
}

QIcon ReportWindowIcon() {
    return LoadIcon({":/run/report16.png", ":/run/report32.png"});
}

QIcon MessageIcon(int nKind) {
    static constexpr std::array<const char*, 3> kFiles = {":/run/information.png",
                                                          ":/run/warning.png", ":/run/error.png"};
    const auto nIndex = static_cast<std::size_t>(nKind);
    return LoadIcon({kFiles.at(nIndex < kFiles.size() ? nIndex : 0)});
}

}  // namespace mardo
