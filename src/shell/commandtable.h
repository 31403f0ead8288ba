#pragma once

#include <QList>
#include <QString>

/// Every command of the main window. Picture buttons, caption labels and menu items run the
/// same command.
enum class MainCommand {
    None,
    NewAlbum,
    OpenAlbum,
    OpenImage,
    Download,
    OrganizeWizard,
    Rename,
    Resize,
    WebPage,
    Ftp,
    Print,
    GoOnline,
    SaveImageAs,
    Exit,
    Cascade,
    Tile,
    Website,
    ToggleTips,
    ShowHelp,
    Shutdown,
    About,
    Paste,
    Background,
    DeletePhoto,
};

/// One picture button of the command panel and its caption label.
struct PanelCommand
{
    MainCommand command = MainCommand::None;
    /// The picture's object name, such as "imgMnuNew".
    QString picture;
    /// The caption label's object name, such as "lblNew".
    QString caption;
    /// The caption label's text.
    QString captionText;
    /// The freedesktop icon name tried first for the picture.
    QString iconName;
    /// Whether a click on the caption runs the command too ("Organize Wizard"'s does not).
    bool captionRunsCommand = true;
};

/// The command panel, left to right.
const QList<PanelCommand> &panelCommands();

/// The hover text of a control of the command panel as stored: two leading blanks, a second part
/// after a line break and two more blanks, "&&" for every "&". Empty for controls without one.
QString storedHoverText(const QString &objectName);

/// The text the message panel shows for a stored text: "&&" becomes "&".
QString displayedHoverText(const QString &stored);

/// One item of a menu; an item without a name is a separator.
struct MenuItemEntry
{
    QString name;
    QString caption;
    /// A portable key sequence such as "Ctrl+N", or empty.
    QString shortcut;
    MainCommand command = MainCommand::None;
    bool enabled = true;
    bool checkable = false;
    bool visible = true;

    bool isSeparator() const { return name.isEmpty(); }
};

/// A menu of the bar, or one of the two pop-up menus the album pages show.
struct MenuEntry
{
    QString name;
    QString caption;
    /// false for the pop-up menus, which are not in the bar.
    bool inBar = true;
    QList<MenuItemEntry> items;
};

/// The menus, top level first, in bar order, followed by the pop-up menus.
const QList<MenuEntry> &mainMenus();
