#include "tips.h"

#include <algorithm>
#include <cmath>

#include "errorlog.h"
#include "failure.h"

namespace {

// Reading past the end of a table.
Failure subscriptOutOfRange()
{
    return {9, QStringLiteral("Subscript out of range")};
}

} // namespace

QStringList LoadTipOfTheDay()
{
    // Word for word as users have always read them: "backgound", the quote left open in the
    // first tip and "photo's" stay.
    return {
        QStringLiteral(
            "To change the background of the Thumbnail Viewer window - Right Click on the "
            "backgound of the window and select 'Change Background Color from the Popup "
            "Menu"),
        QStringLiteral(
            "To Print a thumbnail print of one of your Albums, Open the Album so you can "
            "see the thumbnails and press Print or just press Print and select the Album "
            "name."),
        QStringLiteral(
            "To view Camera settings, Notes or Comments for a photo, click the [i] on the "
            "lower right of a thumbnail."),
        QStringLiteral(
            "To Add Comments or Notes to your photo, click the [i] on lower right of the "
            "thumbnail. Enter your notes and press \"Save Notes\"."),
        QStringLiteral("Photo's off a 2 megapixel or higher camera can be very large in size. To "
                       "resize these photo's for email, select the photo by clicking the blue box "
                       "next to the picture and then click on Resize Copies on the Menu bar."),
        QStringLiteral("To download photo's off your camera simply plug the camera in or put your "
                       "camera media disk into your reader. Glimmerbook detects the connection and "
                       "starts the process for downloading your photo's."),
        QStringLiteral(
            "To rename multiple photo's in one easy step, click on the blue tick box on the "
            "left of the photo, press Rename Multiple on the menu bar and select the Album "
            "for the renamed photo's."),
        QStringLiteral(
            "To see Help on most buttons and Icons, place your mousepointer over the items "
            "you would like Help on. Help will be shown in the Status Bar below the top "
            "Menu Bar in the main Window."),
        QStringLiteral(
            "If a photo is changed and then saved in any program, the EXIF comments, Notes "
            "and camera settings information stored in the file will be lost. So always "
            "keep your original photo's and only use copies for editing."),
        QStringLiteral(
            "To DELETE a photo from one of your albums, right click with your mouse on the "
            "thumbnail Picture and select Delete from the popup menu."),
        QStringLiteral(
            "You do not have to plug in your camera to download photo's. You can purchase "
            "an inexpensive card reader and have it permanently connected to your "
            "computer. Simply take the storage card out your camera and insert it into the "
            "reader. Glimmerbook detects the connection and downloads your photo's."),
        QStringLiteral(
            "Always keep your original photo's safe. If you need to resize them, then make "
            "copies as resized images print poorly at Photo Labs."),
        QStringLiteral(
            "To Upload Photos for Prints and Calendars plus share your photos online, click "
            "the Buy Stuff Icon on the Main Menu bar."),
        QStringLiteral(
            "To copy a photo from your webpage or from another program, right click on the "
            "picture to copy and select \"Copy\". Right click on the Green Background of "
            "the thumbnail view in Glimmerbook and select \"Paste\". A thumbnail will be "
            "created of the New Picture."),
    };
}

int tipIndexForDraw(double r, int count)
{
    if (count < 1) {
        return 0;
    }
    const int index = static_cast<int>(std::floor(r * count)) + 1;
    return std::clamp(index, 1, count);
}

QString ShowTipOfTheDay(const QStringList &tips, const ErrorLog &log, QRandomGenerator &random)
{
    if (tips.isEmpty()) {
        log.error(u"modmain - ShowTipOfTheDay", subscriptOutOfRange());
        return {};
    }
    const int index = tipIndexForDraw(random.generateDouble(), int(tips.size()));
    return tips.at(index - 1);
}

NextTipStep nextTipStep(const QString &tag, int count)
{
    const QString position = tag.isEmpty() ? QStringLiteral("1") : tag;

    // The tag reads as its leading digits, the way a number typed into a text is read.
    qsizetype digits = 0;
    const QString trimmed = position.trimmed();
    while (digits < trimmed.size() && trimmed.at(digits) >= u'0' && trimmed.at(digits) <= u'9'
           && digits < 9) {
        ++digits;
    }
    const int n = digits > 0 ? trimmed.left(digits).toInt() : 0;

    if (n >= 1 && n <= count) {
        return {n, QString::number(n + 1)};
    }
    return {0, QString()};
}
