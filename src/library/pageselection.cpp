#include "pageselection.h"

#include "appstate.h"
#include "pagelayout.h"

PageHit hitTestPage(const QPoint &point,
                    int count,
                    int windowWidth,
                    const std::function<bool(int)> &pictureShown)
{
    const auto [first, last] =
        PageLayout::cellsInBand(point.y(), point.y() + 1, count, windowWidth);
    for (int i = first; i <= last; ++i) {
        const PageLayout::CellGeometry g = PageLayout::cellGeometry(i, windowWidth);
        if (!g.Shape1.contains(point)) {
            continue;
        }
        // Front to back: the tick band and the camera were brought to front last, then the
        // name label, the date, and the picture on its mount.
        if (g.chkSelected.contains(point)) {
            return {i, PagePart::chkSelected};
        }
        if (g.imgCamera.contains(point)) {
            return {i, PagePart::imgCamera};
        }
        if (g.lblName.contains(point)) {
            return {i, PagePart::lblName};
        }
        if (g.lblDate.contains(point)) {
            return {i, PagePart::lblDate};
        }
        if (g.imX.contains(point) && (!pictureShown || pictureShown(i))) {
            return {i, PagePart::imX};
        }
        if (g.lblHolder.contains(point)) {
            return {i, PagePart::lblHolder};
        }
        return {i, PagePart::None};
    }
    return {};
}

PageSelection::PageSelection(AppState &state)
    : m_state(state)
{}

Result<void> PageSelection::setTicked(int index, bool ticked, const QString &path)
{
    if (!isValidIndex(index)) {
        return Failures::invalidProcedureCall();
    }
    CellMarks &cell = m_marks[index];
    if (cell.ticked == ticked) {
        return {};
    }
    cell.ticked = ticked;
    if (cell.chkSelectedTag == u"skip") {
        return {};
    }
    const QString key = QString::number(index);
    Result<void> changed = ticked ? m_state.SelectedPhotos.add(key, key + QLatin1Char('#') + path)
                                  : m_state.SelectedPhotos.remove(key);
    m_state.notifySelectionChanged();
    return changed;
}

QList<int> PageSelection::highlight(int index)
{
    if (!isValidIndex(index)) {
        return {};
    }
    const auto paint = [this](int i, bool white) {
        CellMarks &m = m_marks[i];
        m.frameWhite = white;
        m.pictureWhite = white;
        m.nameBoxWhite = white;
        m.nameLabelWhite = white;
    };
    if (!m_state.HighlightedCell) {
        // The first click after the page opens turns only the frame white.
        m_state.HighlightedCell = index;
        m_marks[index].frameWhite = true;
        return {index};
    }
    const int previous = *m_state.HighlightedCell;
    paint(index, true);
    // The previous cell returns to normal after the clicked one turned white, so clicking the
    // highlighted cell again leaves it normal.
    QList<int> changed{index};
    if (isValidIndex(previous)) {
        paint(previous, false);
        if (previous != index) {
            changed.append(previous);
        }
    }
    m_state.HighlightedCell = index;
    return changed;
}

bool PageSelection::anyTicked() const
{
    for (const CellMarks &m : m_marks) {
        if (m.ticked) {
            return true;
        }
    }
    return false;
}

void PageSelection::releaseShared()
{
    m_state.SelectedPhotos.clear();
    m_state.HighlightedCell.reset();
    m_state.notifySelectionChanged();
}

namespace AlbumPageText {

namespace {

QString shown(const QString &text)
{
    return QStringLiteral("  ") + text;
}

} // namespace

QString hover(PagePart part, bool redBand)
{
    switch (part) {
    case PagePart::chkSelected:
        if (redBand) {
            return shown(QStringLiteral(
                       "Red Tabs on the side of the Photo Thumbnail mean the Photo has not been "
                       "saved. All pasted Photos already have a checkmark"))
                + QLatin1Char('\n')
                + shown(QStringLiteral("and you can Click on the Rename Multiple icon to save "
                                       "or Click on the Name above the photo and rename it "
                                       "there."));
        }
        return shown(QStringLiteral("Click on the name at the top of any photo to easily rename "
                                    "the photo | Click on PRINT to print a thumbnail printout of "
                                    "your Album."));
    case PagePart::imX:
        return shown(QStringLiteral("Click name at the top of photo to rename photo | Click PRINT "
                                    "for thumbnail printout of Album. | Double click Photo for "
                                    "larger view | Right Click Photo to DELETE."));
    case PagePart::imgCamera:
        return shown(QStringLiteral("Click here to save comments and notes to your Photos. | "
                                    "Click to view Photo Information like Camera Make Model, F "
                                    "stop Setting, Aperture and Speed used for this photo"));
    case PagePart::lblName:
    case PagePart::lblDate:
        return shown(
            QStringLiteral("Click on the name at the top of any photo to easily rename the photo"));
    case PagePart::None:
        return shown(
            QStringLiteral("Click a File Name to rename the File | Right Click for Menu choices"));
    case PagePart::lblHolder:
        break;
    }
    return {};
}

QString hoverSelectAll()
{
    return shown(
        QStringLiteral("Select this option to select or deselect all the photos with one click"));
}

QString hoverWindow()
{
    return shown(QStringLiteral("Right Click on the Photo or the Background for Menu choices."));
}

QString closeQuestionTitle()
{
    return QStringLiteral("Unsaved Photo's Exist");
}

QString closeQuestionText()
{
    return QStringLiteral(
        "You have unsaved Photo's on this page. Do you want to save these photo's?\n"
        "All photo's with a Tick on the left are unsaved.\n"
        "Enter a new Name for them by clicking the Name above the photo and then press Enter.");
}

QString emptyNameNotice()
{
    return QStringLiteral(
        "\nYou have not entered a name for your Photo. Enter a Name and then Contine.");
}

QString invalidPhotoMessage()
{
    return QStringLiteral("This photo has been corrupted (damaged) or is invalid as a photo file "
                          "and cannot be shown.");
}

QString deletedName()
{
    return QStringLiteral("Deleted");
}

QString deletedHolderText()
{
    return QStringLiteral("File deleted. This box will clear when reloading photo's.");
}

} // namespace AlbumPageText
