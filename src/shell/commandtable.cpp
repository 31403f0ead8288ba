#include "commandtable.h"

#include <QHash>

namespace {

QString hover(const QString &text)
{
    return QStringLiteral("  ") + text;
}

QString hover(const QString &first, const QString &second)
{
    return QStringLiteral("  ") + first + QStringLiteral("\n  ") + second;
}

const QHash<QString, QString> &hoverTable()
{
    static const QHash<QString, QString> table = [] {
        const QString newAlbum = hover(QStringLiteral("Create a New Album to store photos in"));
        const QString openImage = hover(QStringLiteral("Open and view a single photo"));
        const QString download =
            hover(QStringLiteral("Download Photos from Camera or Media Drive"));
        const QString organize = hover(
            QStringLiteral("Photo Organization Wizard - Helps organize your photos into Albums."));
        const QString rename = hover(
            QStringLiteral(
                "Easily rename multiple photos for a category. Example: If your Category "
                "is Hawaii_Vacation then all selected Photos will be renamed "
                "Hawaii_Vacation01, Hawaii_Vacation02 etc."),
            QStringLiteral("How?: Click the small blue box next to each photo to select. Click on "
                           "this Rename button."));
        // The first part begins with its own blank, so three blanks lead the panel text.
        const QString resize = hover(
            QStringLiteral(" If your camera resolution is over 1 megapixel the photos can be large "
                           "in size. This option resizes your photos for easy emailing (does not "
                           "change the originals && only resizes large photos )."),
            QStringLiteral("How?: Open an Album. Click the small blue box next to each photo to "
                           "select. Click this resize button."));
        const QString html = hover(QStringLiteral(
            "Creates a Web Page out of your Albums Photos for displaying on your website"));
        const QString ftp =
            hover(QStringLiteral("Upload / Download files to your websites FTP Server"));
        const QString print = hover(
            QStringLiteral("This Option enables the printing of Thumbnails for a complete Album or "
                           "Printing one Picture."),
            QStringLiteral("How?:Click Print with nothing open or Open an Album and then click "
                           "PRINT to printout an Album thumbnail print or Open a Picture and "
                           "select print."));
        const QString order = QStringLiteral("Buy T-Shirts, Mousepads, Tote Bags and have Prints "
                                             "&& Calendars made. Plus share your Photos.");
        return QHash<QString, QString>{
            {QStringLiteral("imgMnuNew"), newAlbum},
            {QStringLiteral("lblNew"), newAlbum},
            {QStringLiteral("imgMnuOpenAlbum"),
             hover(QStringLiteral("Open and View photos in an existing album"))},
            {QStringLiteral("lblOpenAlbum"),
             hover(QStringLiteral("Open and View photos in an existing album or Folder"))},
            {QStringLiteral("imgMnuOpenImage"), openImage},
            {QStringLiteral("lblOpenImage"), openImage},
            {QStringLiteral("imgDownload"), download},
            {QStringLiteral("lblDownload"), download},
            {QStringLiteral("imgMnuOrgWizard"), organize},
            {QStringLiteral("lblOrganize"), organize},
            {QStringLiteral("imgMnuRename"), rename},
            {QStringLiteral("lblrename"), rename},
            {QStringLiteral("imgMnuResizeForEmail"), resize},
            {QStringLiteral("lblResize"), resize},
            {QStringLiteral("imgMnuHTML"), html},
            {QStringLiteral("lblHTML"), html},
            {QStringLiteral("imgMnuFTP"), ftp},
            {QStringLiteral("lblFTP"), ftp},
            {QStringLiteral("imgMnuPrint"), print},
            {QStringLiteral("lblPrint"), print},
            {QStringLiteral("imgMnuOrder"), hover(order)},
            {QStringLiteral("Label2"), hover(order + QStringLiteral(" Needs Internet Connection"))},
        };
    }();
    return table;
}

MenuItemEntry
item(const char *name, const char *caption, MainCommand command, const char *shortcut = "")
{
    MenuItemEntry entry;
    entry.name = QLatin1String(name);
    entry.caption = QLatin1String(caption);
    entry.shortcut = QLatin1String(shortcut);
    entry.command = command;
    return entry;
}

MenuItemEntry disabled(const char *name, const char *caption)
{
    MenuItemEntry entry = item(name, caption, MainCommand::None);
    entry.enabled = false;
    return entry;
}

MenuItemEntry separator()
{
    return {};
}

} // namespace

