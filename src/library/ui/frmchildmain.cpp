#include "frmchildmain.h"

#include <cmath>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include "albumpages.h"
#include "appstate.h"
#include "dialogs.h"
#include "frmmsgbox.h"
#include "mdimain.h"
#include "pagecanvas.h"
#include "pagelayout.h"
#include "pagemodel.h"

namespace {

constexpr int kTwips = PageLayout::kTwipsPerPixel;
/// The organisation wizard's width when its window cannot be found.
constexpr int kWizardWidthTwips = 4710;

const QColor kWizardGrey(0xE0, 0xE0, 0xE0);

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

void setBaseColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, colour);
    widget->setPalette(palette);
}

/// The organisation wizard's window, when it is loaded.
QWidget *wizardWindow(MDIMain *main)
{
    if (main) {
        if (auto *inside = main->findChild<QWidget *>(QStringLiteral("frmOrgWizard"))) {
            return inside;
        }
    }
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows) {
        if (w->objectName() == u"frmOrgWizard") {
            return w;
        }
    }
    return nullptr;
}

} // namespace

frmChildMain::frmChildMain(Program &program, QWidget *parent)
    : QWidget(parent)
    , m_program(program)
    , m_model(new PageModel(this))
    , m_selection(program.state())
{
    setObjectName(QStringLiteral("frmChildMain"));
    setWindowTitle(QStringLiteral("Thumbnail View"));
    setMouseTracking(true);
    setAutoFillBackground(true);
    AppState &state = program.state();
    m_wizardPage = state.WizardPageMode;

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("apiWnd"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(false);
    // The page always has its vertical scroll bar, so the cells' row width never jumps.
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->verticalScrollBar()->setSingleStep(PageLayout::kGridStep / kTwips / 4);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_scroll);

    m_canvas = new PageCanvas(*m_model, m_selection);
    m_canvas->setFocusPolicy(Qt::ClickFocus);
    m_scroll->setWidget(m_canvas);
    m_scroll->viewport()->installEventFilter(this);

    m_chkSelect = new QCheckBox(QStringLiteral("Select All"), m_canvas);
    m_chkSelect->setObjectName(QStringLiteral("chkSelect"));
    QFont arial(QStringLiteral("Arial"));
    arial.setStyleHint(QFont::SansSerif);
    m_chkSelect->setFont(arial);
    m_chkSelect->setMouseTracking(true);
    m_chkSelect->installEventFilter(this);
    m_chkSelect->adjustSize();
    connect(m_chkSelect, &QCheckBox::toggled, this, &frmChildMain::chkSelect_Click);

    m_txtName = new QLineEdit(m_canvas);
    m_txtName->setObjectName(QStringLiteral("txtName"));
    QFont nameFont(QStringLiteral("Arial"));
    nameFont.setStyleHint(QFont::SansSerif);
    nameFont.setPointSize(8);
    m_txtName->setFont(nameFont);
    m_txtName->setFrame(true);
    m_txtName->hide();
    m_txtName->installEventFilter(this);
    connect(m_txtName, &QLineEdit::returnPressed, this, &frmChildMain::txtName_LostFocus);

    connect(m_model, &PageModel::cellsInserted, this, &frmChildMain::cellsInserted);
    connect(m_model, &PageModel::cellChanged, this, &frmChildMain::cellChanged);
    connect(m_model, &PageModel::cleared, this, [this] {
        m_selection.clear();
        m_editingCell = -1;
        m_txtName->hide();
        layoutCanvas();
        m_canvas->update();
    });
    if (MDIMain *main = program.mainWindow()) {
        // The builders' progress shows on the main window's bar and counter.
        connect(m_model, &PageModel::buildStarted, main, &MDIMain::showProgress);
        connect(m_model,
                &PageModel::progressed,
                main,
                [this, main](int value, int count, const QString &text) {
                    // Redrawn at most every 40 ms (and for the first and last photo): a bar
                    // and counter repainted for each of thousands of thumbnails would slow the
                    // page down several times over.
                    if (value == 0 || value + 1 >= count || !m_progressClock.isValid()
                        || m_progressClock.hasExpired(40)) {
                        m_progressClock.start();
                        main->setProgress(value, text);
                    }
                });
        connect(m_model, &PageModel::buildFinished, main, [main] {
            main->hideProgress();
        });
    }

    connect(m_canvas, &PageCanvas::clicked, this, &frmChildMain::canvasClicked);
    connect(m_canvas, &PageCanvas::doubleClicked, this, &frmChildMain::canvasDoubleClicked);
    connect(m_canvas, &PageCanvas::rightReleased, this, &frmChildMain::canvasRightReleased);
    connect(m_canvas, &PageCanvas::hovered, this, &frmChildMain::canvasHovered);

    state.HighlightedCell.reset();
    placeOnLoad();
    state.AlbumWindowOpen = true;
    program.trackWindow(this, [this] {
        return unload();
    });
}

