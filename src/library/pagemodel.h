#pragma once

#include <optional>

#include <QColor>
#include <QImage>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include "failure.h"
#include "librarycontext.h"

/// One cell of an album page: what the album window paints and what other features read from
/// it. Field names follow the window's controls.
struct PageCell
{
    int index = 0;
    /// imX's picture: the photo's full path on a folder page, empty on a catalogue page.
    QString imXPicture;
    /// Shape1's tag: imgPath + "/" + imgName on a catalogue page, empty on a folder page.
    QString Shape1Tag;
    /// txtName's text: the file name.
    QString fileName;
    /// lblName's caption: the file name with every "&" doubled (shown literally by the label).
    QString caption;
    /// The caption is centred (14 characters or fewer).
    bool captionCentred = false;
    /// lblDate's caption: "MM/dd/yyyy", or empty.
    QString dateText;
    /// imX's tag: the decoded picture's height + " x " + width, or empty.
    QString sizeTag;
    /// imX's tool tip: "Name:= " + caption + " | Size:= " + size tag.
    QString toolTip;
    /// lblHolder's tag: the record's imgID (catalogue page only).
    std::optional<qint64> imgID;
    /// lblDate's tag "invalid": the picture cannot be decoded; the window shows its
    /// invalid-photo picture and refuses to open it.
    bool invalid = false;
    /// What imX shows, at PageLayout::pictureAreaPixels(): the picture fitted and centred on the
    /// cell's colour. Null when there is no picture to show.
    QImage picture;

    /// The photo's full path whichever page kind: imX's picture, else Shape1's tag.
    QString path() const { return imXPicture.isEmpty() ? Shape1Tag : imXPicture; }
};

/// The name label's caption: every "&" doubled.
QString nameCaption(const QString &fileName);
/// A caption of 14 characters or fewer is centred.
bool isCaptionCentred(const QString &caption);
/// "Name:= " + caption + " | Size:= " + sizeTag.
QString cellToolTip(const QString &caption, const QString &sizeTag);
/// The main window's counter while photo i (from 0) of count is loaded:
/// "Loading file: " + (i + 1) + " of " + count + " total files".
QString loadingCounterText(int i, int count);
/// The cells' normal colour (frame, picture background, name): RGB C0C0FF.
QColor cellColour();

/// The cells of one album page, filled by ShowPictureThumbnails or
/// ShowPictureThumbnailsFromDatabase and painted by the album window.
class PageModel : public QObject
{
    Q_OBJECT

public:
    enum class Kind { Empty, Folder, Catalogue };

    explicit PageModel(QObject *parent = nullptr);
    ~PageModel() override;

    Kind kind() const { return m_kind; }
    /// The album shown (as the builder was given it).
    QString albumPath() const { return m_albumPath; }
    int count() const { return static_cast<int>(m_cells.size()); }
    const PageCell &cell(int index) const { return m_cells.at(index); }
    const QList<PageCell> &cells() const { return m_cells; }
    /// A build is running on this page.
    bool isBuilding() const { return m_building; }
    /// lstPictureFiles: every cell's full path, ascending with letter case ignored.
    QStringList lstPictureFiles() const;
    /// The canvas height in twips for a window windowWidth twips wide.
    int canvasHeight(int windowWidth) const;

    /// Replaces cell index (its index field is kept) and emits cellChanged.
    void updateCell(int index, const PageCell &cell);
    /// Adds a cell at the end (a pasted picture) and emits cellsInserted.
    int appendCell(PageCell cell);
    /// Removes every cell and stops a running build; emits cleared.
    void clear();
    /// Stops a running build after the cell being delivered; buildFinished(false) follows.
    void cancel();

Q_SIGNALS:
    /// A build began on the album: count cells are coming (the progress bar's maximum).
    void buildStarted(int count);
    /// Cell value of count is being loaded; counterText is loadingCounterText(value, count).
    void progressed(int value, int count, const QString &counterText);
    /// Cells first..last were added.
    void cellsInserted(int first, int last);
    void cellChanged(int index);
    /// The build ended, completed or stopped; always follows buildStarted.
    void buildFinished(bool completed);
    void cleared();

private:
    friend class PageFiller;
    QList<PageCell> m_cells;
    Kind m_kind = Kind::Empty;
    QString m_albumPath;
    bool m_building = false;
    quint64 m_generation = 0;
};

/// Builds the page from the album folder: the photos of ListFiles (with subfolders when asked),
/// in ascending order with letter case ignored, each decoded from its file on context.workers
/// threads and delivered in order, the counter reported before each. A picture that cannot be
/// decoded becomes an invalid cell without a log line; other failures are logged as
/// "modMain - ShowPictureThumbnails" and the build goes on. Returns the number of cells, or the
/// failure that stopped the build (the page was closed or cleared: failure 5).
Result<int> ShowPictureThumbnails(PageModel &page,
                                  const LibraryContext &context,
                                  const QString &albumPath,
                                  bool includeSubfolders);

/// Builds the page from the album's catalogue records (GetDatabaseImages), decoding the stored
/// thumbnails. A record stored without a picture becomes an invalid cell. A catalogue that
/// cannot be opened or read leaves the page empty: logged as
/// "modMain - ShowPictureThumbnailsFromDatabase" and returned.
Result<int> ShowPictureThumbnailsFromDatabase(PageModel &page,
                                              const LibraryContext &context,
                                              const QString &albumPath);
