#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QUndoStack>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "core/model/Model.h"
#include "gui/report/RunReport.h"
#include "gui/editor/DiagramLink.h"
#include "gui/editor/PaletteOwner.h"
#include "gui/model/BlockWindowOwner.h"
#include "gui/props/BlockSheetEditor.h"

class QMenu;

namespace mardo {

class CBlocksPaletteDlg;
class CDiagramView;
class CModelWatch;
class CReportDlg;
struct SSeriesMemory;

// The main window: it owns the model being edited, its diagram, the block palette, the
// clipboard block and the history of edits, offers the menus, keeps the title, and asks the
// save questions. Every change of the model is an edit operation of the model, pushed as one
// step of the history.
class CModelEditorDlg final : public QMainWindow, public IBlockWindowOwner, public IPaletteOwner {
    Q_OBJECT

public:
    enum ECommand {
        kNew, kOpen, kSave, kSaveAs, kExit, kShowPalette,
        kCopy, kPaste, kDelete, kBlockProperties, kChangeLink, kDeleteLink,
        kRun, kLastReport, kSeries, kModelProperties, kAbout, kUndo, kRedo, kExportDiagram, kWatch,
        kCommandCount
    };

    // The run window plugs in here: it is given the model and its file (with the folder once the
    // model has one, so that its report is saved beside it), and runs modally. While it runs,
    // the title says so, the main window is minimised and nothing can be edited. Until one is
    // set, "З&апуск..." is unavailable.
    using CRunHandler =
        std::function<void(QWidget* pParent, CModel& model, const QString& strModelFile)>;

    static inline const QString kUntitled = QStringLiteral("Без имени.mrd");

    explicit CModelEditorDlg(QWidget* pParent = nullptr);
    ~CModelEditorDlg() override;

    void SetRunHandler(CRunHandler handler);

    CModel& GetModel() { return m_model; }
    CDiagramView& GetDiagram() const { return *m_pDiagram; }
    CBlocksPaletteDlg& GetPalette() const { return *m_pPalette; }
    QAction& GetAction(ECommand nCommand) const { return *m_actions[nCommand]; }
    const QString& GetModelPath() const { return m_strPath; }
    bool HasFile() const { return m_bHasFile; }
    const CBlockDlg* GetClipboard() const { return m_pClipboard.get(); }
    QUndoStack& GetHistory() { return m_history; }
    CBlockDlg* GetSelectedBlock() const;
    const SDiagramLink& GetSelectedLink() const;

    // The file commands. Save and Save As answer whether the model was written.
    void OnNew();
    void OnOpen();
    bool OnSave();
    bool OnSaveAs();
    // Reads a model file into the editor, which holds a new model; a file that cannot be read
    // leaves the new model and says why. The program opens a file named on its command line so.
    void LoadFile(const QString& strPath);

    // Adds a copy of a palette prototype at a diagram position; it becomes the selected block.
    // Null when the model refuses it.
    CBlockDlg* AddBlock(const CBlockDlg& prototype, CPoint ptPos);
    // Pastes the clipboard block with its top-left corner at a client point, or at the free
    // place nearest to it (CDiagramView::FreePlace).
    void PasteAt(QPoint ptClient);
    // "&Вставить": under the pointer when it is on the diagram, else beside the last paste.
    void Paste();
    // A press on the background: selects the link under the point, if any.
    bool HitTestLink(QPoint ptClient);
    void SelectLink(const SDiagramLink& link);
    void ChangeSelectedLink();
    void DeleteSelectedLink();
    void DeselectBlock();
    // "Свойства модели": the experiment conditions, changed only on OK.
    void EditModelProperties();
    // "Экспорт схемы...": the whole diagram as a PNG or SVG picture; answers why it was not
    // written, or an empty text.
    QString ExportDiagram(const QString& strPath);
    // The background's popup at a client point: for a link under it, or for the empty place.
    std::unique_ptr<QMenu> CreateBackgroundMenu(QPoint ptClient);