frmChildMain::~frmChildMain()
{
    // A page destroyed without its close handling still stops its build and leaves no
    // selection that points at it.
    if (!m_unloaded) {
        Form_Unload();
    }
}

void frmChildMain::placeOnLoad()
{
    const QColor background = m_wizardPage ? kWizardGrey : AlbumPageView::defaultBackground();
    setPageBackground(background);
    if (m_wizardPage) {
        setTextColour(m_chkSelect, Qt::black);
    }
    MDIMain *main = m_program.mainWindow();
    if (!main) {
        resize(800, 600);
        return;
    }
    QMdiArea *area = main->mdiArea();
    QMdiSubWindow *frame = area->addSubWindow(this);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    // Sized to the area that holds the pages (the main window without its panels).
    const int areaWidth = area->isVisible() ? area->viewport()->width() : main->width();
    const int areaHeight = area->isVisible() ? area->viewport()->height() : main->height();
    if (m_wizardPage) {
        const QWidget *wizard = wizardWindow(main);
        const int wizardWidth = wizard ? wizard->width() : kWizardWidthTwips / kTwips;
        setWindowTitle(QString());
        frame->showNormal();
        frame->setGeometry(wizardWidth,
                           0,
                           std::max(100, areaWidth - wizardWidth - 100 / kTwips),
                           areaHeight);
    } else {
        frame->setWindowIcon(main->windowIcon());
        frame->setGeometry(0, 0, std::max(100, areaWidth - 200 / kTwips), areaHeight);
    }
}

QMdiSubWindow *frmChildMain::subWindow() const
{
    return qobject_cast<QMdiSubWindow *>(parentWidget());
}

void frmChildMain::layoutCanvas()
{
    const QSize viewport = m_scroll->viewport()->size();
    const int width = std::max(1, viewport.width());
    const int pageHeight =
        static_cast<int>(std::ceil(m_model->canvasHeight(width * kTwips) / double(kTwips)));
    // The canvas is never shorter than the window and always as wide.
    const QSize size(width, std::max(viewport.height(), pageHeight));
    if (m_canvas->size() == size) {
        return;
    }
    const bool reflow = m_canvas->width() != width;
    m_canvas->resize(size);
    if (reflow) {
        // The rows hold another number of cells now: everything moves.
        m_canvas->update();
        m_chkSelect->adjustSize();
        m_chkSelect->move(width / 2 - m_chkSelect->width() / 2, 4);
        if (m_editingCell >= 0) {
            m_txtName->setGeometry(m_canvas->partRect(m_editingCell, PagePart::lblName));
        }
    }
}

void frmChildMain::cellsInserted(int first, int last)
{
    for (int i = first; i <= last; ++i) {
        const PageCell &cell = m_model->cell(i);
        CellMarks marks;
        marks.lblDateTag = cell.invalid ? QStringLiteral("invalid") : QString();
        marks.txtName = cell.fileName;
        while (m_selection.count() < i) {
            m_selection.append(CellMarks{});
        }
        if (m_selection.count() == i) {
            m_selection.append(marks);
        } else {
            m_selection.marks(i) = marks;
        }
    }
    layoutCanvas();
    for (int i = first; i <= last; ++i) {
        m_canvas->updateCell(i);
    }
}

void frmChildMain::cellChanged(int index)
{
    if (!m_selection.isValidIndex(index)) {
        return;
    }
    CellMarks &marks = m_selection.marks(index);
    if (m_model->cell(index).invalid) {
        marks.lblDateTag = QStringLiteral("invalid");
    } else if (marks.isInvalid()) {
        marks.lblDateTag.clear();
    }
    m_canvas->updateCell(index);
}

void frmChildMain::setMarks(int index, const CellMarks &marks)
{
    if (!m_selection.isValidIndex(index)) {
        return;
    }
    CellMarks &current = m_selection.marks(index);
    const bool ticked = current.ticked;
    current = marks;
    current.ticked = ticked;
    m_canvas->updateCell(index);
}

void frmChildMain::refreshCells(const QList<int> &cells)
{
    for (int i : cells) {
        m_canvas->updateCell(i);
    }
}

QColor frmChildMain::pageBackground() const
{
    return m_canvas->background();
}

void frmChildMain::showMessage(const QString &text)
{
    if (MDIMain *main = m_program.mainWindow()) {
        main->setMessageText(text);
    }
}

// --- selecting and highlighting ------------------------------------------------------------

void frmChildMain::chkSelect_Click(bool ticked)
{
    if (ticked) {
        SelectAllPhotos(m_program);
    } else {
        UnselectAllPhotos(m_program);
    }
}

