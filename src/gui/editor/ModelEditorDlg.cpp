#include "gui/editor/ModelEditorDlg.h"

#include <QCloseEvent>
#include <QCursor>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QImage>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <filesystem>

#include "core/persist/ModelFile.h"
#include "gui/common/DialogRunner.h"
#include "gui/common/Dialogs.h"
#include "gui/common/MenuKeys.h"
#include "gui/common/PictureFile.h"
#include "gui/common/TextConversion.h"
#include "gui/editor/BlocksPaletteDlg.h"
#include "gui/editor/DiagramView.h"
#include "gui/editor/EditCommand.h"
#include "gui/experiment/SeriesDlg.h"
#include "gui/model/BlockWindow.h"
#include "gui/props/ChangeInBlockDlg.h"
#include "gui/props/ChangeNameBlockDlg.h"
#include "gui/report/ReportDlg.h"
#include "gui/sim/ModelStartDlg.h"
#include "gui/sim/RunIcons.h"
#include "gui/watch/ModelWatch.h"

namespace mardo {

namespace {

const QString kOpenFilter = QStringLiteral("Файлы \"Mardo\" (*.mrd);;Все файлы (*.*)");
const QString kSaveFilter = QStringLiteral("Файлы \"Mardo\" (*.mrd)");
const QString kModelSuffix = QStringLiteral("mrd");
const QString kExportFilter = QStringLiteral("Рисунок PNG (*.png);;Рисунок SVG (*.svg)");
const QString kExportTitle = QStringLiteral("Экспорт схемы");

// How a step names a block: by its name, or by its kind while it has none.
QString Label(const CBlockDlg& block) {
    return QStringLiteral("«%1»").arg(QString::fromStdString(
        block.IsNamed() ? block.GetName() : block.GetKindTitle()));
}

// While one of the main window's modal dialogs is open the palette accepts nothing.
class CPaletteLock {
public:
    explicit CPaletteLock(QWidget& palette) : m_palette(palette) { m_palette.setEnabled(false); }
    ~CPaletteLock() { m_palette.setEnabled(true); }
    CPaletteLock(const CPaletteLock&) = delete;
    CPaletteLock& operator=(const CPaletteLock&) = delete;

private:
    QWidget& m_palette;
};

}  // namespace

CModelEditorDlg::CModelEditorDlg(QWidget* pParent)
    : QMainWindow(pParent),
      m_pDiagram(new CDiagramView(m_model, *this, this)),
      m_pPalette(std::make_unique<CBlocksPaletteDlg>(*this, this)),
      m_sheetEditor(this) {
    setWindowIcon(AppIcon());
    setCentralWidget(m_pDiagram);
    resize(900, 640);
    CreateMenus();
    AddMenuBarKeys(*this, *menuBar());
    connect(&m_history, &QUndoStack::indexChanged, this, [this] {
        UpdateHistoryCommands();
        // An edit, undone or redone, makes the series' results those of another model.
        m_pSeriesMemory.reset();
    });
    connect(m_pDiagram, &CDiagramView::backgroundPressed, this,
            [this](QPoint pt) { HitTestLink(pt); });
    connect(m_pDiagram, &CDiagramView::backgroundDoubleClicked, this,
            &CModelEditorDlg::OnBackgroundDoubleClicked);
    connect(m_pDiagram, &CDiagramView::backgroundContextMenu, this,
            &CModelEditorDlg::OnBackgroundContextMenu);
    // "З&апуск..." opens the run window; this window minimises itself meanwhile.
    m_runHandler = [this](QWidget* /*pParent*/, CModel& model, const QString& strFileName) {
        CModelStartDlg dialog(model, strFileName);
        RunDialog(dialog);
        if (const SRunReport* pReport = dialog.GetReport()) {
            m_pLastReport = std::make_unique<SRunReport>(*pReport);
            m_pLastReport->strModelFile = strFileName;
        }
    };
    NewModel();
}

CModelEditorDlg::~CModelEditorDlg() {
    // The watched simulation ends before the blocks it simulates.
    m_pWatch.reset();
    // The block windows refer to their blocks, which go with the model before the diagram.
    m_pDiagram->RemoveAllWindows();
}

void CModelEditorDlg::SetRunHandler(CRunHandler handler) {
    m_runHandler = std::move(handler);
    UpdateMenuStates();
}

QAction* CModelEditorDlg::AddCommand(QMenu& menu, const char* pszText, ECommand nCommand,
                                     const std::function<void()>& handler,
                                     QList<QKeySequence> keys) {
    QAction* pAction = menu.addAction(QString::fromUtf8(pszText));
    pAction->setShortcuts(keys);
    connect(pAction, &QAction::triggered, this, handler);
    m_actions[nCommand] = pAction;
    return pAction;
}

void CModelEditorDlg::CreateMenus() {
    QMenuBar& bar = *menuBar();
    QMenu& file = *bar.addMenu(QStringLiteral("&Файл"));
    AddCommand(file, "Созд&ать", kNew, [this] { OnNew(); }, {Qt::CTRL | Qt::Key_N});
    AddCommand(file, "&Открыть...", kOpen, [this] { OnOpen(); }, {Qt::CTRL | Qt::Key_O});
    AddCommand(file, "&Сохранить", kSave, [this] { OnSave(); }, {Qt::CTRL | Qt::Key_S});
    AddCommand(file, "Сохранить &как...", kSaveAs, [this] { OnSaveAs(); },
               {Qt::CTRL | Qt::SHIFT | Qt::Key_S});
    file.addSeparator();
    AddCommand(file, "&Экспорт схемы...", kExportDiagram, [this] { OnExport(); });
    file.addSeparator();
    AddCommand(file, "&Выход", kExit, [this] { close(); });

    QMenu& edit = *bar.addMenu(QStringLiteral("&Правка"));
    AddCommand(edit, "&Отменить", kUndo, [this] { m_history.undo(); }, {Qt::CTRL | Qt::Key_Z});
    AddCommand(edit, "&Повторить", kRedo, [this] { m_history.redo(); },
               {Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z});

    QMenu& view = *bar.addMenu(QStringLiteral("&Вид"));
    AddCommand(view, "Бло&ки", kShowPalette, [this] { TogglePalette(); })->setCheckable(true);

    QMenu& block = *bar.addMenu(QStringLiteral("Бло&к"));
    AddCommand(
        block, "&Копировать", kCopy,
        [this] {
            if (const CBlockDlg* pBlock = GetSelectedBlock()) {
                CopyBlock(*pBlock);
            }
        },
        {Qt::CTRL | Qt::Key_C});
    AddCommand(block, "&Вставить", kPaste, [this] { Paste(); },
               {Qt::CTRL | Qt::Key_V});
    // Delete belongs to the block or to the link, whichever is selected: only one of the two
    // commands is ever available.
    AddCommand(
        block, "&Удалить", kDelete,
        [this] {
            if (CBlockDlg* pBlock = GetSelectedBlock()) {
                DeleteBlock(*pBlock);
            }
        },
        {Qt::Key_Delete});
    block.addSeparator();
    AddCommand(block, "&Свойства...", kBlockProperties, [this] {
        if (CBlockDlg* pBlock = GetSelectedBlock()) {
            EditBlockProperties(*pBlock);
        }
    });

    QMenu& link = *bar.addMenu(QStringLiteral("&Связь"));
    AddCommand(link, "&Изменить...", kChangeLink, [this] { ChangeSelectedLink(); });
    AddCommand(link, "&Удалить", kDeleteLink, [this] { DeleteSelectedLink(); }, {Qt::Key_Delete});

    QMenu& model = *bar.addMenu(QStringLiteral("&Модель"));
    AddCommand(model, "З&апуск...", kRun, [this] { OnRun(); }, {Qt::Key_F5});
    AddCommand(model, "Последний &отчет...", kLastReport, [this] { OnLastReport(); });
    AddCommand(model, "Серия &прогонов...", kSeries, [this] { OnSeries(); });
    AddCommand(model, "&Наблюдение", kWatch, [this] { OnWatch(); }, {Qt::Key_F6});
    model.addSeparator();
    AddCommand(model, "&Свойства...", kModelProperties, [this] { EditModelProperties(); });

    QMenu& help = *bar.addMenu(QStringLiteral("П&омощь"));
    AddCommand(help, "&О программе...", kAbout, [this] { OnAbout(); });
}

CBlockDlg* CModelEditorDlg::GetSelectedBlock() const {
    for (const auto& pBlock : m_model.GetBlocks()) {
        if (pBlock->IsSelected()) {
            return pBlock.get();
        }
    }
    return nullptr;
}

const SDiagramLink& CModelEditorDlg::GetSelectedLink() const {
    return m_pDiagram->GetSelectedLink();
}

void CModelEditorDlg::UpdateMenuStates() {
    const bool bLink = GetSelectedLink().IsSet();
    const CBlockDlg* pBlock = bLink ? nullptr : GetSelectedBlock();
    // A block is copied only when the model would take another of its kind.
    m_actions[kCopy]->setEnabled(pBlock != nullptr && m_model.CanInsert(*pBlock));
    m_actions[kDelete]->setEnabled(pBlock != nullptr);
    m_actions[kBlockProperties]->setEnabled(pBlock != nullptr);
    m_actions[kChangeLink]->setEnabled(bLink);
    m_actions[kDeleteLink]->setEnabled(bLink);
    m_actions[kPaste]->setEnabled(m_pClipboard != nullptr);
    m_actions[kRun]->setEnabled(static_cast<bool>(m_runHandler));
    m_actions[kLastReport]->setEnabled(m_pLastReport != nullptr);
    UpdateHistoryCommands();
}

void CModelEditorDlg::UpdateHistoryCommands() {
    const auto name = [](const char* pszCommand, bool bCan, const QString& strStep) {
        return bCan ? QStringLiteral("%1: %2").arg(QString::fromUtf8(pszCommand), strStep)
                    : QString::fromUtf8(pszCommand);
    };
    m_actions[kUndo]->setEnabled(m_history.canUndo());
    m_actions[kUndo]->setText(name("&Отменить", m_history.canUndo(), m_history.undoText()));
    m_actions[kRedo]->setEnabled(m_history.canRedo());
    m_actions[kRedo]->setText(name("&Повторить", m_history.canRedo(), m_history.redoText()));
}

bool CModelEditorDlg::Push(CModelEdit edit, const QString& strStep) {
    if (edit.IsEmpty()) {
        return false;
    }
    m_history.push(new CEditCommand(m_model, std::move(edit), strStep, [this] { FollowModel(); }));
    FollowModel();
    return true;
}

void CModelEditorDlg::FollowModel() {
    // A block comes back from the history as it went, perhaps selected: one selection stays.
    bool bSelected = false;
    for (const auto& pBlock : m_model.GetBlocks()) {
        if (pBlock->IsSelected() && std::exchange(bSelected, true)) {
            pBlock->Deselect();
        }
    }
    m_pDiagram->FollowModel();
    m_pPalette->FollowModel(m_model);
    UpdateMenuStates();
}

QString CModelEditorDlg::GetFileName() const { return QFileInfo(m_strPath).fileName(); }

void CModelEditorDlg::UpdateTitle(const char* pszMode) {
    setWindowTitle(GetFileName() + QString::fromUtf8(pszMode));
}

void CModelEditorDlg::FocusHolder() { m_pDiagram->setFocus(Qt::OtherFocusReason); }

void CModelEditorDlg::NewModel() {
    ForgetLastReport();
    m_pSeriesMemory.reset();
    m_history.clear();
    m_pDiagram->RemoveAllWindows();
    m_model.Clear();
    UpdateMenuStates();
    m_pPalette->FollowModel(m_model);
    m_pDiagram->ResetScroll();
    m_lastPaste.reset();
    m_strPath = kUntitled;
    m_bHasFile = false;
    UpdateTitle();
}

void CModelEditorDlg::OnNew() {
    const EMessageAnswer nAnswer =
        ShowMessage(this, QStringLiteral("Сохранить текущую модель в файле?"),
                    EMessageIcon::kQuestion, EMessageButtons::kYesNoCancel);
    if (nAnswer == EMessageAnswer::kCancel) {
        return;
    }
    // A model that the user wanted saved is not thrown away when it could not be.
    if (nAnswer == EMessageAnswer::kYes && !OnSave()) {
        return;
    }
    NewModel();
}

void CModelEditorDlg::OnOpen() {
    const QString strPath =
        ShowFileDialog(this, {false, QString(), kOpenFilter, kModelSuffix, QString()});
    if (strPath.isEmpty()) {
        return;
    }
    const EMessageAnswer nAnswer =
        ShowMessage(this, QStringLiteral("Сохранить предыдущую модель в файле?"),
                    EMessageIcon::kQuestion, EMessageButtons::kYesNo);
    if (nAnswer == EMessageAnswer::kCancel || (nAnswer == EMessageAnswer::kYes && !OnSave())) {
        return;
    }
    NewModel();
    LoadFile(strPath);
}

void CModelEditorDlg::LoadFile(const QString& strPath) {
    const SLoadResult result = LoadModel(m_model, ToFilePath(strPath));
    if (!result.IsLoaded()) {
        NewModel();
        ShowMessage(this, QString::fromStdString(result.strMessage), EMessageIcon::kError);
        return;
    }
    m_history.clear();
    m_pSeriesMemory.reset();
    for (const auto& pBlock : m_model.GetBlocks()) {
        m_pDiagram->AddWindow(*pBlock);
    }
    m_pPalette->FollowModel(m_model);
    m_strPath = QFileInfo(strPath).absoluteFilePath();
    m_bHasFile = true;
    UpdateTitle();
    UpdateMenuStates();
    RepaintLinks();
}

bool CModelEditorDlg::OnSave() { return m_bHasFile ? WriteModel(m_strPath) : OnSaveAs(); }

bool CModelEditorDlg::OnSaveAs() {
    const QString strPath =
        ShowFileDialog(this, {true, m_strPath, kSaveFilter, kModelSuffix, QString()});
    return !strPath.isEmpty() && WriteModel(WithSuffix(strPath, kModelSuffix));
}

bool CModelEditorDlg::WriteModel(const QString& strPath) {
    if (!SaveModel(m_model, ToFilePath(strPath))) {
        ShowMessage(this, QString::fromUtf8(kSaveErrorText), EMessageIcon::kError);
        return false;
    }
    const QString strFullPath = QFileInfo(strPath).absoluteFilePath();
    if (strFullPath != m_strPath) {
        m_strPath = strFullPath;
        UpdateTitle();
    }
    m_bHasFile = true;
    return true;
}

void CModelEditorDlg::closeEvent(QCloseEvent* pEvent) {
    const EMessageAnswer nAnswer =
        ShowMessage(this, QStringLiteral("Сохранить модель в файле?"), EMessageIcon::kQuestion,
                    EMessageButtons::kYesNoCancel);
    // A save that fails or is cancelled keeps the window open with the model.
    if (nAnswer == EMessageAnswer::kCancel || (nAnswer == EMessageAnswer::kYes && !OnSave())) {
        pEvent->ignore();
        return;
    }
    m_pWatch.reset();
    m_pPalette->hide();
    pEvent->accept();
}

void CModelEditorDlg::setVisible(bool bVisible) {
    QMainWindow::setVisible(bVisible);
    // A window manager keeps a tool window over its owner only when the owner is on the screen
    // as the tool window maps: shown earlier (from showEvent, say), the palette comes up under
    // the maximised main window. So the palette follows this window's own show.
    if (!bVisible || m_bPalettePlaced) {
        return;
    }
    m_bPalettePlaced = true;
    const QRect available = screen()->availableGeometry();
    m_pPalette->move(available.right() - m_pPalette->width() - 40, available.top() + 90);
    m_pPalette->setAttribute(Qt::WA_ShowWithoutActivating);
    m_pPalette->show();
    m_actions[kShowPalette]->setChecked(true);
}

void CModelEditorDlg::TogglePalette() {
    const bool bShow = !m_pPalette->isVisible();
    m_pPalette->setVisible(bShow);
    m_actions[kShowPalette]->setChecked(bShow);
}

void CModelEditorDlg::PaletteClosed() { m_actions[kShowPalette]->setChecked(false); }

void CModelEditorDlg::OnRun() {
    if (!m_runHandler) {
        return;
    }
    ForgetLastReport();
    CPaletteLock lock(*m_pPalette);
    m_pDiagram->setEnabled(false);
    UpdateTitle(" - Mardo [Запуск модели]");
    const Qt::WindowStates nStates = windowState();
    showMinimized();
    m_runHandler(this, m_model, m_strPath);
    setWindowState(nStates);
    UpdateTitle();
    m_pDiagram->setEnabled(true);
    UpdateMenuStates();
}

void CModelEditorDlg::OnWatch() {
    if (m_pWatch != nullptr) {
        return;
    }
    ForgetLastReport();
    DeselectBlock();
    ClearLinkSelection();
    m_enabledBeforeWatch.clear();
    for (QAction* pAction : m_actions) {
        m_enabledBeforeWatch.push_back(pAction->isEnabled());
        pAction->setEnabled(false);
    }
    m_pPalette->setEnabled(false);
    UpdateTitle(" - Mardo [Наблюдение]");
    m_pWatch = std::make_unique<CModelWatch>(m_model, *m_pDiagram, *this);
    // Queued: the watch must not go while it tells of its end.
    connect(m_pWatch.get(), &CModelWatch::ended, this, &CModelEditorDlg::OnWatchEnded,
            Qt::QueuedConnection);
    // The title tells where a pause holds, for the task bar and for scripts that drive it.
    connect(m_pWatch.get(), &CModelWatch::paused, this, [this](std::uint32_t nTime) {
        setWindowTitle(GetFileName() +
                       QStringLiteral(" - Mardo [Наблюдение: пауза, такт %1]").arg(nTime));
    });
    connect(m_pWatch.get(), &CModelWatch::resumed, this,
            [this] { UpdateTitle(" - Mardo [Наблюдение]"); });
    if (!m_pWatch->Start()) {
        OnWatchEnded();
    }
}

void CModelEditorDlg::OnWatchEnded() {
    if (m_pWatch == nullptr) {
        return;
    }
    std::unique_ptr<SRunReport> pReport = m_pWatch->TakeReport();
    m_pWatch.reset();
    for (std::size_t i = 0; i < m_actions.size() && i < m_enabledBeforeWatch.size(); ++i) {
        m_actions[i]->setEnabled(m_enabledBeforeWatch[i]);
    }
    m_pPalette->setEnabled(true);
    UpdateTitle();
    UpdateMenuStates();
    FocusHolder();
    if (pReport != nullptr) {
        pReport->strModelFile = m_strPath;
        m_pLastReport = std::move(pReport);
        UpdateMenuStates();
        OnLastReport();
    }
}

void CModelEditorDlg::OnLastReport() {
    if (m_pLastReport == nullptr) {
        return;
    }
    if (m_pReportWindow == nullptr) {
        m_pReportWindow =
            new CReportDlg(m_pLastReport->tables, m_pLastReport->strModelFile, false, this);
        m_pReportWindow->ShowTrace(m_pLastReport->followed);
        // It may stay open while the model changes: its title says which simulation it shows.
        m_pReportWindow->ShowSimulation(m_pLastReport->finished);
        m_pReportWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_pReportWindow->show();
    m_pReportWindow->raise();
    m_pReportWindow->activateWindow();
}

void CModelEditorDlg::OnSeries() {
    CPaletteLock lock(*m_pPalette);
    if (!m_pSeriesMemory) {
        m_pSeriesMemory = std::make_unique<SSeriesMemory>();
    }
    CSeriesDlg dialog(m_model, m_strPath, this, m_pSeriesMemory.get());
    RunDialog(dialog);
}

void CModelEditorDlg::ForgetLastReport() {
    m_pLastReport.reset();
    delete m_pReportWindow.data();
}

void CModelEditorDlg::OnAbout() {
    CPaletteLock lock(*m_pPalette);
    ShowMessage(this, QStringLiteral("Mardo Studio\nСреда моделирования систем массового обслуживания"),
                EMessageIcon::kInformation);
}

// --- Blocks -------------------------------------------------------------------------------

CBlockDlg* CModelEditorDlg::PlaceBlock(std::unique_ptr<CBlockDlg> pBlock, const char* pszStep) {
    DeselectBlock();
    ClearLinkSelection();
    CModelEdit edit = m_model.InsertBlock(std::move(pBlock));
    CBlockDlg* pPlaced = edit.GetPlacedBlock();
    if (pPlaced == nullptr) {
        UpdateMenuStates();
        return nullptr;
    }
    Push(std::move(edit), QString::fromUtf8(pszStep).arg(Label(*pPlaced)));
    pPlaced->Select();
    UpdateMenuStates();
    return pPlaced;
}

CBlockDlg* CModelEditorDlg::AddBlock(const CBlockDlg& prototype, CPoint ptPos) {
    std::unique_ptr<CBlockDlg> pBlock = prototype.Clone();
    pBlock->SetPosition(ptPos.x, ptPos.y);
    return PlaceBlock(std::move(pBlock), "добавление блока %1");
}

bool CModelEditorDlg::IsDropPlace(QPoint ptGlobal) const {
    return m_pDiagram->isEnabled() && m_pDiagram->IsBackgroundAt(ptGlobal);
}

void CModelEditorDlg::AddBlockAt(const CBlockDlg& prototype, QPoint ptGlobal) {
    AddBlock(prototype, m_pDiagram->ToDiagram(m_pDiagram->viewport()->mapFromGlobal(ptGlobal)));
}

void CModelEditorDlg::AddBlockAtTopLeft(const CBlockDlg& prototype) {
    AddBlock(prototype, m_pDiagram->ToDiagram(QPoint(0, 0)));
}

void CModelEditorDlg::CopyBlock(const CBlockDlg& block) {
    if (!m_model.CanInsert(block)) {
        return;
    }
    m_pClipboard = block.Clone();
    UpdateMenuStates();
}

void CModelEditorDlg::PasteAt(QPoint ptClient) {
    if (!m_pClipboard) {
        return;
    }
    std::unique_ptr<CBlockDlg> pBlock = m_pClipboard->Clone();
    const CPoint pos = m_pDiagram->ToDiagram(
        m_pDiagram->FreePlace(ptClient, CBlockWindow::FittedSizeOf(*pBlock)));
    pBlock->SetPosition(pos.x, pos.y);
    if (PlaceBlock(std::move(pBlock), "вставка блока %1") != nullptr) {
        m_lastPaste = pos;
    }
}

void CModelEditorDlg::Paste() {
    const QPoint ptPointer = QCursor::pos();
    QPoint ptStart(0, 0);
    if (m_pDiagram->IsBackgroundAt(ptPointer)) {
        ptStart = m_pDiagram->viewport()->mapFromGlobal(ptPointer);
    } else if (m_lastPaste) {
        ptStart = QPoint(m_lastPaste->x, m_lastPaste->y) - m_pDiagram->ScrollOffset() +
                  QPoint(CDiagramView::kStep, CDiagramView::kStep);
    }
    PasteAt(ptStart);
}

void CModelEditorDlg::DeleteBlock(CBlockDlg& block) {
    const QString strStep = QStringLiteral("удаление блока %1").arg(Label(block));
    // Taken back, the block returns unselected.
    block.Deselect();
    Push(m_model.DeleteBlock(block), strStep);
    FocusHolder();
}

void CModelEditorDlg::SelectBlock(CBlockDlg& block) {
    if (block.IsSelected()) {
        return;
    }
    DeselectBlock();
    block.Select();
    UpdateMenuStates();
}

void CModelEditorDlg::DeselectBlock() {
    if (CBlockDlg* pBlock = GetSelectedBlock()) {
        pBlock->Deselect();
    }
}

bool CModelEditorDlg::IsLinked(const CBlockDlg& block) const { return m_pDiagram->IsLinked(block); }

void CModelEditorDlg::MoveBlockWindow(CBlockWindow& window, QPoint ptClientTopLeft) {
    m_pDiagram->MoveWindow(window, ptClientTopLeft);
}

void CModelEditorDlg::BlockWindowDropped(CBlockWindow& window) {
    CBlockDlg& block = window.GetBlock();
    Push(m_model.MoveBlock(block, m_pDiagram->DiagramPosition(window)),
         QStringLiteral("перемещение блока %1").arg(Label(block)));
}

CBlockWindow* CModelEditorDlg::BlockWindowAt(QPoint ptGlobal) const {
    return m_pDiagram->WindowAt(ptGlobal);
}

void CModelEditorDlg::RepaintLinks() { m_pDiagram->viewport()->update(); }

bool CModelEditorDlg::RenameBlock(CBlockDlg& block) {
    CPaletteLock lock(*m_pPalette);
    CChangeNameBlockDlg dialog(m_model.GetBlocks(), block, this);
    if (RunDialog(dialog) != QDialog::Accepted) {
        return false;
    }
    // A block without a name is given one rather than renamed: the step says which.
    const QString strStep =
        block.IsNamed()
            ? QStringLiteral("переименование блока %1").arg(Label(block))
            : QStringLiteral("имя блока «%1»").arg(QString::fromStdString(dialog.GetNewName()));
    return Push(m_model.RenameBlock(block, dialog.GetNewName()), strStep);
}

void CModelEditorDlg::EditBlockProperties(CBlockDlg& block) {
    CPaletteLock lock(*m_pPalette);
    const QString strStep = QStringLiteral("свойства блока %1").arg(Label(block));
    if (const std::unique_ptr<CBlockDlg> pEdited =
            m_sheetEditor.EditCopy(block, m_model.GetBlocks())) {
        Push(m_model.TakeOverParameters(block, *pEdited), strStep);
    }
    RepaintLinks();
}

void CModelEditorDlg::EditModelProperties() {
    CPaletteLock lock(*m_pPalette);
    CExperimentParams experiment = m_model.m_experiment;
    if (m_sheetEditor.EditExperiment(experiment)) {
        Push(m_model.SetExperiment(experiment), QStringLiteral("свойства модели"));
    }
}

// --- Links --------------------------------------------------------------------------------

void CModelEditorDlg::ClearLinkSelection() { m_pDiagram->SetSelectedLink({}); }

void CModelEditorDlg::SelectLink(const SDiagramLink& link) {
    DeselectBlock();
    m_pDiagram->SetSelectedLink(link);
    FocusHolder();
    UpdateMenuStates();
}

void CModelEditorDlg::SetLink(CBlockDlg& source, int nOutput, CBlockDlg* pDestination) {
    CBlockDlg* pOld = source.GetOutLink(nOutput);
    const QString strStep =
        pDestination != nullptr
            ? QStringLiteral("связь %1 → %2").arg(Label(source), Label(*pDestination))
            : QStringLiteral("удаление связи %1 → %2")
                  .arg(Label(source), pOld != nullptr ? Label(*pOld) : QString());
    Push(m_model.SetLink(source, nOutput, pDestination), strStep);
}

void CModelEditorDlg::MakeLink(CBlockDlg& source, int nOutput, CBlockDlg& destination) {
    SetLink(source, nOutput, &destination);
    if (source.GetOutLink(nOutput) == &destination) {
        SelectLink({&source, nOutput, &destination});
    }
}

bool CModelEditorDlg::HitTestLink(QPoint ptClient) {
    const std::optional<SDiagramLink> link = m_pDiagram->LinkAt(ptClient);
    if (!link) {
        return false;
    }
    if (*link != GetSelectedLink()) {
        SelectLink(*link);
    }
    return true;
}

void CModelEditorDlg::ChangeSelectedLink() {
    const SDiagramLink link = GetSelectedLink();
    if (!link.IsSet()) {
        return;
    }
    CPaletteLock lock(*m_pPalette);
    CChangeInBlockDlg dialog(m_model.GetBlocks(), *link.pSource, link.nOutput,
                             CChangeInBlockDlg::EMode::kChange, this);
    if (RunDialog(dialog) == QDialog::Accepted) {
        SetLink(*link.pSource, link.nOutput, dialog.GetDestination());
    }
    CBlockDlg* pDestination = link.pSource->GetOutLink(link.nOutput);
    m_pDiagram->SetSelectedLink(pDestination != nullptr
                                    ? SDiagramLink{link.pSource, link.nOutput, pDestination}
                                    : SDiagramLink{});
    UpdateMenuStates();
}

void CModelEditorDlg::ChangeOutputLink(CBlockDlg& block, int nOutput) {
    CPaletteLock lock(*m_pPalette);
    CBlockDlg* pOld = block.GetOutLink(nOutput);
    if (pOld != nullptr) {
        SelectLink({&block, nOutput, pOld});
    }
    CChangeInBlockDlg dialog(m_model.GetBlocks(), block, nOutput, CChangeInBlockDlg::EMode::kLink,
                             this);
    if (RunDialog(dialog) != QDialog::Accepted) {
        return;
    }
    SetLink(block, nOutput, dialog.GetDestination());
    if (CBlockDlg* pNew = block.GetOutLink(nOutput)) {
        SelectLink({&block, nOutput, pNew});
    } else if (pOld != nullptr) {
        ClearLinkSelection();
        UpdateMenuStates();
    }
}

void CModelEditorDlg::DeleteSelectedLink() {
    const SDiagramLink link = GetSelectedLink();
    if (!link.IsSet()) {
        return;
    }
    ClearLinkSelection();
    SetLink(*link.pSource, link.nOutput, nullptr);
    UpdateMenuStates();
}

// --- The picture of the diagram --------------------------------------------------------------

void CModelEditorDlg::OnExport() {
    CPaletteLock lock(*m_pPalette);
    // A picture of nothing would only be a blank square.
    if (m_model.GetBlocks().empty()) {
        ShowMessage(this, QStringLiteral("В схеме нет блоков: экспортировать нечего."),
                    EMessageIcon::kExclamation);
        return;
    }
    const QFileInfo model(m_strPath);
    const QString strProposed =
        (m_bHasFile ? model.absolutePath() + QLatin1Char('/') : QString()) +
        model.completeBaseName() + QStringLiteral(".png");
    const QString strPath = ShowFileDialog(
        this, {true, strProposed, kExportFilter, QStringLiteral("png"), kExportTitle});
    if (strPath.isEmpty()) {
        return;
    }
    const QString strReason =
        ExportDiagram(WithSuffix(strPath, QStringLiteral("png"), {QStringLiteral("svg")}));
    if (!strReason.isEmpty()) {
        ShowMessage(this, QStringLiteral("Ошибка при экспорте схемы: %1").arg(strReason),
                    EMessageIcon::kError);
    }
}

QString CModelEditorDlg::ExportDiagram(const QString& strPath) {
    const QSize extent = m_pDiagram->Extent().size();
    if (strPath.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        return WriteSvg(strPath, extent, GetFileName(), m_pDiagram->logicalDpiX(),
                        [this](QPainter& painter) { m_pDiagram->Render(painter); });
    }
    QImage image(extent, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        m_pDiagram->Render(painter);
    }
    return WritePng(image, strPath);
}

// --- The background -----------------------------------------------------------------------

void CModelEditorDlg::OnBackgroundDoubleClicked(QPoint ptClient) {
    if (HitTestLink(ptClient)) {
        ChangeSelectedLink();
    } else {
        EditModelProperties();
    }
}

std::unique_ptr<QMenu> CModelEditorDlg::CreateBackgroundMenu(QPoint ptClient) {
    auto pMenu = std::make_unique<QMenu>(this);
    if (HitTestLink(ptClient)) {
        DeselectBlock();
        connect(pMenu->addAction(QStringLiteral("&Изменить ...")), &QAction::triggered, this,
                [this] { ChangeSelectedLink(); });
        connect(pMenu->addAction(QStringLiteral("&Удалить")), &QAction::triggered, this,
                [this] { DeleteSelectedLink(); });
        return pMenu;
    }
    QAction* pPaste = pMenu->addAction(QStringLiteral("&Вставить"));
    pPaste->setEnabled(m_pClipboard != nullptr);
    connect(pPaste, &QAction::triggered, this, [this, ptClient] { PasteAt(ptClient); });
    connect(pMenu->addAction(QStringLiteral("&Свойства ...")), &QAction::triggered, this,
            [this] { EditModelProperties(); });
    return pMenu;
}

void CModelEditorDlg::OnBackgroundContextMenu(QPoint ptClient) {
    const std::unique_ptr<QMenu> pMenu = CreateBackgroundMenu(ptClient);
    pMenu->exec(m_pDiagram->viewport()->mapToGlobal(ptClient));
}

}  // namespace mardo