    // IBlockWindowOwner
    void SelectBlock(CBlockDlg& block) override;
    void ClearLinkSelection() override;
    bool IsLinked(const CBlockDlg& block) const override;
    const CModel& GetEditedModel() const override { return m_model; }
    void MoveBlockWindow(CBlockWindow& window, QPoint ptClientTopLeft) override;
    void BlockWindowDropped(CBlockWindow& window) override;
    CBlockWindow* BlockWindowAt(QPoint ptGlobal) const override;
    void MakeLink(CBlockDlg& source, int nOutput, CBlockDlg& destination) override;
    void RepaintLinks() override;
    bool RenameBlock(CBlockDlg& block) override;
    void ChangeOutputLink(CBlockDlg& block, int nOutput) override;
    void EditBlockProperties(CBlockDlg& block) override;
    void CopyBlock(const CBlockDlg& block) override;
    void DeleteBlock(CBlockDlg& block) override;

    // IPaletteOwner
    bool IsDropPlace(QPoint ptGlobal) const override;
    void AddBlockAt(const CBlockDlg& prototype, QPoint ptGlobal) override;
    void AddBlockAtTopLeft(const CBlockDlg& prototype) override;
    void PaletteClosed() override;

    // "&Наблюдение": the diagram becomes a live view of a simulation of the model, which cannot
    // be edited meanwhile; when the simulation ends its report opens. Null while not watching.
    void OnWatch();
    CModelWatch* GetWatch() const { return m_pWatch.get(); }
    const SRunReport* GetLastReport() const { return m_pLastReport.get(); }

    // The first show also shows the palette, once this window has gone to the screen.
    void setVisible(bool bVisible) override;

protected:
    void closeEvent(QCloseEvent* pEvent) override;

private:
    void CreateMenus();
    QAction* AddCommand(QMenu& menu, const char* pszText, ECommand nCommand,
                        const std::function<void()>& handler, QList<QKeySequence> keys = {});
    // Makes an edit one step of the history, named by the text; answers whether it changed
    // anything.
    bool Push(CModelEdit edit, const QString& strStep);
    // After the history took a step back or forth: the windows follow the model.
    void FollowModel();
    void UpdateHistoryCommands();
    // Leads an output to a block, or clears it, as one step.
    void SetLink(CBlockDlg& source, int nOutput, CBlockDlg* pDestination);
    void OnExport();
    void UpdateMenuStates();
    void UpdateTitle(const char* pszMode = " - Mardo [Редактор]");
    QString GetFileName() const;

    void NewModel();
    bool WriteModel(const QString& strPath);
    CBlockDlg* PlaceBlock(std::unique_ptr<CBlockDlg> pBlock, const char* pszStep);
    void FocusHolder();

    void OnBackgroundDoubleClicked(QPoint ptClient);
    void OnBackgroundContextMenu(QPoint ptClient);
    void TogglePalette();
    void OnRun();
    // "Последний &отчет...": the report of the last simulation, in a window that may stay open
    // beside the diagram.
    void OnLastReport();
    // "Серия &прогонов...": replications of the model, over a parameter's values if wished.
    void OnSeries();
    // The last report is gone with a new simulation, a new model or another file.
    void ForgetLastReport();
    void OnAbout();
    // The end of a watch: editing as before, and the report.
    void OnWatchEnded();

    CModel m_model;
    CDiagramView* m_pDiagram;  // the central widget
    std::unique_ptr<CBlocksPaletteDlg> m_pPalette;
    std::unique_ptr<CBlockDlg> m_pClipboard;
    CBlockSheetEditor m_sheetEditor;
    CRunHandler m_runHandler;
    std::unique_ptr<SRunReport> m_pLastReport;
    QPointer<CReportDlg> m_pReportWindow;
    // The series window's fields and last results, for its next opening on this model; dropped
    // when the model changes.
    std::unique_ptr<SSeriesMemory> m_pSeriesMemory;
    QUndoStack m_history;
    std::array<QAction*, kCommandCount> m_actions{};
    // With its full folder once the model has a file, so that the file dialogs open there and
    // not in whatever folder the program was started from.
    QString m_strPath = kUntitled;
    bool m_bHasFile = false;
    bool m_bPalettePlaced = false;
    std::optional<CPoint> m_lastPaste;  // where the last paste went, in diagram coordinates
    std::unique_ptr<CModelWatch> m_pWatch;
    std::vector<bool> m_enabledBeforeWatch;  // each command's state when the watch began
};

}  // namespace mardo