void frmChildMain::setTicked(int index, bool ticked)
{
    if (!m_selection.isValidIndex(index) || m_selection.marks(index).ticked == ticked) {
        return;
    }
    const Result<void> changed = m_selection.setTicked(index, ticked, m_model->cell(index).path());
    if (!changed) {
        m_program.state().log.error(u"frmChildMain - chkSelected_Click", changed.failure());
    }
    m_canvas->updateCell(index);
}

void frmChildMain::setAllTicked(bool ticked)
{
    for (int i = 0; i < m_selection.count(); ++i) {
        setTicked(i, ticked);
    }
}

void frmChildMain::chkSelected_Click(int index)
{
    if (m_selection.isValidIndex(index)) {
        setTicked(index, !m_selection.marks(index).ticked);
    }
}

void frmChildMain::imX_Click(int index)
{
    refreshCells(m_selection.highlight(index));
}

void frmChildMain::lblDate_Click(int index)
{
    refreshCells(m_selection.highlight(index));
}

// --- renaming in place ----------------------------------------------------------------------

void frmChildMain::lblName_Click(int index)
{
    if (!m_selection.isValidIndex(index)) {
        return;
    }
    m_editingCell = index;
    m_txtName->setText(m_selection.marks(index).txtName);
    setBaseColour(m_txtName, cellColour());
    m_txtName->setGeometry(m_canvas->partRect(index, PagePart::lblName));
    m_txtName->show();
    m_txtName->raise();
    m_txtName->setFocus(Qt::MouseFocusReason);
}

void frmChildMain::txtName_LostFocus()
{
    // Enter and the focus leaving both end here; the box answers once per opening.
    if (m_leavingName || m_editingCell < 0 || m_txtName->isHidden()) {
        return;
    }
    const QScopedValueRollback<bool> leaving(m_leavingName, true);
    const int index = m_editingCell;
    const QString typed = m_txtName->text();
    if (typed.trimmed().isEmpty()) {
        // The box stays open with its text; nothing is renamed.
        ShowNotice(m_program, AlbumPageText::emptyNameNotice(), true, false);
        return;
    }
    if (!m_selection.isValidIndex(index)) {
        m_editingCell = -1;
        m_txtName->hide();
        return;
    }
    CellMarks &marks = m_selection.marks(index);
    marks.txtName = typed;
    setBaseColour(m_txtName, cellColour());
    m_editingCell = -1;
    m_txtName->hide();
    // The label shows the name exactly as typed (an "&" stays an "&").
    PageCell cell = m_model->cell(index);
    cell.caption = nameCaption(typed);
    m_model->updateCell(index, cell);

    const AlbumPageHooks &hooks = albumPageHooks(m_program);
    if (hooks.renameFile) {
        hooks.renameFile(index, *this, marks.imgCameraTag, marks.lblNameTag);
    }
}

// --- the viewer, the photo information and the menus ----------------------------------------

void frmChildMain::imX_DblClick(int index)
{
    if (m_program.state().WizardPageMode || !m_selection.isValidIndex(index)) {
        return;
    }
    CellMarks &marks = m_selection.marks(index);
    bool pasted = false;
    if (marks.isPasted()) {
        marks.lblDateTag.clear();
        pasted = true;
    }
    if (marks.isInvalid()) {
        frmMsgBox &box = m_program.msgBox.load();
        box.setHelpText(AlbumPageText::invalidPhotoMessage());
        box.lblMsg()->hide();
        box.txtEntry()->hide();
        box.cmdOK()->move(box.cmdCancel()->x(), box.cmdOK()->y());
        box.cmdCancel()->hide();
        box.showModal();
        return;
    }
    const AlbumPageHooks &hooks = albumPageHooks(m_program);
    if (hooks.showPhotoInViewer) {
        hooks.showPhotoInViewer(index, *this, pasted);
    }
}

void frmChildMain::imgCamera_Click(int index)
{
    if (!m_selection.isValidIndex(index) || !m_selection.marks(index).imgCameraEnabled) {
        return;
    }
    const QString path =
        m_selection.marks(index).isPasted() ? QString() : m_model->cell(index).path();
    const AlbumPageHooks &hooks = albumPageHooks(m_program);
    if (hooks.showPhotoInformation) {
        hooks.showPhotoInformation(index, *this, path);
    }
}

void frmChildMain::canvasClicked(PageHit hit)
{
    switch (hit.part) {
    case PagePart::chkSelected:
        return chkSelected_Click(hit.index);
    case PagePart::imgCamera:
        return imgCamera_Click(hit.index);
    case PagePart::lblName:
        return lblName_Click(hit.index);
    case PagePart::lblDate:
        return lblDate_Click(hit.index);
    case PagePart::imX:
        return imX_Click(hit.index);
    case PagePart::lblHolder:
    case PagePart::None:
        return;
    }
}

