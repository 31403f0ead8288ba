#include "frmtips.h"

frmTips::frmTips(Program &program, QWidget *parent)
    : QDialog(parent)
    , m_program(program)
{
}
