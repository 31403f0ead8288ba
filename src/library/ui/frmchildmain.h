#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QString>
#include <QWidget>

#include "mdimain.h" // program.h needs MDIMain complete where it is included
#include "pageselection.h"
#include "program.h"

class PageCanvas;
class PageModel;
class QCheckBox;
class QLineEdit;
class QMdiSubWindow;
class QScrollArea;

/// The album page window: a child window of the main window that shows an album as cells on a
/// scrolling canvas (Picture1). The cells are the page model's, painted by one canvas; the
/// window keeps what its controls add to them (ticks, highlights, tags) in its PageSelection,
/// and keeps SelectedPhotos in step with the ticks.
///
/// Load it with loadAlbumPage() (albumpages.h), which places it inside the main window; fill it
/// by building its model() (ShowPictureThumbnails, ShowPictureThumbnailsFromDatabase). Unload it
/// with unload(): unless the page is shown for the organisation wizard, a page with ticked
/// photos first asks whether to keep it.
class frmChildMain : public QWidget, public AlbumPageView
{
    Q_OBJECT

public:
    /// Form_Load: geometry inside the main window, colours, AlbumWindowOpen set. WizardPageMode
    /// is read here: it places the page right of the wizard in light grey.
    explicit frmChildMain(Program &program, QWidget *parent = nullptr);
    ~frmChildMain() override;

    /// The album path written when the album was opened; the Print command reads and clears it.
    QString Tag;

    /// The page's cells. Other features refresh a cell with PageModel::updateCell and add one
    /// with PageModel::appendCell; the window repaints and keeps its marks in step.
    PageModel &model() const { return *m_model; }
    /// The marks of the cells (ticks, tags, highlight colours).
    const PageSelection &selection() const { return m_selection; }
    const CellMarks &marks(int index) const { return m_selection.marks(index); }
    /// Replaces the marks of cell index except its tick (use setTicked) and repaints it.
    void setMarks(int index, const CellMarks &marks);
    /// The window was unloaded (it waits for its destruction).
    bool isUnloaded() const { return m_unloaded; }
    /// The page is shown for the organisation wizard (WizardPageMode at load).
    bool isWizardPage() const { return m_wizardPage; }

    QCheckBox *chkSelect() const { return m_chkSelect; }
    PageCanvas *Picture1() const { return m_canvas; }
    QScrollArea *scrollArea() const { return m_scroll; }
    /// The one name box, placed over txtName(i) of the cell being renamed.
    QLineEdit *txtName() const { return m_txtName; }
    /// The cell whose name box is open, or -1.
    int editingCell() const { return m_editingCell; }

    /// Sets or clears the tick of cell index as a click would, running chkSelected_Click when
    /// the value changes (the band's "skip" tag keeps SelectedPhotos as it is).
    void setTicked(int index, bool ticked);
    /// Ticks (Select All) or unticks every cell.
    void setAllTicked(bool ticked);

    /// Closes the window through its close handling; false when it stays (question answered
    /// Yes).
    bool unload();
    /// The frame of the window inside the main window, if any.
    QMdiSubWindow *subWindow() const;

    /// The page's background (canvas and window).
    QColor pageBackground() const;

    // AlbumPageView
    void markCellDeleted(int index) override;
    void setPageBackground(const QColor &colour) override;

public Q_SLOTS:
    /// Select All: ticked runs SelectAllPhotos, unticked UnselectAllPhotos.
    void chkSelect_Click(bool ticked);
    /// The tick band of cell index was clicked: the tick flips.
    void chkSelected_Click(int index);
    /// The picture or the date of cell index was clicked: the highlight moves.
    void imX_Click(int index);
    void lblDate_Click(int index);
    /// The name of cell index was clicked: the name box opens over it with the focus.
    void lblName_Click(int index);
    /// The name box was left (or Enter pressed in it): an empty name is refused with a notice;
    /// otherwise the name label takes the text, the box closes and the rename hook runs.
    void txtName_LostFocus();
    /// A double click on the picture of cell index: the viewer, or the damaged-photo message.
    void imX_DblClick(int index);
    /// The camera icon of cell index: the photo information.
    void imgCamera_Click(int index);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void placeOnLoad();
    void layoutCanvas();
    void cellsInserted(int first, int last);
    void cellChanged(int index);
    void canvasClicked(PageHit hit);
    void canvasDoubleClicked(PageHit hit);
    void canvasRightReleased(PageHit hit, const QPoint &globalPos);
    void canvasHovered(PageHit hit);
    void showMessage(const QString &text);
    void refreshCells(const QList<int> &cells);
    void Form_Unload();

    Program &m_program;
    PageModel *m_model = nullptr;
    PageSelection m_selection;
    QScrollArea *m_scroll = nullptr;
    PageCanvas *m_canvas = nullptr;
    QCheckBox *m_chkSelect = nullptr;
    QLineEdit *m_txtName = nullptr;
    bool m_wizardPage = false;
    int m_editingCell = -1;
    bool m_leavingName = false;
    bool m_asking = false;
    bool m_unloaded = false;
    QElapsedTimer m_progressClock;
};
