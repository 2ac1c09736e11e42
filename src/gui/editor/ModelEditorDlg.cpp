#include "gui/editor/ModelEditorDlg.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <filesystem>

#include "core/persist/ModelFile.h"
#include "gui/common/DialogRunner.h"
#include "gui/common/Dialogs.h"
#include "gui/common/TextConversion.h"
#include "gui/editor/BlocksPaletteDlg.h"
#include "gui/editor/DiagramView.h"
#include "gui/model/BlockWindow.h"
#include "gui/props/ChangeInBlockDlg.h"
#include "gui/props/ChangeNameBlockDlg.h"
#include "gui/report/ReportDlg.h"
#include "gui/sim/ModelStartDlg.h"
#include "gui/sim/RunIcons.h"

namespace mardo {

namespace {

const QString kOpenFilter = QStringLiteral("Файлы \"Mardo\" (*.mrd);;Все файлы (*.*)");
const QString kSaveFilter = QStringLiteral("Файлы \"Mardo\" (*.mrd)");
const QString kModelSuffix = QStringLiteral("mrd");

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
        }
    };
    NewModel();
}

CModelEditorDlg::~CModelEditorDlg() {
    // The block windows refer to their blocks, which go with the model before the diagram.
    m_pDiagram->RemoveAllWindows();
}

void CModelEditorDlg::SetRunHandler(CRunHandler handler) {
    m_runHandler = std::move(handler);
    UpdateMenuStates();
}

QAction* CModelEditorDlg::AddCommand(QMenu& menu, const char* pszText, ECommand nCommand,
                                     const std::function<void()>& handler) {
    QAction* pAction = menu.addAction(QString::fromUtf8(pszText));
    connect(pAction, &QAction::triggered, this, handler);
    m_actions[nCommand] = pAction;
    return pAction;
}

void CModelEditorDlg::CreateMenus() {
    QMenuBar& bar = *menuBar();
    QMenu& file = *bar.addMenu(QStringLiteral("&Файл"));
    AddCommand(file, "Созд&ать", kNew, [this] { OnNew(); });
    AddCommand(file, "&Открыть...", kOpen, [this] { OnOpen(); });
    AddCommand(file, "&Сохранить", kSave, [this] { OnSave(); });
    AddCommand(file, "Сохранить &как...", kSaveAs, [this] { OnSaveAs(); });
    file.addSeparator();
    AddCommand(file, "&Выход", kExit, [this] { close(); });

    QMenu& view = *bar.addMenu(QStringLiteral("&Вид"));
    AddCommand(view, "Бло&ки", kShowPalette, [this] { TogglePalette(); })->setCheckable(true);

    QMenu& block = *bar.addMenu(QStringLiteral("Бло&к"));
    AddCommand(block, "Копировать", kCopy, [this] {
        if (const CBlockDlg* pBlock = GetSelectedBlock()) {
            CopyBlock(*pBlock);
        }
    });
    AddCommand(block, "Вставить", kPaste, [this] { PasteAt(QPoint(0, 0)); });
    AddCommand(block, "Удалить", kDelete, [this] {
        if (CBlockDlg* pBlock = GetSelectedBlock()) {
            DeleteBlock(*pBlock);
        }
    });
    block.addSeparator();
    AddCommand(block, "Свойства...", kBlockProperties, [this] {
        if (CBlockDlg* pBlock = GetSelectedBlock()) {
            EditBlockProperties(*pBlock);
        }
    });

    QMenu& link = *bar.addMenu(QStringLiteral("&Связь"));
    AddCommand(link, "&Изменить...", kChangeLink, [this] { ChangeSelectedLink(); });
    AddCommand(link, "&Удалить", kDeleteLink, [this] { DeleteSelectedLink(); });

    QMenu& model = *bar.addMenu(QStringLiteral("&Модель"));
    AddCommand(model, "З&апуск...", kRun, [this] { OnRun(); });
    AddCommand(model, "Последний &отчет...", kLastReport, [this] { OnLastReport(); });
    model.addSeparator();
    AddCommand(model, "&Свойства...", kModelProperties, [this] { EditModelProperties(); });

    QMenu& help = *bar.addMenu(QStringLiteral("&Помощь"));
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
    m_actions[kCopy]->setEnabled(pBlock != nullptr && !pBlock->IsOnePerModel());
    m_actions[kDelete]->setEnabled(pBlock != nullptr);
    m_actions[kBlockProperties]->setEnabled(pBlock != nullptr);
    m_actions[kChangeLink]->setEnabled(bLink);
    m_actions[kDeleteLink]->setEnabled(bLink);
    m_actions[kPaste]->setEnabled(m_pClipboard != nullptr);
    m_actions[kRun]->setEnabled(static_cast<bool>(m_runHandler));
    m_actions[kLastReport]->setEnabled(m_pLastReport != nullptr);
}

QString CModelEditorDlg::GetFileName() const { return QFileInfo(m_strPath).fileName(); }

void CModelEditorDlg::UpdateTitle(const char* pszMode) {
    setWindowTitle(GetFileName() + QString::fromUtf8(pszMode));
}

