#include "msgboxprogress.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>

#include "frmmsgbox.h"
#include "mdimain.h"
#include "pagelayout.h"
#include "program.h"

MsgBoxBuilderProgress::MsgBoxBuilderProgress(Program &program)
    : m_program(program)
{}

void MsgBoxBuilderProgress::centreCaption() const
{
    if (frmMsgBox *box = m_program.msgBox.loaded()) {
        QLabel *caption = box->lblMsg();
        caption->adjustSize();
        caption->move(box->width() / 2 - caption->width() / 2, caption->y());
    }
}

void MsgBoxBuilderProgress::begin(int count, bool firstCatalogue)
{
    frmMsgBox &box = m_program.msgBox.load();
    box.pgBar()->setRange(0, count);
    box.pgBar()->setValue(0);
    box.pgBar()->show();
    box.lblMsg()->hide();
    box.lblMsg()->setText(CatalogueBuilderText::initialCaption());
    centreCaption();
    box.txtEntry()->hide();
    // Cancel stays "visible" but beyond the dialog's right edge, and OK is hidden: the dialog
    // offers no button while the run lasts.
    box.cmdCancel()->show();
    box.cmdCancel()->move(box.width() + 500 / PageLayout::kTwipsPerPixel, box.cmdCancel()->y());
    box.cmdOK()->hide();
    box.txtHelpMsg()->setReadOnly(true);
    box.setHelpCentred(true);
    box.setHelpBold(true);
    QFont font = box.font();
    font.setBold(true);
    box.setFont(font);
    box.lblMsg()->show();
    box.setHelpText(CatalogueBuilderText::message(firstCatalogue));
    QCoreApplication::processEvents();
    if (frmMsgBox *shown = m_program.msgBox.loaded()) {
        shown->showModeless(true);
        shown->repaint();
        SetWindowTopmost(shown, true);
        m_shown = true;
    }
}

void MsgBoxBuilderProgress::advance(int i, int n)
{
    frmMsgBox *box = m_program.msgBox.loaded();
    if (!box) {
        return;
    }
    box->pgBar()->setValue(i);
    box->lblMsg()->setText(CatalogueBuilderText::categorizingCaption(i, n));
    centreCaption();
}

void MsgBoxBuilderProgress::end()
{
    if (!m_shown) {
        return;
    }
    m_shown = false;
    if (frmMsgBox *box = m_program.msgBox.loaded()) {
        SetWindowTopmost(box, false);
    }
    m_program.msgBox.unload();
}
