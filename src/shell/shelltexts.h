#pragma once

#include <QString>

/// The fixed texts of the main window's questions and notices. Notices begin with a line break.
namespace ShellTexts {

/// The first start's notice that the catalogue is about to be built.
QString firstRunNotice();
/// The first start's offer of the organisation wizard.
QString runWizardOffer();
/// The Organize Wizard command's question when other windows are open.
QString closeWindowsQuestion();
/// The Rename command with nothing ticked.
QString noPhotosSelected();
/// The Rename command's explanation above the category box.
QString renameCategoryHelp();
/// The label of the Rename command's category box.
QString renameEntryLabel();
/// The Paste command with no picture on the clipboard.
QString noClipboardImage();
/// The Delete Photo confirmation's title (its spelling is the program's own).
QString deleteConfirmTitle();
/// "Ok to delete Photo " + pathPart + "?"; pathPart keeps the blank before the "|" of the tag.
QString deleteConfirmText(const QString &pathPart);
/// The Open Image command's file filter.
QString openImageFilter();
/// The Open Image command's default suffix.
QString openImageDefaultSuffix();
/// The vendor's home page (Help, "Glimmerbook Website").
QString vendorHomePage();
/// The vendor's page for prints and sharing (Go Online).
QString vendorUploadsPage();
/// The splash window's web address panel.
QString splashWebPanelText();

} // namespace ShellTexts
