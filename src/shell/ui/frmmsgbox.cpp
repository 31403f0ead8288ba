#include "frmmsgbox.h"

frmMsgBox::frmMsgBox(Program &program, QWidget *parent)
    : QDialog(parent)
    , m_program(program)
{
}