void CModelEditorDlg::FocusHolder() { m_pDiagram->setFocus(Qt::OtherFocusReason); }

void CModelEditorDlg::NewModel() {
    ForgetLastReport();
    m_pDiagram->RemoveAllWindows();
    m_model.Clear();
    UpdateMenuStates();
    m_pPalette->RestoreTerminatorEntry();
    m_pDiagram->ResetScroll();
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
        ShowFileDialog(this, {false, QString(), kOpenFilter, kModelSuffix});
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
    for (const auto& pBlock : m_model.GetBlocks()) {
        m_pDiagram->AddWindow(*pBlock);
        if (pBlock->IsOnePerModel()) {
            m_pPalette->RemoveTerminatorEntry();
        }
    }
    m_strPath = QFileInfo(strPath).absoluteFilePath();
    m_bHasFile = true;
    UpdateTitle();
    UpdateMenuStates();
    RepaintLinks();
}

bool CModelEditorDlg::OnSave() { return m_bHasFile ? WriteModel(m_strPath) : OnSaveAs(); }

bool CModelEditorDlg::OnSaveAs() {
    const QString strPath =
        ShowFileDialog(this, {true, m_strPath, kSaveFilter, kModelSuffix});
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

void CModelEditorDlg::OnLastReport() {
    if (m_pLastReport == nullptr) {
        return;
    }
    if (m_pReportWindow == nullptr) {
        m_pReportWindow = new CReportDlg(m_pLastReport->tables, m_strPath, false, this);
        m_pReportWindow->ShowTrace(m_pLastReport->followed);
        m_pReportWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_pReportWindow->show();
    m_pReportWindow->raise();
    m_pReportWindow->activateWindow();
}

void CModelEditorDlg::ForgetLastReport() {
    m_pLastReport.reset();
    delete m_pReportWindow.data();
    if (m_actions[kLastReport] != nullptr) {
        m_actions[kLastReport]->setEnabled(false);
    }
}

void CModelEditorDlg::OnAbout() {
    CPaletteLock lock(*m_pPalette);
    ShowMessage(this, QStringLiteral("Mardo Studio\nСреда моделирования систем массового обслуживания"),
                EMessageIcon::kInformation);
}

// --- Blocks -------------------------------------------------------------------------------

CBlockDlg& CModelEditorDlg::PlaceBlock(std::unique_ptr<CBlockDlg> pBlock) {
    DeselectBlock();
    ClearLinkSelection();
    CBlockDlg& block = m_model.AddBlock(std::move(pBlock));
    m_pDiagram->AddWindow(block);
    block.Select();
    UpdateMenuStates();
    return block;
}

CBlockDlg& CModelEditorDlg::AddBlock(const CBlockDlg& prototype, CPoint ptPos) {
    std::unique_ptr<CBlockDlg> pBlock = prototype.Clone();
    pBlock->SetPosition(ptPos.x, ptPos.y);
    return PlaceBlock(std::move(pBlock));
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
    if (block.IsOnePerModel()) {
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
    const CPoint pos = m_pDiagram->ToDiagram(ptClient);
    pBlock->SetPosition(pos.x, pos.y);
    PlaceBlock(std::move(pBlock));
}

void CModelEditorDlg::DeleteBlock(CBlockDlg& block) {
    if (block.IsOnePerModel()) {
        m_pPalette->RestoreTerminatorEntry();
    }
    m_pDiagram->RemoveWindow(block);
    m_model.DeleteBlock(&block);
    UpdateMenuStates();
    RepaintLinks();
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

CBlockWindow* CModelEditorDlg::BlockWindowAt(QPoint ptGlobal) const {
    return m_pDiagram->WindowAt(ptGlobal);
}

void CModelEditorDlg::RepaintLinks() { m_pDiagram->viewport()->update(); }

bool CModelEditorDlg::RenameBlock(CBlockDlg& block) {
    CPaletteLock lock(*m_pPalette);
    CChangeNameBlockDlg dialog(m_model.GetBlocks(), block, this);
    return RunDialog(dialog) == QDialog::Accepted;
}

void CModelEditorDlg::EditBlockProperties(CBlockDlg& block) {
    CPaletteLock lock(*m_pPalette);
    block.EditProperties(m_sheetEditor, m_model.GetBlocks());
    RepaintLinks();
}

void CModelEditorDlg::EditModelProperties() {
    CPaletteLock lock(*m_pPalette);
    m_sheetEditor.EditExperiment(m_model.m_experiment);
}

// --- Links --------------------------------------------------------------------------------

void CModelEditorDlg::ClearLinkSelection() { m_pDiagram->SetSelectedLink({}); }

void CModelEditorDlg::SelectLink(const SDiagramLink& link) {
    DeselectBlock();
    m_pDiagram->SetSelectedLink(link);
    FocusHolder();
    UpdateMenuStates();
}

void CModelEditorDlg::LinkCreated(CBlockDlg& source, int nOutput, CBlockDlg& destination) {
    SelectLink({&source, nOutput, &destination});
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
    RunDialog(dialog);
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
    link.pSource->SetOutLink(link.nOutput, nullptr);
    ClearLinkSelection();
    UpdateMenuStates();
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
