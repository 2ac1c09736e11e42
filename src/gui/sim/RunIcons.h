#pragma once

#include <QIcon>

namespace mardo {

// The program's icon, the one its desktop entry shows, at every size it is drawn in.
QIcon AppIcon();
// The icons of the run and report windows, from the run resources.
QIcon RunWindowIcon();
QIcon ReportWindowIcon();
// The log's line icons: 0 information, 1 warning, 2 error.
QIcon MessageIcon(int nKind);

}  // namespace mardo
