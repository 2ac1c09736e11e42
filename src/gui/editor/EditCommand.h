#pragma once

#include <QUndoCommand>
#include <functional>

#include "core/model/ModelEdit.h"

namespace mardo {

class CModel;

// One step of the editor's history: an edit the model has made, taken back and done again
// through the model itself. The step is pushed after the edit was made, so its first redo does
// nothing; after every later undo or redo the windows are brought in line with the model.
class CEditCommand final : public QUndoCommand {
public:
    CEditCommand(CModel& model, CModelEdit edit, const QString& strText,
                 std::function<void()> afterChange);

    void undo() override;
    void redo() override;

private:
    CModel& m_model;
    CModelEdit m_edit;
    std::function<void()> m_afterChange;
    bool m_bMade = true;
};

}  // namespace mardo
