#pragma once

#include <QHeaderView>

namespace mardo {

// A horizontal header that breaks long column titles into lines within the column's width and
// grows as tall as the longest title needs, so that no title is cut off in narrow columns.
class CWrapHeaderView : public QHeaderView {
    Q_OBJECT

public:
    explicit CWrapHeaderView(QWidget* pParent = nullptr);

protected:
    QSize sectionSizeFromContents(int nLogicalIndex) const override;

private:
    // Width of a section's label, without the margins the style draws beside it.
    int LabelWidth(int nLogicalIndex) const;
};

}  // namespace mardo
