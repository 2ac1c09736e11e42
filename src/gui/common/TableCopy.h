#pragma once

#include <QString>

class QTableView;

namespace mardo {

// Tables of results are read row by row: a click selects the whole row, and Ctrl+C (or the
// Copy shortcut of the platform) puts the selected rows on the clipboard with the header line
// first, as a spreadsheet pastes them. Installs that on the view; it lives as long as the view.
void EnableRowCopy(QTableView& view);

// The selected rows of the view in the order shown, each with all of its columns, after the
// header line: tab-separated lines of the texts shown; empty when nothing is selected.
QString SelectedRowsText(const QTableView& view);

}  // namespace mardo