void frmChildMain::canvasDoubleClicked(PageHit hit)
{
    if (hit.part == PagePart::imX) {
        imX_DblClick(hit.index);
    }
}

void frmChildMain::canvasRightReleased(PageHit hit, const QPoint &globalPos)
{
    MDIMain *main = m_program.mainWindow();
    if (!main) {
        return;
    }
    if (hit.part == PagePart::imX && m_selection.isValidIndex(hit.index)) {
        main->mnuDeleteTag =
            m_model->cell(hit.index).path() + QStringLiteral(" | ") + QString::number(hit.index);
        main->deletionMenu()->popup(globalPos);
    } else if (hit.part == PagePart::None) {
        main->popupMenu()->popup(globalPos);
    }
}

void frmChildMain::canvasHovered(PageHit hit)
{
    const bool redBand = hit.part == PagePart::chkSelected && m_selection.isValidIndex(hit.index)
        && m_selection.marks(hit.index).hasRedBand();
    const QString text = AlbumPageText::hover(hit.part, redBand);
    if (!text.isEmpty()) {
        showMessage(text);
    }
}

void frmChildMain::mouseMoveEvent(QMouseEvent *event)
{
    showMessage(AlbumPageText::hoverWindow());
    QWidget::mouseMoveEvent(event);
}

void frmChildMain::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        if (MDIMain *main = m_program.mainWindow()) {
            main->popupMenu()->popup(event->globalPosition().toPoint());
        }
    }
    QWidget::mouseReleaseEvent(event);
}

bool frmChildMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize) {
        layoutCanvas();
    } else if (watched == m_chkSelect
               && (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter)) {
        showMessage(AlbumPageText::hoverSelectAll());
        // The move ends at the box: the canvas under it would put its own text.
        return event->type() == QEvent::MouseMove
            && static_cast<QMouseEvent *>(event)->buttons() == Qt::NoButton;
    } else if (watched == m_txtName) {
        if (event->type() == QEvent::FocusIn) {
            // The name box is white while it has the focus.
            setBaseColour(m_txtName, Qt::white);
        } else if (event->type() == QEvent::FocusOut) {
            txtName_LostFocus();
        }
    }
    return QWidget::eventFilter(watched, event);
}

// --- deleted photos and the background -------------------------------------------------------

void frmChildMain::markCellDeleted(int index)
{
    if (!m_selection.isValidIndex(index)) {
        return;
    }
    CellMarks &marks = m_selection.marks(index);
    marks.txtName = AlbumPageText::deletedName();
    marks.imgCameraEnabled = false;
    marks.lblHolderCaption = AlbumPageText::deletedHolderText();
    marks.imXVisible = false;
    PageCell cell = m_model->cell(index);
    cell.imXPicture.clear();
    cell.picture = QImage();
    cell.caption = AlbumPageText::deletedName();
    cell.dateText.clear();
    m_model->updateCell(index, cell);
}

void frmChildMain::setPageBackground(const QColor &colour)
{
    m_canvas->setBackground(colour);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colour);
    setPalette(palette);
    setTextColour(m_chkSelect, colour.rgb() == QColor(Qt::white).rgb() ? Qt::black : Qt::white);
}

// --- closing ---------------------------------------------------------------------------------

bool frmChildMain::unload()
{
    if (m_unloaded) {
        return true;
    }
    if (QMdiSubWindow *frame = subWindow()) {
        return frame->close();
    }
    return close();
}

void frmChildMain::closeEvent(QCloseEvent *event)
{
    if (m_unloaded) {
        event->accept();
        return;
    }
    if (m_asking) {
        // A second close while the question is open waits for its answer.
        event->ignore();
        return;
    }
    if (!m_program.state().WizardPageMode && m_selection.anyTicked()) {
        m_asking = true;
        const QMessageBox::StandardButton answer =
            m_program.dialogs().messageBox(this,
                                           QMessageBox::Question,
                                           AlbumPageText::closeQuestionTitle(),
                                           AlbumPageText::closeQuestionText(),
                                           QMessageBox::Yes | QMessageBox::No);
        m_asking = false;
        if (answer == QMessageBox::Yes) {
            event->ignore();
            return;
        }
    }
    Form_Unload();
    event->accept();
}

void frmChildMain::Form_Unload()
{
    m_unloaded = true;
    setProperty(kUnloadedProperty, true);
    m_program.untrackWindow(this);
    m_model->cancel();
    m_selection.releaseShared();
    AppState &state = m_program.state();
    state.CurrentAlbumPath.clear();
    state.AlbumWindowOpen = false;
}
