#include "gui/editor/EditCommand.h"

#include <utility>

#include "core/model/Model.h"

namespace mardo {

CEditCommand::CEditCommand(CModel& model, CModelEdit edit, const QString& strText,
                           std::function<void()> afterChange)
    : QUndoCommand(strText),
      m_model(model),
      m_edit(std::move(edit)),
      m_afterChange(std::move(afterChange)) {}

void CEditCommand::undo() {
    m_model.Undo(m_edit);
    m_afterChange();
}

void CEditCommand::redo() {
    if (std::exchange(m_bMade, false)) {
        return;
    }
    m_model.Redo(m_edit);
    m_afterChange();
}

}  // namespace mardo
