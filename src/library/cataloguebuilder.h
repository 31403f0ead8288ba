#pragma once

#include <optional>

#include <QDateTime>
#include <QList>
#include <QSize>
#include <QString>

#include "failure.h"
#include "librarycontext.h"

class Catalogue;

/// The side of the thumbnail box, in pixels.
inline constexpr int ThumbnailBoxPixels = 98;

/// N(x): the integer nearest to x, halves going to the even neighbour (2.5 -> 2, 3.5 -> 4).
int roundHalfToEven(double x);

/// The thumbnail box of a picture of width x height pixels.
///
/// Landscape (width >= height): 98 x 98. Then, for height >= width (a square picture takes this
/// step last): divisor k = N(height / 98), box width = width / k, box height = N(height / k);
/// 1536 x 2048 gives k = 21 and 73.14 x 98, 1200 x 1200 gives k = 12 and 100 x 100.
/// A picture under 49 pixels high would give k = 0; its divisor is taken as 1, so the box is the
/// picture's own size.
struct ThumbnailBox
{
    /// k of the portrait step; 0 for a landscape picture.
    int divisor = 0;
    double width = 0;
    double height = 0;

    /// The whole pixels the encoded thumbnail must fit in (never below 1 x 1).
    QSize pixels() const;
};
ThumbnailBox thumbnailBox(int widthPixels, int heightPixels);

/// The record's date: the file's last-modified local time as "MM/dd/yyyy".
QString catalogueDate(const QDateTime &modified);
/// The record's time: "hh:mm", 24-hour clock.
QString catalogueTime(const QDateTime &modified);

/// A stored date read back and written again as "MM/dd/yyyy" (so "2/3/2004" reads
/// "02/03/2004"); text that is not such a date is given back unchanged.
QString normalisedCatalogueDate(const QString &stored);
/// A stored time read back and written again as "hh:mm"; other text is given back unchanged.
QString normalisedCatalogueTime(const QString &stored);

/// The progress dialog texts of a whole-album run, for the window that shows them.
namespace CatalogueBuilderText {
/// "Categorizing Photo " + i + " of " + n.
QString categorizingCaption(int i, int n);
/// The caption set before the first photo: "Categorizing Photo 1 of 1".
QString initialCaption();
/// The message of the dialog: the first-run wording or the normal wording.
QString message(bool firstCatalogue);
} // namespace CatalogueBuilderText

/// How a whole-album run reports its progress; the window layer implements it with the prompt
/// dialog. begin() comes first and end() last, also for an album without photos; advance(i, n)
/// comes once per photo, i from 1 to n, before that photo's record is written.
class BuilderProgress
{
public:
    virtual ~BuilderProgress() = default;
    virtual void begin(int count, bool firstCatalogue) = 0;
    virtual void advance(int i, int n) = 0;
    virtual void end() = 0;
};

/// One photo to catalogue: its full path, and the record to rewrite when it is refreshed.
struct BuildEntry
{
    QString filePath;
    std::optional<qint64> refreshRecord;
};

/// What a run did.
struct BuildSummary
{
    /// Records added or rewritten (undecodable pictures included).
    int written = 0;
    /// Records written without a picture because the picture could not be decoded.
    int withoutPicture = 0;
    /// Photos whose record could not be written.
    int failed = 0;
    /// Photos that were no longer there when their turn came (no record is written for them).
    int missing = 0;
};

/// Writes one record per entry, in entry order, into the open catalogue, in one batch. Pictures
/// are decoded on context.workers threads (one engine each, JPEGs decoded at reduced scale for
/// the box), thumbnails fitted into their box keeping aspect and encoded by SetImage at JPEG
/// quality 75. A picture that cannot be decoded gets its record with name, date and time and no
/// picture. Each failing step is logged as "modMain - ResizeAndWriteImagesToDatabase" (encoding
/// as "modmain - SetImage") and the run goes on. progress, when given, hears begin/advance/end.
/// The first write the catalogue refuses (locked, read-only, disk full) is logged and stops the
/// run: the records written before it are kept and the refusal is returned. A batch that cannot
/// be committed is returned too (nothing of it is kept then). Inside a batch the caller opened,
/// the records join that batch and the caller commits or rolls back.
Result<BuildSummary> writeCatalogueRecords(Catalogue &catalogue,
                                           const LibraryContext &context,
                                           const QString &albumPath,
                                           const QList<BuildEntry> &entries,
                                           BuilderProgress *progress = nullptr,
                                           bool firstCatalogue = false);

/// Catalogues a whole album (fileName empty after trimming) or one photo of it.
///
/// Whole album: every photo of the folder (no subfolders) in folder-scan order, a new record each,
/// progress reported through progress. One photo (album + "/" + fileName): no progress; a new
/// record, or with refreshExisting the album's existing record of that name is rewritten (the
/// oldest when there are several; failure 3021 logged when there is none). imgPath is albumPath
/// exactly as passed. Opens the catalogue at context.cataloguePath; a catalogue that cannot be
/// opened is logged and nothing is written.
Result<BuildSummary> ResizeAndWriteImagesToDatabase(const LibraryContext &context,
                                                    const QString &albumPath,
                                                    const QString &fileName,
                                                    bool refreshExisting,
                                                    bool firstCatalogue,
                                                    BuilderProgress *progress = nullptr);