const QList<PanelCommand> &panelCommands()
{
    static const QList<PanelCommand> commands = {
        {MainCommand::NewAlbum,
         QStringLiteral("imgMnuNew"),
         QStringLiteral("lblNew"),
         QStringLiteral("New Album"),
         QStringLiteral("folder-new"),
         true},
        {MainCommand::OpenAlbum,
         QStringLiteral("imgMnuOpenAlbum"),
         QStringLiteral("lblOpenAlbum"),
         QStringLiteral("Open Album"),
         QStringLiteral("folder-open"),
         true},
        {MainCommand::OpenImage,
         QStringLiteral("imgMnuOpenImage"),
         QStringLiteral("lblOpenImage"),
         QStringLiteral("Open Image"),
         QStringLiteral("image-x-generic"),
         true},
        {MainCommand::Download,
         QStringLiteral("imgDownload"),
         QStringLiteral("lblDownload"),
         QStringLiteral("Download"),
         QStringLiteral("camera-photo"),
         true},
        {MainCommand::OrganizeWizard,
         QStringLiteral("imgMnuOrgWizard"),
         QStringLiteral("lblOrganize"),
         QStringLiteral("Organize Wizard"),
         QStringLiteral("view-sort-ascending"),
         false},
        {MainCommand::Rename,
         QStringLiteral("imgMnuRename"),
         QStringLiteral("lblrename"),
         QStringLiteral("Rename"),
         QStringLiteral("edit-find-replace"),
         true},
        {MainCommand::Resize,
         QStringLiteral("imgMnuResizeForEmail"),
         QStringLiteral("lblResize"),
         QStringLiteral("Resize"),
         QStringLiteral("zoom-fit-best"),
         true},
        {MainCommand::WebPage,
         QStringLiteral("imgMnuHTML"),
         QStringLiteral("lblHTML"),
         QStringLiteral("Web Page"),
         QStringLiteral("text-html"),
         true},
        {MainCommand::Ftp,
         QStringLiteral("imgMnuFTP"),
         QStringLiteral("lblFTP"),
         QStringLiteral("FTP"),
         QStringLiteral("network-server"),
         true},
        {MainCommand::Print,
         QStringLiteral("imgMnuPrint"),
         QStringLiteral("lblPrint"),
         QStringLiteral("Print"),
         QStringLiteral("document-print"),
         true},
        {MainCommand::GoOnline,
         QStringLiteral("imgMnuOrder"),
         QStringLiteral("Label2"),
         QStringLiteral("Go Online"),
         QStringLiteral("applications-internet"),
         true},
    };
    return commands;
}

QString storedHoverText(const QString &objectName)
{
    return hoverTable().value(objectName);
}

QString displayedHoverText(const QString &stored)
{
    QString shown = stored;
    return shown.replace(QStringLiteral("&&"), QStringLiteral("&"));
}

const QList<MenuEntry> &mainMenus()
{
    static const QList<MenuEntry> menus = [] {
        MenuItemEntry save = item("mnuSave", "Save Image As", MainCommand::SaveImageAs);
        save.visible = false; // shown by the viewer
        MenuItemEntry tips = item("mnuHelpTips", "Show Tips on Startup", MainCommand::ToggleTips);
        tips.checkable = true;
        return QList<MenuEntry>{
            {QStringLiteral("mnuFile"),
             QStringLiteral("&File"),
             true,
             {item("mnuNewAlbum", "&New Album", MainCommand::NewAlbum, "Ctrl+N"),
              item("mnuOpenAlbum", "&Open Album", MainCommand::OpenAlbum, "Ctrl+O"),
              item("mnuOpenImage", "Open &Image", MainCommand::OpenImage, "Ctrl+I"),
              separator(),
              save,
              separator(),
              item("mnuHTML", "Create Web Page", MainCommand::WebPage),
              separator(),
              item("mnuPrint", "&Print", MainCommand::Print, "Ctrl+P"),
              separator(),
              item("MnuExit", "E&xit", MainCommand::Exit)}},
            {QStringLiteral("mnuEdit"),
             QStringLiteral("&Edit Photos"),
             true,
             {item("mnuResize", "Resize Photo Copies", MainCommand::Resize),
              separator(),
              item("mnuRename", "Rename Multiple Photos", MainCommand::Rename)}},
            {QStringLiteral("mnuOrderShare"),
             QStringLiteral("&Order Prints"),
             true,
             {item("mnuOrder", "Order Prints Online", MainCommand::GoOnline),
              separator(),
              item("mnuShare", "Share Photos Online", MainCommand::GoOnline)}},
            {QStringLiteral("mnuWindow"),
             QStringLiteral("&Window"),
             true,
             {item("mnuCascade", "Cascade", MainCommand::Cascade),
              item("mnuTile", "Tile", MainCommand::Tile)}},
            {QStringLiteral("mnuHelp"),
             QStringLiteral("&Help"),
             true,
             {item("mnuWebsite", "Glimmerbook Website", MainCommand::Website),
              tips,
              item("mnuShowHelp", "Show Help", MainCommand::ShowHelp),
              separator(),
              item("mnuShutdown",
                   "Shutdown (Do not listen for camera connections)",
                   MainCommand::Shutdown),
              item("mnuAbout", "About", MainCommand::About)}},
            {QStringLiteral("mnuPop"),
             QStringLiteral("PopupMenu"),
             false,
             {disabled("mnuOEdit", "Edit"),
              disabled("mnuOCopy", "Copy"),
              separator(),
              item("mnuPasteClp",
                   "Paste New Image (TIP: Name your pic once pasted so it gets saved)",
                   MainCommand::Paste),
              separator(),
              item("mnuBackground", "Change Background Color", MainCommand::Background)}},
            {QStringLiteral("mnuPopDelete"),
             QStringLiteral("Deletion"),
             false,
             {disabled("mnuhEdit", "Edit"),
              disabled("mnuhPaste", "Paste"),
              disabled("mnuhCopy", "Copy"),
              separator(),
              item("mnuDelete", "Delete Photo", MainCommand::DeletePhoto)}},
        };
    }();
    return menus;
}
