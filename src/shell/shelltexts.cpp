#include "shelltexts.h"

#include "startupvalues.h"

namespace ShellTexts {

namespace {
const QString kBreak = QStringLiteral("\n");
}

QString firstRunNotice()
{
    return kBreak + QStringLiteral("As this is the first time you have used Glimmerbook -") + kBreak
        + QStringLiteral("Glimmerbook needs to build its new database ready") + kBreak
        + QStringLiteral("for your photos and Digital Albums. This will take approx. 20 seconds.");
}

QString runWizardOffer()
{
    return kBreak + QStringLiteral("Glimmerbook Database has been created.") + kBreak
        + QStringLiteral("To Get Started with your Albums Would you like to run") + kBreak
        + QStringLiteral("the Photo Organization Wizard") + kBreak
        + QStringLiteral("which will help you organize your existing photos ?") + kBreak
        + QStringLiteral("If not, you can run the Organization Wizard from the Main Menu Panel.");
}

QString closeWindowsQuestion()
{
    return kBreak + QStringLiteral("To run the Wizard all other Windows must be closed.") + kBreak
        + QStringLiteral("Ok to close other windows?");
}

QString noPhotosSelected()
{
    return kBreak
        + QStringLiteral(
               "There are no Photos selected to rename. Select photos you want to rename "
               "by clicking on the Blue Box to the Left of the Photo. Or click the Select "
               "All checkbox at the top of this page.");
}

QString renameCategoryHelp()
{
    return kBreak + QStringLiteral("Selected Photos will be renamed to the Category you enter.")
        + kBreak
        + QStringLiteral("For example if your category is Hawaii then photos will be named Hawaii "
                         "01, Hawaii 02 etc.");
}

QString renameEntryLabel()
{
    return QStringLiteral("Enter the Category for the Photos:");
}

QString noClipboardImage()
{
    return kBreak
        + QStringLiteral("There is no Valid Image on the Windows Clipboard. Try Copying the image "
                         "onto the clipboard again and then Paste the image into Glimmerbook.");
}

QString deleteConfirmTitle()
{
    return QStringLiteral("Confirm Photo Deletetion");
}

QString deleteConfirmText(const QString &pathPart)
{
    return QStringLiteral("Ok to delete Photo ") + pathPart + QStringLiteral("?");
}

QString openImageFilter()
{
    return QStringLiteral("All Picture Files (*.bmp *.pcx *.tif *.gif *.jpg *.tga)");
}

QString openImageDefaultSuffix()
{
    return QStringLiteral("jpg");
}

QString vendorHomePage()
{
    return QStringLiteral("http://") + vendorWebAddress() + QStringLiteral("/");
}

QString vendorUploadsPage()
{
    return vendorHomePage() + QStringLiteral("uploads.htm");
}

QString splashWebPanelText()
{
    return vendorWebAddress()
        + QStringLiteral(".  Professional Photo Management Suite For MS Windows.");
}

} // namespace ShellTexts
