#pragma once

#include <QIcon>

namespace mardo {

// The icons of the run and report windows, from the run resources.
QIcon RunWindowIcon();
QIcon ReportWindowIcon();
// The log's line icons: 0 information, 1 warning, 2 error.
QIcon MessageIcon(int nKind);

}  // namespace mardo
