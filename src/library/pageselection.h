#pragma once

#include <functional>

#include <QColor>
#include <QList>
#include <QPoint>
#include <QString>

#include "failure.h"

class AppState;

/// What the album window keeps for one cell besides the built PageCell: the state of the
/// controls that the window's handlers and other features change after the page was built.
struct CellMarks
{
    /// chkSelected's value: the photo is ticked.
    bool ticked = false;
    /// chkSelected's tag: "skip" while a feature changes the tick without touching SelectedPhotos.
    QString chkSelectedTag;
    /// chkSelected's back colour: normally RGB 8080FF; red (RGB FF0000) for a pasted photo that
    /// is not saved yet.
    QColor chkSelectedColour = tickBandColour();
    /// imgCamera's tag: "pasted" for a photo pasted from the clipboard.
    QString imgCameraTag;
    bool imgCameraEnabled = true;
    /// lblName's tag: the old path of a pasted photo, handed to the rename.
    QString lblNameTag;
    /// lblDate's tag: "invalid" when the picture cannot be decoded.
    QString lblDateTag;
    /// txtName's text: the file name, then what the user typed.
    QString txtName;
    /// lblHolder's caption, shown centred (the deleted photo's text); usually empty.
    QString lblHolderCaption;
    /// imX is shown (a deleted photo hides it).
    bool imXVisible = true;

    /// The four parts that turn white when highlighted: frame, picture background, name box and
    /// name label.
    bool frameWhite = false;
    bool pictureWhite = false;
    bool nameBoxWhite = false;
    bool nameLabelWhite = false;

    /// The tick band's normal colour.
    static QColor tickBandColour() { return QColor(0x80, 0x80, 0xFF); }
    /// The tick band of a pasted photo that is not saved yet.
    static QColor unsavedTickBandColour() { return QColor(0xFF, 0x00, 0x00); }
    bool hasRedBand() const { return chkSelectedColour == unsavedTickBandColour(); }
    bool isPasted() const { return imgCameraTag == u"pasted"; }
    bool isInvalid() const { return lblDateTag == u"invalid"; }
};

/// The controls of a cell a pointer can be over, front to back as the page stacks them.
enum class PagePart {
    None, ///< the canvas (the frame passes the pointer to the canvas)
    chkSelected,
    imgCamera,
    lblName,
    lblDate,
    imX,
    lblHolder,
};

/// A point on the canvas: the cell under it (-1 for none) and the control hit.
struct PageHit
{
    int index = -1;
    PagePart part = PagePart::None;

    bool operator==(const PageHit &) const = default;
};

/// The control of the page under point (twips on the canvas) of a page of count cells laid out
/// for a window windowWidth twips wide. pictureShown(i) tells whether imX of cell i is shown
/// (when it is not, the mount behind it is hit). A point on a frame but on none of its
/// controls hits the canvas.
PageHit hitTestPage(const QPoint &point,
                    int count,
                    int windowWidth,
                    const std::function<bool(int)> &pictureShown = {});

/// The selection and highlight rules of an album page, without widgets. Keeps each cell's
/// marks and changes the shared SelectedPhotos and HighlightedCell as the page's controls do.
class PageSelection
{
public:
    explicit PageSelection(AppState &state);

    int count() const { return static_cast<int>(m_marks.size()); }
    const CellMarks &marks(int index) const { return m_marks.at(index); }
    CellMarks &marks(int index) { return m_marks[index]; }
    bool isValidIndex(int index) const { return index >= 0 && index < count(); }
    /// Adds the marks of a new cell at the end.
    void append(const CellMarks &marks) { m_marks.append(marks); }
    /// Forgets every cell (the shared values are left alone).
    void clear() { m_marks.clear(); }

    /// chkSelected_Click: sets the tick of cell index and, unless the band carries the "skip"
    /// tag, adds index + "#" + path to SelectedPhotos under the key index (ticked) or removes that
    /// key (unticked). Does nothing when the tick does not change. Returns the collection's
    /// failure (a key already present, a key missing); the tick is set all the same.
    Result<void> setTicked(int index, bool ticked, const QString &path);
    /// A click on the picture or the date of cell index. With no cell highlighted the cell
    /// becomes HighlightedCell and only its frame turns white. Otherwise the four parts of
    /// the cell turn white, then the four parts of the cell in HighlightedCell return to normal,
    /// and the cell becomes HighlightedCell: a second click on the same cell leaves it normal.
    /// Returns the cells whose colours changed.
    QList<int> highlight(int index);
    /// Some tick band of the page is ticked.
    bool anyTicked() const;
    /// The window's unload: SelectedPhotos emptied, HighlightedCell none.
    void releaseShared();

private:
    AppState &m_state;
    QList<CellMarks> m_marks;
};

/// The texts of the album page window.
namespace AlbumPageText {
/// The message panel's text (two leading spaces) while the pointer is over part; redBand for a
/// tick band with the unsaved colour. Empty for a part without a text (the mount).
QString hover(PagePart part, bool redBand = false);
/// Over the Select All box.
QString hoverSelectAll();
/// Over the window itself, outside the canvas.
QString hoverWindow();
/// The close question about ticked photos: title and text.
QString closeQuestionTitle();
QString closeQuestionText();
/// The notice for a name box left empty.
QString emptyNameNotice();
/// The answer to a double click on a picture that cannot be decoded.
QString invalidPhotoMessage();
/// A deleted photo's name and its mount's text.
QString deletedName();
QString deletedHolderText();
} // namespace AlbumPageText
